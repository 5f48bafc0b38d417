#include "core/main/pane_layout.h"

#include <gtest/gtest.h>

using namespace varnot;

namespace {

// A tool bar of 30, the 6-pixel splitter, a status panel of 30 and a client
// height of 560: 494 pixels to share.
constexpr PaneGeometry kWindow{30, 6, 30, 560};

int RatioOfMenuItem(const PaneGeometry& geometry, int percent) {
    return RatioForSplitterY(geometry, SplitterYForRatio(geometry, percent), 20);
}

TEST(PaneLayoutTest, EveryMenuRatioComesBackAsItself) {
    for (int percent : {12, 20, 30, 40, 50, 60, 70, 80, 90})
        EXPECT_EQ(RatioOfMenuItem(kWindow, percent), percent) << percent;
    EXPECT_EQ(SplitterYForRatio(kWindow, 12), 494 * 12 / 100 + 30 + 3);
    EXPECT_EQ(ListHeightForRatio(kWindow, 12), 59);
    EXPECT_EQ(ListHeightForRatio(kWindow, 90), 444);
}

TEST(PaneLayoutTest, TheTwoPixelsOfTheSplitterCountInASmallWindow) {
    // 100 pixels to share: 10:90 puts the splitter 12 pixels down, and the
    // two pixels added before dividing make it 14 percent.
    constexpr PaneGeometry small{30, 6, 30, 166};
    EXPECT_EQ(RatioOfMenuItem(small, 12), 14);
    EXPECT_EQ(RatioOfMenuItem(small, 50), 52);
}

TEST(PaneLayoutTest, DraggingToEitherEndStopsAtFiveAndNinetyFive) {
    // The splitter's top at the tool bar: the list has no height.
    EXPECT_EQ(RatioForSplitterY(kWindow, 30 + 3, 20), 5);
    // The splitter's top just above the status panel: the view has none.
    EXPECT_EQ(RatioForSplitterY(kWindow, 560 - 30 - 6 + 3, 20), 95);
    // Beyond the window on both sides.
    EXPECT_EQ(RatioForSplitterY(kWindow, -100000, 20), 5);
    EXPECT_EQ(RatioForSplitterY(kWindow, 2000000000, 20), 95);
    // Zooming in lays out for the grid's top.
    EXPECT_EQ(RatioForSplitterY(kWindow, 30, 20), 5);
}

TEST(PaneLayoutTest, AWindowTooSmallForItsPanesKeepsARatioAndNoNegativeHeight) {
    constexpr PaneGeometry tiny{30, 6, 30, 60};
    EXPECT_EQ(RatioForSplitterY(tiny, SplitterYForRatio(tiny, 40), 40), 40);
    EXPECT_EQ(RatioForSplitterY(tiny, 10, 0), 5);
    EXPECT_EQ(RatioForSplitterY(tiny, 10, 300), 95);
    EXPECT_EQ(ListHeightForRatio(tiny, 95), 0);
    constexpr PaneGeometry none{30, 6, 30, 66};
    EXPECT_EQ(RatioForSplitterY(none, 33, 70), 70);
    EXPECT_EQ(ListHeightForRatio(none, 70), 0);
}

} // namespace
