#include "core/main/date_entry.h"

#include <gtest/gtest.h>

using namespace varnot;

namespace {

std::string Entered(std::string_view text) {
    const auto date = ParseEnteredDate(text);
    return date ? FormatDateTime(*date, "yyyy-mm-dd") : "none";
}

TEST(EnteredDateTest, FourAndTwoDigitYears) {
    EXPECT_EQ(Entered("05.12.2026"), "2026-12-05");
    EXPECT_EQ(Entered(" 5.1.2026 "), "2026-01-05");
    // Two digits: 80..99 are the 1900s, file times start in 1980.
    EXPECT_EQ(Entered("05.12.26"), "2026-12-05");
    EXPECT_EQ(Entered("01.01.79"), "2079-01-01");
    EXPECT_EQ(Entered("01.01.80"), "1980-01-01");
    EXPECT_EQ(Entered("31.12.99"), "1999-12-31");
    EXPECT_EQ(Entered("29.02.2024"), "2024-02-29");
}

TEST(EnteredDateTest, ImpossibleOrMalformedDatesAreRefused) {
    for (const char* text :
         {"31.02.2026", "29.02.2025", "00.12.2026", "05.13.2026", "05.12.202", "05.12.20266",
          "05/12/2026", "05.12", "", "a.b.cccc", "05.12.2026x", "-5.12.2026", "123.1.2026"})
        EXPECT_EQ(Entered(text), "none") << text;
}

} // namespace
