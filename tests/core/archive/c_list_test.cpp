#include "core/archive/c_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/archive/archive_tree.h"

namespace varnot {
namespace {

using archive_test::ArchiveTree;
using archive_test::Dos;

std::vector<std::string> Names(const CList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Used; ++i) names.emplace_back(list.RecordAt(i).Name());
    return names;
}

// Adds a record without touching the disk (for the pure list operations).
void Add(CList& list, std::string_view day, std::string_view name, std::int32_t time,
         std::int32_t size = 10, std::uint16_t flags = TFileInfo::Unchecked) {
    ArchiveOptions options;
    options.deleteAutomaticly = false;
    ASSERT_TRUE(list.AddFound(std::string(day) + "\\", name, size, time, options));
    list.RecordAt(list.Used - 1).Flags = flags;
}

TEST(CListTest, CapacityIsFixedAndBounded) {
    EXPECT_EQ(CList(3).Capacity(), 3);
    EXPECT_EQ(CList(0).Capacity(), CList::FallbackCapacity);
    EXPECT_EQ(CList(-5).Capacity(), CList::FallbackCapacity);
    EXPECT_EQ(CList(100000).Capacity(), CList::MaxCapacity);
}

TEST(CListTest, FillRecordStartsUnchecked) {
    TFileInfo record;
    record.Head = "old brief";
    record.RowRecord = 7;
    ASSERT_TRUE(CList::FillRecord(record, "03_12_25\\", "a1.txt", 1532, 798584992));
    EXPECT_EQ(record.Name(), "03_12_25\\A1.TXT");
    EXPECT_EQ(record.DiskName(), "a1.txt");
    EXPECT_EQ(record.Flags, TFileInfo::Unchecked);
    EXPECT_EQ(record.MatchIndex, -1);
    EXPECT_EQ(record.RowRecord, 7);
    EXPECT_FALSE(record.Head.has_value());
}

TEST(CListInsertTest, NewerFirstThenGreaterNameFirst) {
    CList list(10);
    ArchiveOptions options;
    const std::int32_t t = Dos(2003, 12, 25, 14, 5);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "A.TXT", 1, t, options), 0);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "B.TXT", 1, t, options), 0);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "OLD.TXT", 1, t - 2, options), 2);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "NEW.TXT", 1, t + 2, options), 0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"03_12_25\\NEW.TXT", "03_12_25\\B.TXT",
                                                     "03_12_25\\A.TXT", "03_12_25\\OLD.TXT"}));
    EXPECT_EQ(list.Used, 4);
}

TEST(CListInsertTest, EqualTimeAndNameGoesInFront) {
    CList list(5);
    ArchiveOptions options;
    const std::int32_t t = Dos(2003, 12, 25, 14, 5);
    list.InsertKeepingNewest("03_12_25\\", "A.TXT", 111, t, options);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "a.txt", 222, t, options), 0);
    EXPECT_EQ(list.RecordAt(0).Size, 222);
    EXPECT_EQ(list.RecordAt(1).Size, 111);
}

TEST(CListInsertTest, NamesCompareAsUnsignedBytes) {
    CList list(5);
    ArchiveOptions options;
    const std::int32_t t = Dos(2003, 12, 25);
    list.InsertKeepingNewest("03_12_25\\", "Z.TXT", 1, t, options);
    list.InsertKeepingNewest("03_12_25\\", "\xC0.TXT", 1, t, options); // Cyrillic A in 1251
    EXPECT_EQ(list.RecordAt(0).FileName(), "\xC0.TXT");
}

TEST(CListSortTest, ShellSortPutsRecordsInOrder) {
    CList list(20);
    const std::int32_t base = Dos(2003, 12, 25, 10, 0);
    const int minutes[] = {5, 1, 9, 3, 3, 7, 0, 8, 2, 6, 4};
    for (int i = 0; i < 11; ++i)
        Add(list, "03_12_25", "F" + std::to_string(i) + ".TXT", base + (minutes[i] << 5));
    list.SortRecords();
    for (int i = 1; i < list.Used; ++i)
        EXPECT_TRUE(StandsBefore(list.RecordAt(i - 1), list.RecordAt(i))) << i;
    // Equal minutes: the greater name first.
    EXPECT_EQ(list.RecordAt(6).FileName(), "F4.TXT");
    EXPECT_EQ(list.RecordAt(7).FileName(), "F3.TXT");
}

