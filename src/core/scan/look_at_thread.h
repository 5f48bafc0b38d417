#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/c_list.h"
#include "core/archive/message_text.h"
#include "core/filters/filter_groups.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace varnot {

// Everything a pass reads besides the disk, copied when it starts so that the
// window may change its own values while the pass runs.
struct PassRequest {
    ArchiveOptions options;
    CurrentFilter filter;
    int dateIndex = 0;     // 0: from the newest day; k: from the k-th newest day
    bool refilter = false; // match every record, not only the new ones
};

struct PassOutcome {
    bool stopped = false;           // the stop flag ended the pass; its list is not to be shown
    std::vector<std::string> dates; // the day names found, oldest first
    int firstNewIndex = -1;         // position of the newest new message, or -1
    long filesRead = 0;             // message files opened for keyword matching
};

// One pass, on the scanner thread: walks the day folders from the chosen day
// towards older ones into `spare`, keeping the newest Capacity files (and
// deleting the others with automatic deletion), removes empty day folders,
// and matches the new messages against the filter. `previous` holds the names,
// times and marks of the list on display when the pass started; the list on
// display itself is never touched here.
PassOutcome RunPass(const PassRequest& request, CList& previous, CList& spare, ViewBuffer& buffer,
                    const std::atomic<bool>& stop);

// Window thread, once the pass has ended: carries the marks the operator may
// have changed meanwhile and the cached briefs from the list on display to
// the new list, and returns the row, in the new list, of the message that was
// at `currentRow` (the nearest newer survivor when it has gone; 0 when none).
int MergePassResult(CList& current, CList& spare, int currentRow);

// Copies names, times, sizes and marks (no briefs) into a list of equal capacity.
void CopyKeys(const CList& from, CList& to);

// The scanner pass's thread: runs RunPass on a thread of its own, one pass at
// a time. Its pools are allocated once; each pass refills them.
class TLookAtThread {
  public:
    explicit TLookAtThread(int capacity);
    ~TLookAtThread();
    TLookAtThread(const TLookAtThread&) = delete;
    TLookAtThread& operator=(const TLookAtThread&) = delete;

    // Starts a pass into `spare`; `finished` runs on the scanner thread as its
    // last act. False when a pass is still running.
    bool Start(PassRequest request, const CList& current, CList& spare,
               std::function<void()> finished);
    // Waits for the thread of a pass that has finished (or is finishing).
    void Join();
    // Sets the stop flag and waits: a running pass ends between two files.
    void StopAndWait();
    bool Active() const { return thread_.joinable(); }

    // The outcome of the last pass; read it after Join.
    const PassOutcome& Outcome() const { return outcome_; }

  private:
    CList previous_;
    ViewBuffer buffer_;
    PassRequest request_;
    PassOutcome outcome_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace varnot
