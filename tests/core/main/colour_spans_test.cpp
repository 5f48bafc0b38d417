#include "core/main/colour_spans.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

using namespace varnot;

namespace varnot {
// Failures name the span instead of dumping its bytes.
void PrintTo(const ColourSpan& span, std::ostream* out) {
    static const char* const kinds[] = {"Plain", "Caption", "KeyWord", "HighLight"};
    *out << "{" << span.start << ", " << span.length << ", " << kinds[static_cast<int>(span.kind)]
         << "}";
}
} // namespace varnot

namespace {

using Words = std::vector<std::string>;
constexpr ColourKind kCaption = ColourKind::Caption;
constexpr ColourKind kKeyWord = ColourKind::KeyWord;
constexpr ColourKind kHighLight = ColourKind::HighLight;

// Code page 1251 bytes of the words the operator types in Russian.
const std::string kMirUpper = "\xCC\xC8\xD0";                       // МИР
const std::string kMirLower = "\xEC\xE8\xF0";                       // мир
const std::string kMirTitle = "\xCC\xE8\xF0";                       // Мир
const std::string kMirovoy = "\xCC\xC8\xD0\xCE\xC2\xCE\xC9";        // МИРОВОЙ
const std::string kYoLower = "\xB8\xEB\xEA\xE0", kYoUpper = "\xA8"; // ёлка, Ё

} // namespace

TEST(ColourSpansCaption, IsTheFirstLineWithAVisibleCharacterWithItsBlanks) {
    const std::string text = "\n \t \n   Morning news  \nsecond line\n";
    auto caption = CaptionSpan(text);
    ASSERT_TRUE(caption);
    EXPECT_EQ(*caption, (ColourSpan{5, 17, kCaption}));
    EXPECT_EQ(text.substr(caption->start, caption->length), "   Morning news  ");
}

TEST(ColourSpansCaption, LineBreaksOfAnyKindEndTheCaption) {
    auto crlf = CaptionSpan("\r\n\r\nTitle\r\nbody");
    ASSERT_TRUE(crlf);
    EXPECT_EQ(*crlf, (ColourSpan{4, 5, kCaption}));
    auto cr = CaptionSpan("  \rTitle\rbody");
    ASSERT_TRUE(cr);
    EXPECT_EQ(*cr, (ColourSpan{3, 5, kCaption}));
}

TEST(ColourSpansCaption, BlankOrEmptyTextHasNone) {
    EXPECT_FALSE(CaptionSpan(""));
    EXPECT_FALSE(CaptionSpan(" \t\r\n\x01\x1F \n"));
    // A byte above 32 that is no letter still makes the caption.
    auto mark = CaptionSpan("\n\xA0");
    ASSERT_TRUE(mark);
    EXPECT_EQ(*mark, (ColourSpan{1, 1, kCaption}));
}

TEST(ColourSpansPlan, KeywordInCaptionIsBlueAndHighlightInsideItRed) {
    const std::string text = "\n  NEWS FLASHING today\nflash again\n";
    const auto runs = PlanColours(text, Words{"flash"}, Words{"LAS"});
    const std::vector<ColourSpan> expected = {
        {1, 7, kCaption},    // "  NEWS "
        {8, 1, kKeyWord},    // "F"
        {9, 3, kHighLight},  // "LAS"
        {12, 1, kKeyWord},   // "H"
        {13, 9, kCaption},   // "ING today"
        {23, 1, kKeyWord},   // "f"
        {24, 3, kHighLight}, // "las"
        {27, 1, kKeyWord},   // "h"
    };
    EXPECT_EQ(runs, expected);
}

TEST(ColourSpansPlan, SpansComeInTheOrderTheyAreApplied) {
    const std::string text = "Title ab\nab cd";
    const auto spans = ColourSpans(text, Words{"cd", "ab"}, Words{"b"});
    const std::vector<ColourSpan> expected = {
        {0, 8, kCaption}, {12, 2, kKeyWord},  {6, 2, kKeyWord},
        {9, 2, kKeyWord}, {7, 1, kHighLight}, {10, 1, kHighLight},
    };
    EXPECT_EQ(spans, expected);
}

TEST(ColourSpansPlan, CyrillicWordsMatchInAnyCaseAndInsideLongerWords) {
    const std::string text = "x" + kMirLower + " " + kMirTitle + " " + kMirovoy;
    EXPECT_EQ(PlanColours(text, Words{kMirUpper}, {}),
              (std::vector<ColourSpan>{{0, 1, kCaption},
                                       {1, 3, kKeyWord},
                                       {4, 1, kCaption},
                                       {5, 3, kKeyWord},
                                       {8, 1, kCaption},
                                       {9, 3, kKeyWord},
                                       {12, 4, kCaption}}));
    // A lower-case word finds upper-case text as well; Ё and ё are one letter.
    EXPECT_EQ(ColourSpans("\n" + kMirovoy, Words{kMirLower}, {}),
              (std::vector<ColourSpan>{{1, 7, kCaption}, {1, 3, kKeyWord}}));
    EXPECT_EQ(ColourSpans("\n" + kYoLower, {}, Words{kYoUpper}),
              (std::vector<ColourSpan>{{1, 4, kCaption}, {1, 1, kHighLight}}));
    EXPECT_EQ(ColourSpans("\nAbC abc", Words{"aBc"}, {}),
              (std::vector<ColourSpan>{{1, 7, kCaption}, {1, 3, kKeyWord}, {5, 3, kKeyWord}}));
}

