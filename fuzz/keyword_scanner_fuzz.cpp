// The keyword scanner along every path this processor can run, forced in
// turn, against the plain definition: a keyword matches at a position of the
// text when each of its bytes equals the upper-cased text byte there, a
// position at or past the end counting as byte 0.
#include "core/archive/message_text.h"
#include "core/filters/keyword_scanner.h"
#include "core/text/code_pages.h"
#include "fuzz_input.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using varnot::KeywordScanner;
using varnot::fuzzing::FuzzInput;

bool PlainContains(const std::string& text, const std::vector<std::string>& keywords) {
    std::size_t longest = 0;
    for (const std::string& keyword : keywords) longest = std::max(longest, keyword.size());
    const std::string padded = varnot::Upcase1251(text) + std::string(longest, '\0');
    for (const std::string& keyword : keywords)
        if (!keyword.empty() && padded.find(keyword) < text.size()) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Past 64 keywords the scanner takes another way.
    const std::size_t count = input.Byte() % 72;
    const std::uint8_t shape = input.Byte();
    struct Planted {
        std::size_t index, at, length;
    };
    std::vector<std::string> keywords;
    std::vector<Planted> planted;
    for (std::size_t i = 0; i < count && !input.Empty(); ++i) {
        if (input.Byte() % 4 == 0) {
            // Cut from the text below, so that hits occur anywhere in it.
            planted.push_back(Planted{keywords.size(), input.Below(65535), 1 + input.Byte() % 12u});
            keywords.emplace_back();
        } else {
            keywords.push_back(varnot::Upcase1251(input.Text(12)));
        }
    }
    // Keywords arrive upper-cased; a raw one (outside that promise) must
    // still give the plain answer.
    if ((shape & 0x10) != 0 && !keywords.empty()) keywords[0] = input.Text(8);
    // Long texts matter (the vector paths); a repeat count makes them cheaply.
    const std::size_t repeat = 1 + (shape & 0x0F) * 300u;
    const std::string unit = input.Rest();
    std::string text;
    for (std::size_t i = 0; i < repeat && text.size() < varnot::ViewBuffer::kMaxBytes; ++i)
        text += unit;
    if (text.size() > varnot::ViewBuffer::kMaxBytes) text.resize(varnot::ViewBuffer::kMaxBytes);
    if (!text.empty())
        for (const Planted& p : planted)
            keywords[p.index] = varnot::Upcase1251(text.substr(p.at * 7 % text.size(), p.length));

    // Exactly the text's bytes, so that a read past the end shows at once.
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[text.size()]);
    text.copy(reinterpret_cast<char*>(buffer.get()), text.size());
    const bool expected = PlainContains(text, keywords);

    const KeywordScanner scanner(keywords);
    for (const KeywordScanner::Path path :
         {KeywordScanner::Path::Best, KeywordScanner::Path::Scalar, KeywordScanner::Path::Avx2,
          KeywordScanner::Path::Avx2Pairs, KeywordScanner::Path::Avx512,
          KeywordScanner::Path::Avx512Pairs})
        FUZZ_CHECK(scanner.ScanWith(path, buffer.get(), text.size()) == expected);
    FUZZ_CHECK(varnot::ScanKeywordsPlain(buffer.get(), text.size(), keywords) == expected);
    return 0;
}
