#include "core/main/text_search.h"

#include "core/text/code_pages.h"

#include <string>

namespace varnot {

namespace {

constexpr ByteTable MakeWordCharacters() {
    ByteTable t{};
    for (int c = '0'; c <= '9'; ++c) t[c] = 1;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = 1;
    for (int c = 'a'; c <= 'z'; ++c) t[c] = 1;
    for (int c = 192; c <= 255; ++c) t[c] = 1;
    t[168] = 1; // Ё
    t[184] = 1; // ё
    return t;
}

constexpr ByteTable kWordCharacters = MakeWordCharacters();

constexpr ByteTable MakeIdentity() {
    ByteTable t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    return t;
}

constexpr ByteTable kIdentity = MakeIdentity();

unsigned char ByteAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

// A word may start at p when nothing of a word stands right before it.
bool AtWordStart(std::string_view text, std::size_t p) {
    return p == 0 || !IsWordCharacter(ByteAt(text, p - 1));
}

} // namespace

bool IsWordCharacter(unsigned char c) {
    return kWordCharacters[c] != 0;
}

std::optional<std::size_t> SearchInText(std::string_view text, std::size_t start,
                                        std::size_t selLength, std::string_view key,
                                        const SearchFlags& flags) {
    const std::size_t n = text.size();
    const std::size_t m = key.size();
    if (m == 0 || m > n || start > n) return std::nullopt;
    const std::size_t last = n - m;

    const ByteTable& map = flags.caseSensitive ? kIdentity : UpcaseTable;
    const std::string wanted = flags.caseSensitive ? std::string(key) : Upcase1251(key);
    auto isHit = [&](std::size_t p) {
        for (std::size_t i = 0; i < m; ++i)
            if (static_cast<unsigned char>(wanted[i]) != map[ByteAt(text, p + i)]) return false;
        return !flags.wholeWord || p + m == n || !IsWordCharacter(ByteAt(text, p + m));
    };

    if (flags.direction == SearchDirection::Down) {
        if (start > last || selLength > last - start) return std::nullopt;
        for (std::size_t p = start + selLength; p <= last; ++p) {
            // Whole words: on to the next position a word can start at.
            if (flags.wholeWord)
                while (p <= last && !AtWordStart(text, p)) ++p;
            if (p > last) break;
            if (isHit(p)) return p;
        }
        return std::nullopt;
    }

    if (start < m) return std::nullopt;
    for (std::size_t p = start - m;; --p) {
        // Whole words: back to the start of the word p stands in.
        if (flags.wholeWord)
            while (!AtWordStart(text, p)) --p;
        if (isHit(p)) return p;
        if (p == 0) return std::nullopt;
    }
}

} // namespace varnot