TEST(CListSortTest, EqualRecordsAreExchangedAsTheShellSortDoes) {
    // Two records of the same time and name: neither stands before the other,
    // so the sort exchanges them (a stable sort would not).
    CList list(5);
    const std::int32_t t = Dos(2003, 12, 25);
    Add(list, "03_12_25", "X.TXT", t, 1);
    Add(list, "03_12_25", "X.TXT", t, 2);
    list.SortRecords();
    EXPECT_EQ(list.RecordAt(0).Size, 2);
    EXPECT_EQ(list.RecordAt(1).Size, 1);
}

TEST(CListSortTest, PoolIsSortedWhenItFillsUp) {
    CList list(3);
    const std::int32_t t = Dos(2003, 12, 25);
    Add(list, "03_12_25", "B.TXT", t);
    Add(list, "03_12_25", "C.TXT", t + 4);
    EXPECT_EQ(Names(list)[0], "03_12_25\\B.TXT"); // not yet in order
    Add(list, "03_12_25", "A.TXT", t + 2);
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"03_12_25\\C.TXT", "03_12_25\\A.TXT", "03_12_25\\B.TXT"}));
}

class FullPoolTest : public ::testing::Test {
  protected:
    // Twelve files over two days, found newest day first, in no particular
    // order inside a day.
    void Scan(CList& list) {
        for (int minute : {30, 10, 50, 20, 40, 0})
            tree.Found(list, "03_12_25", "N" + std::to_string(minute) + ".TXT",
                       {2003, 12, 25, 12, minute, 0});
        for (int minute : {30, 10, 50, 20, 40, 0})
            tree.Found(list, "03_12_24", "O" + std::to_string(minute) + ".TXT",
                       {2003, 12, 24, 12, minute, 0});
        if (list.Used < list.Capacity()) list.SortRecords();
    }

    ArchiveTree tree;
};

TEST_F(FullPoolTest, AutomaticDeletionRemovesExactlyTheTwoOldestFiles) {
    tree.options.deleteAutomaticly = true;
    CList list(10);
    Scan(list);
    EXPECT_EQ(list.Used, 10);
    EXPECT_FALSE(list.Overflow);
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\N50.TXT");
    EXPECT_EQ(list.RecordAt(9).Name(), "03_12_24\\O20.TXT");
    EXPECT_FALSE(tree.Has("03_12_24", "O0.TXT"));
    EXPECT_FALSE(tree.Has("03_12_24", "O10.TXT"));
    for (int minute : {20, 30, 40, 50})
        EXPECT_TRUE(tree.Has("03_12_24", "O" + std::to_string(minute) + ".TXT"));
    for (int minute : {0, 10, 20, 30, 40, 50})
        EXPECT_TRUE(tree.Has("03_12_25", "N" + std::to_string(minute) + ".TXT"));
}

TEST_F(FullPoolTest, WithoutAutomaticDeletionEverythingStaysAndOverflowIsSet) {
    CList list(10);
    Scan(list);
    EXPECT_EQ(list.Used, 10);
    EXPECT_TRUE(list.Overflow);
    EXPECT_EQ(list.RecordAt(9).Name(), "03_12_24\\O20.TXT");
    for (int minute : {0, 10, 20, 30, 40, 50}) {
        EXPECT_TRUE(tree.Has("03_12_24", "O" + std::to_string(minute) + ".TXT"));
        EXPECT_TRUE(tree.Has("03_12_25", "N" + std::to_string(minute) + ".TXT"));
    }
}

TEST_F(FullPoolTest, PoolThatDoesNotFillUpNeitherDeletesNorOverflows) {
    tree.options.deleteAutomaticly = true;
    CList list(12);
    Scan(list);
    EXPECT_EQ(list.Used, 12);
    EXPECT_FALSE(list.Overflow);
    EXPECT_TRUE(tree.Has("03_12_24", "O0.TXT"));
}

