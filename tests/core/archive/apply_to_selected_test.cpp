#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "core/archive/archive_tree.h"
#include "core/archive/c_list.h"

namespace varnot {
namespace {

using archive_test::ArchiveTree;
using testing_support::Exists;
using testing_support::LocalTime;
using testing_support::ReadFile;

// Five shown messages of one day: rows 0..4 are E (newest) .. A (oldest).
class ApplyToSelectedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            const std::string name(1, static_cast<char>('a' + i));
            tree.Found(list, "03_12_25", name + ".txt", {2003, 12, 25, 10, i, 0},
                       "body of " + name);
        }
        list.SortRecords();
        for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = TFileInfo::Shown;
        list.BuildRows(-1);
        destination = tree.dir / "out/";
        testing_support::MakeDirs(destination);
    }

    void SelectRows(std::initializer_list<int> rows) {
        for (int row : rows) list.ToggleRow(row);
    }
    std::string RowName(int row) const {
        return std::string(list.RecordAt(list.PositionAtRow(row)).FileName());
    }

    ArchiveTree tree;
    CList list{10};
    std::string destination;
    std::string lastNewFile;
};

TEST_F(ApplyToSelectedTest, CopyOfSelectedKeepsRecordsAndTimeStamps) {
    SelectRows({0, 2, 4});
    const ApplyResult result =
        list.ApplyToSelected(1, destination, CopyOperation, tree.options, lastNewFile);
    EXPECT_EQ(result.files.size(), 3u);
    for (const char* name : {"e.txt", "c.txt", "a.txt"}) {
        ASSERT_TRUE(Exists(destination + name)) << name;
        EXPECT_EQ(ReadFile(destination + name), ReadFile(tree.PathOf("03_12_25", name)));
        struct stat copy {};
        struct stat original {};
        ::stat((destination + name).c_str(), &copy);
        ::stat(tree.PathOf("03_12_25", name).c_str(), &original);
        EXPECT_EQ(copy.st_mtime, original.st_mtime) << name;
    }
    EXPECT_FALSE(Exists(destination + "b.txt"));
    EXPECT_EQ(list.Used, 5);
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.SelSize, 0);
    for (int i = 0; i < list.Used; ++i) EXPECT_FALSE(list.RecordAt(i).Has(TFileInfo::Selected));
    EXPECT_EQ(result.currentRow, 1);
    EXPECT_EQ(result.rowCount, 5);
}

TEST_F(ApplyToSelectedTest, WithoutSelectionTheCurrentRowIsUsed) {
    const ApplyResult result =
        list.ApplyToSelected(3, std::string(destination.begin(), destination.end() - 1),
                             CopyOperation, tree.options, lastNewFile);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].name, "03_12_25\\B.TXT");
    EXPECT_EQ(result.files[0].copy, CopyResult::Copied);
    EXPECT_TRUE(Exists(destination + "b.txt"));
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(result.currentRow, 3);
}

TEST_F(ApplyToSelectedTest, MoveRemovesSourcesAndRecordsAndReplacesEqualNames) {
    testing_support::WriteFile(destination + "d.txt", "an older copy");
    SelectRows({1, 2});
    const ApplyResult result =
        list.ApplyToSelected(4, destination, MoveOperation, tree.options, lastNewFile);
    EXPECT_EQ(ReadFile(destination + "d.txt"), "body of d");
    EXPECT_EQ(ReadFile(destination + "c.txt"), "body of c");
    EXPECT_FALSE(tree.Has("03_12_25", "d.txt"));
    EXPECT_FALSE(tree.Has("03_12_25", "c.txt"));
    EXPECT_EQ(list.Used, 3);
    EXPECT_EQ(list.ShownCount, 3);
    EXPECT_EQ(result.rowCount, 3);
    // The current message (A, row 4) keeps being the current one.
    EXPECT_EQ(result.currentRow, 2);
    EXPECT_EQ(RowName(result.currentRow), "A.TXT");
}

