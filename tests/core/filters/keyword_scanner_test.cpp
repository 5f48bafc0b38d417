#include "core/filters/keyword_scanner.h"
#include "core/text/code_pages.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace varnot {
namespace {

const unsigned char* Bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

bool Scan(const std::vector<std::string>& keywords, const std::string& text) {
    return KeywordScanner(keywords).Scan(Bytes(text), text.size());
}

TEST(KeywordScanner, FindsKeywordsInAnyCaseAndNeverPastTheEnd) {
    // "привет" and "ПРИВЕТ" in code page 1251.
    const std::string lower = "\xEF\xF0\xE8\xE2\xE5\xF2";
    const std::string upper = "\xCF\xD0\xC8\xC2\xC5\xD2";
    EXPECT_TRUE(Scan({upper}, "text " + lower + " more"));
    EXPECT_TRUE(Scan({"ABC"}, "xxxabc"));
    EXPECT_FALSE(Scan({"ABCD"}, "xxxabc"));
    EXPECT_TRUE(Scan({"C"}, "xxxabc"));
    EXPECT_FALSE(Scan({}, "anything"));
    EXPECT_FALSE(Scan({"A"}, ""));
    // The last of several keywords is found; Ё (A8) matches ё (B8).
    EXPECT_TRUE(Scan({"ZZZ", "QQ", "\xA8Z"}, "..\xB8z.."));
}

TEST(KeywordScanner, AgreesWithThePlainSearchOnRandomTexts) {
    std::mt19937 random(12345);
    // A small alphabet of both cases makes partial matches frequent.
    const std::string alphabet = "abcABC\xE0\xC0\xB8\xA8 \x00\xFF";
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> keywords;
        const int count = static_cast<int>(random() % 14);
        for (int k = 0; k < count; ++k) {
            std::string word = randomText(1 + random() % 4);
            // Keywords are stored without NUL bytes, upper-cased.
            for (char& c : word)
                if (c == '\0') c = 'A';
            keywords.push_back(Upcase1251(word));
        }
        const std::string text = randomText(random() % 64);
        ASSERT_EQ(KeywordScanner(keywords).Scan(Bytes(text), text.size()),
                  ScanKeywordsPlain(Bytes(text), text.size(), keywords))
            << "round " << round;
    }
}

// Every path this processor runs, the scalar one first.
std::vector<KeywordScanner::Path> Paths() {
    std::vector<KeywordScanner::Path> paths = {KeywordScanner::Path::Scalar,
                                               KeywordScanner::Path::Best};
    for (auto p : {KeywordScanner::Path::Avx2, KeywordScanner::Path::Avx2Pairs,
                   KeywordScanner::Path::Avx512, KeywordScanner::Path::Avx512Pairs})
        if (KeywordScanner::Supported(p)) paths.push_back(p);
    return paths;
}

// Bytes whose upper case is not simply the byte without 0x20, and their partners.
const std::string kTrickyBytes = "\x83\x81\x90\x80\x9A\x8A\xA2\xA1\xB3\xB2\xB4\xA5\xB8\xA8"
                                 "\xBC\xA3\xBE\xBD\xBF\xAF\x60\x40\x7B\x5B\xDF\xFF\xC0\xE0";

