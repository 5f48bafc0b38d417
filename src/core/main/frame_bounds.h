#pragma once

namespace varnot {

// A rectangle of screen pixels: left and top edge, width and height.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool operator==(const ScreenRect&) const = default;
};

// How much of a window must stay on the screen in each direction (less when
// the window itself is smaller), so that it can still be seen and dragged.
inline constexpr int MinVisibleFrame = 100;

// The stored window geometry made to fit the screen area `screen`: no wider
// and no higher than that area, its top edge inside it, and at least
// MinVisibleFrame pixels of it (all of it, when it is smaller) inside the area
// across and down. A geometry that already fits is returned unchanged.
ScreenRect BoundFrameToScreen(ScreenRect frame, const ScreenRect& screen);

} // namespace varnot
