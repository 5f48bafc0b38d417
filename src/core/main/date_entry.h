#pragma once

#include "core/archive/dos_time.h"

#include <optional>
#include <string_view>

namespace varnot {

// A day typed into the select dialog: "dd.mm.yyyy" or "dd.mm.yy" (day and
// month may have one digit; blanks around the text are ignored). A two-digit
// year 80..99 means 19yy and 00..79 means 20yy: file times start in 1980, so
// no message can be older. Nothing for any other text or an impossible day.
std::optional<DateTime> ParseEnteredDate(std::string_view text);

} // namespace varnot
