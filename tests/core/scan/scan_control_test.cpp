#include "core/archive/day_folders.h"
#include "scan_fixture.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace varnot {
namespace {

using testing_scan::ScanFixture;

TEST(ScanControl, RequestsDuringAPassBecomeOnePendingPassWithTheLaterArgument) {
    ScanFixture f;
    f.Put("03_12_25", "A.TXT", 9, 0);
    f.control->ReRead(TReReadMode::AnnounceNew);
    EXPECT_TRUE(f.control->Scanning());
    EXPECT_FALSE(f.host.rescanEnabled);
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.control->ReRead(TReReadMode::Quiet);
    EXPECT_TRUE(f.control->RescanPending());
    f.host.WaitForPass();
    f.control->PassComplete();
    EXPECT_FALSE(f.control->Scanning());
    EXPECT_TRUE(f.host.rescanEnabled);
    EXPECT_FALSE(f.host.busy);
    EXPECT_EQ(f.host.pendingRescans, (std::vector<TReReadMode>{TReReadMode::Quiet}));
    EXPECT_FALSE(f.control->RescanPending());

    // A running search keeps passes away.
    f.host.searching = true;
    f.control->ReRead(TReReadMode::AnnounceNew);
    EXPECT_FALSE(f.control->Scanning());
}

TEST(ScanControl, APeriodicPassAnnouncesTheNewestNewMessage) {
    ScanFixture f;
    f.Put("03_12_25", "A.TXT", 9, 0);
    f.Pass(); // the first pass refilters and announces nothing
    EXPECT_EQ(f.control->LastNewFile(), "");
    f.Put("03_12_25", "B.TXT", 14, 5, "\r\n   Storm warning\r\nbody\r\n");
    f.Pass(TReReadMode::AnnounceNew);
    EXPECT_EQ(f.control->LastNewFile(), "03_12_25\\B.TXT");
    EXPECT_EQ(f.control->NewMessageNotice(), "14:05  25.12   Storm warning");

    // A quiet pass announces nothing.
    f.control->ClearAnnouncement();
    f.Put("03_12_25", "C.TXT", 15, 0);
    f.Pass(TReReadMode::Quiet);
    EXPECT_EQ(f.control->LastNewFile(), "");
}

TEST(ScanControl, AFilterChangeRefiltersEveryMessage) {
    ScanFixture f;
    f.Put("03_12_25", "A.TXT", 9, 0, "alarm\r\n");
    f.Put("03_12_25", "B.TXT", 9, 1, "calm\r\n");
    f.Pass();
    EXPECT_EQ(f.panel->ShownCount(), 2);
    f.control->Filter = CurrentFilter{{"*.*"}, {"ALARM"}};
    f.panel->Refilter = true;
    f.Pass();
    EXPECT_EQ(f.panel->ShownCount(), 1);
    EXPECT_EQ(f.panel->RecordAtRow(0)->Name(), "03_12_25\\A.TXT");
    EXPECT_FALSE(f.panel->Refilter);

    // A change made while a pass runs is honoured by the pass that follows.
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.control->Filter = CurrentFilter{};
    f.panel->Refilter = true;
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.host.WaitForPass();
    f.control->PassComplete();
    ASSERT_EQ(f.host.pendingRescans.size(), 1u);
    f.Pass(f.host.pendingRescans[0]);
    EXPECT_EQ(f.panel->ShownCount(), 2);
}

TEST(ScanControl, TheRowFollowsTheMessageUnlessTheOperatorIsIdle) {
    ScanFixture f;
    for (int i = 0; i < 5; ++i) f.Put("03_12_25", "M" + std::to_string(i) + ".TXT", 9, i);
    f.Pass();
    EXPECT_EQ(f.host.row, 0);
    f.control->RecordAction(); // busy operator
    f.host.row = 2;            // M2
    f.Put("03_12_25", "N.TXT", 10, 0);
    f.Pass();
    EXPECT_EQ(f.panel->RecordAtRow(f.host.row)->Name(), "03_12_25\\M2.TXT");

    // The message on display is deleted: the nearest newer survivor stays.
    std::remove((f.archive / "03_12_25/M2.TXT").c_str());
    f.Pass();
    EXPECT_EQ(f.panel->RecordAtRow(f.host.row)->Name(), "03_12_25\\M3.TXT");

    // Idle again: each pass moves to the newest message.
    f.host.now += 6 * 60000;
    f.Pass();
    EXPECT_EQ(f.host.row, 0);
}

TEST(ScanControl, ANameAskedForBecomesTheRowOfTheNextPassThatStarts) {
    ScanFixture f;
    for (int i = 0; i < 4; ++i) f.Put("03_12_25", "M" + std::to_string(i) + ".TXT", 9, i);
    f.control->Filter = CurrentFilter{{"M3.TXT"}, {}};
    f.Pass();
    ASSERT_EQ(f.panel->ShownCount(), 1);

    // Asked for while a pass runs: the pass after it, not this one, shows the name.
    f.control->RecordAction(); // a busy operator
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.control->Filter = CurrentFilter{};
    f.panel->Refilter = true;
    f.control->ShowAfterNextPass("03_12_25\\M1.TXT");
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.host.WaitForPass();
    f.control->PassComplete();
    ASSERT_EQ(f.host.pendingRescans.size(), 1u);
    f.Pass(f.host.pendingRescans[0]);
    EXPECT_EQ(f.panel->RecordAtRow(f.host.row)->Name(), "03_12_25\\M1.TXT");

    // Idle or not, the name asked for wins over the newest row; once.
    f.host.now += 6 * 60000;
    f.control->ShowAfterNextPass("03_12_25\\M2.TXT");
    f.Pass();
    EXPECT_EQ(f.panel->RecordAtRow(f.host.row)->Name(), "03_12_25\\M2.TXT");
    f.Pass();
    EXPECT_EQ(f.host.row, 0);
}

TEST(ScanControl, ANewArchiveRootEmptiesTheListAndAPassOverTheOldOneIsNotShown) {
    ScanFixture f;
    f.Put("03_12_25", "OLD.TXT", 9, 0);
    f.Pass();
    ASSERT_EQ(f.panel->ShownCount(), 1);
    testing_support::TempDir other;
    testing_support::WriteFile(other / "03_12_26/NEW.TXT", "new\r\n",
                               testing_support::LocalTime(2003, 12, 26, 9, 0));

    f.control->ReRead(TReReadMode::AnnounceNew); // still walking the old root
    f.control->Options.root = other.path();
    f.control->ArchiveRootChanged();
    EXPECT_EQ(f.panel->Current().Used, 0);
    EXPECT_EQ(f.panel->ShownCount(), 0);
    EXPECT_TRUE(f.control->AwaitingNewRoot());
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.host.WaitForPass();
    f.control->PassComplete();
    EXPECT_EQ(f.panel->ShownCount(), 0);
    EXPECT_TRUE(f.control->AwaitingNewRoot());

    ASSERT_EQ(f.host.pendingRescans.size(), 1u);
    f.Pass(f.host.pendingRescans[0]);
    EXPECT_EQ(f.Names(), std::vector<std::string>{"03_12_26\\NEW.TXT"});
    EXPECT_FALSE(f.control->AwaitingNewRoot());
}

TEST(ScanControl, AMessageRemovedDuringAPassDoesNotComeBackFromIt) {
    ScanFixture f;
    f.Put("03_12_25", "A.TXT", 9, 0);
    const std::string c = f.Put("03_12_25", "C.TXT", 9, 10);
    f.Pass();
    f.panel->Current().ToggleSelected(0); // C
    f.Put("03_12_25", "B.TXT", 9, 5);
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.host.WaitForPass(); // the pass listed C, still selected, and B as new
    std::remove(c.c_str());
    f.panel->Current().RemoveAt(0);
    f.control->SetAnnouncement("03_12_25\\C.TXT", "notice");
    f.control->NoteRemoved("03_12_25\\C.TXT");
    EXPECT_EQ(f.control->LastNewFile(), "");
    f.control->PassComplete();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"03_12_25\\B.TXT", "03_12_25\\A.TXT"}));
    EXPECT_EQ(f.panel->Current().SelCount, 0);
    EXPECT_EQ(f.control->LastNewFile(), "03_12_25\\B.TXT");
}