TEST_F(FullPoolTest, EqualTimeToTheOldestIsKeptAndStrictlyOlderIsRejected) {
    tree.options.deleteAutomaticly = true;
    CList list(2);
    tree.Found(list, "03_12_25", "B.TXT", {2003, 12, 25, 12, 0, 0});
    tree.Found(list, "03_12_25", "C.TXT", {2003, 12, 25, 12, 10, 0});
    // Same time as the oldest record, smaller name: still taken, the oldest goes.
    const std::int32_t same = tree.Put("03_12_25", "A.TXT", {2003, 12, 25, 12, 0, 0});
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "A.TXT", 9, same, tree.options), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"03_12_25\\C.TXT", "03_12_25\\A.TXT"}));
    EXPECT_FALSE(tree.Has("03_12_25", "B.TXT"));
    // Strictly older: rejected, and its own file is deleted.
    const std::int32_t older = tree.Put("03_12_25", "OLD.TXT", {2003, 12, 25, 11, 59, 58});
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "OLD.TXT", 9, older, tree.options), -1);
    EXPECT_FALSE(tree.Has("03_12_25", "OLD.TXT"));
    EXPECT_TRUE(tree.Has("03_12_25", "A.TXT"));
    EXPECT_TRUE(tree.Has("03_12_25", "C.TXT"));
    EXPECT_EQ(list.Used, 2);
}

TEST_F(FullPoolTest, DeletionUsesTheNameFoundOnDisk) {
    tree.options.deleteAutomaticly = true;
    CList list(1);
    tree.Found(list, "03_12_25", "old.txt", {2003, 12, 25, 12, 0, 0});
    tree.Found(list, "03_12_25", "New.Txt", {2003, 12, 25, 13, 0, 0});
    EXPECT_FALSE(tree.Has("03_12_25", "old.txt"));
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\NEW.TXT");
    tree.Found(list, "03_12_25", "older.txt", {2003, 12, 25, 11, 0, 0});
    EXPECT_FALSE(tree.Has("03_12_25", "older.txt"));
    EXPECT_TRUE(tree.Has("03_12_25", "New.Txt"));
}

TEST_F(FullPoolTest, NamesThatCannotBeArchiveNamesAreSkippedAndNeverDeleted) {
    tree.options.deleteAutomaticly = true;
    CList list(1);
    tree.Found(list, "03_12_25", "KEEP.TXT", {2003, 12, 25, 12, 0, 0});
    tree.Put("03_12_25", "X.TXT", {2003, 12, 25, 11, 0, 0});
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "../03_12_25/X.TXT", 1, 0, tree.options), -1);
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25/", "X.TXT", 1, 0, tree.options), -1);
    EXPECT_FALSE(list.AddFound("03_12_25\\", "A\\B.TXT", 1, 0, tree.options));
    EXPECT_FALSE(list.AddFound("03_12_25\\", std::string(256, 'A'), 1, 0, tree.options));
    EXPECT_TRUE(tree.Has("03_12_25", "X.TXT"));
    EXPECT_TRUE(tree.Has("03_12_25", "KEEP.TXT"));
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\KEEP.TXT");
}

TEST_F(FullPoolTest, AutomaticDeletionNeverReachesThroughALinkedDayFolder) {
    tree.options.deleteAutomaticly = true;
    CList list(2);
    tree.Found(list, "03_12_24", "OLD.TXT", {2003, 12, 24, 12, 0, 0});
    tree.Found(list, "03_12_25", "MID.TXT", {2003, 12, 25, 12, 0, 0});
    // After the pass the day folder is moved away and a link takes its place.
    const std::string away = tree.dir / "away";
    std::filesystem::rename(tree.options.root + "03_12_24", away);
    std::filesystem::create_directory_symlink(away, tree.options.root + "03_12_24");
    tree.Found(list, "03_12_25", "NEW.TXT", {2003, 12, 25, 13, 0, 0});
    EXPECT_EQ(Names(list), (std::vector<std::string>{"03_12_25\\NEW.TXT", "03_12_25\\MID.TXT"}));
    EXPECT_TRUE(testing_support::Exists(away + "/OLD.TXT"));
}

