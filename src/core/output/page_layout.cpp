#include "core/output/page_layout.h"

#include <algorithm>

namespace varnot {

namespace {

// a × b / c to the nearest integer, halves away from zero; c is 72 here.
std::int64_t ScaleRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t product = a * b;
    return product >= 0 ? (2 * product + c) / (2 * c) : -((-2 * product + c) / (2 * c));
}

// Large enough for any real printer, small enough that no sum overflows.
constexpr std::int64_t MaxUnits = 1 << 24;

std::int32_t Units(std::int64_t value, std::int64_t lowest) {
    return static_cast<std::int32_t>(std::clamp(value, lowest, MaxUnits));
}

} // namespace

TPageLayout::TPageLayout(int dpiX, int dpiY, int pointSize, int pageHeight)
    : lineHeight_(Units(ScaleRounded(dpiY, std::max(pointSize, 1), 72), 1)),
      leftMargin_(Units(4 * ScaleRounded(dpiX, 12, 72), 0)), pageHeight_(Units(pageHeight, 0)),
      currentY_(TopY()) {}

int TPageLayout::LinesPerPage() const {
    // A line at y is followed on the same page while y + h + 2h <= PageHeight;
    // the first line always stands.
    const std::int32_t lastFollowed = pageHeight_ - 3 * lineHeight_;
    if (lastFollowed < TopY()) return 1;
    return static_cast<int>((lastFollowed - TopY()) / lineHeight_) + 2;
}

TPageLayout::Slot TPageLayout::NextLine() {
    Slot slot{currentY_, breakPending_};
    if (breakPending_) {
        slot.y = TopY();
        breakPending_ = false;
    }
    currentY_ = slot.y + lineHeight_;
    breakPending_ = currentY_ + 2 * lineHeight_ > pageHeight_;
    return slot;
}

} // namespace varnot