TEST(ScanControl, ReadMarkingFollowsTheDwellTimeAndIdleness) {
    ScanFixture f;
    f.Put("03_12_25", "A.TXT", 9, 0);
    f.Put("03_12_25", "B.TXT", 9, 1);
    f.Pass();
    f.control->RecordAction();
    f.control->Settings.markDelay = 500;
    auto tick = [&] {
        f.host.now += 100;
        f.control->TimerTimer();
    };
    tick(); // starts the dwell on row 0
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_FALSE(f.panel->RecordAtRow(0)->Has(TFileInfo::Read));
    tick(); // 600 ms > 500 ms
    EXPECT_TRUE(f.panel->RecordAtRow(0)->Has(TFileInfo::Read));

    // MarkDelay -1: read at the second tick.
    f.control->Settings.markDelay = -1;
    f.host.row = 1;
    tick();
    EXPECT_FALSE(f.panel->RecordAtRow(1)->Has(TFileInfo::Read));
    tick();
    EXPECT_TRUE(f.panel->RecordAtRow(1)->Has(TFileInfo::Read));

    // Nothing is marked while the operator is idle.
    f.panel->RecordAtRow(0)->Flags &= static_cast<std::uint16_t>(~TFileInfo::Read);
    f.host.row = 0;
    f.host.now += 10 * 60000;
    tick();
    tick();
    EXPECT_FALSE(f.panel->RecordAtRow(0)->Has(TFileInfo::Read));
}