TEST_F(FullPoolTest, AStaleOldestRecordIsDroppedAndItsFileLeftForTheNextPass) {
    tree.options.deleteAutomaticly = true;
    CList list(2);
    tree.Found(list, "03_12_25", "A.TXT", {2003, 12, 25, 12, 0, 0});
    tree.Found(list, "03_12_25", "B.TXT", {2003, 12, 25, 12, 10, 0});
    // A is saved again after the pass: now it is the newest message of all.
    tree.Put("03_12_25", "A.TXT", {2003, 12, 25, 14, 0, 0});
    const std::int32_t time = tree.Put("03_12_25", "C.TXT", {2003, 12, 25, 12, 20, 0});
    EXPECT_EQ(list.InsertKeepingNewest("03_12_25\\", "C.TXT", 9, time, tree.options), 0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"03_12_25\\C.TXT", "03_12_25\\B.TXT"}));
    EXPECT_TRUE(tree.Has("03_12_25", "A.TXT"));
    EXPECT_TRUE(tree.Has("03_12_25", "B.TXT"));
}

TEST(CListRemoveTest, RemoveByNameKeepsThePoolSizeAndReleasesTheBrief) {
    CList list(4);
    const std::int32_t t = Dos(2003, 12, 25);
    Add(list, "03_12_25", "A.TXT", t);
    Add(list, "03_12_25", "B.TXT", t + 2);
    Add(list, "03_12_25", "C.TXT", t + 4);
    list.SortRecords();
    TFileInfo* removed = &list.RecordAt(1);
    removed->Head = "brief";
    EXPECT_EQ(list.RemoveByName("03_12_25\\B.TXT"), 1);
    EXPECT_EQ(list.Used, 2);
    EXPECT_EQ(list.Capacity(), 4);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"03_12_25\\C.TXT", "03_12_25\\A.TXT"}));
    // The same record object comes back as the last spare, emptied.
    EXPECT_EQ(&list.RecordAt(3), removed);
    EXPECT_FALSE(removed->Head.has_value());
    EXPECT_TRUE(removed->Name().empty());
    EXPECT_EQ(list.RemoveByName("03_12_25\\B.TXT"), -1);
    EXPECT_EQ(list.RemoveByName("03_12_25\\a.txt"), -1); // exact comparison
}

TEST(CListRemoveTest, RemoveAtOutsideThePoolDoesNothingAndSparesKeepUsed) {
    CList list(3);
    Add(list, "03_12_25", "A.TXT", Dos(2003, 12, 25));
    list.RemoveAt(3);
    list.RemoveAt(-1);
    EXPECT_EQ(list.Used, 1);
    list.RemoveAt(2); // a spare
    EXPECT_EQ(list.Used, 1);
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\A.TXT");
}

TEST(CListRemoveTest, RecordsAreNeverReallocated) {
    CList list(3);
    std::vector<const TFileInfo*> before;
    for (int i = 0; i < 3; ++i) before.push_back(&list.RecordAt(i));
    ArchiveOptions options;
    options.deleteAutomaticly = false;
    for (int i = 0; i < 20; ++i)
        list.InsertKeepingNewest("03_12_25\\", "F" + std::to_string(i), 1,
                                 Dos(2003, 12, 25) + i * 2, options);
    list.RemoveAt(0);
    for (const TFileInfo* record : before) {
        bool found = false;
        for (int i = 0; i < 3; ++i) found = found || &list.RecordAt(i) == record;
        EXPECT_TRUE(found);
    }
}

class RescanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t = Dos(2003, 12, 25, 12, 0);
        Add(old, "03_12_25", "C.TXT", t + 6, 3, TFileInfo::Shown | TFileInfo::Read);
        Add(old, "03_12_25", "B.TXT", t + 4, 2, TFileInfo::Shown | TFileInfo::Selected);
        Add(old, "03_12_25", "A.TXT", t + 2, 1, TFileInfo::Shown | TFileInfo::Read | 0x100);
        old.SortRecords();
        for (int i = 0; i < old.Used; ++i) old.RecordAt(i).Head = "brief " + std::to_string(i);
    }

    std::int32_t t = 0;
    CList old{10};
    CList fresh{10};
};

