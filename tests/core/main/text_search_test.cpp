#include "core/main/text_search.h"

#include "core/text/code_pages.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace varnot;

namespace {

// Texts in the tests are written in UTF-8 and searched as 1251 bytes.
std::string W(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

SearchFlags Flags(bool wholeWord, bool caseSensitive, SearchDirection direction) {
    return {wholeWord, caseSensitive, direction};
}

constexpr auto Up = SearchDirection::Up;
constexpr auto Down = SearchDirection::Down;
constexpr std::optional<std::size_t> None = std::nullopt;

struct Case {
    const char* what;
    std::string text;
    std::size_t start;
    std::size_t selLength;
    std::string key;
    SearchFlags flags;
    std::optional<std::size_t> expected;
};

TEST(SearchInTextTest, Examples) {
    const std::string mir = W("МИР СООБЩАЕТ МИР ПЕРЕДАЕТ");
    const std::string ends = "AB xx AB";
    const Case cases[] = {
        {"first word at the start", mir, 0, 0, W("МИР"), Flags(true, true, Down), 0},
        {"past the selected hit", mir, 0, 3, W("МИР"), Flags(true, true, Down), 13},
        {"hyphen ends a word", W("ЕЖ АБВ-ГД ЕЖ"), 0, 0, W("АБВ"), Flags(true, true, Down), 3},
        {"any case", W("xx Абв АБВ"), 0, 0, W("абв"), Flags(true, false, Down), 3},
        {"letter case counts", W("xx Абв АБВ"), 0, 0, W("абв"), Flags(false, true, Down), None},
        {"Ё belongs to its word", W("ЁЛКА"), 0, 0, W("ЛКА"), Flags(true, true, Down), None},
        {"ё belongs to its word", W("ёлка лка"), 0, 0, W("ЛКА"), Flags(true, false, Down), 5},
        {"part of a word", W("ЁЛКА"), 0, 0, W("ЛКА"), Flags(false, true, Down), 1},
        {"longer word is no hit", W("МИРА МИР"), 8, 0, W("МИР"), Flags(true, true, Up), 5},
        {"caret inside a word", "ABC ABC", 1, 0, "ABC", Flags(true, true, Down), 4},
        // Both ends of the text in both directions.
        {"down, first position", ends, 0, 0, "AB", Flags(true, true, Down), 0},
        {"down, last position", ends, 0, 2, "AB", Flags(false, true, Down), 6},
        {"down, selection at the end", ends, 6, 2, "AB", Flags(false, true, Down), None},
        {"up from the end", ends, 8, 0, "AB", Flags(true, true, Up), 6},
        {"up, first position", ends, 6, 2, "AB", Flags(false, true, Up), 0},
        {"up from the start", ends, 0, 2, "AB", Flags(false, true, Up), None},
        // Degenerate input.
        {"empty key", ends, 0, 0, "", Flags(false, true, Down), None},
        {"empty text", "", 0, 0, "AB", Flags(false, true, Up), None},
        {"key longer than the text", "AB", 0, 0, "ABC", Flags(false, true, Down), None},
        {"start beyond the text", ends, 9, 0, "AB", Flags(false, true, Up), None},
        {"selection beyond the text", ends, 0, 99, "AB", Flags(false, true, Down), None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SearchInText(c.text, c.start, c.selLength, c.key, c.flags), c.expected) << c.what;
}

TEST(SearchInTextTest, HitInTheLastBytesOfAFullBuffer) {
    const std::string key = W("МИР");
    std::string text(32767 - key.size(), 'x');
    text[text.size() - 1] = ' ';
    text += W("мир");
    ASSERT_EQ(text.size(), 32767u);
    for (const SearchDirection direction : {Down, Up}) {
        const std::size_t start = direction == Down ? 0 : text.size();
        EXPECT_EQ(SearchInText(text, start, 0, key, Flags(true, false, direction)), 32764u);
        EXPECT_EQ(SearchInText(text, start, 0, key, Flags(true, true, direction)), None);
    }
}

// The same search written another way: every occurrence in upper-cased
// copies, filtered by the word test, then the nearest in the direction.
bool ReferenceWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 192 ||
           c == 168 || c == 184;
}

std::optional<std::size_t> Reference(const std::string& text, std::size_t start,
                                     std::size_t selLength, const std::string& key,
                                     const SearchFlags& flags) {
    if (key.empty() || start > text.size()) return None;
    const std::string t = flags.caseSensitive ? text : Upcase1251(text);
    const std::string k = flags.caseSensitive ? key : Upcase1251(key);
    std::vector<std::size_t> hits;
    for (std::size_t p = t.find(k); p != std::string::npos; p = t.find(k, p + 1)) {
        const std::size_t end = p + k.size();
        const bool before = p == 0 || !ReferenceWordByte(static_cast<unsigned char>(t[p - 1]));
        const bool after =
            end == t.size() || !ReferenceWordByte(static_cast<unsigned char>(t[end]));
        if (!flags.wholeWord || (before && after)) hits.push_back(p);
    }
    if (flags.direction == Down) {
        for (std::size_t p : hits)
            if (p >= start + selLength) return p;
        return None;
    }
    std::optional<std::size_t> found;
    for (std::size_t p : hits)
        if (p + k.size() <= start) found = p;
    return found;
}

TEST(SearchInTextTest, AgreesWithAPlainSearchOnRandomTexts) {
    // Word and separator bytes of every kind: Latin and Cyrillic letters in
    // both cases, Ё and ё, a digit, blank, hyphen and a line break.
    const std::string alphabet = "aAbB1 -\n" + W("аАбБЁё");
    std::mt19937 random(20261208);
    auto pick = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound)(random);
    };
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[pick(alphabet.size() - 1)];
        return s;
    };
    for (int combination = 0; combination < 8; ++combination) {
        const SearchFlags flags = Flags((combination & 1) != 0, (combination & 2) != 0,
                                        (combination & 4) != 0 ? Down : Up);
        for (int round = 0; round < 3000; ++round) {
            const std::string text = randomText(pick(24));
            std::string key;
            if (!text.empty() && pick(2) != 0) {
                const std::size_t at = pick(text.size() - 1);
                key = text.substr(at, 1 + pick(std::min<std::size_t>(3, text.size() - at - 1)));
            } else {
                key = randomText(1 + pick(2));
            }
            const std::size_t start = pick(text.size() + 1);
            const std::size_t selLength = pick(3) == 0 ? pick(4) : 0;
            ASSERT_EQ(SearchInText(text, start, selLength, key, flags),
                      Reference(text, start, selLength, key, flags))
                << "combination " << combination << " text \"" << text << "\" key \"" << key
                << "\" start " << start << " selection " << selLength;
        }
    }
}

} // namespace
