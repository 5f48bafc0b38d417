#include "core/main/list_cells.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(ListTimeTextTest, MissingValuesGiveTheCurrentDateAndTime) {
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

TEST(ListTimeTextTest, OnlyRegularFilesAreRead) {
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
