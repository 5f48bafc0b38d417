#pragma once

#include <string_view>

#include "core/archive/c_list.h"

namespace varnot {

// The row of the newest shown message of a day ("yyyy_mm_dd") or, when that day
// has none, of the nearest older day; the last row when every shown message is
// newer, row 0 when nothing is shown. An invalid day name leaves the current row.
int JumpToDay(const CList& list, std::string_view dayName, int currentRow);

} // namespace varnot
