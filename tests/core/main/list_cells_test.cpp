#include "core/main/list_cells.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

TEST(ListCellStyleTest, TimeAlwaysBoldOthersWhileUnreadRedWhenSelected) {
    const std::uint16_t unread = TFileInfo::Shown, read = TFileInfo::Shown | TFileInfo::Read;
    for (int column = 0; column < 3; ++column) EXPECT_TRUE(CellStyleOf(unread, column).bold);
    EXPECT_TRUE(CellStyleOf(read, TimeColumn).bold);
    EXPECT_FALSE(CellStyleOf(read, NameColumn).bold);
    EXPECT_FALSE(CellStyleOf(read, BriefColumn).bold);
    const std::uint16_t selected = read | TFileInfo::Selected;
    EXPECT_FALSE(CellStyleOf(selected, TimeColumn).red);
    EXPECT_TRUE(CellStyleOf(selected, NameColumn).red);
    EXPECT_TRUE(CellStyleOf(selected, BriefColumn).red);
    EXPECT_FALSE(CellStyleOf(read, BriefColumn).red);
}

TEST(ListCellStyleTest, TextIsInsetByAnEighthOfTheRow) {
    EXPECT_EQ(CellTextLeft(TimeColumn, 18), 2);
    EXPECT_EQ(CellTextLeft(NameColumn, 18), 2);
    EXPECT_EQ(CellTextLeft(BriefColumn, 18), 4);
    EXPECT_EQ(CellTextTop(18), 2);
    EXPECT_EQ(CellTextTop(7), 0);
}

TEST(ListTimeTextTest, FromTheRecordOrFromTheSectionedFile) {
    TempDir dir;
    TFileInfo record;
    ASSERT_TRUE(record.SetName("26_12_05\\", "z.txt"));
    record.Time = PackDosTime({2026, 12, 5, 7, 4, 0});
    ArchiveOptions options;
    options.root = dir.path();
    EXPECT_EQ(ListTimeText(record, options), "07:04  05.12");

    WriteFile(dir / "26_12_05/z.txt",
              "[head]\r\nhead=x\r\n[DateTime]\r\n date = 261201 \r\nTIME=0930\r\ntime=1111\r\n");
    options.inZev = true;
    EXPECT_EQ(ListTimeText(record, options), "09:30  01.12");
}

} // namespace
