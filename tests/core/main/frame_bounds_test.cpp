#include "core/main/frame_bounds.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

const ScreenRect Screen{0, 0, 1024, 768};

TEST(FrameBounds, AGeometryThatFitsIsKept) {
    for (const ScreenRect frame : {ScreenRect{0, 0, 400, 200}, ScreenRect{10, 20, 1024, 748},
                                   ScreenRect{-300, 0, 400, 200}, ScreenRect{924, 668, 400, 200}})
        EXPECT_EQ(BoundFrameToScreen(frame, Screen), frame);
}

TEST(FrameBounds, TooLargeOrOffTheScreenIsBroughtBack) {
    EXPECT_EQ(BoundFrameToScreen({0, 0, 99999, 99999}, Screen), (ScreenRect{0, 0, 1024, 768}));
    EXPECT_EQ(BoundFrameToScreen({5000, 5000, 400, 200}, Screen), (ScreenRect{924, 668, 400, 200}));
    EXPECT_EQ(BoundFrameToScreen({-2147483647 - 1, -50, 400, 200}, Screen),
              (ScreenRect{-300, 0, 400, 200}));
    // A screen that does not start at 0 (a second monitor, a panel on top).
    EXPECT_EQ(BoundFrameToScreen({0, 0, 50, 40}, {1024, 30, 800, 570}),
              (ScreenRect{1024, 30, 50, 40}));
}

} // namespace
} // namespace varnot