TEST_F(RescanTest, SameFilesKeepEveryMarkAndBrief) {
    Add(fresh, "03_12_25", "A.TXT", t + 2, 1);
    Add(fresh, "03_12_25", "C.TXT", t + 6, 3);
    Add(fresh, "03_12_25", "B.TXT", t + 4, 2);
    fresh.SortRecords();
    EXPECT_FALSE(CList::CompareLists(old, fresh));
    CList::CarryMarks(old, fresh);
    EXPECT_EQ(fresh.RecordAt(0).Flags, TFileInfo::Shown | TFileInfo::Read);
    EXPECT_EQ(fresh.RecordAt(1).Flags, TFileInfo::Shown | TFileInfo::Selected);
    EXPECT_EQ(fresh.RecordAt(2).Flags, TFileInfo::Shown | TFileInfo::Read | 0x100);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fresh.RecordAt(i).Head, "brief " + std::to_string(i));
        EXPECT_FALSE(old.RecordAt(i).Head.has_value());
    }
}

TEST_F(RescanTest, NewGoneAndReplacedFiles) {
    // D is new, B was replaced by a file with another time, A has gone.
    Add(fresh, "03_12_25", "D.TXT", t + 8, 4);
    Add(fresh, "03_12_25", "C.TXT", t + 6, 3);
    Add(fresh, "03_12_25", "B.TXT", t + 10, 2);
    fresh.SortRecords();
    ASSERT_EQ(Names(fresh),
              (std::vector<std::string>{"03_12_25\\B.TXT", "03_12_25\\D.TXT", "03_12_25\\C.TXT"}));
    EXPECT_TRUE(CList::CompareLists(old, fresh));
    EXPECT_EQ(fresh.MatchIndexAt(0), 2); // old C is new position 2
    EXPECT_EQ(fresh.MatchIndexAt(1), -1);
    EXPECT_EQ(fresh.MatchIndexAt(2), -1);
    CList::CarryMarks(old, fresh);
    EXPECT_EQ(fresh.RecordAt(0).Flags, TFileInfo::Unchecked);
    EXPECT_FALSE(fresh.RecordAt(0).Head.has_value());
    EXPECT_EQ(fresh.RecordAt(1).Flags, TFileInfo::Unchecked);
    EXPECT_EQ(fresh.RecordAt(2).Flags, TFileInfo::Shown | TFileInfo::Read);
    EXPECT_EQ(fresh.RecordAt(2).Head, "brief 0");
    // The briefs of the gone records are released.
    EXPECT_FALSE(old.RecordAt(1).Head.has_value());
    EXPECT_FALSE(old.RecordAt(2).Head.has_value());
    // The record on display was B (old position 1), now gone: the nearest
    // newer survivor is C at old position 0.
    EXPECT_EQ(CList::FindSurvivor(fresh, 1), 0);
    EXPECT_EQ(CList::FindSurvivor(fresh, 2), 0);
    EXPECT_EQ(CList::FindSurvivor(fresh, 0), 0);
    EXPECT_EQ(CList::FindSurvivor(fresh, -1), 0);
}

TEST_F(RescanTest, SurvivorIsTheNearestOlderPositionThatSurvived) {
    Add(fresh, "03_12_25", "C.TXT", t + 6, 3);
    Add(fresh, "03_12_25", "A.TXT", t + 2, 1);
    fresh.SortRecords();
    EXPECT_TRUE(CList::CompareLists(old, fresh));
    EXPECT_EQ(CList::FindSurvivor(fresh, 2), 2); // A survived
    EXPECT_EQ(CList::FindSurvivor(fresh, 1), 0); // B did not
    EXPECT_EQ(fresh.MatchIndexAt(2), 1);
}

