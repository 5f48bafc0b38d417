#include "core/archive/day_folders.h"
#include "core/archive/message_file.h"
#include "core/scan/look_at_thread.h"
#include "scan_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace varnot {
namespace {

using testing_scan::ScanFixture;
using testing_support::Exists;
using testing_support::MakeDirs;

// Twelve files over two days: 03_12_24 holds the six oldest.
void PutTwelve(ScanFixture& f) {
    for (int i = 0; i < 6; ++i) f.Put("03_12_24", "OLD" + std::to_string(i) + ".TXT", 10, i);
    for (int i = 0; i < 6; ++i) f.Put("03_12_25", "NEW" + std::to_string(i) + ".TXT", 10, i);
}

TEST(ArchivePass, AFullPoolKeepsTheNewestAndDeletesOnlyWhatFallsOut) {
    ScanFixture f(10);
    PutTwelve(f);
    f.control->Options.deleteAutomaticly = true;
    f.Pass();
    const CList& list = f.panel->Current();
    ASSERT_EQ(list.Used, 10);
    EXPECT_FALSE(list.Overflow);
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\NEW5.TXT");
    EXPECT_EQ(list.RecordAt(9).Name(), "03_12_24\\OLD2.TXT");
    EXPECT_FALSE(Exists(f.archive / "03_12_24/OLD0.TXT"));
    EXPECT_FALSE(Exists(f.archive / "03_12_24/OLD1.TXT"));
    for (int i = 2; i < 6; ++i)
        EXPECT_TRUE(Exists(f.archive / ("03_12_24/OLD" + std::to_string(i) + ".TXT")));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Exists(f.archive / ("03_12_25/NEW" + std::to_string(i) + ".TXT")));
    EXPECT_EQ(f.host.rowCount, 10);
}

TEST(ArchivePass, WithoutAutomaticDeletionNothingIsDeletedAndOverflowIsSet) {
    ScanFixture f(10);
    PutTwelve(f);
    f.Pass();
    EXPECT_EQ(f.panel->Current().Used, 10);
    EXPECT_TRUE(f.panel->Current().Overflow);
    EXPECT_TRUE(Exists(f.archive / "03_12_24/OLD0.TXT"));
    EXPECT_TRUE(Exists(f.archive / "03_12_24/OLD1.TXT"));
}

TEST(ArchivePass, AChosenDayWalksOlderDaysOnlyUntilThePoolIsFull) {
    ScanFixture f(3);
    f.Put("03_12_25", "A.TXT", 9, 0);
    f.Put("03_12_24", "B.TXT", 9, 0);
    for (int i = 0; i < 4; ++i) f.Put("03_12_23", "C" + std::to_string(i) + ".TXT", 9, i);
    MakeDirs(f.archive / "03_12_22"); // empty, and never reached
    f.control->DateIndex = 2;         // the third-newest day
    f.Pass(TReReadMode::Quiet);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"03_12_23\\C3.TXT", "03_12_23\\C2.TXT",
                                                   "03_12_23\\C1.TXT"}));
    EXPECT_TRUE(f.panel->Current().Overflow);
    EXPECT_TRUE(Exists(f.archive / "03_12_22"));
    EXPECT_EQ(f.panel->Dates.size(), 4u);
}

TEST(ArchivePass, EmptyDayFoldersAndStrangeEntriesAreHandled) {
    ScanFixture f(10);
    f.Put("03_12_25", "A.TXT", 9, 0);
    MakeDirs(f.archive / "03_12_24");
    MakeDirs(f.archive / "03_12_23/inner"); // not empty: a folder inside stays
    ASSERT_EQ(mkfifo((f.archive / "03_12_25/PIPE.TXT").c_str(), 0600), 0);
    ASSERT_EQ(symlink("A.TXT", (f.archive / "03_12_25/LINK.TXT").c_str()), 0);
    testing_support::WriteFile(f.archive / "03_12_25/.hidden", "x");
    MakeDirs(f.archive / "not_a_day");
    f.Pass();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"03_12_25\\A.TXT"}));
    EXPECT_FALSE(Exists(f.archive / "03_12_24"));
    EXPECT_TRUE(Exists(f.archive / "03_12_23/inner"));
    EXPECT_TRUE(Exists(f.archive / "03_12_25/PIPE.TXT"));
    EXPECT_TRUE(Exists(f.archive / "03_12_25/LINK.TXT"));
    EXPECT_TRUE(Exists(f.archive / "not_a_day"));
}

