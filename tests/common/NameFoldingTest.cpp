#include "common/NameFolding.h"

#include <gtest/gtest.h>

namespace vaultrix {
namespace {

TEST(NameFolding, NamesThatDifferOnlyInCaseFoldAlike) {
    const char* pairs[][2] = {
        {"readme.Txt", "README.TXT"},
        {"übersicht für jörg", "ÜBERSICHT FÜR JÖRG"},
        {"àéîõøþ", "ÀÉÎÕØÞ"},
        {"ÿ", "Ÿ"},
        {"āčęğħįĳķ", "ĀČĘĞĦĮĲĶ"},
        {"ĺľłńňŋőœřśšťůűŵŷ", "ĹĽŁŃŇŊŐŒŘŚŠŤŮŰŴŶ"},
        {"źżž", "ŹŻŽ"},
        {"αβγδεζηθικλμνξοπρστυφχψω", "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"},
        {"ς", "Σ"},
        {"άέήίόύώϊϋ", "ΆΈΉΊΌΎΏΪΫ"},
        {"абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"},
        {"ђєіїјљњћџ", "ЂЄІЇЈЉЊЋЏ"},
        {"ѣґқӂӏӑӹ", "ѢҐҚӁӀӐӸ"},
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(foldedName(pair[0]), foldedName(pair[1])) << pair[0];
        EXPECT_EQ(foldedName(pair[1]), pair[1]) << "upper letters stay as they are: " << pair[1];
    }
}

TEST(NameFolding, LettersWithoutPartnersAndOtherBytesStay) {
    // ß, µ and ÷ have no upper partner of one letter; ı and ſ are left, as the file systems do.
    for (const char* name : {"µ÷×", "ıſĸŉ", "日本語", "😀", "0-9_~. "})
        EXPECT_EQ(foldedName(name), name);
    EXPECT_EQ(foldedName("straße"), "STRAßE");
    EXPECT_EQ(foldedName("ıſ"), "ıſ");
    EXPECT_EQ(foldedName("😀x"), "😀X");
    // Not UTF-8 (a name written under another code page): each stray byte stays, the rest folds.
    EXPECT_EQ(foldedName("a\xE4"
                         "b\xC3"),
              "A\xE4"
              "B\xC3");
    EXPECT_EQ(foldedName("\xC0\xA1x"), "\xC0\xA1X");
    EXPECT_NE(foldedName("é"), foldedName("e"));
    EXPECT_NE(foldedName("Ω"), foldedName("O"));
}

}  // namespace
}  // namespace vaultrix
