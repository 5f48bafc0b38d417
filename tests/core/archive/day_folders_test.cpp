#include "core/archive/day_folders.h"

#include "core/archive/date_time_printer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {
namespace {

using testing_support::MakeDirs;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Widened(std::string name) {
    return IsDayName(name) ? name : "<rejected: " + name + ">";
}

TEST(DayName, WidensWithTheYearWindowOf95) {
    EXPECT_EQ(Widened("99_12_31"), "1999_12_31");
    EXPECT_EQ(Widened("95_01_01"), "1995_01_01");
    EXPECT_EQ(Widened("00_01_01"), "2000_01_01");
    EXPECT_EQ(Widened("94_06_15"), "2094_06_15");
    EXPECT_EQ(Widened("03_12_25"), "2003_12_25");
    EXPECT_EQ(Widened("00_02_29"), "2000_02_29");
}

TEST(DayName, RejectsOtherNamesAndImpossibleDatesUnchanged) {
    for (const char* bad :
         {"03_02_30", "01_02_29", "03_13_01", "03_00_10", "03_12_00", "03_12_32", "2003_12_25",
          "3_12_25", "03_12_2", "03-12-25", "0a_12_25", "03_12_2 ", " 3_12_25", "03__2_25", ""}) {
        std::string name = bad;
        EXPECT_FALSE(IsDayName(name)) << bad;
        EXPECT_EQ(name, bad);
    }
}

TEST(DayName, ParsesOnlyTenCharacterDayNames) {
    DateTime date;
    ASSERT_TRUE(ParseDayName("2003_12_25", &date));
    EXPECT_EQ(date, (DateTime{2003, 12, 25, 0, 0, 0}));
    EXPECT_TRUE(ParseDayName("1999_12_31", nullptr));
    EXPECT_FALSE(ParseDayName("2003_02_30", &date));
    EXPECT_FALSE(ParseDayName("2003_13_01", &date));
    EXPECT_FALSE(ParseDayName("03_12_25", &date));
    EXPECT_FALSE(ParseDayName("2003-12-25", &date));
    EXPECT_FALSE(ParseDayName("2003_12_251", &date));
    EXPECT_FALSE(ParseDayName("2003_1a_25", &date));
    EXPECT_FALSE(ParseDayName("", &date));
}

TEST(DayName, FolderAndPathOfADay) {
    EXPECT_EQ(DayFolderOf("2003_12_25"), "03_12_25");
    EXPECT_EQ(DayFolderPath("/arc/", "1999_12_31"), "/arc/99_12_31/");
    EXPECT_EQ(DayNameOf({2094, 6, 15, 10, 0, 0}), "2094_06_15");
    EXPECT_EQ(DayFolderNameOf({1999, 12, 31, 0, 0, 0}), "99_12_31");
    std::string today = TodayFolderName();
    EXPECT_TRUE(IsDayName(today)) << today;
    EXPECT_EQ(TodayFolderPath("/arc/"), "/arc/" + TodayFolderName());
}

TEST(DateList, HoldsTheRealDayFoldersOldestFirst) {
    TempDir root;
    MakeDirs(root / "00_01_01");
    MakeDirs(root / "94_06_15");
    MakeDirs(root / "99_12_31");
    MakeDirs(root / "2003_12_25"); // ten characters
    MakeDirs(root / "3_12_25");
    MakeDirs(root / "03_02_30"); // no such day
    MakeDirs(root / "news");
    WriteFile(root / "03_12_25", "a file named like a day");
    MakeDirs(root / "elsewhere");
    ASSERT_EQ(symlink((root / "elsewhere").c_str(), (root / "03_12_26").c_str()), 0);

    EXPECT_EQ(LoadDateList(root.path()),
              (std::vector<std::string>{"1999_12_31", "2000_01_01", "2094_06_15"}));
}

TEST(DateList, MissingRootOrAFileGivesNoDays) {
    TempDir root;
    EXPECT_TRUE(LoadDateList(root / "missing/").empty());
    EXPECT_TRUE(LoadDateList(root.path()).empty());

    WriteFile(root / "plain", "x");
    EXPECT_TRUE(LoadDateList(root / "plain/").empty());
}

TEST(DateList, UnreadableRootGivesNoDays) {
    TempDir root;
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    MakeDirs(root / "locked/03_12_25");
    chmod((root / "locked").c_str(), 0);
    EXPECT_TRUE(LoadDateList(root / "locked/").empty());
}

TEST(DateList, ComboItemsAreNewestFirst) {
    std::vector<std::string> dates = {"2003_12_24", "2003_12_25"};
    std::vector<std::string> items = DateComboItems(dates);
    ASSERT_EQ(items, (std::vector<std::string>{"25.12.2003", "24.12.2003"}));
    EXPECT_TRUE(DateComboItems({}).empty());
}

} // namespace
} // namespace varnot
