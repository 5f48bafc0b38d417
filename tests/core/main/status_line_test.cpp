#include "core/main/status_line.h"

#include <gtest/gtest.h>

using namespace varnot;

namespace {

TEST(StatusLineTextTest, SelectionTotalsInAnEightCharacterField) {
    EXPECT_EQ(SelectionTotalsText(1000 + 2000 + 2240, 3, " Kb in ", " selected files"),
              "     5.1 Kb in 3 selected files");
    EXPECT_EQ(SelectionTotalsText(123 * 1024 + 410, 5, " Kb in ", " selected files"),
              "   123.4 Kb in 5 selected files");
    // Sums beyond 32 bits still show.
    EXPECT_EQ(SelectionTotalsText(std::int64_t{4000} * 2147483647, 4000, " Kb", " f"),
              "8388607996.1 Kb4000 f");
}

TEST(StatusLineTextTest, LinesCountAsATextBoxCountsThem) {
    EXPECT_EQ(CountTextLines(""), 0);
    EXPECT_EQ(CountTextLines("one"), 1);
    EXPECT_EQ(CountTextLines("one\r\ntwo\r\n"), 2);
    EXPECT_EQ(CountTextLines("one\ntwo"), 2);
    EXPECT_EQ(CountTextLines("\r\n\r\n"), 2);
    EXPECT_EQ(CountTextLines("a\rb\n"), 2);
}

} // namespace
