#pragma once

#include "core/archive/dos_time.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// Sectioned message files of the receiving program: "[section]" header lines,
// then "key=value" lines, in the settings file's line syntax, except that
// names and values lose every blank and control character around them and
// only ";" starts a comment. Section and key names match regardless of Latin
// case.

struct SectionedKey {
    std::string_view section;
    std::string_view key;
    std::string value; // the first value found for section and key
    bool found = false;
};

// Longest value kept; the rest of a longer line is not read.
inline constexpr std::size_t kMaxSectionedLine = 4096;

// Reads the file until every key has been found or the file ends. False when
// the file cannot be opened (only regular files are). `hasText`, when given,
// tells whether any line read held a visible character (false for a blank file).
bool ReadSectionedValues(const std::string& path, std::span<SectionedKey> keys,
                         bool* hasText = nullptr);

// The values of section "datetime" of a sectioned message: the first 32767
// bytes of the file are read, up to the first NUL like every message text.
struct ZevDateTime {
    std::string date;
    std::string time;
};
ZevDateTime ReadZevDateTime(const std::string& path);
// "hh:nn  dd.mm" from the two values (a missing or bad value gives the
// current date or time).
std::string ZevTimeText(std::string_view date, std::string_view time);

// Keeps only the lines inside the named section, without its header. Only a
// line that is "[name]" as a whole (blanks and control characters around it
// aside) is a header; any other line is text.
void KeepSection(std::vector<std::string>& lines, std::string_view name);

// "yymmdd" of a sectioned file (years below 90 are 20yy); an impossible or
// non-numeric value gives `now`.
DateTime ParseZevDate(std::string_view text, const DateTime& now);
DateTime ParseZevDate(std::string_view text);
// "hhmm" of a sectioned file, seconds 0; an impossible or non-numeric value
// gives `now`. The date part of a valid time means nothing.
DateTime ParseZevTime(std::string_view text, const DateTime& now);
DateTime ParseZevTime(std::string_view text);

} // namespace varnot
