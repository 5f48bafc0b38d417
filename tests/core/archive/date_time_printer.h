#pragma once

#include "core/archive/dos_time.h"

#include <ostream>

namespace varnot {

// Readable failure messages for date-time comparisons.
inline void PrintTo(const DateTime& dt, std::ostream* os) {
    *os << FormatDateTime(dt, "yyyy-mm-dd hh:nn:ss");
}

} // namespace varnot
