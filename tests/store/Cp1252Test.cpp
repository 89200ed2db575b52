#include <gtest/gtest.h>

#include "store/Cp1252.h"

namespace vaultrix {
namespace {

TEST(Cp1252, EveryByteSurvivesDecodeAndEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const auto encoded = encodeCp1252(decodeCp1252(all));
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, all);
}

TEST(Cp1252, MapsUmlautsEuroAndUndefinedBytes) {
    EXPECT_EQ(decodeCp1252("\xE4\xF6\xFC\xDF"), "äöüß");
    EXPECT_EQ(decodeCp1252("\x80"), "€");
    EXPECT_EQ(decodeCp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(encodeCp1252("Größe €"), std::string("Gr\xF6\xDF"
                                                   "e \x80"));
}

TEST(Cp1252, RefusesWhatItCannotHold) {
    EXPECT_FALSE(encodeCp1252("Привет"));
    EXPECT_FALSE(encodeCp1252("\u0080"));        // 0x80 is the euro sign, not U+0080
    EXPECT_FALSE(encodeCp1252("\xC3"));          // cut-off sequence
    EXPECT_FALSE(encodeCp1252("\xC0\xAF"));      // overlong '/'
    EXPECT_FALSE(encodeCp1252("\xED\xA0\x80"));  // surrogate
    EXPECT_TRUE(fitsCp1252("C:\\Daten\\Bücher"));
    EXPECT_FALSE(fitsCp1252("😀"));
}

}  // namespace
}  // namespace vaultrix
