#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// What a stretch of the rich view is coloured as. Plain text is black.
enum class ColourKind : unsigned char { Plain, Caption, KeyWord, HighLight };

// A stretch of the rich view's text, counted in characters (one per byte of
// the code page 1251 text the view holds).
struct ColourSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    ColourKind kind = ColourKind::Plain;

    bool operator==(const ColourSpan&) const = default;
};

// Each search for the next occurrence of a word looks at the characters
// p .. p + 16383 after the end p of the previous one; an occurrence has to end
// inside that stretch. Bounding every search keeps a message with many hits
// cheap, at the price that a word coming back only far later is not coloured
// there or after.
inline constexpr std::size_t kColourSearchSpan = 16384;

// The text the rich view holds for a message text (cut at its first NUL by
// the caller): every line break (CR LF, CR or LF) becomes a single LF, the
// way the view stores it, so that character positions in the view equal
// byte positions here. With bodyOnly only the lines of the section "body"
// remain, joined by LF.
std::string RichViewText(std::string_view text, bool bodyOnly);

// The caption: the first line holding a character above code 32, leading and
// trailing blanks included, at its first occurrence in the text. Nothing when
// no line has a visible character.
std::optional<ColourSpan> CaptionSpan(std::string_view text);

// The positions at which a word is coloured, in order, with the search
// window rule above. Both texts are in upper case already (Upcase1251); an
// empty word is found nowhere.
std::vector<std::size_t> FindOccurrences(std::string_view upperText, std::string_view upperWord);

// Every colouring of a message in the order it is applied: the caption, then
// each keyword, then each highlight word, each word in list order. Words are
// matched in any letter case (Latin and Cyrillic) and may be part of longer
// words. Where spans overlap the later one wins.
std::vector<ColourSpan> ColourSpans(std::string_view text, const std::vector<std::string>& keywords,
                                    const std::vector<std::string>& highlightWords);

// The final colour of each character as runs: sorted, not overlapping,
// neighbours of the same kind joined, plain text left out. Spans reaching
// beyond textLength are cut there.
std::vector<ColourSpan> ColourRuns(const std::vector<ColourSpan>& spans, std::size_t textLength);

// ColourRuns of ColourSpans: what the view applies to a message.
std::vector<ColourSpan> PlanColours(std::string_view text, const std::vector<std::string>& keywords,
                                    const std::vector<std::string>& highlightWords);

} // namespace varnot
