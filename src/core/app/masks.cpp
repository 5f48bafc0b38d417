#include "core/app/masks.h"

#include <string>

#include "core/app/separator.h"

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
    TSeparator masks;
    masks.Split(maskList, ';');
    for (int i = 0; i < masks.Count(); ++i) {
        if (MaskMatch(name, masks.Field(i))) return true;
    }
    return false;
}

} // namespace varnot
