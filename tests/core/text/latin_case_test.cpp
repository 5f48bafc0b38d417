#include "core/text/latin_case.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(LatinCase, OnlyLatinLettersChangeCase) {
    EXPECT_EQ(UpcaseLatin("a1234567.txt \xEF\xE0{`z"), "A1234567.TXT \xEF\xE0{`Z");
    EXPECT_TRUE(SameLatinText("DateTime", "dATEtIME"));
    EXPECT_TRUE(SameLatinText("", ""));
    EXPECT_FALSE(SameLatinText("date", "dates"));
    // Cyrillic а and А (E0, C0), and the bytes beside a..z, are compared exactly.
    EXPECT_FALSE(SameLatinText("\xE0", "\xC0"));
    EXPECT_FALSE(SameLatinText("@", "`"));
    EXPECT_FALSE(SameLatinText("[", "{"));
}

} // namespace
} // namespace varnot