TEST_F(RescanTest, NewcomerOfTheSameSecondDoesNotCostOlderRecordsTheirMarks) {
    CList before(10);
    CList after(10);
    Add(before, "03_12_25", "B.TXT", t, 1, TFileInfo::Shown | TFileInfo::Read);
    Add(before, "03_12_25", "A.TXT", t, 1, TFileInfo::Shown | TFileInfo::Selected);
    before.SortRecords();
    Add(after, "03_12_25", "C.TXT", t, 1);
    Add(after, "03_12_25", "B.TXT", t, 1);
    Add(after, "03_12_25", "A.TXT", t, 1);
    after.SortRecords();
    EXPECT_TRUE(CList::CompareLists(before, after));
    CList::CarryMarks(before, after);
    EXPECT_EQ(after.RecordAt(0).Flags, TFileInfo::Unchecked);
    EXPECT_EQ(after.RecordAt(1).Flags, TFileInfo::Shown | TFileInfo::Read);
    EXPECT_EQ(after.RecordAt(2).Flags, TFileInfo::Shown | TFileInfo::Selected);
}

TEST_F(RescanTest, EmptyNewListDiffersAndReleasesEveryBrief) {
    EXPECT_TRUE(CList::CompareLists(old, fresh));
    CList::CarryMarks(old, fresh);
    for (int i = 0; i < old.Used; ++i) EXPECT_FALSE(old.RecordAt(i).Head.has_value());
    CList none(5);
    CList alsoNone(5);
    EXPECT_FALSE(CList::CompareLists(none, alsoNone));
}

TEST(CListRowsTest, RowMapSkipsHiddenRecordsAndCountsSelection) {
    CList list(10);
    const std::int32_t t = Dos(2003, 12, 25);
    const std::uint16_t shown = TFileInfo::Shown;
    Add(list, "03_12_25", "E.TXT", t + 8, 50, shown | TFileInfo::Selected);
    Add(list, "03_12_25", "D.TXT", t + 6, 40, 0);
    Add(list, "03_12_25", "C.TXT", t + 4, 30, shown);
    Add(list, "03_12_25", "B.TXT", t + 2, 20, TFileInfo::Selected); // hidden: not counted
    Add(list, "03_12_25", "A.TXT", t, 10, shown | TFileInfo::Selected);
    EXPECT_EQ(list.BuildRows(2), 1);
    EXPECT_EQ(list.ShownCount, 3);
    EXPECT_EQ(list.PositionAtRow(0), 0);
    EXPECT_EQ(list.PositionAtRow(1), 2);
    EXPECT_EQ(list.PositionAtRow(2), 4);
    EXPECT_EQ(list.PositionAtRow(3), -1);
    EXPECT_EQ(list.PositionAtRow(-1), -1);
    EXPECT_EQ(list.SelCount, 2);
    EXPECT_EQ(list.SelSize, 60);
    EXPECT_EQ(list.BuildRows(1), 0); // hidden
    EXPECT_EQ(list.BuildRows(-1), 0);
    EXPECT_EQ(list.BuildRows(4), 2);
}

TEST(CListSelectionTest, CountersFollowEveryOperation) {
    CList list(10);
    const std::int32_t t = Dos(2003, 12, 25);
    Add(list, "03_12_25", "C.TXT", t + 4, 300, TFileInfo::Shown);
    Add(list, "03_12_25", "B.TXT", t + 2, 20, 0);
    Add(list, "03_12_25", "A.TXT", t, 1, TFileInfo::Shown);
    list.BuildRows(-1);
    list.ToggleRow(1); // A
    EXPECT_EQ(list.SelCount, 1);
    EXPECT_EQ(list.SelSize, 1);
    EXPECT_TRUE(list.RecordAt(2).Has(TFileInfo::Selected));
    list.SelectAll();
    EXPECT_EQ(list.SelCount, 2);
    EXPECT_EQ(list.SelSize, 301);
    EXPECT_FALSE(list.RecordAt(1).Has(TFileInfo::Selected)); // hidden records are left alone
    list.InvertSelection();
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.SelSize, 0);
    list.ToggleSelected(0);
    list.InvertSelection();
    EXPECT_EQ(list.SelCount, 1);
    EXPECT_EQ(list.SelSize, 1);
    list.UnselectAll();
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.SelSize, 0);
    list.ToggleRow(5); // no such row
    EXPECT_EQ(list.SelCount, 0);
    list.BuildRows(-1);
    EXPECT_EQ(list.SelCount, 0);
}

