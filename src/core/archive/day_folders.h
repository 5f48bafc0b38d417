#pragma once

#include "core/archive/dos_time.h"

#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// A day folder is named "yy_mm_dd" (two-digit years below 95 are 20yy, the
// others 19yy); its day name "yyyy_mm_dd" sorts as text in date order.

// True when `name` is a valid day-folder name; it is then widened in place to
// the day name. A false answer leaves `name` as it was.
bool IsDayName(std::string& name);
// True (and the date in `out`, when given) for a valid "yyyy_mm_dd" day name.
bool ParseDayName(std::string_view dayName, DateTime* out);
// The folder name of a day name (its last eight characters).
std::string DayFolderOf(std::string_view dayName);
std::string DayNameOf(const DateTime& date);
std::string DayFolderNameOf(const DateTime& date);

// The day names of the day folders of the archive root, oldest first. Only
// real folders count: a symbolic link is never followed, even one to a
// folder, because a pass deletes files inside the day folders it walks and
// must not reach outside the archive tree. A missing or unreadable root gives
// an empty list.
std::vector<std::string> LoadDateList(const std::string& root);

// The items of the date combo box: one "dd.mm.yyyy" per day, newest first
// (item i is entry size-1-i of `dates`).
std::vector<std::string> DateComboItems(const std::vector<std::string>& dates);

// root + folder of the day + "/"; root ends with "/".
std::string DayFolderPath(std::string_view root, std::string_view dayName);
// The folder name of today ("yy_mm_dd") and its path (without a trailing "/").
std::string TodayFolderName();
std::string TodayFolderPath(std::string_view root);

} // namespace varnot
