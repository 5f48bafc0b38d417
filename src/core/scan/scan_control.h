#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/filters/filter_groups.h"
#include "core/scan/look_at_thread.h"
#include "core/scan/new_messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// What a pass asked for by ReRead announces.
enum class TReReadMode : std::uint8_t {
    // Nothing: a pass from an older day, or after files were moved or deleted.
    Quiet = 0,
    // The newest new message (start-up, periodic passes, the rescan command,
    // filter and options changes, the status line's click).
    AnnounceNew = 1,
};

// One change of the list on display, as a pass or an arrival leaves it; the
// window applies it in one go and repaints the grid.
struct ListUpdate {
    int rowCount = 1;   // the grid's row count: the shown records, at least one row
    int currentRow = 0; // the grid's current row afterwards
    // Show the message of that row (FileClick).
    bool showMessage = true;
    // Set when the list only gained this row: every other row kept its
    // record, those below it moved down by one. Otherwise the grid takes the
    // list afresh.
    std::optional<int> insertedRow;
};

// What the scanner logic needs of the window: its grid, its busy signs, its
// clock, and a way to get back onto the window thread.
class ScanHost {
  public:
    virtual ~ScanHost() = default;
    virtual int CurrentRow() const = 0;
    // Puts a changed list on display.
    virtual void ApplyListUpdate(const ListUpdate& update) = 0;
    // Repaints the grid for changed marks; the rows are the same.
    virtual void RepaintList() = 0;
    virtual void SetRescanEnabled(bool enabled) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void UpdateStatusLine() = 0;
    // A search over the messages is running: no pass may start.
    virtual bool Searching() const = 0;
    // Called on the scanner thread: run PassComplete on the window thread.
    virtual void PostPassComplete() = 0;
    // Run ReRead(mode) on the window thread after the current event.
    virtual void PostPendingRescan(TReReadMode mode) = 0;
    // Prints one announced message (AutoPrint).
    virtual void PrintArrived(const std::string& path) = 0;
    // Milliseconds of a monotonic clock.
    virtual std::int64_t Now() const = 0;
    // Messages a pass or an arrival brought into view that pass the filter,
    // when the new-message notice tells of them. Nobody needs to listen.
    virtual void NewMessagesShown(const TNewMessages&) {}
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
    std::int64_t LastActionTick = 0;

    bool Scanning() const { return scanning_; }
    bool RescanPending() const { return rescanPending_; }
    TReReadMode PendingArg() const { return pendingArg_; }
    TReReadMode RereadArg() const { return rereadArg_; }
    const PassOutcome& LastOutcome() const { return lookAt_.Outcome(); }

    // The newest announced message: its archive name (empty: none) and the
    // status line's notice of it (1251 bytes).
    const std::string& LastNewFile() const { return lastNewFile_; }
    const std::string& NewMessageNotice() const { return newMessageNotice_; }
    // Announces a message as a pass or an arrival does.
    void SetAnnouncement(std::string name, std::string notice);
    // The announcement ends (its message was asked for).
    void ClearAnnouncement();
    // The message of this archive name is on display: its announcement ends.
    void MessageShown(std::string_view name);
    // The operator removed the message of this archive name from the archive
    // (deleted or moved it): its announcement ends, and a pass running now,
    // which may have listed it before it went, does not bring it back.
    void NoteRemoved(std::string name);

    void ReRead(TReReadMode mode);
    // The next pass that starts makes the record of this archive name the
    // current row when it brings it into the list, idle operator or not: the
    // operator asked for that message, and the rows on display when he asked
    // were not the ones that pass shows.
    void ShowAfterNextPass(std::string name) { showAfterPass_ = std::move(name); }
    void ScanIt();
    // The pass has ended (window thread).
    void PassComplete();
    void TimerTimer();
    // Marks the message at `row` read once it has stayed there MarkDelay
    // milliseconds, unless the operator is idle.
    void MarkReadCheck(int row);
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
    // Tells the host of the shown records of `shown` that `before` (the list
    // on display until now) did not hold.
    void ReportNewShown(const CList& shown, const CList& before);
    // Tells the host of one new message that passes the filter.
    void ReportArrived(const TFileInfo& record);
    // Takes the records of messages removed during the pass out of its list
    // while their files stay gone; `firstNew` follows the records that move.
    void DropRemovedDuringPass(CList& list, int& firstNew) const;
    bool MatchOne(const TFileInfo& record);
    void TakeArrived(std::string_view announced, bool replay);
    // Inserts one file into the list on display and matches it; `keep` (the
    // position on display) follows the records that move. -1 when rejected.
    int InsertArrived(const std::string& sub, const std::string& diskName, std::int32_t size,
                      std::int32_t time, int& keep);

    TFilePanel& panel_;
    ScanHost& host_;
    TLookAtThread lookAt_;
    ViewBuffer buffer_; // for matching single arrivals on the window thread
    bool scanning_ = false;
    bool rescanPending_ = false;
    TReReadMode pendingArg_ = TReReadMode::Quiet;
    TReReadMode rereadArg_ = TReReadMode::AnnounceNew;
    std::string lastNewFile_;
    std::string newMessageNotice_;
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
    // Messages the operator removed while a pass ran.
    std::vector<std::string> removedDuringPass_;
};

} // namespace varnot