TEST(ScanControl, IdlenessIsMeasuredAcrossAnyClockValue) {
    ScanFixture f;
    f.control->Settings.autoShowDelay = 5;
    // A clock that started less than five minutes ago: the start value lies before zero.
    f.host.now = 1000;
    f.control->LastActionTick = f.host.now - 5 * 60000;
    EXPECT_FALSE(f.control->IsIdle());
    f.host.now += 1;
    EXPECT_TRUE(f.control->IsIdle());
    // Where a 32-bit millisecond counter would have wrapped.
    f.control->LastActionTick = 0xFFFFFF00LL;
    f.host.now = 0x100000000LL + 1000;
    EXPECT_FALSE(f.control->IsIdle());
    f.host.now = 0xFFFFFF00LL + 5 * 60000 + 1;
    EXPECT_TRUE(f.control->IsIdle());
    f.control->Settings.autoShow = false;
    EXPECT_FALSE(f.control->IsIdle());
}

TEST(ScanControl, PeriodicPassesFollowRereadDelay) {
    ScanFixture f;
    f.control->Settings.rereadDelay = 0; // a pass on every tick
    f.control->TimerTimer();
    EXPECT_TRUE(f.control->Scanning());
    f.control->TimerTimer();
    f.control->TimerTimer();
    EXPECT_TRUE(f.control->RescanPending());
    f.host.WaitForPass();
    f.control->PassComplete();
    EXPECT_EQ(f.host.pendingRescans.size(), 1u);

    // No periodic pass while an older day is chosen.
    f.control->DateIndex = 1;
    f.control->TimerTimer();
    f.control->TimerTimer();
    EXPECT_FALSE(f.control->Scanning());
}

struct ArrivalTest : ::testing::Test {
    ScanFixture f{4};
    std::string today = TodayFolderName();

    std::string PutToday(const std::string& name, std::time_t when,
                         const std::string& text = "arrived\r\n") {
        const std::string path = f.archive / (today + "/" + name);
        testing_support::WriteFile(path, text, when);
        return path;
    }
};

TEST_F(ArrivalTest, AnAnnouncedFileIsInsertedAndReplacesItsOldRecord) {
    const std::time_t now = std::time(nullptr);
    PutToday("a1.txt", now - 300);
    f.Pass();
    ASSERT_EQ(f.panel->Current().Used, 1);
    PutToday("b2.txt", now - 60, "new one\r\n");
    f.control->AddArrivedFile("B2.TXT"); // another letter case finds it
    ASSERT_EQ(f.panel->Current().Used, 2);
    // The grid only gains the new row.
    EXPECT_EQ(f.host.updates.back().insertedRow, 0);
    EXPECT_EQ(f.host.updates.back().rowCount, 2);
    EXPECT_EQ(f.panel->RecordAtRow(0)->Name(), today + "\\B2.TXT");
    EXPECT_EQ(f.panel->RecordAtRow(0)->DiskName(), "b2.txt");
    EXPECT_EQ(f.control->LastNewFile(), today + "\\B2.TXT");
    EXPECT_NE(f.control->NewMessageNotice().find("   new one"), std::string::npos);
    EXPECT_EQ(f.host.row, 0); // idle: the new message is shown

    // The same name again replaces the record instead of adding one.
    PutToday("b2.txt", now - 30);
    f.control->AddArrivedFile("b2.txt");
    EXPECT_EQ(f.panel->Current().Used, 2);
    EXPECT_FALSE(f.host.updates.back().insertedRow); // its row was replaced, not added

    // A busy operator keeps his message.
    f.control->RecordAction();
    f.host.row = 1; // a1
    PutToday("c3.txt", now - 10);
    f.control->AddArrivedFile("c3.txt");
    EXPECT_EQ(f.panel->RecordAtRow(f.host.row)->DiskName(), "a1.txt");
    EXPECT_EQ(f.host.updates.back().insertedRow, 0);

    // In a full list the newcomer pushes the oldest shown record out.
    PutToday("d4.txt", now - 5);
    f.control->AddArrivedFile("d4.txt");
    PutToday("e5.txt", now - 1);
    f.control->AddArrivedFile("e5.txt");
    EXPECT_EQ(f.panel->Current().Used, 4);
    EXPECT_FALSE(f.host.updates.back().insertedRow);
}