TEST(ColourSpansPlan, EmptyWordsColourNothing) {
    EXPECT_EQ(ColourSpans("\n\n", Words{""}, Words{""}), std::vector<ColourSpan>{});
    EXPECT_TRUE(FindOccurrences("ABC", "").empty());
    EXPECT_TRUE(FindOccurrences("", "A").empty());
    EXPECT_EQ(PlanColours("", Words{"a"}, Words{"b"}), std::vector<ColourSpan>{});
}

TEST(ColourSpansPlan, LaterSpansWinWhereTheyOverlap) {
    // Highlight words come after keywords, whatever the lengths.
    EXPECT_EQ(PlanColours("\nabcd", Words{"bcd"}, Words{"abc"}),
              (std::vector<ColourSpan>{{1, 3, kHighLight}, {4, 1, kKeyWord}}));
    // Among keywords the later one wins; neighbours of one kind join.
    EXPECT_EQ(PlanColours("\nabcd", Words{"abc", "bcd"}, {}),
              (std::vector<ColourSpan>{{1, 4, kKeyWord}}));
    EXPECT_EQ(ColourRuns({{0, 4, kKeyWord}, {1, 2, kHighLight}, {2, 1, ColourKind::Plain}}, 6),
              (std::vector<ColourSpan>{{0, 1, kKeyWord}, {1, 1, kHighLight}, {3, 1, kKeyWord}}));
}

TEST(ColourSpansPlan, RunsNeverReachBeyondTheText) {
    EXPECT_EQ(ColourRuns({{2, 10, kKeyWord}, {9, 1, kHighLight}}, 4),
              (std::vector<ColourSpan>{{2, 2, kKeyWord}}));
}

TEST(ColourSpansOccurrences, DoNotOverlapAndMayEndTheText) {
    EXPECT_EQ(FindOccurrences("AAAAA", "AA"), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(FindOccurrences("XXABC", "ABC"), (std::vector<std::size_t>{2}));
    EXPECT_TRUE(FindOccurrences("XXABC", "ABCD").empty());
}

TEST(ColourSpansOccurrences, EachSearchEndsWithinItsWindow) {
    // From p = 0 an occurrence may end at character 16383 but not at 16384.
    std::string text(20000, '.');
    text.replace(16382, 2, "AB");
    EXPECT_EQ(FindOccurrences(text, "AB"), (std::vector<std::size_t>{16382}));
    text.assign(20000, '.');
    text.replace(16383, 2, "AB");
    EXPECT_TRUE(FindOccurrences(text, "AB").empty());
}

TEST(ColourSpansOccurrences, AFarNextOccurrenceEndsTheColouring) {
    // After the hit at 0 the search starts at 2 and covers 2 .. 16385.
    std::string text(32767, '.');
    text.replace(0, 2, "AB");
    text.replace(16384, 2, "AB"); // ends at 16385: still inside
    EXPECT_EQ(FindOccurrences(text, "AB"), (std::vector<std::size_t>{0, 16384}));

    text.assign(32767, '.');
    text.replace(0, 2, "AB");
    text.replace(16385, 2, "AB"); // ends one character beyond the window
    text.replace(20000, 2, "AB"); // close to the previous one, but never reached
    EXPECT_EQ(FindOccurrences(text, "AB"), (std::vector<std::size_t>{0}));
    EXPECT_EQ(PlanColours(text, Words{"ab"}, {}),
              (std::vector<ColourSpan>{{0, 2, kKeyWord}, {2, 32765, kCaption}}));
}

TEST(ColourSpansOccurrences, WordsLongerThanTheWindowAreNeverFound) {
    const std::string word(kColourSearchSpan + 1, 'A');
    EXPECT_TRUE(FindOccurrences(word + word, word).empty());
}

TEST(ColourSpansPlan, AFullMessageWithThousandsOfHitsIsColouredThroughout) {
    std::string text;
    while (text.size() + 4 <= 32767) text += kMirLower + " ";
    const auto runs = PlanColours("\n" + text, Words{kMirUpper, "\xC8"}, Words{"\xD0"});
    ASSERT_EQ(runs.size(), 3 * (text.size() / 4));
    EXPECT_EQ(runs[runs.size() - 2], (ColourSpan{text.size() - 1, 1, kHighLight}));
    EXPECT_EQ(runs.back(), (ColourSpan{text.size(), 1, kCaption}));
}

TEST(ColourSpansRichText, LineBreaksBecomeOneCharacter) {
    EXPECT_EQ(RichViewText("a\r\nb\rc\nd\r\n", false), "a\nb\nc\nd\n");
    EXPECT_EQ(RichViewText("", false), "");
}

TEST(ColourSpansRichText, BodyOnlyKeepsTheLinesOfTheBodySection) {
    const std::string file = "[head]\r\nhead=Brief\r\n[datetime]\r\nDate=031224\r\n"
                             "[body]\r\nline one\r\n\r\nline two\r\n";
    EXPECT_EQ(RichViewText(file, true), "line one\n\nline two");
    EXPECT_EQ(RichViewText("no sections\nat all\n", true), "");
    EXPECT_EQ(RichViewText(file, false).substr(0, 7), "[head]\n");
}
