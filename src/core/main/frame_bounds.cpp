#include "core/main/frame_bounds.h"

#include <algorithm>

namespace varnot {

namespace {

// Wide arithmetic: stored values may be anything a hand-edited file holds.
int ClampWide(int value, long long lowest, long long highest) {
    return static_cast<int>(std::clamp<long long>(value, lowest, highest));
}

} // namespace

ScreenRect BoundFrameToScreen(ScreenRect frame, const ScreenRect& screen) {
    if (screen.w <= 0 || screen.h <= 0) return frame;
    frame.w = std::clamp(frame.w, 1, screen.w);
    frame.h = std::clamp(frame.h, 1, screen.h);
    const int keepW = std::min(frame.w, MinVisibleFrame);
    const int keepH = std::min(frame.h, MinVisibleFrame);
    // Sideways the window may hang over either edge; its top edge, where the
    // title bar is, stays on the screen.
    frame.x = ClampWide(frame.x, static_cast<long long>(screen.x) + keepW - frame.w,
                        static_cast<long long>(screen.x) + screen.w - keepW);
    frame.y = ClampWide(frame.y, screen.y, static_cast<long long>(screen.y) + screen.h - keepH);
    return frame;
}

} // namespace varnot