// Texts exactly as long as they are (on the heap, nothing after them to
// read), so that a vector read past the end shows under the address checker.
bool AllPathsAgree(const std::vector<std::string>& keywords, const std::string& text,
                   std::string& failure) {
    std::vector<unsigned char> bytes(text.begin(), text.end());
    const unsigned char* data = bytes.empty() ? nullptr : bytes.data();
    const bool expected = ScanKeywordsPlain(data, bytes.size(), keywords);
    const KeywordScanner scanner(keywords);
    for (auto path : Paths()) {
        if (scanner.ScanWith(path, data, bytes.size()) != expected) {
            failure = "path " + std::to_string(static_cast<int>(path)) + " says " +
                      (expected ? "no" : "yes");
            return false;
        }
    }
    if (ScanKeywords(data, bytes.size(), keywords) != expected) {
        failure = "ScanKeywords differs";
        return false;
    }
    // The same text at every alignment that matters to a vector read, with
    // the keywords themselves right before and after it: what lies outside
    // the buffer must never count.
    std::string poison;
    while (poison.size() < 192)
        for (const std::string& k : keywords) poison += k;
    for (std::size_t offset : {0u, 1u, 15u, 16u, 33u, 63u}) {
        alignas(64) static unsigned char arena[64 + 4096 + 256];
        if (bytes.size() > 4096) break;
        for (std::size_t i = 0; i < sizeof(arena); ++i)
            arena[i] = static_cast<unsigned char>(poison[i % poison.size()]);
        std::copy(bytes.begin(), bytes.end(), arena + 64 + offset);
        for (auto path : Paths()) {
            if (scanner.ScanWith(path, arena + 64 + offset, bytes.size()) != expected) {
                failure = "path " + std::to_string(static_cast<int>(path)) + " at offset " +
                          std::to_string(offset) + " says " + (expected ? "no" : "yes");
                return false;
            }
        }
    }
    return true;
}

TEST(KeywordScanner, VectorPathsAgreeWithThePlainSearchOnEveryByteAndLength) {
    std::mt19937 random(777);
    auto byte = [&] {
        // Half of the bytes from the tricky set, the rest from all 256 values.
        return random() % 2 ? kTrickyBytes[random() % kTrickyBytes.size()]
                            : static_cast<char>(random() % 256);
    };
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> keywords;
        const int count = 1 + static_cast<int>(random() % 13);
        for (int k = 0; k < count; ++k) {
            std::string word;
            const std::size_t length = 1 + random() % 5;
            for (std::size_t i = 0; i < length; ++i) word += byte();
            // Most keywords are upper-cased as stored; some keep bytes that
            // nothing upper-cases to, or NULs, which match only past the end.
            if (random() % 8 != 0) word = Upcase1251(word);
            keywords.push_back(word);
        }
        const std::size_t length = random() % 3 == 0 ? random() % 600 : random() % 140;
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text += byte();
        // Plant a keyword, in some case, anywhere: across vector boundaries
        // and at the very end, sometimes cut short by the end.
        if (length > 0 && random() % 2 == 0) {
            const std::string& k = keywords[random() % keywords.size()];
            const std::size_t at =
                random() % 4 == 0 ? length - std::min(length, k.size()) : random() % length;
            for (std::size_t i = 0; i < k.size() && at + i < length; ++i) {
                char c = k[i];
                // The lower-case partner where there is one.
                for (int b = 0; b < 256 && random() % 2; ++b)
                    if (UpcaseTable[static_cast<std::size_t>(b)] == static_cast<unsigned char>(c)) {
                        c = static_cast<char>(b);
                        if (random() % 2) break;
                    }
                text[at + i] = c;
            }
        }
        std::string failure;
        ASSERT_TRUE(AllPathsAgree(keywords, text, failure)) << "round " << round << ": " << failure;
    }
}

TEST(KeywordScanner, EveryByteValueFindsItsLetterInEveryPosition) {
    // Each of the 256 bytes as a one-, two- and three-byte keyword's first
    // byte, at each position of a text that straddles two vector widths.
    for (int b = 0; b < 256; ++b) {
        const auto raw = static_cast<char>(b);
        const std::string upper(1, static_cast<char>(UpcaseTable[static_cast<std::size_t>(b)]));
        for (const std::string& keyword : {upper, upper + "Q", upper + "QZ"}) {
            for (std::size_t at : {0u, 1u, 31u, 32u, 63u, 64u, 127u, 128u, 129u, 130u}) {
                std::string text(131, '.');
                text[at] = raw;
                if (at + 1 < text.size()) text[at + 1] = 'q';
                if (at + 2 < text.size()) text[at + 2] = 'z';
                std::string failure;
                ASSERT_TRUE(AllPathsAgree({"XYZ", keyword}, text, failure))
                    << "byte " << b << " at " << at << " in " << keyword.size() << ": " << failure;
            }
        }
    }
}

