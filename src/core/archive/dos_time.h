#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace varnot {

struct DateTime {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

bool IsValidDate(int year, int month, int day);

// DOS packed local date-time: bits 25..31 year-1980, 21..24 month, 16..20 day,
// 11..15 hour, 5..10 minute, 0..4 seconds/2.
int32_t PackDosTime(const DateTime& dt);
DateTime UnpackDosTime(int32_t packed);
// A file time (seconds since the epoch) in local time, clamped to 1980..2107.
int32_t DosTimeFromUnix(std::time_t t);
std::time_t UnixFromDosTime(int32_t packed);

DateTime Now();
DateTime FromUnix(std::time_t t);

// Date patterns: "yyyy", "yy", "mm", "dd", "hh", "nn", "ss"; other characters
// are copied ("hh:nn  dd.mm", "hh:nn dd.mm.yyyy", "dd.mm.yyyy", "yyyy_mm_dd", "yy_mm_dd").
std::string FormatDateTime(const DateTime& dt, std::string_view pattern);
std::string FormatDosTime(int32_t packed, std::string_view pattern);

} // namespace varnot
