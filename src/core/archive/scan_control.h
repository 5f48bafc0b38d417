#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/archive/look_at.h"
#include "core/filters/filter_groups.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// What the scanner logic needs of the window: its grid, its busy signs, its
// clock, and a way to get back onto the window thread.
class ScanHost {
  public:
    virtual ~ScanHost() = default;
    virtual int CurrentRow() const = 0;
    virtual void SetRowCount(int rows) = 0;
    // Moves the grid's current row without showing the message.
    virtual void SetCurrentRow(int row) = 0;
    // Shows the message of the current row.
    virtual void FileClick() = 0;
    virtual void RepaintList() = 0;
    virtual void SetRescanEnabled(bool enabled) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void UpdateStatusLine() = 0;
    // A search over the messages is running: no pass may start.
    virtual bool Searching() const = 0;
    // Called on the scanner thread: run PassComplete on the window thread.
    virtual void PostPassComplete() = 0;
    // Run ReRead(argument) on the window thread after the current event.
    virtual void PostPendingRescan(int argument) = 0;
    // Prints one announced message (AutoPrint).
    virtual void PrintArrived(const std::string& path) = 0;
    // Milliseconds of a monotonic clock.
    virtual std::int64_t Now() const = 0;
};

// The window's side of the archive scanner: asking for passes (one running,
// at most one pending), taking their results, the periodic timer, read
// marking, the idle test and the announced single file. Runs on the window
// thread; only the pass itself runs on the scanner thread.
class TScanControl {
  public:
    static constexpr int TimerInterval = 100; // milliseconds

    TScanControl(TFilePanel& panel, ScanHost& host);
    ~TScanControl();
    TScanControl(const TScanControl&) = delete;
    TScanControl& operator=(const TScanControl&) = delete;

    ArchiveOptions Options;
    CurrentFilter Filter;
    ScanSettings Settings;
    int DateIndex = 0;
    std::string LastNewFile;      // archive name of the newest announced message
    std::string NewMessageNotice; // the status line's notice (1251 bytes)
    std::int64_t LastActionTick = 0;

    bool Scanning() const { return scanning_; }
    bool RescanPending() const { return rescanPending_; }
    int PendingArg() const { return pendingArg_; }
    int RereadArg() const { return rereadArg_; }
    const PassOutcome& LastOutcome() const { return lookAt_.Outcome(); }

    void ReRead(int argument);
    // The next pass that starts makes the record of this archive name the
    // current row when it brings it into the list, idle operator or not: the
    // operator asked for that message, and the rows on display when he asked
    // were not the ones that pass shows.
    void ShowAfterNextPass(std::string name) { showAfterPass_ = std::move(name); }
    void ScanIt();
    // The pass has ended (window thread).
    void PassComplete();
    void TimerTimer();
    void MarkReadCheck();
    bool IsIdle() const;
    int ChooseRow(int newRow, int keepRow) const;
    // A file announced by the receiving program: taken from today's folder
    // into the list on display without a pass.
    void AddArrivedFile(std::string_view announced);
    // Records an operator action (the measure of idleness).
    void RecordAction() { LastActionTick = host_.Now(); }
    // Stops a running pass and waits for it; nothing is taken from it.
    void Shutdown();
    // Options.root now names another archive: the list on display is emptied
    // at once (its records are not in that archive), and a pass that started
    // on the old root is not shown when it ends. The caller asks for the pass
    // that fills the list again.
    void ArchiveRootChanged();
    // From a change of the archive root until a pass over the new one has
    // landed; file commands wait for it.
    bool AwaitingNewRoot() const { return awaitingNewRoot_; }

  private:
    std::string NoticeFor(const TFileInfo& record) const;
    bool MatchOne(const TFileInfo& record);
    void TakeArrived(std::string_view announced, bool replay);
    // Inserts one file into the list on display and matches it; `keep` (the
    // position on display) follows the records that move. -1 when rejected.
    int InsertArrived(const std::string& sub, const std::string& diskName, std::int32_t size,
                      std::int32_t time, int& keep);

    TFilePanel& panel_;
    ScanHost& host_;
    TLookAt lookAt_;
    ViewBuffer buffer_; // for matching single arrivals on the window thread
    bool scanning_ = false;
    bool rescanPending_ = false;
    int pendingArg_ = 0;
    int rereadArg_ = 1;
    bool shutDown_ = false;
    int tickCounter_ = 0;
    std::string markFileName_;
    std::int64_t markStartTick_ = 0;
    // The name asked for by ShowAfterNextPass, and the one the running pass shows.
    std::string showAfterPass_;
    std::string passShows_;
    // The archive root of the running pass.
    std::string passRoot_;
    bool awaitingNewRoot_ = false;
    // Files announced while a pass ran after it had read today's folder.
    std::vector<std::string> arrivedDuringPass_;
};

} // namespace varnot
