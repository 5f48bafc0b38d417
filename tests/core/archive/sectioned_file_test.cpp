#include "core/archive/sectioned_file.h"

#include "core/archive/date_time_printer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

// --- Sections -------------------------------------------------------------

std::vector<std::string> Kept(std::vector<std::string> lines, std::string_view name = "body") {
    KeepSection(lines, name);
    return lines;
}

TEST(KeepSection, KeepsOnlyTheLinesOfTheNamedSection) {
    EXPECT_EQ(Kept({"[head]", "head=Storm", "[body]", "line one", "line two"}),
              (std::vector<std::string>{"line one", "line two"}));
    EXPECT_EQ(Kept({"[head]", "head=Storm", "[datetime]", "[body]", "text"}),
              (std::vector<std::string>{"text"}));
    EXPECT_EQ(Kept({"before", "[body]", "a", "", "b", "[head]"}),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Kept({"[body]", "a", "[head]", "h", "[BODY]", "c"}),
              (std::vector<std::string>{"a", "c"}));
}

TEST(KeepSection, HeadersAreTrimmedAndMatchedWithoutCase) {
    EXPECT_EQ(Kept({" \t[ Body ]\r", "x\r"}), (std::vector<std::string>{"x\r"}));
    EXPECT_EQ(Kept({"[body]", "[", "]", "[]", "y"}), (std::vector<std::string>{"[", "]"}));
    EXPECT_EQ(Kept({"[bodyx]", "z"}), (std::vector<std::string>{}));
    EXPECT_EQ(Kept({"no sections at all"}), (std::vector<std::string>{}));
    EXPECT_EQ(Kept({}), (std::vector<std::string>{}));
}

// --- Dates and times of sectioned files -----------------------------------

const DateTime kNow{2011, 5, 6, 7, 8, 9};

TEST(ParseZev, Dates) {
    EXPECT_EQ(ParseZevDate("31224", kNow), (DateTime{2003, 12, 24, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("991231", kNow), (DateTime{1999, 12, 31, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("891231", kNow), (DateTime{2089, 12, 31, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("900101", kNow), (DateTime{1990, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("0312251405junk", kNow), (DateTime{2003, 12, 25, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("000229", kNow), (DateTime{2000, 2, 29, 0, 0, 0}));
}

TEST(ParseZev, ImpossibleOrGarbageDatesGiveNow) {
    for (std::string_view bad : {"", "031301", "030230", "031200", "010229", "abc", "-5", "-31224",
                                 "03 225", "+31224", "0x1234", "\xFF\xFE"})
        EXPECT_EQ(ParseZevDate(bad, kNow), kNow) << bad;
    EXPECT_EQ(ParseZevDate(std::string(100000, '9'), kNow), kNow); // month 99
    EXPECT_EQ(ParseZevDate(std::string_view("03\0"
                                            "1225",
                                            7),
                           kNow),
              kNow);
}

TEST(ParseZev, Times) {
    EXPECT_EQ(ParseZevTime("905", kNow).hour, 9);
    EXPECT_EQ(ParseZevTime("905", kNow).minute, 5);
    EXPECT_EQ(ParseZevTime("905", kNow).second, 0);
    EXPECT_EQ(FormatDateTime(ParseZevTime("2359", kNow), "hh:nn:ss"), "23:59:00");
    EXPECT_EQ(FormatDateTime(ParseZevTime("", kNow), "hh:nn"), "00:00");
    EXPECT_EQ(FormatDateTime(ParseZevTime("5", kNow), "hh:nn"), "00:05");
    EXPECT_EQ(FormatDateTime(ParseZevTime("140599", kNow), "hh:nn"), "14:05");
}

TEST(ParseZev, ImpossibleOrGarbageTimesGiveNow) {
    for (std::string_view bad : {"2400", "0960", "9999", "ab", "-905", "9 5", "12:30", "\x01"})
        EXPECT_EQ(ParseZevTime(bad, kNow), kNow) << bad;
    EXPECT_EQ(ParseZevTime(std::string(100000, '-'), kNow), kNow);
}

// --- The datetime section of a file ---------------------------------------

TEST(ZevDateTime, MissingValuesGiveTheCurrentDateAndTime) {
    TempDir dir;
    WriteFile(dir / "plain.txt", "no sections here\r\nDate=261201\r\n");
    const ZevDateTime values = ReadZevDateTime(dir / "plain.txt");
    EXPECT_TRUE(values.date.empty());
    EXPECT_TRUE(values.time.empty());
    const std::string now = FormatDateTime(Now(), "dd.mm");
    // The date part of the cell is today (the minute may turn meanwhile).
    EXPECT_EQ(ZevTimeText("", "").substr(7), now);
    EXPECT_EQ(ZevTimeText("991399", "2561").substr(7), now);
}

TEST(ZevDateTime, OnlyRegularFilesAreRead) {
    TempDir dir;
    const std::string fifo = dir / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO without a writer would block a reader; it is not opened.
    EXPECT_TRUE(ReadZevDateTime(fifo).date.empty());
    EXPECT_TRUE(ReadZevDateTime(dir / "missing.txt").date.empty());
    // The values stop at a NUL like every message text.
    WriteFile(dir / "nul.txt", std::string("[datetime]\r\nTime=0930\0\r\nDate=261201\r\n", 36));
    const ZevDateTime values = ReadZevDateTime(dir / "nul.txt");
    EXPECT_EQ(values.time, "0930");
    EXPECT_TRUE(values.date.empty());
}

} // namespace
} // namespace varnot
