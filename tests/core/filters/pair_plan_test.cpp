#include "core/filters/pair_plan.h"
#include "core/text/code_pages.h"

#include <gtest/gtest.h>
#include <random>

namespace varnot {
namespace {

TEST(PairPlan, OnlyListsOfLongKeywordsGetOne) {
    EXPECT_FALSE(MakePairPlan({}));
    EXPECT_FALSE(MakePairPlan({"ABCDE", "ABCD"}));
    EXPECT_TRUE(MakePairPlan({"ABCDE", "\xC2\xC7\xD0\xDB\xC2"}));
    std::vector<std::string> many;
    for (int i = 0; i < 65; ++i) many.push_back("WORD" + std::to_string(100 + i));
    EXPECT_FALSE(MakePairPlan(many));
    many.pop_back();
    EXPECT_TRUE(MakePairPlan(many));
}

TEST(PairPlan, EveryCaseOfEveryAnchorPassesTheTablesOfItsBucket) {
    // The filter may take too much but never too little: the anchor's bucket
    // must take, in both forms of the tables, every byte that upper-cases to
    // each of its print bytes.
    std::mt19937 random(99);
    for (int round = 0; round < 100; ++round) {
        std::vector<std::string> keywords;
        const int count = 1 + static_cast<int>(random() % 64);
        for (int k = 0; k < count; ++k) {
            std::string word;
            const std::size_t length = 5 + random() % 30;
            for (std::size_t i = 0; i < length; ++i)
                word += static_cast<char>(UpcaseTable[random() % 256]);
            keywords.push_back(word);
        }
        const auto plan = MakePairPlan(keywords);
        ASSERT_TRUE(plan);
        ASSERT_EQ(plan->anchors.size(), 2 * keywords.size());
        ASSERT_EQ(plan->prints.size(), plan->anchors.size());
        std::size_t reach = 0;
        for (std::size_t i = 0; i < plan->anchors.size(); ++i) {
            const PairPlan::Anchor& a = plan->anchors[i];
            const std::string& k = keywords[a.keyword];
            // Two neighbouring offsets per keyword, the print inside it.
            EXPECT_EQ(a.keyword, i / 2);
            if (i % 2 == 1) {
                EXPECT_EQ(a.offset, plan->anchors[i - 1].offset + 1);
            }
            ASSERT_LE(a.offset + 4, k.size());
            reach = std::max<std::size_t>(reach, a.offset);
            ASSERT_LT(a.bucket, 8u);
            std::uint32_t print = 0;
            unsigned taken = 1;
            for (std::size_t j = 0; j < 4; ++j) {
                const auto byte = static_cast<unsigned char>(k[a.offset + j]);
                print |= static_cast<std::uint32_t>(byte) << (8 * j);
                for (std::size_t b = 0; b < 256; ++b)
                    if (UpcaseTable[b] == byte)
                        taken &= plan->classes[j][b & 0x7F] >> a.bucket &
                                 plan->lowNibbles[j][b & 0x0F] >> a.bucket &
                                 (j < 2 ? plan->highNibbles[j][b >> 4] >> a.bucket : 1);
            }
            EXPECT_EQ(plan->prints[i], print);
            EXPECT_EQ(taken, 1u) << "round " << round << " anchor " << i;
            // The print in some case in text, as four bytes first lowest.
            std::uint32_t inText = 0;
            for (std::size_t j = 0; j < 4; ++j) {
                std::vector<std::uint32_t> cases;
                for (std::uint32_t b = 0; b < 256; ++b)
                    if (UpcaseTable[b] == static_cast<unsigned char>(k[a.offset + j]))
                        cases.push_back(b);
                inText |= cases[random() % cases.size()] << (8 * j);
            }
            EXPECT_TRUE(plan->MayHold(inText)) << "round " << round << " anchor " << i;
        }
        EXPECT_EQ(plan->reach, reach);
    }
}

TEST(PairPlan, FoldingKeepsLettersApartButNotTheirCases) {
    // Both cases of a letter fold alike; a Latin and a Cyrillic letter never
    // do, nor do letters and the space.
    auto folded = [](unsigned b) { return PairPlan::Folded(b) & 0xFF; };
    for (std::uint32_t b = 0; b < 256; ++b) {
        const unsigned char upper = UpcaseTable[b];
        if ((upper ^ b) == 0x20) {
            EXPECT_EQ(folded(b), folded(upper)) << b;
        }
    }
    EXPECT_NE(folded('A'), folded(0xC0));
    EXPECT_NE(folded('a'), folded(0xE0));
    EXPECT_NE(folded(' '), folded('@'));
    // Each byte folds on its own, whatever its neighbours.
    EXPECT_EQ(PairPlan::Folded(0xFFFFFF41u) & 0xFF, folded('A'));
    EXPECT_EQ(PairPlan::Folded(0x000041FFu) >> 8 & 0xFF, folded('A'));
}

TEST(PairPlan, TextWithoutTheKeywordsMostlyFailsTheHashedPrints) {
    const auto plan = MakePairPlan({"EARTHQUAKE", "\xD6\xD3\xCD\xC0\xCC\xC8"});
    ASSERT_TRUE(plan);
    std::mt19937 random(3);
    int held = 0;
    for (int i = 0; i < 10000; ++i) held += plan->MayHold(static_cast<std::uint32_t>(random()));
    // Four anchors in 4096 bits: about one in a thousand.
    EXPECT_LT(held, 100);
}

TEST(PairPlan, APrintHoldsInItsKeywordButNotFramedByOtherBytes) {
    // The keywords in some case, each print found where it lies in its
    // keyword; then each print of a keyword long enough for a frame between
    // bytes that are not the keyword's.
    const std::vector<std::string> keywords = {"\xCD\xC0\xC2\xCE\xC4\xCD\xC5\xCD\xC8\xC5",
                                               "EARTHQUAKE", "\xC2\xC7\xD0\xDB\xC2", "HOSTAGES"};
    const auto plan = MakePairPlan(keywords);
    ASSERT_TRUE(plan);
    for (const PairPlan::Anchor& a : plan->anchors) {
        std::string word = keywords[a.keyword];
        for (std::size_t i = 0; i < word.size(); i += 2)
            word[i] = static_cast<char>(word[i] | 0x20);
        const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
        EXPECT_TRUE(plan->MayHoldFramed(bytes, word.size(), a.offset)) << a.keyword;
        if (a.offset == 0 || a.offset + 4 == word.size()) continue;
        const std::string framed = "~" + word.substr(a.offset, 4) + "~";
        EXPECT_FALSE(plan->MayHoldFramed(reinterpret_cast<const unsigned char*>(framed.data()),
                                         framed.size(), 1))
            << a.keyword << " at " << a.offset;
    }
}

TEST(PairPlan, UpperPrintReadsFourBytesInUpperCase) {
    const unsigned char text[] = {'a', 0xE0, 'Z', 0xB8};
    EXPECT_EQ(UpperPrintAt(text), 0xA85AC041u);
}

} // namespace
} // namespace varnot
