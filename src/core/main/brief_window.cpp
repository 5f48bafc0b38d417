#include "core/main/brief_window.h"

#include <algorithm>

namespace varnot {

BriefWindow BriefWindowFor(int topRow, int visibleRows, int shownCount) {
    BriefWindow window;
    window.first = std::max(0, topRow - visibleRows);
    window.last = std::min(topRow + 2 * visibleRows, shownCount - 1);
    return window;
}

} // namespace varnot
