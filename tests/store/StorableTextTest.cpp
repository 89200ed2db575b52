#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Text.h"
#include "store/Cp1252.h"
#include "store/KeyedSteps.h"
#include "store/KeyedTextFile.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

// Every character the editor takes: Windows-1252 without its control characters.
std::vector<std::string> editorCharacters() {
    std::vector<std::string> characters;
    for (int b = 0; b < 256; ++b) {
        std::string character = decodeCp1252(std::string(1, static_cast<char>(b)));
        if (!holdsControlCharacter(character)) characters.push_back(std::move(character));
    }
    return characters;
}

// The lines of "save.ini" and "savename.ini" that hold a set's name.
LineList linesHolding(const std::string& text) {
    return LineList({"[" + text + "]", "name_1=" + text, ""});
}

// The text, as the store writes it, saved by the keyed file and loaded again, reads back.
// (Through its bytes: one rewrite of a real file per text would take minutes here.)
bool readsBack(const std::string& text) {
    const auto bytes = KeyedTextFile::storedBytes("save.ini", linesHolding(text));
    if (!bytes) return false;
    const KeyedSteps read(KeyedTextFile::linesOf(bytes.value()));
    return read.hasLine("[" + text + "]") && read.readValue("[" + text + "]", "name_1=") == text;
}

// A file holding the text's Windows-1252 bytes loads other lines.
bool misread(const std::string& text) {
    const auto bytes = encodeCp1252(linesHolding(text).joined());
    return bytes && KeyedTextFile::linesOf(*bytes).lines() != linesHolding(text).lines();
}

// Each text is refused exactly when it would not read back, so refusing everything fails here
// as much as refusing too little.
TEST(StorableText, EveryCharacterAndPairTheEditorTakesReadsBackOrIsRefused) {
    const auto characters = editorCharacters();
    ASSERT_EQ(characters.size(), 218u);
    for (const auto& character : characters) {
        EXPECT_EQ(unstorableReason(character), "") << character;
        EXPECT_TRUE(readsBack(character)) << character;
    }
    std::vector<std::string> refused;
    for (const auto& first : characters) {
        for (const auto& second : characters) {
            const std::string pair = first + second;
            if (unstorableReason(pair).empty()) {
                if (!readsBack(pair)) ADD_FAILURE() << "taken, but does not read back: " << pair;
            } else {
                refused.push_back(pair);
                if (!misread(pair)) ADD_FAILURE() << "refused, but reads back: " << pair;
                EXPECT_FALSE(KeyedTextFile::storedBytes("save.ini", linesHolding(pair)));
            }
        }
    }
    // "Â" and 32 characters, "Ã" and 59, "Å" and 7, "Æ’", "Ë†" and "Ëœ".
    EXPECT_EQ(refused.size(), 101u);
    for (const std::string pair : {"Ã¤", "ÃŸ", "Ã©", "Â©", "Â\u00A0", "Å’", "Æ’", "Ëœ"}) {
        EXPECT_NE(std::ranges::find(refused, pair), refused.end()) << pair;
    }
    for (const std::string text : {"â€“", "â€ž", "â‚¬", "MÃ¼ller"}) {
        EXPECT_NE(unstorableReason(text), "") << text;
    }
    for (const std::string text : {"Fuß–Ball", "Ã¤ß", "â€", "Spaß–Fotos"}) {
        EXPECT_EQ(unstorableReason(text), "") << text;
        EXPECT_TRUE(readsBack(text)) << text;
    }
}

TEST(StorableText, ReasonsNameWhatCannotBeStored) {
    EXPECT_EQ(unstorableReason("Ã¤"),
              "enthält die Zeichenfolge „Ã¤“, die nach dem Speichern als „ä“ gelesen würde, und "
              "kann so nicht gespeichert werden.");
    EXPECT_TRUE(unstorableReason("a\tb").starts_with("enthält einen Zeilenumbruch"));
    EXPECT_TRUE(unstorableReason("Привет").ends_with("Zeichensatzes Windows-1252."));
}

TEST(StorableText, SetNamesUpTo200Characters) {
    const std::string longest = std::string(199, 'a') + "ä";
    EXPECT_TRUE(checkSetName(longest));
    const auto tooLong = checkSetName(longest + "b");
    ASSERT_FALSE(tooLong);
    EXPECT_EQ(tooLong.error().message,
              "Der Name der Sicherung ist länger als 200 Zeichen. Bitte kürzen Sie ihn.");
    EXPECT_EQ(checkSetName("").error().message, "Eine Sicherung braucht einen Namen.");
    EXPECT_TRUE(checkSetName("Ã¤").error().message.starts_with(
        "Der Name der Sicherung enthält die Zeichenfolge „Ã¤“"));
}

}  // namespace
}  // namespace vaultrix