TEST_F(ApplyToSelectedTest, DeletingTheSelectedRecordAtRowZeroKeepsRowZero) {
    SelectRows({0});
    const ApplyResult result =
        list.ApplyToSelected(0, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_FALSE(tree.Has("03_12_25", "e.txt"));
    EXPECT_EQ(result.currentRow, 0);
    EXPECT_EQ(result.rowCount, 4);
    EXPECT_EQ(RowName(0), "D.TXT");
}

TEST_F(ApplyToSelectedTest, DeletingTheCurrentRecordMovesToTheNewerNeighbour) {
    const ApplyResult result =
        list.ApplyToSelected(2, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_FALSE(tree.Has("03_12_25", "c.txt"));
    EXPECT_EQ(result.currentRow, 1);
    EXPECT_EQ(RowName(1), "D.TXT");
    for (const char* name : {"a.txt", "b.txt", "d.txt", "e.txt"})
        EXPECT_TRUE(tree.Has("03_12_25", name));
}

TEST_F(ApplyToSelectedTest, DeletingEverythingLeavesOneEmptyRow) {
    list.SelectAll();
    const ApplyResult result =
        list.ApplyToSelected(3, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_EQ(list.Used, 0);
    EXPECT_EQ(list.ShownCount, 0);
    EXPECT_EQ(result.rowCount, 1);
    EXPECT_EQ(result.currentRow, 0);
    EXPECT_EQ(list.Capacity(), 10);
}

TEST_F(ApplyToSelectedTest, DeletingAGoneFileStillRemovesItsRecord) {
    std::filesystem::remove(tree.PathOf("03_12_25", "b.txt"));
    const ApplyResult result =
        list.ApplyToSelected(3, "", DeleteOperation, tree.options, lastNewFile);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_FALSE(result.files[0].fileDeleted);
    EXPECT_TRUE(result.files[0].recordRemoved);
    EXPECT_EQ(list.Used, 4);
    EXPECT_EQ(list.RemoveByName("03_12_25\\B.TXT"), -1);
}

TEST_F(ApplyToSelectedTest, DeleteAndMoveNeverReachThroughALinkedDayFolder) {
    const std::string away = tree.dir / "away";
    std::filesystem::rename(tree.options.root + "03_12_25", away);
    std::filesystem::create_directory_symlink(away, tree.options.root + "03_12_25");
    SelectRows({0, 1});
    list.ApplyToSelected(0, "", DeleteOperation, tree.options, lastNewFile);
    list.ApplyToSelected(0, destination, MoveOperation, tree.options, lastNewFile);
    for (const char* name : {"/e.txt", "/d.txt", "/c.txt"}) EXPECT_TRUE(Exists(away + name));
}

TEST_F(ApplyToSelectedTest, RemovingTheAnnouncedMessageForgetsIt) {
    lastNewFile = "03_12_25\\E.TXT";
    list.ApplyToSelected(1, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_EQ(lastNewFile, "03_12_25\\E.TXT"); // D went, E stays announced
    list.ApplyToSelected(0, destination, CopyOperation, tree.options, lastNewFile);
    EXPECT_EQ(lastNewFile, "03_12_25\\E.TXT"); // a copy removes nothing
    list.ApplyToSelected(0, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_EQ(lastNewFile, "");
}

TEST_F(ApplyToSelectedTest, MoveOntoItsOwnFolderKeepsFileAndRecord) {
    const std::string ownFolder = tree.options.root + "03_12_25/";
    std::filesystem::create_directory_symlink(ownFolder, tree.dir / "alias");
    for (const std::string& folder : {ownFolder, std::string(tree.dir / "alias/")}) {
        const ApplyResult result =
            list.ApplyToSelected(2, folder, MoveOperation, tree.options, lastNewFile);
        ASSERT_EQ(result.files.size(), 1u);
        EXPECT_EQ(result.files[0].copy, CopyResult::SameFile);
        EXPECT_FALSE(result.files[0].recordRemoved);
        EXPECT_EQ(ReadFile(tree.PathOf("03_12_25", "c.txt")), "body of c");
        EXPECT_EQ(list.Used, 5);
        EXPECT_EQ(result.currentRow, 2);
        EXPECT_EQ(
            list.ApplyToSelected(2, folder, CopyOperation, tree.options, lastNewFile).files[0].copy,
            CopyResult::SameFile);
        EXPECT_EQ(ReadFile(tree.PathOf("03_12_25", "c.txt")), "body of c");
    }
}

TEST_F(ApplyToSelectedTest, FailedCopyKeepsTheSourceOfAMove) {
    SelectRows({0, 1});
    const ApplyResult result = list.ApplyToSelected(0, tree.dir / "no/such/folder/", MoveOperation,
                                                    tree.options, lastNewFile);
    EXPECT_EQ(result.files.size(), 2u);
    for (const AppliedFile& file : result.files) {
        EXPECT_EQ(file.copy, CopyResult::DestinationUnavailable);
        EXPECT_FALSE(file.removeTried);
    }
    EXPECT_TRUE(tree.Has("03_12_25", "e.txt"));
    EXPECT_TRUE(tree.Has("03_12_25", "d.txt"));
    EXPECT_EQ(list.Used, 5);
    EXPECT_EQ(list.SelCount, 0);
}

TEST_F(ApplyToSelectedTest, NoRowOnDisplayTouchesNothing) {
    for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = 0;
    list.BuildRows(-1);
    const ApplyResult result =
        list.ApplyToSelected(0, "", DeleteOperation, tree.options, lastNewFile);
    EXPECT_TRUE(result.files.empty());
    EXPECT_EQ(list.Used, 5);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        EXPECT_TRUE(tree.Has("03_12_25", name));
    EXPECT_EQ(result.rowCount, 1);
}

} // namespace
} // namespace varnot
