#include "core/archive/code_pages.h"
#include "core/archive/message_text.h"
#include "core/filters/keyword_scanner.h"

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
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
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

TEST(KeywordScanner, ManyKeywordsStillAgree) {
    std::vector<std::string> keywords;
    for (int i = 0; i < 100; ++i) keywords.push_back("W" + std::to_string(i) + "X");
    EXPECT_TRUE(Scan(keywords, "..w99x.."));
    EXPECT_FALSE(Scan(keywords, "..w100x.."));
}

} // namespace
} // namespace varnot