TEST(KeywordScanner, KeywordsHoldingNulMatchOnlyWhereTheEndSuppliesIt) {
    const std::string nulTail("AB\0", 3);
    for (auto path : Paths()) {
        const KeywordScanner scanner({nulTail});
        std::string text(200, '.');
        text.replace(100, 2, "ab");
        std::vector<unsigned char> bytes(text.begin(), text.end());
        EXPECT_FALSE(scanner.ScanWith(path, bytes.data(), bytes.size()));
        bytes[198] = 'a';
        bytes[199] = 'b';
        // The byte after the end counts as 0, which this keyword asks for.
        EXPECT_TRUE(scanner.ScanWith(path, bytes.data(), bytes.size()));
    }
}

// A keyword in some case: each letter the byte itself or one that upper-cases to it.
std::string InSomeCase(const std::string& keyword, std::mt19937& random) {
    std::string text = keyword;
    for (char& c : text) {
        std::vector<char> partners;
        for (int b = 0; b < 256; ++b)
            if (UpcaseTable[static_cast<std::size_t>(b)] == static_cast<unsigned char>(c))
                partners.push_back(static_cast<char>(b));
        if (!partners.empty() && random() % 2) c = partners[random() % partners.size()];
    }
    return text;
}

TEST(KeywordScanner, LongKeywordsAgreeAcrossWindowsAndTheTail) {
    // Keywords of five bytes and more take the every-second-position filters,
    // whose windows start 126 or 64 bytes apart; the last positions come from
    // a padded copy and the last starts from the scalar search. Keywords go
    // across window joins, into the tail and past the end.
    std::mt19937 random(4242);
    const std::string letters = "ETAOINSRetaoinsr\xCE\xC5\xC0\xC8\xEE\xE5\xE0\xE8\xD2\xF2 .,";
    auto byte = [&] {
        return random() % 4 == 0 ? kTrickyBytes[random() % kTrickyBytes.size()]
                                 : letters[random() % letters.size()];
    };
    for (int round = 0; round < 800; ++round) {
        std::vector<std::string> keywords;
        const int count = 1 + static_cast<int>(random() % 20);
        for (int k = 0; k < count; ++k) {
            std::string word;
            const std::size_t length = 5 + random() % (random() % 4 == 0 ? 40 : 8);
            for (std::size_t i = 0; i < length; ++i) word += byte();
            keywords.push_back(random() % 8 != 0 ? Upcase1251(word) : word);
        }
        const std::size_t length = random() % 1200;
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text += byte();
        for (int plant = static_cast<int>(random() % 3); plant > 0 && length > 0; --plant) {
            const std::string k = InSomeCase(keywords[random() % keywords.size()], random);
            const std::size_t step = random() % 2 ? 126 : 64;
            const std::size_t window = step * (random() % (length / step + 1));
            const std::size_t near = window + random() % 8 - std::min<std::size_t>(window, 4);
            const std::size_t at = random() % 3 == 0   ? near
                                   : random() % 2 == 0 ? length - std::min(length, k.size())
                                                       : random() % length;
            for (std::size_t i = 0; i < k.size() && at + i < length; ++i) text[at + i] = k[i];
        }
        std::string failure;
        ASSERT_TRUE(AllPathsAgree(keywords, text, failure)) << "round " << round << ": " << failure;
    }
}

TEST(KeywordScanner, AKeywordAnchoredDeepInsideIsFoundAtEveryStart) {
    // The rare letters at its end anchor this keyword far from its start, so
    // an occurrence just before the last window is found only by reaching back.
    const std::string keyword = "EEEEEEEEEEEEEEEEEEEEEEEEEEEEEEQJZXQJ";
    for (std::size_t length : {300u, 383u}) {
        for (std::size_t at = 0; at + keyword.size() <= length + 2; ++at) {
            std::string text(length, 'e');
            for (std::size_t i = 0; i < keyword.size() && at + i < length; ++i)
                text[at + i] = keyword[i];
            std::string failure;
            ASSERT_TRUE(AllPathsAgree({keyword, "\xD1\xD2\xCE\xCF\xC0"}, text, failure))
                << "length " << length << " at " << at << ": " << failure;
        }
    }
}

