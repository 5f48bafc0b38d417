#include "core/text/trim.h"

namespace varnot {

namespace {

bool Removes(TrimSet set, char c) {
    switch (set) {
    case TrimSet::Blanks:
        return c == ' ' || c == '\t';
    case TrimSet::BlanksAndCr:
        return c == ' ' || c == '\t' || c == '\r';
    case TrimSet::Controls:
        return static_cast<unsigned char>(c) <= 32;
    }
    return false;
}

} // namespace

std::string_view TrimFront(std::string_view text, TrimSet set) {
    while (!text.empty() && Removes(set, text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimBack(std::string_view text, TrimSet set) {
    while (!text.empty() && Removes(set, text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text, TrimSet set) {
    return TrimBack(TrimFront(text, set), set);
}

} // namespace varnot
