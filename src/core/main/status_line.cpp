#include "core/main/status_line.h"

#include <cstdio>

namespace varnot {

std::string SelectionTotalsText(std::int64_t selSize, int selCount, std::string_view kbIn,
                                std::string_view selectedFiles) {
    char number[64];
    std::snprintf(number, sizeof number, "%8.1f", static_cast<double>(selSize) / 1024.0);
    std::string text = number;
    text += kbIn;
    text += std::to_string(selCount);
    text += selectedFiles;
    return text;
}

int CountTextLines(std::string_view text) {
    int lines = 0;
    std::size_t i = 0;
    bool pending = false; // characters after the last break
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            ++lines;
            pending = false;
            // CR LF is one break.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            pending = true;
        }
        ++i;
    }
    return lines + (pending ? 1 : 0);
}

} // namespace varnot
