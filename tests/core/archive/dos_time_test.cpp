#include "core/archive/dos_time.h"

#include "core/archive/date_time_printer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <limits>

namespace varnot {
namespace {

using testing_support::LocalTime;

constexpr DateTime kFirst{1980, 1, 1, 0, 0, 0};
constexpr DateTime kLast{2107, 12, 31, 23, 59, 58};

TEST(DosTime, PacksTheFieldsIntoTheirBits) {
    DateTime dt{2003, 12, 25, 14, 5, 36};
    int32_t expected = (23 << 25) | (12 << 21) | (25 << 16) | (14 << 11) | (5 << 5) | 18;
    EXPECT_EQ(PackDosTime(dt), expected);
    EXPECT_EQ(UnpackDosTime(expected), dt);
}

TEST(DosTime, RoundTripKeepsEvenSecondsAndDropsOddOnes) {
    for (DateTime dt : {DateTime{1980, 1, 1, 0, 0, 0}, DateTime{1999, 12, 31, 23, 59, 58},
                        DateTime{2000, 2, 29, 12, 30, 0}, DateTime{2043, 12, 31, 23, 59, 58},
                        DateTime{2107, 12, 31, 23, 59, 58}})
        EXPECT_EQ(UnpackDosTime(PackDosTime(dt)), dt);
    EXPECT_EQ(UnpackDosTime(PackDosTime({2003, 12, 25, 14, 5, 37})).second, 36);
}

TEST(DosTime, NewerTimesCompareGreaterWithinTheSignedRange) {
    EXPECT_LT(PackDosTime({2003, 12, 25, 14, 5, 36}), PackDosTime({2003, 12, 25, 14, 5, 38}));
    EXPECT_LT(PackDosTime({2003, 12, 31, 23, 59, 58}), PackDosTime({2004, 1, 1, 0, 0, 0}));
}

TEST(DosTime, PackClampsYearsOutsideTheRange) {
    EXPECT_EQ(UnpackDosTime(PackDosTime({1979, 12, 31, 23, 59, 59})), kFirst);
    EXPECT_EQ(UnpackDosTime(PackDosTime({2108, 1, 1, 0, 0, 0})), kLast);
}

TEST(DosTime, FileTimesAreLocalAndClamped) {
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(LocalTime(2003, 12, 25, 14, 5, 37))),
              (DateTime{2003, 12, 25, 14, 5, 36}));
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(LocalTime(1970, 1, 2, 3, 4, 5))), kFirst);
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(0)), kFirst);
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(-1000000)), kFirst);
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(LocalTime(2200, 6, 1))), kLast);
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(std::numeric_limits<std::time_t>::max())), kLast);
    EXPECT_EQ(UnpackDosTime(DosTimeFromUnix(std::numeric_limits<std::time_t>::min())), kFirst);
}

TEST(DosTime, UnixTimeRoundTrip) {
    std::time_t t = LocalTime(2011, 7, 15, 8, 9, 10);
    EXPECT_EQ(UnixFromDosTime(DosTimeFromUnix(t)), t);
    EXPECT_EQ(UnixFromDosTime(DosTimeFromUnix(t + 1)), t);
    EXPECT_EQ(FromUnix(t), (DateTime{2011, 7, 15, 8, 9, 10}));
}

TEST(DosTime, FormatsThePatternsOfTheProgram) {
    DateTime dt{2003, 12, 5, 9, 7, 6};
    EXPECT_EQ(FormatDateTime(dt, "hh:nn  dd.mm"), "09:07  05.12");
    EXPECT_EQ(FormatDateTime(dt, "hh:nn dd.mm.yyyy"), "09:07 05.12.2003");
    EXPECT_EQ(FormatDateTime(dt, "dd.mm.yyyy"), "05.12.2003");
    EXPECT_EQ(FormatDateTime(dt, "yyyy_mm_dd"), "2003_12_05");
    EXPECT_EQ(FormatDateTime(dt, "yy_mm_dd"), "03_12_05");
    EXPECT_EQ(FormatDateTime({1999, 1, 2, 0, 0, 0}, "yy_mm_dd"), "99_01_02");
    EXPECT_EQ(FormatDateTime(dt, "hh:nn:ss"), "09:07:06");
    EXPECT_EQ(FormatDosTime(PackDosTime({2003, 12, 25, 14, 5, 0}), "hh:nn  dd.mm"), "14:05  25.12");
}

TEST(DosTime, FormatSurvivesGarbageFields) {
    // An unpacked garbage value has fields no calendar has; it still formats.
    EXPECT_EQ(FormatDosTime(-1, "yyyy_mm_dd hh:nn:ss"), "2107_15_31 31:63:62");
    EXPECT_EQ(FormatDateTime({-5, -1, 0, 0, 0, 0}, "yy mm"), "05 -01");
}

TEST(DosTime, ValidDates) {
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_TRUE(IsValidDate(2004, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_FALSE(IsValidDate(2003, 2, 29));
    EXPECT_FALSE(IsValidDate(2003, 2, 30));
    EXPECT_FALSE(IsValidDate(2003, 4, 31));
    EXPECT_TRUE(IsValidDate(2003, 12, 31));
    EXPECT_FALSE(IsValidDate(2003, 13, 1));
    EXPECT_FALSE(IsValidDate(2003, 0, 1));
    EXPECT_FALSE(IsValidDate(2003, 1, 0));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
}

} // namespace
} // namespace varnot
