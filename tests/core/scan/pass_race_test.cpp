// The scanner thread against the window thread on a real archive with
// automatic deletion: while passes run, the window marks and draws the list
// on display, takes announced files into it and asks for more passes; each
// pass is merged in when it ends, and a stop may come at any moment. The
// ThreadSanitizer build runs these too, where any data race fails them.
#include "core/archive/day_folders.h"
#include "core/scan/scan_fixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace varnot {
namespace {

using testing_support::Exists;
using testing_support::LocalTime;
using testing_support::WriteFile;

class WindowHost : public testing_scan::FakeHost {
  public:
    void PostPassComplete() override {
        FakeHost::PostPassComplete();
        done.store(true);
    }
    std::atomic<bool> done{false};
};

class PassRaceTest : public ::testing::Test {
  protected:
    static constexpr int Capacity = 200;

    void SetUp() override {
        for (int day = 20; day <= 22; ++day)
            for (int i = 0; i < 150; ++i)
                Make("03_12_" + std::to_string(day), "M" + std::to_string(i) + ".TXT",
                     LocalTime(2003, 12, day, 8) + 2 * i);
    }

    std::unique_ptr<TScanControl> MakeControl() {
        auto control = std::make_unique<TScanControl>(panel, host);
        control->Options.root = archive.path();
        control->Options.deleteAutomaticly = true;
        control->Settings.rereadDelay = 0; // every tick asks for a pass
        control->LastActionTick = host.now - 6 * 60000;
        return control;
    }

    void Make(const std::string& folder, const std::string& name, std::time_t time) {
        const std::string path = archive / (folder + "/" + name);
        WriteFile(path, "news " + name + "\r\nbody\r\n", time);
        made.emplace_back(time, path);
    }

    void WaitForThePass() {
        while (!host.done.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        host.done.store(false);
    }

    // What the window does between two events while a pass runs.
    void WindowWork(TScanControl& control, int step) {
        CList& current = panel.Current();
        if (current.Used > 0) {
            TFileInfo& record = current.RecordAt(step % current.Used);
            record.Flags ^= TFileInfo::Selected;
            record.Head = "brief " + std::to_string(step);
        }
        host.row = step % std::max(1, panel.ShownCount());
        if (step % 5 == 0) {
            const std::string name = "A" + std::to_string(step) + ".TXT";
            Make(TodayFolderName(), name, now - 5000 + 2 * step);
            control.AddArrivedFile(name);
        }
        control.TimerTimer();
    }

    // No file among the Capacity newest ever made was deleted.
    void ExpectNothingLost() {
        std::vector<std::pair<std::time_t, std::string>> newest = made;
        std::sort(newest.rbegin(), newest.rend());
        newest.resize(std::min<std::size_t>(newest.size(), Capacity));
        for (const auto& [time, path] : newest) EXPECT_TRUE(Exists(path)) << path;
    }

    std::vector<std::string> CurrentNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < panel.Current().Used; ++i)
            names.emplace_back(panel.Current().RecordAt(i).Name());
        return names;
    }

    testing_support::TempDir programDir, archive;
    WindowHost host;
    TFilePanel panel{Capacity, programDir / "varnot.INI", programDir.path()};
    const std::time_t now = std::time(nullptr);
    std::vector<std::pair<std::time_t, std::string>> made;
};

TEST_F(PassRaceTest, TheWindowWorksOnItsListWhileAPassRuns) {
    auto control = MakeControl();
    int step = 0;
    control->ReRead(TReReadMode::AnnounceNew);
    for (int pass = 0; pass < 6; ++pass) {
        do {
            WindowWork(*control, ++step);
        } while (!host.done.load());
        WaitForThePass();
        control->PassComplete();
        // The ticks during the pass asked for the next one.
        ASSERT_FALSE(host.pendingRescans.empty());
        const TReReadMode argument = host.pendingRescans.back();
        host.pendingRescans.clear();
        control->ReRead(argument);
    }
    WaitForThePass();
    control->PassComplete();
    // A quiet pass: the archive then holds exactly the newest files, all listed.
    control->ReRead(TReReadMode::AnnounceNew);
    WaitForThePass();
    control->PassComplete();

    ExpectNothingLost();
    std::size_t onDisk = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(archive.path()))
        onDisk += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(onDisk, static_cast<std::size_t>(Capacity));
    const CList& current = panel.Current();
    ASSERT_EQ(current.Used, Capacity);
    for (int i = 1; i < current.Used; ++i)
        EXPECT_TRUE(StandsBefore(current.RecordAt(i - 1), current.RecordAt(i)));
}

TEST_F(PassRaceTest, AStopEndsAPassAnywhereAndLeavesTheListAlone) {
    {
        auto control = MakeControl();
        control->ReRead(TReReadMode::AnnounceNew);
        WaitForThePass();
        control->PassComplete();
    }
    const std::vector<std::string> before = CurrentNames();
    for (int wait = 0; wait < 6; ++wait) {
        // New files keep every pass busy deleting.
        for (int i = 0; i < 40; ++i)
            Make(TodayFolderName(), "S" + std::to_string(wait) + "_" + std::to_string(i) + ".TXT",
                 now - 9000 + 100 * wait + 2 * i);
        auto control = MakeControl();
        control->ReRead(TReReadMode::AnnounceNew);
        std::this_thread::sleep_for(std::chrono::microseconds(300 * wait));
        control->Shutdown();
        host.done.store(false);
        EXPECT_EQ(CurrentNames(), before);
    }
    ExpectNothingLost();
}

} // namespace
} // namespace varnot
