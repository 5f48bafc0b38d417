#include "core/text/masks.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(MaskMatchTest, StarInTheNamePart) {
    EXPECT_TRUE(MaskMatch("FOA123.TXT", "FOA*.TXT"));
    EXPECT_TRUE(MaskMatch("FOA.TXT", "FOA*.TXT"));
    EXPECT_FALSE(MaskMatch("XFOA1.TXT", "FOA*.TXT"));
    EXPECT_FALSE(MaskMatch("FOA1.TXT1", "FOA*.TXT"));
}

TEST(MaskMatchTest, FirstDotOfTheNameCounts) {
    EXPECT_FALSE(MaskMatch("A.B.TXT", "*.TXT"));
    EXPECT_FALSE(MaskMatch("ABC.TX", "*.TXT"));
    EXPECT_TRUE(MaskMatch("ABC.TXT", "*.TXT"));
}

TEST(MaskMatchTest, StarDotStarAndLoneStar) {
    for (const char* name : {"A", "A.B", "A.B.C", ".X", "", "LONGNAME.TXT"})
        EXPECT_TRUE(MaskMatch(name, "*.*")) << name;
    EXPECT_TRUE(MaskMatch("README", "*"));
    EXPECT_FALSE(MaskMatch("A.TXT", "*"));
    EXPECT_TRUE(MaskMatch("FOA1.DAT", "FOA*.*"));
}

TEST(MaskMatchTest, QuestionMarkAndCharactersAfterAStar) {
    EXPECT_TRUE(MaskMatch("FOA1.TXT", "?OA1.TXT"));
    EXPECT_FALSE(MaskMatch("FA.TXT", "F*A.TXT"));
    EXPECT_FALSE(MaskMatch("FXA.TXT", "F*A.TXT"));
    // A question mark takes any character, the dot included.
    EXPECT_TRUE(MaskMatch("AB", "A?"));
    EXPECT_FALSE(MaskMatch("A", "A??"));
}

TEST(MaskMatchTest, NothingReadPastTheEndOfTheName) {
    EXPECT_FALSE(MaskMatch("A.TXT", "*.TXTX"));
    EXPECT_FALSE(MaskMatch("A", "ABCDEFGH.TXT"));
    EXPECT_FALSE(MaskMatch("", "A"));
    EXPECT_FALSE(MaskMatch("A.TXT", "A.TXT??"));
    EXPECT_TRUE(MaskMatch("", ""));
    EXPECT_FALSE(MaskMatch("A", ""));
}

TEST(MaskMatchTest, BytesAreComparedExactly) {
    EXPECT_FALSE(MaskMatch("foa1.txt", "FOA*.TXT"));
    EXPECT_TRUE(MaskMatch("\xC0\xC1.TXT", "\xC0*.TXT"));
}

TEST(MatchAnyMaskTest, AnyMaskOfTheList) {
    EXPECT_TRUE(MatchAnyMask("FSTA9.TXT", "FOA*.TXT;FSTA*.TXT"));
    EXPECT_TRUE(MatchAnyMask("FSTA9.TXT", ";;FSTA*.TXT;"));
    EXPECT_FALSE(MatchAnyMask("FSTA9.TXT", "FOA*.TXT;X*.*"));
    EXPECT_FALSE(MatchAnyMask("FSTA9.TXT", ""));
    EXPECT_FALSE(MatchAnyMask("", ""));
}

TEST(MatchAnyMaskTest, EveryMaskOfALongListCounts) {
    std::string list;
    for (int i = 0; i < 20; ++i) list += "M" + std::to_string(i) + ".TXT;";
    EXPECT_TRUE(MatchAnyMask("M19.TXT", list));
    EXPECT_FALSE(MatchAnyMask("M20.TXT", list));
}

} // namespace
} // namespace varnot
