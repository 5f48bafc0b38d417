// The announce protocol: the same bytes cut into pieces anywhere give exactly
// the answers and pokes they give delivered whole, and those of a plain
// reading of the protocol; the parser never keeps more than one line.
#include "core/announce/announce_protocol.h"
#include "fuzz_input.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using varnot::AnnounceAction;
using varnot::AnnounceMaxLine;
using varnot::TAnnounceParser;
using varnot::fuzzing::FuzzInput;

struct Step {
    std::string answer;
    std::string firstLine;
    bool poked = false;
    bool operator==(const Step&) const = default;
};

std::vector<Step> Steps(const std::vector<AnnounceAction>& actions) {
    std::vector<Step> steps;
    for (const AnnounceAction& a : actions) steps.push_back(Step{a.answer, a.firstLine, a.poked});
    return steps;
}

bool SameWordIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (up(a[i]) != up(b[i])) return false;
    }
    return true;
}

// "POKE RADIOTEXT FILENAME data", words separated by single blanks.
Step PlainAnswer(std::string_view line) {
    std::vector<std::string_view> words;
    std::string_view rest = line;
    for (int i = 0; i < 3; ++i) {
        const std::size_t blank = rest.find(' ');
        words.push_back(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    if (!SameWordIgnoringCase(words[0], "POKE")) return Step{"ERR unknown command\n", "", false};
    if (!SameWordIgnoringCase(words[1], "RADIOTEXT")) return Step{"ERR unknown topic\n", "", false};
    if (!SameWordIgnoringCase(words[2], "FILENAME")) return Step{"ERR unknown item\n", "", false};
    std::string first;
    for (const char c : rest) {
        if (c == '\r' || c == '\0') break;
        first.push_back(c);
    }
    return Step{"OK\n", first, !first.empty()};
}

const Step TooLong{"ERR line too long\n", "", false};

// The whole stream read plainly: every LF ends a request, one CR before it
// is dropped; a line over the limit is refused and ends the connection, as
// soon as its unfinished part cannot end within the limit any more.
std::vector<Step> PlainRead(std::string_view stream, bool& closed) {
    std::vector<Step> steps;
    closed = false;
    for (;;) {
        const std::size_t lf = stream.find('\n');
        if (lf == std::string_view::npos) {
            if (stream.size() > AnnounceMaxLine + 1) {
                steps.push_back(TooLong);
                closed = true;
            }
            return steps;
        }
        std::string_view line = stream.substr(0, lf);
        stream.remove_prefix(lf + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > AnnounceMaxLine) {
            steps.push_back(TooLong);
            closed = true;
            return steps;
        }
        steps.push_back(PlainAnswer(line));
    }
}

// The parser holds at most the unfinished part of one line.
void CheckHeld(const TAnnounceParser& parser, std::string_view fedSoFar) {
    if (parser.Closed()) return;
    const std::size_t lf = fedSoFar.rfind('\n');
    const std::size_t tail =
        lf == std::string_view::npos ? fedSoFar.size() : fedSoFar.size() - lf - 1;
    FUZZ_CHECK(tail <= AnnounceMaxLine + 1);
    FUZZ_CHECK(parser.MidLine() == (tail > 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::vector<std::size_t> cuts;
    const std::size_t cutCount = input.Byte() % 32;
    for (std::size_t i = 0; i < cutCount; ++i) cuts.push_back(input.Below(65535));
    // Long lines matter: a repeat count stretches the stream past the limit.
    const std::size_t repeat = 1 + input.Byte() % 4 * 700;
    const std::string unit = input.Rest();
    std::string stream;
    for (std::size_t i = 0; i < repeat && stream.size() < 20000; ++i) stream += unit;
    for (std::size_t& cut : cuts) cut = stream.empty() ? 0 : cut % (stream.size() + 1);
    std::sort(cuts.begin(), cuts.end());

    TAnnounceParser whole;
    std::vector<AnnounceAction> wholeActions;
    whole.Feed(stream, wholeActions);
    CheckHeld(whole, stream);

    TAnnounceParser pieces;
    std::vector<AnnounceAction> pieceActions;
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        pieces.Feed(std::string_view(stream).substr(from, cut - from), pieceActions);
        from = cut;
        CheckHeld(pieces, std::string_view(stream).substr(0, from));
    }
    pieces.Feed(std::string_view(stream).substr(from), pieceActions);

    FUZZ_CHECK(Steps(pieceActions) == Steps(wholeActions));
    FUZZ_CHECK(pieces.Closed() == whole.Closed());
    bool closed = false;
    FUZZ_CHECK(Steps(wholeActions) == PlainRead(stream, closed));
    FUZZ_CHECK(whole.Closed() == closed);

    // A name the client can send comes out of the server as sent.
    if (const auto request = varnot::AnnounceRequestLine(unit)) {
        TAnnounceParser server;
        std::vector<AnnounceAction> taken;
        server.Feed(*request, taken);
        FUZZ_CHECK(taken.size() == 1 && taken[0].answer == "OK\n");
        const std::string expected = unit.substr(0, unit.find('\0'));
        FUZZ_CHECK(taken[0].firstLine == expected && taken[0].poked == !expected.empty());
    }
    return 0;
}
