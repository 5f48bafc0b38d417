#include "core/text/latin_case.h"

namespace varnot {

std::string UpcaseLatin(std::string_view text) {
    std::string out(text);
    UpcaseLatinInPlace(out.data(), out.size());
    return out;
}

void UpcaseLatinInPlace(char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) text[i] = LatinUpper(text[i]);
}

bool SameLatinText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LatinUpper(a[i]) != LatinUpper(b[i])) return false;
    return true;
}

} // namespace varnot
