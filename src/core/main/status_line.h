#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnot {

// The totals of the selected messages: SelSize / 1024 as "%8.1f" (right
// aligned in 8 characters, one decimal), the words, the count, the words.
// `kbIn` and `selectedFiles` are the texts of the current language.
std::string SelectionTotalsText(std::int64_t selSize, int selCount, std::string_view kbIn,
                                std::string_view selectedFiles);

// The number of lines of a text as a text box counts them: each line break
// ends a line, and text after the last break is one more line.
int CountTextLines(std::string_view text);

} // namespace varnot