TEST(ArchivePass, TodaysEmptyFolderStaysForTheReceivingProgram) {
    ScanFixture f(10);
    MakeDirs(f.archive / TodayFolderName());
    MakeDirs(f.archive / "03_12_24");
    f.Pass();
    EXPECT_TRUE(Exists(f.archive / TodayFolderName()));
    EXPECT_FALSE(Exists(f.archive / "03_12_24"));
}

TEST(ArchivePass, MarksAndBriefsAreCarriedAndNothingIsReadAgain) {
    ScanFixture f(10);
    f.Put("03_12_25", "A.TXT", 9, 0, "alarm A\r\n");
    f.Put("03_12_25", "B.TXT", 9, 1, "quiet B\r\n");
    f.control->Filter = CurrentFilter{{"*.*"}, {"ALARM"}};
    f.Pass();
    ASSERT_EQ(f.panel->ShownCount(), 1);
    EXPECT_EQ(f.control->LastOutcome().filesRead, 2);
    TFileInfo* shown = f.panel->RecordAtRow(0);
    shown->Flags |= TFileInfo::Read | TFileInfo::Selected;
    shown->Head = "cached brief";

    const long opensBefore = MessageFile::OpenCount();
    f.Pass();
    EXPECT_EQ(f.control->LastOutcome().filesRead, 0);
    EXPECT_EQ(MessageFile::OpenCount(), opensBefore); // not even a brief is read
    EXPECT_EQ(f.control->LastOutcome().firstNewIndex, -1);
    const TFileInfo* again = f.panel->RecordAtRow(0);
    EXPECT_EQ(again->Name(), "03_12_25\\A.TXT");
    EXPECT_TRUE(again->Has(TFileInfo::Read));
    EXPECT_TRUE(again->Has(TFileInfo::Selected));
    EXPECT_EQ(again->Head.value_or(""), "cached brief");
    EXPECT_EQ(f.panel->Current().SelCount, 1);

    // A file rewritten with another time is a new message: unread, matched again.
    f.Put("03_12_25", "A.TXT", 9, 30, "alarm again\r\n");
    f.Pass();
    EXPECT_EQ(f.control->LastOutcome().filesRead, 1);
    EXPECT_FALSE(f.panel->RecordAtRow(0)->Has(TFileInfo::Read));
    EXPECT_FALSE(f.panel->RecordAtRow(0)->Head.has_value());
}

TEST(ArchivePass, MarksSetWhileAPassRunsSurviveIt) {
    ScanFixture f(10);
    f.Put("03_12_25", "A.TXT", 9, 0);
    f.Pass();
    f.control->ReRead(TReReadMode::AnnounceNew);
    // The operator marks the message while the pass is under way.
    f.panel->Current().RecordAt(0).Flags |= TFileInfo::Read;
    f.host.WaitForPass();
    f.control->PassComplete();
    EXPECT_TRUE(f.panel->Current().RecordAt(0).Has(TFileInfo::Read));
}

TEST(ArchivePass, TheStopFlagEndsAPassWithoutAResult) {
    ScanFixture f(10);
    f.Put("03_12_25", "A.TXT", 9, 0);
    PassRequest request;
    request.options.root = f.archive.path();
    CList previous(10), spare(10);
    ViewBuffer buffer;
    std::atomic<bool> stop{true};
    EXPECT_TRUE(RunPass(request, previous, spare, buffer, stop).stopped);
    stop = false;
    EXPECT_FALSE(RunPass(request, previous, spare, buffer, stop).stopped);
    EXPECT_EQ(spare.Used, 1);
}

} // namespace
} // namespace varnot
