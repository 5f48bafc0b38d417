#include "core/text/separator.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(SeparatorTest, RunsAndLeadingSeparatorsGiveNoEmptyFields) {
    TSeparator s;
    s.Split("  a  b ", ' ');
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Field(0), "a");
    EXPECT_EQ(s.Field(1), "b");
    EXPECT_EQ(s.Field(2), "");
}

TEST(SeparatorTest, EmptyAndSeparatorOnlyTextsGiveNoFields) {
    TSeparator s;
    s.Split("", ' ');
    EXPECT_EQ(s.Count(), 0);
    s.Split(";;;", ';');
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Join(), "");
}

TEST(SeparatorTest, KeepsAtMostFifteenFields) {
    std::string text;
    for (int i = 1; i <= 20; ++i) text += "w" + std::to_string(i) + " ";
    TSeparator s;
    s.Split(text, ' ');
    ASSERT_EQ(s.Count(), 15);
    EXPECT_EQ(s.Field(14), "w15");
    EXPECT_EQ(s.Field(15), "");

    // Exactly fifteen without a trailing separator still completes the last.
    text.clear();
    for (int i = 1; i <= 15; ++i) text += (i > 1 ? ";" : "") + std::to_string(i);
    s.Split(text, ';');
    ASSERT_EQ(s.Count(), 15);
    EXPECT_EQ(s.Field(14), "15");
}

TEST(SeparatorTest, SplitForgetsThePreviousLine) {
    TSeparator s;
    s.Split("one two three", ' ');
    s.Split("x", ' ');
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(s.Field(0), "x");
    EXPECT_EQ(s.Field(1), "");
    EXPECT_EQ(s.Join(), "x ");
}

TEST(SeparatorTest, FieldOutsideTheCountIsEmpty) {
    TSeparator s;
    s.Split("a b", ' ');
    EXPECT_EQ(s.Field(-1), "");
    EXPECT_EQ(s.Field(2), "");
    EXPECT_EQ(s.Field(1000), "");
}

TEST(SeparatorTest, SetFieldOnlyBelowTheCount) {
    TSeparator s;
    s.Split("a b", ' ');
    s.SetField(1, "c");
    s.SetField(2, "ignored");
    s.SetField(-1, "ignored");
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Join(), "a c ");
}

TEST(SeparatorTest, OtherSeparatorsKeepBlanksInsideFields) {
    TSeparator s;
    s.Split("FOA*.TXT; B C", ';');
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Field(1), " B C");
}

} // namespace
} // namespace varnot
