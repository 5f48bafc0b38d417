#include "core/main/colour_spans.h"

#include "core/archive/message_text.h"
#include "core/archive/sectioned_file.h"
#include "core/text/code_pages.h"

#include <algorithm>
#include <functional>

namespace varnot {

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool HasVisibleCharacter(std::string_view line) {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 32; });
}

} // namespace

std::string RichViewText(std::string_view text, bool bodyOnly) {
    if (bodyOnly) {
        std::vector<std::string> lines = SplitLines(text);
        KeepSection(lines, "body");
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) joined.push_back('\n');
            joined += lines[i];
        }
        return joined;
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::optional<ColourSpan> CaptionSpan(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsLineBreak(text[end])) ++end;
        std::string_view line = text.substr(start, end - start);
        if (HasVisibleCharacter(line)) {
            // Everything before this line is blank, so the search lands on the
            // line itself; it is still a search, as the caption is defined so.
            std::size_t at = text.find(line);
            if (at == std::string_view::npos) return std::nullopt;
            return ColourSpan{at, line.size(), ColourKind::Caption};
        }
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::size_t> FindOccurrences(std::string_view upperText, std::string_view upperWord) {
    std::vector<std::size_t> found;
    const std::size_t n = upperText.size();
    const std::size_t m = upperWord.size();
    if (m == 0 || m > kColourSearchSpan || m > n) return found;
    const std::boyer_moore_horspool_searcher searcher(upperWord.begin(), upperWord.end());
    std::size_t p = 0;
    while (p < n) {
        // The occurrence must end within p .. p + kColourSearchSpan - 1.
        std::size_t limit = std::min(n, p + kColourSearchSpan);
        if (limit - p < m) break;
        auto first = upperText.begin() + static_cast<std::ptrdiff_t>(p);
        auto last = upperText.begin() + static_cast<std::ptrdiff_t>(limit);
        auto hit = std::search(first, last, searcher);
        if (hit == last) break;
        std::size_t at = static_cast<std::size_t>(hit - upperText.begin());
        found.push_back(at);
        p = at + m;
    }
    return found;
}

std::vector<ColourSpan> ColourSpans(std::string_view text, const std::vector<std::string>& keywords,
                                    const std::vector<std::string>& highlightWords) {
    std::vector<ColourSpan> spans;
    if (auto caption = CaptionSpan(text)) spans.push_back(*caption);
    const std::string upperText = Upcase1251(text);
    auto colourAll = [&](const std::vector<std::string>& words, ColourKind kind) {
        for (const std::string& word : words) {
            const std::string upperWord = Upcase1251(word);
            for (std::size_t at : FindOccurrences(upperText, upperWord))
                spans.push_back({at, upperWord.size(), kind});
        }
    };
    colourAll(keywords, ColourKind::KeyWord);
    colourAll(highlightWords, ColourKind::HighLight);
    return spans;
}

std::vector<ColourSpan> ColourRuns(const std::vector<ColourSpan>& spans, std::size_t textLength) {
    // Painting character by character is linear in the text plus the spans'
    // lengths, and the occurrences of one word never overlap, so this stays
    // cheap however many hits a message has.
    std::vector<ColourKind> paint(textLength, ColourKind::Plain);
    for (const ColourSpan& span : spans) {
        if (span.start >= textLength) continue;
        std::size_t end = span.start + std::min(span.length, textLength - span.start);
        std::fill(paint.begin() + static_cast<std::ptrdiff_t>(span.start),
                  paint.begin() + static_cast<std::ptrdiff_t>(end), span.kind);
    }
    std::vector<ColourSpan> runs;
    std::size_t i = 0;
    while (i < textLength) {
        std::size_t j = i + 1;
        while (j < textLength && paint[j] == paint[i]) ++j;
        if (paint[i] != ColourKind::Plain) runs.push_back({i, j - i, paint[i]});
        i = j;
    }
    return runs;
}

std::vector<ColourSpan> PlanColours(std::string_view text, const std::vector<std::string>& keywords,
                                    const std::vector<std::string>& highlightWords) {
    return ColourRuns(ColourSpans(text, keywords, highlightWords), text.size());
}

} // namespace varnot
