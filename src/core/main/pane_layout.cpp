#include "core/main/pane_layout.h"

#include <algorithm>

namespace varnot {

int SplitterYForRatio(const PaneGeometry& geometry, int percent) {
    return geometry.Available() * percent / 100 + geometry.top + geometry.HalfSplitter();
}

int RatioForSplitterY(const PaneGeometry& geometry, int y, int fallback) {
    const int available = geometry.Available();
    if (available <= 0) return std::clamp(fallback, MinPaneRatio, MaxPaneRatio);
    // Widened, so that a position far outside the window cannot overflow.
    const long long offset = static_cast<long long>(y) - geometry.top + 2 - geometry.HalfSplitter();
    const long long ratio = offset * 100 / available;
    return static_cast<int>(std::clamp<long long>(ratio, MinPaneRatio, MaxPaneRatio));
}

int ListHeightForRatio(const PaneGeometry& geometry, int ratio) {
    const int shared =
        geometry.client - geometry.top - geometry.bottom - 2 * geometry.HalfSplitter();
    return std::max(0, shared * ratio / 100);
}

} // namespace varnot