TEST(KeywordScanner, AShortestPairKeywordIsFoundAtEveryStartNearTheEnd) {
    // Lengths around the windows of the pair filters: every start, the
    // keyword cut short by the end in the last ones. With a NUL at its end
    // the keyword matches only where the end supplies it, after the last
    // position the pair filters look at.
    const std::string word = "\xC2\xC7\xD0\xDB\xC2"; // ВЗРЫВ
    for (const std::string& keyword : {word, word + std::string(1, '\0')}) {
        for (std::size_t length : {4u, 5u, 6u, 65u, 66u, 67u, 127u, 128u, 129u, 130u, 131u, 192u,
                                   193u, 253u, 254u, 255u, 256u}) {
            for (std::size_t at = length > 140 ? length - 140 : 0; at < length; ++at) {
                std::string text(length, 'e');
                for (std::size_t i = 0; i < word.size() && at + i < length; ++i)
                    text[at + i] = static_cast<char>(word[i] | 0x20);
                std::string failure;
                ASSERT_TRUE(AllPathsAgree({keyword, "EARTHQUAKE"}, text, failure))
                    << "length " << length << " at " << at << ": " << failure;
            }
        }
    }
}

TEST(KeywordScanner, ManyKeywordsStillAgree) {
    std::vector<std::string> keywords;
    for (int i = 0; i < 100; ++i) keywords.push_back("W" + std::to_string(i) + "X");
    EXPECT_TRUE(Scan(keywords, "..w99x.."));
    EXPECT_FALSE(Scan(keywords, "..w100x.."));
}

// --- The search as the filter calls it ---------------------------------

// Both forms of the search, which must agree.
bool ScanBoth(std::string_view text, const std::vector<std::string>& keywords) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    bool plain = ScanKeywordsPlain(bytes, text.size(), keywords);
    EXPECT_EQ(ScanKeywords(bytes, text.size(), keywords), plain) << text;
    return plain;
}

TEST(ScanKeywords, IgnoresLetterCaseOfLatinAndCyrillic) {
    const std::string privet = "\xEF\xF0\xE8\xE2\xE5\xF2";                  // привет
    const std::string upperPrivet = Upcase1251("\xCF\xD0\xC8\xC2\xC5\xD2"); // ПРИВЕТ
    EXPECT_TRUE(ScanBoth("say " + privet + " to all", {upperPrivet}));
    EXPECT_TRUE(ScanBoth("\xB8\xEB\xEA\xE0", {Upcase1251("\xA8\xCB\xCA\xC0")})); // ёлка / ЁЛКА
    EXPECT_TRUE(ScanBoth("Storm Warning", {"WARNING"}));
    EXPECT_FALSE(ScanBoth("Storm Warning", {"WARNINGS"}));
}

TEST(ScanKeywords, MatchesUpToTheVeryEndButNotPastIt) {
    EXPECT_TRUE(ScanBoth("xyz abc", {"ABC"}));
    EXPECT_FALSE(ScanBoth("xyz abc", {"ABCD"}));
    EXPECT_TRUE(ScanBoth("abc", {"ABC"}));
    EXPECT_FALSE(ScanBoth("ab", {"ABC"}));
    // The length counts, not a NUL: bytes beyond it are never looked at.
    std::string text = "abcd";
    EXPECT_FALSE(
        ScanKeywordsPlain(reinterpret_cast<const unsigned char*>(text.data()), 3, {"ABCD"}));
    EXPECT_TRUE(ScanBoth(std::string_view("\0\0abc\0", 6), {"ABC"}));
}

TEST(ScanKeywords, AnyKeywordOfTheList) {
    EXPECT_TRUE(ScanBoth("weather report", {"STORM", "REPORT"}));
    EXPECT_FALSE(ScanBoth("weather report", {"STORM", "FLOOD"}));
    EXPECT_FALSE(ScanBoth("weather report", {}));
    EXPECT_FALSE(ScanBoth("", {"A"}));
    EXPECT_FALSE(ScanBoth("anything", {""}));
}

} // namespace
} // namespace varnot
