#include <gtest/gtest.h>

#include "core/output/page_layout.h"

namespace varnot {
namespace {

TEST(PageLayoutTest, SixHundredDpiTwelvePointPage) {
    TPageLayout layout(600, 600, 12, 6600);
    EXPECT_EQ(layout.LineHeight(), 100);
    EXPECT_EQ(layout.LeftMargin(), 400);
    EXPECT_EQ(layout.LinesPerPage(), 63);
    for (int line = 0; line < 63; ++line) {
        const TPageLayout::Slot slot = layout.NextLine();
        EXPECT_EQ(slot.y, 200 + 100 * line);
        EXPECT_FALSE(slot.newPage);
    }
    const TPageLayout::Slot next = layout.NextLine();
    EXPECT_TRUE(next.newPage);
    EXPECT_EQ(next.y, 200);
    EXPECT_FALSE(layout.NextLine().newPage);
}

TEST(PageLayoutTest, RoundingAndTinyPages) {
    TPageLayout layout(300, 300, 10, 3000);
    EXPECT_EQ(layout.LineHeight(), 42); // 41.67
    EXPECT_EQ(layout.LeftMargin(), 200);

    // Room for fewer than three lines: every line on a page of its own.
    TPageLayout tiny(600, 600, 12, 250);
    EXPECT_EQ(tiny.LinesPerPage(), 1);
    EXPECT_FALSE(tiny.NextLine().newPage);
    EXPECT_TRUE(tiny.NextLine().newPage);
    EXPECT_GE(TPageLayout(600, 600, 0, 6600).LineHeight(), 1);
}

} // namespace
} // namespace varnot
