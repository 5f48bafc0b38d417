#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace varnot {

// Upward runs toward the start of a text and the newer messages of the list,
// downward toward the end of a text and the older messages.
enum class SearchDirection { Up, Down };

// The options of a text search, as the search dialog offers them.
struct SearchFlags {
    bool wholeWord = true;
    bool caseSensitive = true;
    SearchDirection direction = SearchDirection::Up;

    bool operator==(const SearchFlags&) const = default;
};

// Word characters of code page 1251: digits, Latin letters, the Cyrillic
// letters А..я and Ё, ё. Every other byte separates words.
bool IsWordCharacter(unsigned char c);

// Searches a text (code page 1251 bytes) for a key from the current
// selection: downward the first occurrence starting at or after the
// selection's end, upward the last one ending at or before the selection's
// start. Without case sensitivity both sides are compared in upper case
// (UpcaseTable). A whole-word occurrence has a word separator or the text's
// edge on both sides, so a word at the very start of the text counts when
// the search starts there with nothing selected, while a selected hit is
// moved past. The offset of the occurrence, or nothing for an empty key, a
// key longer than the text, or a start beyond the text.
std::optional<std::size_t> SearchInText(std::string_view text, std::size_t start,
                                        std::size_t selLength, std::string_view key,
                                        const SearchFlags& flags);

} // namespace varnot
