#include "core/text/masks.h"

#include <string>

namespace varnot {

bool MaskMatch(std::string_view name, std::string_view mask) {
    // A name or mask without an extension behaves as one with an empty extension.
    std::string n(name);
    std::string m(mask);
    if (n.find('.') == std::string::npos) n += '.';
    if (m.find('.') == std::string::npos) m += '.';

    // Positions below are 0-based: j is the next name character to consume.
    const std::size_t dotN = n.find('.');
    const std::size_t dotM = m.find('.');
    const std::size_t length = n.size();
    std::size_t j = 0;

    for (std::size_t i = 0; i < m.size(); ++i) {
        const char c = m[i];
        if (c == '*') {
            // A star in the extension swallows the rest of the name.
            if (i > dotM) return true;
            // A star in the name part swallows the name up to its first dot.
            j = dotN;
        } else if (c == '?') {
            ++j;
        } else {
            if (j >= length || n[j] != c) return false;
            ++j;
        }
        if (j > length) return false;
    }
    return j == length;
}

bool MatchAnyMask(std::string_view name, std::string_view maskList) {
    // Split like the field splitter (runs of ";" count as one), but without
    // its limit of fifteen fields: every mask of a long list counts.
    while (!maskList.empty()) {
        const std::size_t end = maskList.find(';');
        const std::string_view mask = maskList.substr(0, end);
        if (!mask.empty() && MaskMatch(name, mask)) return true;
        if (end == std::string_view::npos) break;
        maskList.remove_prefix(end + 1);
    }
    return false;
}

} // namespace varnot
