#include "core/scan/look_at_thread.h"

#include "core/archive/day_folders.h"
#include "core/archive/dir_listing.h"
#include "core/archive/message_file.h"
#include "core/archive/safe_delete.h"
#include "core/filters/text_filter.h"
#include "core/scan/read_ahead.h"

#include <algorithm>

namespace varnot {

namespace {

// Fills the spare pool from the day folders; false when the stop flag ended it.
bool WalkDays(const PassRequest& request, const std::vector<std::string>& dates, CList& spare,
              const std::atomic<bool>& stop) {
    const ArchiveOptions& options = request.options;
    for (int i = static_cast<int>(dates.size()) - 1 - request.dateIndex; i >= 0; --i) {
        const std::string folder = DayFolderOf(dates[static_cast<std::size_t>(i)]);
        const std::string prefix = folder + ArchiveNameSeparator;
        const std::string folderPath = options.root + folder;
        const FolderListing listing = ListMessageFiles(folderPath, [&](const FoundFile& file) {
            if (stop.load(std::memory_order_relaxed)) return false;
            spare.AddFound(prefix, file.diskName, file.size, file.time, options);
            return true;
        });
        // Only a folder read to its end with nothing at all in it goes, and
        // never today's: the receiving program may just have made it for its
        // first message. The removal refuses anything that has gained an
        // entry since.
        if (listing.IsEmpty() && folder != TodayFolderName())
            RemoveEmptyDayFolder(options.root, folder);
        if (stop.load(std::memory_order_relaxed)) return false;
        if (!options.deleteAutomaticly && spare.Used == spare.Capacity()) break;
    }
    return true;
}

} // namespace

PassOutcome RunPass(const PassRequest& request, CList& previous, CList& spare, ViewBuffer& buffer,
                    const std::atomic<bool>& stop) {
    PassOutcome outcome;
    outcome.dates = LoadDateList(request.options.root);
    spare.Used = 0;
    spare.Overflow = false;
    if (!WalkDays(request, outcome.dates, spare, stop)) {
        outcome.stopped = true;
        return outcome;
    }
    if (spare.Used < spare.Capacity()) spare.SortRecords();

    // Marks of the messages that were already known; the others keep
    // Unchecked, which is how the new ones are recognised.
    CList::CompareLists(previous, spare);
    CList::CarryMarks(previous, spare);

    TTextFilter filter(request.filter, request.options, buffer);
    auto matched = [&](const TFileInfo& record) {
        return request.refilter || record.Has(TFileInfo::Unchecked);
    };
    TReadAhead readAhead(
        spare.Used,
        [&](int p) {
            const TFileInfo& record = spare.RecordAt(p);
            return matched(record) && filter.WouldRead(record);
        },
        [&](int p) {
            AdviseWillRead(DiskPath(request.options.root, spare.RecordAt(p)),
                           ViewBuffer::kMaxBytes);
        });
    for (int p = 0; p < spare.Used; ++p) {
        if (stop.load(std::memory_order_relaxed)) {
            outcome.stopped = true;
            break;
        }
        TFileInfo& record = spare.RecordAt(p);
        if (!matched(record)) continue;
        if (!request.refilter && outcome.firstNewIndex < 0) outcome.firstNewIndex = p;
        readAhead.Reached(p);
        const long diskReads = filter.DiskReads();
        record.Flags = static_cast<std::uint16_t>(record.Flags & ~TFileInfo::Unchecked);
        if (filter.Match(record))
            record.Flags |= TFileInfo::Shown;
        else
            record.Flags = static_cast<std::uint16_t>(record.Flags & ~TFileInfo::Shown);
        if (filter.DiskReads() > diskReads) readAhead.Start();
    }
    // A full refilter announces nothing.
    if (request.refilter) outcome.firstNewIndex = -1;
    outcome.filesRead = filter.FilesRead();
    return outcome;
}

int MergePassResult(CList& current, CList& spare, int currentRow) {
    int onDisplay = current.PositionAtRow(currentRow);
    if (onDisplay < 0) onDisplay = 0;
    CList::CompareLists(current, spare);
    const int keep = CList::FindSurvivor(spare, onDisplay);
    // The pass decided Shown and Unchecked; every other mark (Read and
    // Selected above all) is taken as the operator left it, and the brief
    // travels with its message.
    constexpr std::uint16_t passMarks = TFileInfo::Shown | TFileInfo::Unchecked;
    for (int i = 0; i < current.Used; ++i) {
        TFileInfo& old = current.RecordAt(i);
        const int m = spare.MatchIndexAt(i);
        if (m < 0) {
            old.Head.reset();
            continue;
        }
        TFileInfo& now = spare.RecordAt(m);
        now.Flags = static_cast<std::uint16_t>((old.Flags & ~passMarks) | (now.Flags & passMarks));
        now.Head.swap(old.Head);
    }
    // With nothing on display before, no slot was filled and nothing is kept.
    return spare.BuildRows(current.Used > 0 ? spare.MatchIndexAt(keep) : -1);
}

void CopyKeys(const CList& from, CList& to) {
    const int n = std::min(from.Used, to.Capacity());
    for (int i = 0; i < n; ++i) to.RecordAt(i).CopyKeysFrom(from.RecordAt(i));
    to.Used = n;
}

TLookAtThread::TLookAtThread(int capacity) : previous_(capacity) {}

TLookAtThread::~TLookAtThread() {
    StopAndWait();
}

bool TLookAtThread::Start(PassRequest request, const CList& current, CList& spare,
                          std::function<void()> finished) {
    if (thread_.joinable()) return false;
    request_ = std::move(request);
    outcome_ = PassOutcome{};
    CopyKeys(current, previous_);
    stop_.store(false);
    thread_ = std::thread([this, &spare, finished = std::move(finished)] {
        outcome_ = RunPass(request_, previous_, spare, buffer_, stop_);
        if (finished) finished();
    });
    return true;
}

void TLookAtThread::Join() {
    if (thread_.joinable()) thread_.join();
}

void TLookAtThread::StopAndWait() {
    stop_.store(true);
    Join();
}

} // namespace varnot
