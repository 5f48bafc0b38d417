#include "core/text/trim.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(Trim, EachSetRemovesItsBytesFromTheEndsOnly) {
    const std::string_view text = "\r \t a \x01 b \t\r\n";
    EXPECT_EQ(Trim(text, TrimSet::Blanks), "\r \t a \x01 b \t\r\n");
    EXPECT_EQ(Trim(" \ta b\t ", TrimSet::Blanks), "a b");
    EXPECT_EQ(TrimFront(" \t\ra\r \t", TrimSet::BlanksAndCr), "a\r \t");
    EXPECT_EQ(TrimBack(" \t\ra\r \t\r", TrimSet::BlanksAndCr), " \t\ra");
    EXPECT_EQ(Trim(text, TrimSet::Controls), "a \x01 b");
    EXPECT_EQ(Trim(std::string_view("\0\x1F x\x7F\xA0 ", 7), TrimSet::Controls), "x\x7F\xA0");
    EXPECT_EQ(Trim(" \t ", TrimSet::Blanks), "");
}

} // namespace
} // namespace varnot
