#include "core/archive/file_panel.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/ini_file.h"
#include "core/archive/archive_tree.h"
#include "core/archive/marks_file.h"
#include "support/temp_dir.h"

namespace varnot {
namespace {

using archive_test::Dos;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class FilePanelTest : public ::testing::Test {
  protected:
    std::string Flag() const { return ReadSetting(settings, "main", "LastExitIsGood", "(none)"); }

    void WriteMarks(int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "03_12_25\\M" + std::to_string(i) + ".TXT,36," +
                    std::to_string(Dos(2003, 12, 25, 10, 10 - i)) + ",5\r\n";
        WriteFile(folder + "attr.sav", text);
    }

    TempDir dir;
    std::string folder = dir.path();
    std::string settings = dir / "varnot.INI";
};

TEST_F(FilePanelTest, FirstStartMarksTheRunAsUncleanUntilClosed) {
    {
        TFilePanel panel(5, settings, folder);
        EXPECT_EQ(Flag(), "NO");
        EXPECT_FALSE(panel.MarksLoaded());
        EXPECT_TRUE(panel.Refilter);
        EXPECT_EQ(panel.Current().Capacity(), 5);
        EXPECT_EQ(panel.Spare().Capacity(), 5);
        EXPECT_EQ(panel.Current().Used, 0);
        ASSERT_TRUE(panel.SaveMarks());
        panel.Close();
        EXPECT_EQ(Flag(), "YES");
        WriteSetting(settings, "main", "LastExitIsGood", "NO");
        panel.Close(); // only once
        EXPECT_EQ(Flag(), "NO");
    }
    EXPECT_EQ(Flag(), "NO"); // the destructor does not repeat a close
    {
        TFilePanel panel(5, settings, folder);
        ASSERT_TRUE(panel.SaveMarks());
    }
    EXPECT_EQ(Flag(), "YES"); // nor forget one
}

TEST_F(FilePanelTest, WithoutWrittenMarksTheExitDoesNotCountAsClean) {
    { TFilePanel panel(5, settings, folder); } // never saved
    EXPECT_EQ(Flag(), "NO");
    // A folder in the place of the marks file: they cannot be written.
    testing_support::MakeDirs(folder + "attr.sav/inner");
    TFilePanel panel(5, settings, folder);
    EXPECT_FALSE(panel.SaveMarks());
    panel.Close();
    EXPECT_EQ(Flag(), "NO");
}

TEST_F(FilePanelTest, MarksAreLoadedOnlyAfterACleanExit) {
    WriteMarks(3);
    WriteSetting(settings, "main", "LastExitIsGood", "yes");
    {
        TFilePanel panel(10, settings, folder);
        EXPECT_TRUE(panel.MarksLoaded());
        EXPECT_EQ(panel.Current().Used, 3);
        EXPECT_EQ(panel.Current().RecordAt(2).Name(), "03_12_25\\M2.TXT");
        EXPECT_EQ(panel.Current().ShownCount, 0); // loaded records are not shown
        EXPECT_EQ(Flag(), "NO");
    }
    // A run that crashed never got to set the flag again.
    WriteSetting(settings, "main", "LastExitIsGood", "NO");
    TFilePanel afterCrash(10, settings, folder);
    EXPECT_FALSE(afterCrash.MarksLoaded());
    EXPECT_EQ(afterCrash.Current().Used, 0);
}

TEST_F(FilePanelTest, CleanExitCarriesReadAndSelectedIntoTheNextRun) {
    archive_test::ArchiveTree tree;
    const DateTime times[] = {
        {2003, 12, 25, 12, 0, 0}, {2003, 12, 25, 11, 0, 0}, {2003, 12, 25, 10, 0, 0}};
    auto scan = [&](CList& list) {
        list.Used = 0;
        for (int i = 0; i < 3; ++i)
            tree.Found(list, "03_12_25", "m" + std::to_string(i) + ".txt", times[i]);
        list.SortRecords();
    };
    {
        TFilePanel panel(10, settings, folder);
        scan(panel.Spare());
        panel.SwapLists();
        CList& current = panel.Current();
        for (int i = 0; i < 3; ++i) current.RecordAt(i).Flags = TFileInfo::Shown;
        current.RecordAt(0).Flags |= TFileInfo::Read;
        current.RecordAt(2).Flags |= TFileInfo::Selected;
        current.BuildRows(-1);
        EXPECT_EQ(panel.ShownCount(), 3);
        EXPECT_TRUE(panel.IsRowSelected(2));
        EXPECT_FALSE(panel.IsRowSelected(1));
        EXPECT_FALSE(panel.IsRowSelected(7));
        EXPECT_EQ(panel.RecordAtRow(3), nullptr);
        ASSERT_NE(panel.RecordAtRow(1), nullptr);
        EXPECT_EQ(panel.RecordAtRow(1)->Name(), "03_12_25\\M1.TXT");
        ASSERT_TRUE(panel.SaveMarks());
        panel.Close();
    }
    EXPECT_EQ(ReadFile(folder + "attr.sav").find("03_12_25\\M0.TXT,40,"), 0u);
    // A message changed its time stamp meanwhile: it loses its marks.
    TFilePanel panel(10, settings, folder);
    ASSERT_EQ(panel.Current().Used, 3);
    panel.Spare().Used = 0;
    tree.Found(panel.Spare(), "03_12_25", "m0.txt", times[0]);
    tree.Found(panel.Spare(), "03_12_25", "m1.txt", times[1]);
    tree.Found(panel.Spare(), "03_12_25", "m2.txt", {2003, 12, 25, 10, 30, 0});
    panel.Spare().SortRecords();
    CList::CompareLists(panel.Current(), panel.Spare());
    CList::CarryMarks(panel.Current(), panel.Spare());
    panel.SwapLists();
    const CList& now = panel.Current();
    EXPECT_EQ(now.RecordAt(0).Flags, TFileInfo::Shown | TFileInfo::Read);
    EXPECT_EQ(now.RecordAt(1).Flags, TFileInfo::Shown);
    EXPECT_EQ(now.RecordAt(2).Flags, TFileInfo::Unchecked);
}

TEST_F(FilePanelTest, GarbledFlagValueCountsAsCrash) {
    WriteMarks(2);
    WriteSetting(settings, "main", "LastExitIsGood", "YESS");
    TFilePanel panel(10, settings, folder);
    EXPECT_FALSE(panel.MarksLoaded());
    EXPECT_EQ(panel.Current().Used, 0);
}

} // namespace
} // namespace varnot