TEST(CListSelectionTest, SizeSumDoesNotOverflow) {
    CList list(5);
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    for (int i = 0; i < 3; ++i)
        Add(list, "03_12_25", "F" + std::to_string(i), Dos(2003, 12, 25) + i * 2, big,
            TFileInfo::Shown);
    list.BuildRows(-1);
    list.SelectAll();
    EXPECT_EQ(list.SelSize, 3LL * big);
    list.BuildRows(-1);
    EXPECT_EQ(list.SelSize, 3LL * big);
}

class SelectByDateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Add(list, "03_12_26", "B1.TXT", Dos(2003, 12, 26, 9), 1, TFileInfo::Shown);
        Add(list, "03_12_25", "A2.TXT", Dos(2003, 12, 25, 23, 59, 58), 2, TFileInfo::Shown);
        Add(list, "03_12_25", "b2.dat", Dos(2003, 12, 25, 10), 4, TFileInfo::Shown);
        Add(list, "03_12_25", "A3.TXT", Dos(2003, 12, 25, 8), 8, 0); // hidden
        Add(list, "03_12_24", "A4.TXT", Dos(2003, 12, 24, 0), 16, TFileInfo::Shown);
        list.BuildRows(-1);
    }
    std::vector<bool> SelectedFlags() const {
        std::vector<bool> result;
        for (int i = 0; i < list.Used; ++i)
            result.push_back(list.RecordAt(i).Has(TFileInfo::Selected));
        return result;
    }
    CList list{10};
};

TEST_F(SelectByDateTest, SelectsShownRecordsOfTheDaysWhoseNamesMatch) {
    list.SelectByDateAndMask("a*.txt;*.DAT", true, {2003, 12, 24}, {2003, 12, 25});
    EXPECT_EQ(SelectedFlags(), (std::vector<bool>{false, true, true, false, true}));
    EXPECT_EQ(list.SelCount, 3);
    EXPECT_EQ(list.SelSize, 22);
    list.SelectByDateAndMask("*.*", false, {2003, 12, 25}, {2003, 12, 25});
    EXPECT_EQ(SelectedFlags(), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(list.SelCount, 1);
    EXPECT_EQ(list.SelSize, 16);
}

TEST_F(SelectByDateTest, FirstDayAfterLastDaySelectsNothing) {
    list.SelectByDateAndMask("*.*", true, {2003, 12, 26}, {2003, 12, 24});
    EXPECT_EQ(SelectedFlags(), std::vector<bool>(5, false));
    EXPECT_EQ(list.SelCount, 0);
}

TEST_F(SelectByDateTest, DateChoicesListEachDayOnceNewestFirst) {
    const DateChoices choices = list.FillDateChoices("", "", {2010, 1, 2});
    const std::vector<std::string> days{"26.12.2003", "25.12.2003", "24.12.2003"};
    EXPECT_EQ(choices.firstItems, days);
    EXPECT_EQ(choices.secondItems, days);
    EXPECT_EQ(choices.first, "26.12.2003");
    EXPECT_EQ(choices.second, "24.12.2003");
    const DateChoices kept = list.FillDateChoices("01.01.2001", "02.02.2002", {2010, 1, 2});
    EXPECT_EQ(kept.first, "01.01.2001");
    EXPECT_EQ(kept.second, "02.02.2002");
}

TEST(CListDateChoicesTest, EmptyListOffersToday) {
    CList list(3);
    const DateChoices choices = list.FillDateChoices("", "", {2010, 1, 2});
    EXPECT_TRUE(choices.firstItems.empty());
    EXPECT_EQ(choices.first, "02.01.2010");
    EXPECT_EQ(choices.second, "02.01.2010");
}

} // namespace
} // namespace varnot
