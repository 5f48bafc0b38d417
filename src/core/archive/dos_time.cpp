#include "core/archive/dos_time.h"

#include <cstdlib>

namespace varnot {

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2107;

// The first and the last moment a DOS date-time can hold.
constexpr DateTime kFirstMoment{kFirstYear, 1, 1, 0, 0, 0};
constexpr DateTime kLastMoment{kLastYear, 12, 31, 23, 59, 58};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

DateTime FromTm(const std::tm& tm) {
    DateTime dt;
    dt.year = tm.tm_year + 1900;
    dt.month = tm.tm_mon + 1;
    dt.day = tm.tm_mday;
    dt.hour = tm.tm_hour;
    dt.minute = tm.tm_min;
    dt.second = tm.tm_sec;
    return dt;
}

// Puts the value as a decimal number of at least `width` digits.
void AppendNumber(std::string& out, long value, int width) {
    char digits[24];
    int count = 0;
    unsigned long rest = static_cast<unsigned long>(value < 0 ? -value : value);
    do {
        digits[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0 && count < 20);
    while (count < width) digits[count++] = '0';
    if (value < 0) out.push_back('-');
    while (count > 0) out.push_back(digits[--count]);
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view token) {
    return text.substr(at, token.size()) == token;
}

} // namespace

bool IsValidDate(int year, int month, int day) {
    static constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    int last = kDaysInMonth[month - 1];
    if (month == 2 && IsLeapYear(year)) last = 29;
    return day <= last;
}

int32_t PackDosTime(const DateTime& dt) {
    DateTime v = dt;
    if (v.year < kFirstYear) v = kFirstMoment;
    if (v.year > kLastYear) v = kLastMoment;
    auto field = [](int value, int low, int high) {
        return static_cast<uint32_t>(value < low ? low : (value > high ? high : value));
    };
    uint32_t packed = (field(v.year - kFirstYear, 0, 127) << 25) | (field(v.month, 0, 15) << 21) |
                      (field(v.day, 0, 31) << 16) | (field(v.hour, 0, 31) << 11) |
                      (field(v.minute, 0, 63) << 5) | field(v.second / 2, 0, 31);
    // Years from 2044 on set the top bit: the value is then negative, as the
    // archive's signed ordering has always had it.
    return static_cast<int32_t>(packed);
}

DateTime UnpackDosTime(int32_t packed) {
    uint32_t bits = static_cast<uint32_t>(packed);
    DateTime dt;
    dt.year = kFirstYear + static_cast<int>(bits >> 25);
    dt.month = static_cast<int>((bits >> 21) & 0x0F);
    dt.day = static_cast<int>((bits >> 16) & 0x1F);
    dt.hour = static_cast<int>((bits >> 11) & 0x1F);
    dt.minute = static_cast<int>((bits >> 5) & 0x3F);
    dt.second = static_cast<int>(bits & 0x1F) * 2;
    return dt;
}

int32_t DosTimeFromUnix(std::time_t t) {
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        // Only times far outside any calendar fail to convert.
        return PackDosTime(t < 0 ? kFirstMoment : kLastMoment);
    }
    DateTime dt = FromTm(tm);
    if (dt.second > 59) dt.second = 59; // a leap second
    return PackDosTime(dt);
}

std::time_t UnixFromDosTime(int32_t packed) {
    DateTime dt = UnpackDosTime(packed);
    std::tm tm{};
    tm.tm_year = dt.year - 1900;
    tm.tm_mon = dt.month - 1;
    tm.tm_mday = dt.day;
    tm.tm_hour = dt.hour;
    tm.tm_min = dt.minute;
    tm.tm_sec = dt.second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

DateTime FromUnix(std::time_t t) {
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) return DateTime{};
    return FromTm(tm);
}

DateTime Now() {
    return FromUnix(std::time(nullptr));
}

std::string FormatDateTime(const DateTime& dt, std::string_view pattern) {
    std::string out;
    out.reserve(pattern.size() + 4);
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (StartsWith(pattern, i, "yyyy")) {
            AppendNumber(out, dt.year, 4);
            i += 4;
        } else if (StartsWith(pattern, i, "yy")) {
            AppendNumber(out, std::abs(dt.year % 100), 2);
            i += 2;
        } else if (StartsWith(pattern, i, "mm")) {
            AppendNumber(out, dt.month, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "dd")) {
            AppendNumber(out, dt.day, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "hh")) {
            AppendNumber(out, dt.hour, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "nn")) {
            AppendNumber(out, dt.minute, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "ss")) {
            AppendNumber(out, dt.second, 2);
            i += 2;
        } else {
            out.push_back(pattern[i]);
            ++i;
        }
    }
    return out;
}

std::string FormatDosTime(int32_t packed, std::string_view pattern) {
    return FormatDateTime(UnpackDosTime(packed), pattern);
}

} // namespace varnot
