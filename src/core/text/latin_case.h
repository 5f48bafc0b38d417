#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnot {

// Case of the Latin letters a..z only: file names, settings names, section
// and key names of message files, announce words. Every other byte (Cyrillic
// letters of code page 1251 included) stays as it is; 1251 text that changes
// case as a whole goes through Upcase1251 instead.
constexpr char LatinUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpcaseLatin(std::string_view text);
void UpcaseLatinInPlace(char* text, std::size_t length);

// Latin letters compared without case, all other bytes exactly.
bool SameLatinText(std::string_view a, std::string_view b);

} // namespace varnot
