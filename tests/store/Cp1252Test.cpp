#include <gtest/gtest.h>

#include "store/Cp1252.h"

namespace vaultrix {
namespace {

std::string byte(int b) {
    return std::string(1, static_cast<char>(b));
}

// The bytes 0x80 … 0x9F as the Windows-1252 table shows them, written here as the characters
// themselves; the five bytes the table leaves undefined stand for the code points of their number.
const char* const kHighCharacters[32] = {"€",      "\u0081", "‚", "ƒ", "„", "…",      "†", "‡",
                                         "ˆ",      "‰",      "Š", "‹", "Œ", "\u008D", "Ž", "\u008F",
                                         "\u0090", "‘",      "’", "“", "”", "•",      "–", "—",
                                         "˜",      "™",      "š", "›", "œ", "\u009D", "ž", "Ÿ"};

TEST(Cp1252, EveryByteIsTheCharacterOfTheTable) {
    for (int b = 0; b < 256; ++b) {
        std::string expected;
        if (b < 0x80) {
            expected = byte(b);
        } else if (b < 0xA0) {
            expected = kHighCharacters[b - 0x80];
        } else {
            // U+00A0 … U+00FF: Latin-1, two bytes in UTF-8.
            expected = byte(0xC0 | (b >> 6)) + byte(0x80 | (b & 0x3F));
        }
        EXPECT_EQ(decodeCp1252(byte(b)), expected) << b;
        EXPECT_EQ(encodeCp1252(expected), byte(b)) << b;
    }
}

TEST(Cp1252, RefusesWhatItCannotHold) {
    EXPECT_FALSE(encodeCp1252("Привет"));
    EXPECT_FALSE(encodeCp1252("\u0080"));        // 0x80 is the euro sign, not U+0080
    EXPECT_FALSE(encodeCp1252("\xC3"));          // cut-off sequence
    EXPECT_FALSE(encodeCp1252("\xC0\xAF"));      // overlong '/'
    EXPECT_FALSE(encodeCp1252("\xED\xA0\x80"));  // surrogate
    EXPECT_TRUE(fitsCp1252("C:\\Daten\\Bücher"));
    EXPECT_FALSE(fitsCp1252("😀"));
    EXPECT_EQ(encodeCp1252Replacing("a😀Ж\xC3"
                                    "b€",
                                    '?'),
              "a???b\x80");
}

TEST(Cp1252, TextSavedAsUtf8IsReadAsUtf8WithOrWithoutAMark) {
    const std::string text = "Größe Maß 5 € „Zitat“ – Café";
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        EXPECT_EQ(decodeStoredText(mark + text), text) << mark.size();
    }
    EXPECT_EQ(decodeStoredText("\xEF\xBB\xBF[Tag]"), "[Tag]");
    // With a mark any character is UTF-8; a byte that starts none is its Windows-1252 character.
    EXPECT_EQ(decodeStoredText("\xEF\xBB\xBF\xD0\x96 t\xE4glich \xC3\xA4"), "Ж täglich ä");
}

TEST(Cp1252, WindowsTextIsReadAsWindowsText) {
    // "Fuß–Ball": DF 96 is also valid UTF-8 (U+07D6), which Windows-1252 lacks.
    EXPECT_EQ(decodeStoredText("Fu\xDF\x96"
                               "Ball"),
              "Fuß–Ball");
    EXPECT_EQ(decodeStoredText("t\xE4glich"), "täglich");
    // UTF-8 of characters Windows-1252 lacks, or of C1 controls, reads as Windows-1252 and so
    // keeps its bytes.
    EXPECT_EQ(decodeStoredText("\xD0\x96"), "Ð–");
    EXPECT_EQ(decodeStoredText("\xC2\x80"), "Â€");
    EXPECT_EQ(decodeStoredText("\xC2\x81"), "Â\u0081");
    // Mostly UTF-8, but one byte that starts no character: all Windows-1252.
    EXPECT_EQ(decodeStoredText("\xC3\xA4 \xE4"), "Ã¤ ä");
    EXPECT_FALSE(takenAsUtf8("plain ASCII"));
    EXPECT_FALSE(takenAsUtf8(""));
}

TEST(Cp1252, BytesOfTheirOwnReadAsTheSameBytesInPlace) {
    for (const std::string bytes :
         {"", "plain [ASCII]",
          "Fu\xDF\x96"
          "Ball",
          "Gr\xC3\xB6\xC3\x9F"
          "e",
          "\xEF\xBB\xBF[Tag]", "\xEF\xBB\xBF\xD0\x96 t\xE4glich", "\xC3\xA4 \xE4"}) {
        EXPECT_EQ(decodeStoredBytes(std::string(bytes)), decodeStoredText(bytes)) << bytes;
    }
}

TEST(Cp1252, TextWhoseBytesLookLikeUtf8IsNamedWithItsReading) {
    const auto expectLookalike = [](const std::string& text, const std::string& sequence,
                                    const std::string& readAs) {
        const auto lookalike = utf8Lookalike(text);
        ASSERT_TRUE(lookalike) << text;
        EXPECT_EQ(lookalike->sequence, sequence);
        EXPECT_EQ(lookalike->readAs, readAs);
    };
    expectLookalike("Ã¤", "Ã¤", "ä");
    expectLookalike("X â€“ Y", "â€“", "–");
    expectLookalike("Å’", "Å’", "Œ");
    expectLookalike("MÃ¼ller â‚¬", "Ã¼", "ü");
    for (const std::string text : {"Fuß–Ball", "täglich", "Ã", "â€", "Â€", "Ã¤ß", "Привет", ""}) {
        EXPECT_FALSE(utf8Lookalike(text)) << text;
    }
}

}  // namespace
}  // namespace vaultrix
