#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varnot {

// Sectioned message files of the receiving program: "[section]" header lines,
// then "key=value" lines. Section and key names match regardless of Latin
// case; values lose the blanks and control characters around them.

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

// One value; nothing when the file cannot be opened or the key is absent.
std::optional<std::string> ReadSectionedValue(const std::string& path, std::string_view section,
                                              std::string_view key);

// Bytes of code 32 or below removed at both ends.
std::string_view TrimControls(std::string_view text);
// Latin letters compared without case, all other bytes exactly.
bool SameLatinText(std::string_view a, std::string_view b);

} // namespace varnot
