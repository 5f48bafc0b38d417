// The text search against a plain reading of its rule: downward the first
// occurrence starting at or after the selection's end, upward the last one
// ending at or before the selection's start; whole words have a non-word
// byte or the text's edge on both sides.
#include "core/text/code_pages.h"
#include "core/main/text_search.h"
#include "fuzz_input.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

using varnot::SearchDirection;
using varnot::SearchFlags;
using varnot::fuzzing::FuzzInput;

// Digits, Latin letters, the Cyrillic letters of code page 1251 and Ё, ё.
bool WordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 192 ||
           c == 168 || c == 184;
}

bool OccursAt(std::string_view text, std::string_view key, std::size_t p,
              const SearchFlags& flags) {
    if (p + key.size() > text.size()) return false;
    const std::string_view there = text.substr(p, key.size());
    if (flags.caseSensitive ? there != key : varnot::Upcase1251(there) != varnot::Upcase1251(key))
        return false;
    if (!flags.wholeWord) return true;
    const bool before = p == 0 || !WordByte(static_cast<unsigned char>(text[p - 1]));
    const std::size_t end = p + key.size();
    const bool after = end == text.size() || !WordByte(static_cast<unsigned char>(text[end]));
    return before && after;
}

std::optional<std::size_t> PlainSearch(std::string_view text, std::size_t start,
                                       std::size_t selLength, std::string_view key,
                                       const SearchFlags& flags) {
    if (key.empty() || start > text.size()) return std::nullopt;
    if (flags.direction == SearchDirection::Down) {
        for (std::size_t p = start + selLength; p + key.size() <= text.size(); ++p)
            if (OccursAt(text, key, p, flags)) return p;
        return std::nullopt;
    }
    for (std::size_t end = start; end >= key.size(); --end)
        if (OccursAt(text, key, end - key.size(), flags)) return end - key.size();
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t options = input.Byte();
    SearchFlags flags;
    flags.wholeWord = (options & 1) != 0;
    flags.caseSensitive = (options & 2) != 0;
    flags.direction = (options & 4) != 0 ? SearchDirection::Down : SearchDirection::Up;
    std::size_t start = input.Below(65535);
    std::size_t selLength = input.Below(65535) % 64;
    const bool keyFromText = (options & 8) != 0;
    const std::size_t keyAt = input.Below(65535);
    std::string key = input.Text(16);
    const std::string text = input.Rest();
    // Starts beyond the text matter, but only just beyond.
    start %= text.size() + 3;
    if (keyFromText && !text.empty()) key = text.substr(keyAt % text.size(), key.size() + 1);

    FUZZ_CHECK(varnot::SearchInText(text, start, selLength, key, flags) ==
               PlainSearch(text, start, selLength, key, flags));
    return 0;
}
