#include "core/archive/day_jump.h"

#include <gtest/gtest.h>

#include "core/archive/archive_tree.h"

namespace varnot {
namespace {

using archive_test::Dos;

class JumpToDayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArchiveOptions options;
        options.deleteAutomaticly = false;
        auto add = [&](std::string_view name, std::int32_t time, std::uint16_t flags) {
            ASSERT_TRUE(list.AddFound("03_12_25\\", name, 1, time, options));
            list.RecordAt(list.Used - 1).Flags = flags;
        };
        // Rows: 0 = 26th, 1 and 2 = 25th, 3 = 22nd (the hidden 24th has no row).
        add("A", Dos(2003, 12, 26, 8), TFileInfo::Shown);
        add("B", Dos(2003, 12, 25, 23), TFileInfo::Shown);
        add("C", Dos(2003, 12, 25, 1), TFileInfo::Shown);
        add("D", Dos(2003, 12, 24, 12), 0);
        add("E", Dos(2003, 12, 22, 12), TFileInfo::Shown);
        list.BuildRows(-1);
    }
    CList list{10};
};

TEST_F(JumpToDayTest, GoesToTheNewestMessageOfTheDayOrTheNearestOlderDay) {
    EXPECT_EQ(JumpToDay(list, "2003_12_26", 3), 0);
    EXPECT_EQ(JumpToDay(list, "2003_12_25", 0), 1);
    EXPECT_EQ(JumpToDay(list, "2003_12_24", 0), 3); // hidden messages do not count
    EXPECT_EQ(JumpToDay(list, "2003_12_23", 0), 3);
    EXPECT_EQ(JumpToDay(list, "2004_01_01", 2), 0); // newer than everything
}

TEST_F(JumpToDayTest, DayOlderThanEveryMessageGoesToTheLastRow) {
    EXPECT_EQ(JumpToDay(list, "2003_12_21", 0), 3);
    EXPECT_EQ(JumpToDay(list, "1999_01_01", 1), 3);
}

TEST_F(JumpToDayTest, InvalidDayNamesLeaveTheRow) {
    for (const char* day : {"", "03_12_25", "2003_02_30", "2003-12-25", "2003_13_01", "20031225xx"})
        EXPECT_EQ(JumpToDay(list, day, 2), 2) << day;
}

TEST(JumpToDayEmptyTest, NothingShownGivesRowZero) {
    CList list(3);
    EXPECT_EQ(JumpToDay(list, "2003_12_25", 2), 0);
}

} // namespace
} // namespace varnot
