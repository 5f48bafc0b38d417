#pragma once

#include "core/archive/dos_time.h"
#include "core/archive/file_panel.h"
#include "core/scan/scan_control.h"
#include "support/temp_dir.h"

#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace varnot::testing_scan {

// Plays the window for the scanner logic: a grid that is only a row number,
// a clock the test sets, and a pass-complete message the test waits for.
class FakeHost : public ScanHost {
  public:
    int row = 0;
    int rowCount = 1;
    std::vector<ListUpdate> updates;
    int statusUpdates = 0;
    bool rescanEnabled = true;
    bool busy = false;
    bool searching = false;
    std::int64_t now = 10'000'000;
    std::vector<TReReadMode> pendingRescans;
    std::vector<std::string> printed;
    std::vector<TNewMessages> news;

    int CurrentRow() const override { return row; }
    void ApplyListUpdate(const ListUpdate& update) override {
        updates.push_back(update);
        rowCount = update.rowCount;
        row = update.currentRow;
    }
    void RepaintList() override {}
    void SetRescanEnabled(bool enabled) override { rescanEnabled = enabled; }
    void SetBusy(bool b) override { busy = b; }
    void UpdateStatusLine() override { ++statusUpdates; }
    bool Searching() const override { return searching; }
    void PostPassComplete() override {
        std::lock_guard lock(mutex_);
        passDone_ = true;
        done_.notify_all();
    }
    void PostPendingRescan(TReReadMode mode) override { pendingRescans.push_back(mode); }
    void PrintArrived(const std::string& path) override { printed.push_back(path); }
    std::int64_t Now() const override { return now; }
    void NewMessagesShown(const TNewMessages& messages) override { news.push_back(messages); }

    void WaitForPass() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return passDone_; });
        passDone_ = false;
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool passDone_ = false;
};

// A temporary archive and program folder with a panel and its scanner logic.
struct ScanFixture {
    testing_support::TempDir programDir;
    testing_support::TempDir archive;
    FakeHost host;
    std::unique_ptr<TFilePanel> panel;
    std::unique_ptr<TScanControl> control;

    explicit ScanFixture(int capacity = 10) {
        panel =
            std::make_unique<TFilePanel>(capacity, programDir / "varnot.INI", programDir.path());
        control = std::make_unique<TScanControl>(*panel, host);
        control->Options.root = archive.path();
        control->Options.deleteAutomaticly = false;
        // Idle from the start, as after start-up.
        control->LastActionTick = host.now - 6 * 60000;
    }

    // A message of the given day folder with a time on that day.
    std::string Put(const std::string& folder, const std::string& name, int hour, int minute,
                    const std::string& text = "brief line\r\nbody\r\n") {
        const int yy = std::stoi(folder.substr(0, 2)), mm = std::stoi(folder.substr(3, 2)),
                  dd = std::stoi(folder.substr(6, 2));
        const std::string path = archive / (folder + "/" + name);
        testing_support::WriteFile(path, text,
                                   testing_support::LocalTime(2000 + yy, mm, dd, hour, minute));
        return path;
    }

    // A pass as the window runs it: asked for, waited for, completed.
    void Pass(TReReadMode mode = TReReadMode::AnnounceNew) {
        control->ReRead(mode);
        host.WaitForPass();
        control->PassComplete();
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        const CList& list = panel->Current();
        for (int i = 0; i < list.Used; ++i) names.emplace_back(list.RecordAt(i).Name());
        return names;
    }
};

} // namespace varnot::testing_scan
