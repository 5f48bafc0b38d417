#pragma once

#include <string_view>

namespace varnot {

// The bytes a trim removes from the ends of a text.
enum class TrimSet {
    Blanks,      // space and tab
    BlanksAndCr, // space, tab and CR (a line whose CR was not part of its end)
    Controls,    // every byte of code 32 or below: blanks and control characters
};

std::string_view TrimFront(std::string_view text, TrimSet set);
std::string_view TrimBack(std::string_view text, TrimSet set);
// Both ends.
std::string_view Trim(std::string_view text, TrimSet set);

} // namespace varnot