TEST_F(ArrivalTest, BadAnnouncementsChangeNothing) {
    const std::time_t now = std::time(nullptr);
    PutToday("a1.txt", now - 300);
    f.Pass();
    testing_support::WriteFile(f.archive / "outside.txt", "x", now);
    for (const char* bad :
         {"", ".", "..", "missing.txt", "../outside.txt", "/etc/passwd", "..\\..\\outside.txt"})
        f.control->AddArrivedFile(bad);
    EXPECT_EQ(f.panel->Current().Used, 1);
    EXPECT_EQ(f.control->LastNewFile(), "");
    // Only the file-name part is used: a folder in front of it is ignored.
    PutToday("d4.txt", now - 5);
    f.control->AddArrivedFile("C:\\RECEIVE\\d4.txt");
    EXPECT_EQ(f.panel->Current().Used, 2);
}

TEST_F(ArrivalTest, AnOlderFileIsRejectedAndAnOlderDayOnlyGetsTheNotice) {
    const std::time_t now = std::time(nullptr);
    for (int i = 0; i < 4; ++i) PutToday("n" + std::to_string(i) + ".txt", now - 100 + i);
    f.Pass();
    PutToday("old.txt", now - 1000);
    f.control->AddArrivedFile("old.txt");
    EXPECT_EQ(f.panel->Current().Used, 4);
    EXPECT_EQ(f.control->LastNewFile(), "");
    EXPECT_TRUE(testing_support::Exists(f.archive / (today + "/old.txt")));

    f.control->DateIndex = 1;
    PutToday("late.txt", now);
    f.control->AddArrivedFile("late.txt");
    EXPECT_EQ(f.control->LastNewFile(), today + "\\LATE.TXT");
    EXPECT_EQ(f.panel->Current().RecordAt(0).DiskName(), "n3.txt");
}

TEST_F(ArrivalTest, PassesAndArrivalsTellOfTheNewMessagesTheFilterShows) {
    const std::time_t now = std::time(nullptr);
    f.control->Filter = CurrentFilter{{"*.*"}, {"ALARM"}};
    PutToday("a.txt", now - 500, "alarm a\r\n");
    f.Pass(); // the first pass refilters and tells of nothing
    PutToday("b.txt", now - 400, "alarm b\r\n");
    PutToday("c.txt", now - 300, "calm c\r\n");
    PutToday("d.txt", now - 200, "alarm d\r\n");
    f.Pass();
    ASSERT_EQ(f.host.news.size(), 1u);
    EXPECT_EQ(f.host.news[0].names,
              (std::vector<std::string>{today + "\\D.TXT", today + "\\B.TXT"}));
    EXPECT_EQ(f.host.news[0].newestNotice.substr(12), "   alarm d");

    // Arrivals: a hidden one is not told of; a shown one is, with its notice.
    PutToday("e.txt", now - 100, "calm e\r\n");
    f.control->AddArrivedFile("e.txt");
    PutToday("f.txt", now - 50, "alarm f\r\n");
    f.control->AddArrivedFile("f.txt");
    ASSERT_EQ(f.host.news.size(), 2u);
    EXPECT_EQ(f.host.news[1].names, (std::vector<std::string>{today + "\\F.TXT"}));
    EXPECT_EQ(f.host.news[1].newestNotice, f.control->NewMessageNotice());

    // A quiet pass and a full refilter tell of nothing, as the notice does.
    std::remove((f.archive / (today + "/a.txt")).c_str());
    PutToday("g.txt", now - 20, "alarm g\r\n");
    f.Pass(TReReadMode::Quiet);
    PutToday("h.txt", now - 10, "alarm h\r\n");
    f.panel->Refilter = true;
    f.Pass();
    EXPECT_EQ(f.host.news.size(), 2u);
}

TEST_F(ArrivalTest, AutoPrintPrintsTheAnnouncedFile) {
    f.control->Settings.autoPrint = true;
    const std::string path = PutToday("p.txt", std::time(nullptr));
    f.control->AddArrivedFile("p.txt");
    EXPECT_EQ(f.host.printed, (std::vector<std::string>{path}));
}

TEST_F(ArrivalTest, AFileArrivingDuringAPassStaysInTheList) {
    const std::time_t now = std::time(nullptr);
    PutToday("a.txt", now - 100);
    f.Pass();
    f.control->ReRead(TReReadMode::AnnounceNew);
    f.host.WaitForPass(); // the pass has listed today's folder already
    PutToday("b.txt", now - 10);
    f.control->AddArrivedFile("b.txt");
    f.control->PassComplete();
    EXPECT_EQ(f.panel->Current().Used, 2);
    EXPECT_EQ(f.panel->Current().RecordAt(0).DiskName(), "b.txt");
}

} // namespace
} // namespace varnot
