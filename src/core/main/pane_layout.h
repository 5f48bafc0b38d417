#pragma once

namespace varnot {

// The heights the main window divides between the list and the view, in
// pixels: from the top of the area below the menu bar, the tool bar (`top`),
// the list, the splitter bar (`splitter`), the view and the status panel
// (`bottom`); `client` is the whole height. All divisions truncate.
struct PaneGeometry {
    int top = 0;
    int splitter = 6;
    int bottom = 0;
    int client = 0;

    int HalfSplitter() const { return splitter / 2; }
    // The height the list and the view share.
    int Available() const { return client - top - splitter - bottom; }
};

// The ratio the list may take, in percent.
inline constexpr int MinPaneRatio = 5;
inline constexpr int MaxPaneRatio = 95;

// The splitter position (its middle) that gives the list `percent` of the
// available height.
int SplitterYForRatio(const PaneGeometry& geometry, int percent);

// The ratio for a splitter whose middle is at `y`, kept within 5..95. A
// window with no height to share keeps `fallback` (also kept within 5..95):
// the ratio is the operator's choice and must not be lost to a window that
// was briefly made tiny.
int RatioForSplitterY(const PaneGeometry& geometry, int y, int fallback);

// The list's height for a ratio; never negative.
int ListHeightForRatio(const PaneGeometry& geometry, int ratio);

} // namespace varnot
