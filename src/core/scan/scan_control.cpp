#include "core/scan/scan_control.h"

#include "core/archive/day_folders.h"
#include "core/archive/dir_listing.h"
#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "core/filters/text_filter.h"
#include "core/text/latin_case.h"

#include <algorithm>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace varnot {

namespace {

// The file-name part of an announced name: nothing of a folder survives, so an
// announcement can never reach outside today's folder.
std::string_view FileNamePart(std::string_view announced) {
    const std::size_t cut = announced.find_last_of("/\\:");
    return cut == std::string_view::npos ? announced : announced.substr(cut + 1);
}

struct ArrivedFile {
    bool found = false;
    std::string diskName;
    std::int32_t size = 0;
    std::int32_t time = 0;
};

// Looks the name up in the folder comparing Latin letters without case; a
// name spelt exactly as announced wins over one that differs in case only.
// The exact spelling is tried first with one stat: the receiving program
// normally announces the name as it wrote it, and reading a full day folder
// for every announcement would make each one slower as the day goes on.
ArrivedFile FindArrived(const std::string& folder, std::string_view fileName) {
    ArrivedFile result;
    struct stat st {};
    const std::string exact = folder + "/" + std::string(fileName);
    if (::fstatat(AT_FDCWD, exact.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
        const auto size = std::min<long long>(st.st_size, std::numeric_limits<std::int32_t>::max());
        return {true, std::string(fileName), static_cast<std::int32_t>(size),
                DosTimeFromUnix(st.st_mtime)};
    }
    const std::string wanted = UpcaseLatin(fileName);
    ListMessageFiles(folder, [&](const FoundFile& file) {
        if (file.name != wanted) return true;
        result = {true, std::string(file.diskName), file.size, file.time};
        return false;
    });
    return result;
}

// The row of the shown record of that name; -1 when it has none.
int RowOfName(TFilePanel& panel, std::string_view name) {
    for (int row = 0; row < panel.ShownCount(); ++row)
        if (panel.RecordAtRow(row)->Name() == name) return row;
    return -1;
}

bool Contains(const CList& list, std::string_view name) {
    for (int i = 0; i < list.Used; ++i)
        if (list.RecordAt(i).Name() == name) return true;
    return false;
}

} // namespace

TScanControl::TScanControl(TFilePanel& panel, ScanHost& host)
    : panel_(panel), host_(host), lookAt_(panel.Current().Capacity()) {}

TScanControl::~TScanControl() {
    Shutdown();
}

void TScanControl::Shutdown() {
    shutDown_ = true;
    lookAt_.StopAndWait();
}

void TScanControl::ReRead(TReReadMode mode) {
    if (shutDown_ || host_.Searching()) return;
    if (scanning_) {
        rescanPending_ = true;
        pendingArg_ = mode;
        return;
    }
    host_.SetRescanEnabled(false);
    rereadArg_ = mode;
    host_.SetBusy(true);
    ScanIt();
}

void TScanControl::ScanIt() {
    if (scanning_ || shutDown_) return;
    PassRequest request{Options, Filter, DateIndex, panel_.Refilter};
    // A filter change made while this pass runs sets the flag again for the
    // pass that follows; clearing it only at the end would lose that.
    panel_.Refilter = false;
    passRoot_ = Options.root;
    passShows_ = std::move(showAfterPass_);
    showAfterPass_.clear();
    arrivedDuringPass_.clear();
    scanning_ = true;
    ScanHost* host = &host_;
    lookAt_.Start(std::move(request), panel_.Current(), panel_.Spare(),
                  [host] { host->PostPassComplete(); });
}

void TScanControl::PassComplete() {
    if (!scanning_ || shutDown_) return;
    lookAt_.Join();
    const PassOutcome& outcome = lookAt_.Outcome();
    // A pass over an archive that is no longer the one in use shows nothing.
    const bool shown = !outcome.stopped && passRoot_ == Options.root;
    host_.SetBusy(true);
    if (shown) {
        awaitingNewRoot_ = false;
        int firstNew = outcome.firstNewIndex;
        DropRemovedDuringPass(panel_.Spare(), firstNew);
        const int keepRow = MergePassResult(panel_.Current(), panel_.Spare(), host_.CurrentRow());
        panel_.SwapLists();
        panel_.Dates = outcome.dates;
        CList& current = panel_.Current();
        if (firstNew >= 0 && firstNew < current.Used && DateIndex == 0 &&
            rereadArg_ == TReReadMode::AnnounceNew) {
            const TFileInfo& record = current.RecordAt(firstNew);
            SetAnnouncement(std::string(record.Name()), NoticeFor(record));
            ReportNewShown(current, panel_.Spare());
        }
        ListUpdate update;
        update.rowCount = std::max(1, current.ShownCount);
        const int asked = passShows_.empty() ? -1 : RowOfName(panel_, passShows_);
        update.currentRow = asked >= 0 ? asked : ChooseRow(0, keepRow);
        host_.ApplyListUpdate(update);
    }
    passShows_.clear();
    removedDuringPass_.clear();
    scanning_ = false;
    // Announcements the pass missed (it had read today's folder before they
    // came) would otherwise vanish from the list until the next pass.
    std::vector<std::string> arrived;
    arrived.swap(arrivedDuringPass_);
    for (const std::string& name : arrived)
        if (shown) TakeArrived(name, true);
    host_.SetRescanEnabled(true);
    host_.SetBusy(false);
    host_.UpdateStatusLine();
    if (rescanPending_) {
        rescanPending_ = false;
        host_.PostPendingRescan(pendingArg_);
    }
}

void TScanControl::ArchiveRootChanged() {
    CList& current = panel_.Current();
    for (int position = 0; position < current.Used; ++position) current.RecordAt(position).Clear();
    current.Used = 0;
    current.Overflow = false;
    current.BuildRows(0);
    ClearAnnouncement();
    DateIndex = 0;
    awaitingNewRoot_ = true;
    host_.ApplyListUpdate(ListUpdate{});
    host_.UpdateStatusLine();
}

void TScanControl::TimerTimer() {
    const int ticksPerMinute = 60000 / TimerInterval;
    const long long limit = static_cast<long long>(Settings.rereadDelay) * ticksPerMinute;
    ++tickCounter_;
    MarkReadCheck(host_.CurrentRow());
    if (tickCounter_ > limit) {
        tickCounter_ = 0;
        if (DateIndex == 0) ReRead(TReReadMode::AnnounceNew);
    }
}

void TScanControl::SetAnnouncement(std::string name, std::string notice) {
    lastNewFile_ = std::move(name);
    newMessageNotice_ = std::move(notice);
}

void TScanControl::ClearAnnouncement() {
    lastNewFile_.clear();
    newMessageNotice_.clear();
}

void TScanControl::MessageShown(std::string_view name) {
    if (!lastNewFile_.empty() && name == lastNewFile_) ClearAnnouncement();
}

void TScanControl::NoteRemoved(std::string name) {
    MessageShown(name);
    // A pass that starts later reads the archive without it.
    if (scanning_) removedDuringPass_.push_back(std::move(name));
}

void TScanControl::DropRemovedDuringPass(CList& list, int& firstNew) const {
    if (removedDuringPass_.empty()) return;
    for (int position = list.Used - 1; position >= 0; --position) {
        const TFileInfo& record = list.RecordAt(position);
        if (std::find(removedDuringPass_.begin(), removedDuringPass_.end(), record.Name()) ==
            removedDuringPass_.end())
            continue;
        // A file of that name written again since is a message once more.
        struct stat st {};
        if (::lstat(DiskPath(Options.root, record).c_str(), &st) == 0) continue;
        list.RemoveAt(position);
        // Which of the records behind it were new is no longer known.
        if (position < firstNew)
            --firstNew;
        else if (position == firstNew)
            firstNew = -1;
    }
}

void TScanControl::MarkReadCheck(int row) {
    if (panel_.ShownCount() == 0) return;
    TFileInfo* record = panel_.RecordAtRow(row);
    if (record == nullptr) return;
    const std::int64_t now = host_.Now();
    if (markFileName_ != record->Name()) {
        markFileName_ = std::string(record->Name());
        markStartTick_ = now;
        return;
    }
    if (now - markStartTick_ <= Settings.markDelay || IsIdle()) return;
    if (!record->Has(TRecordFlag::Read)) {
        record->SetFlag(TRecordFlag::Read, true);
        host_.RepaintList();
        markStartTick_ = now;
    }
}

bool TScanControl::IsIdle() const {
    if (!Settings.autoShow) return false;
    return host_.Now() - LastActionTick > static_cast<std::int64_t>(Settings.autoShowDelay) * 60000;
}

int TScanControl::ChooseRow(int newRow, int keepRow) const {
    return IsIdle() || newRow < 0 || keepRow < 0 ? std::max(newRow, 0) : keepRow;
}

std::string TScanControl::NoticeFor(const TFileInfo& record) const {
    return FormatDosTime(record.Time, "hh:nn  dd.mm") + "   " +
           LoadHead(DiskPath(Options.root, record), Options);
}

void TScanControl::ReportNewShown(const CList& shown, const CList& before) {
    // The merge of the pass paired every record on display with its place in
    // the new list; the unpaired ones are new. Arrivals taken while the pass
    // ran were on display already: they were told of when they came.
    std::vector<bool> known(static_cast<std::size_t>(shown.Used), false);
    for (int i = 0; i < before.Used; ++i) {
        const int m = shown.MatchIndexAt(i);
        if (m >= 0 && m < shown.Used) known[static_cast<std::size_t>(m)] = true;
    }
    TNewMessages news;
    for (int p = 0; p < shown.Used; ++p) {
        const TFileInfo& record = shown.RecordAt(p);
        if (known[static_cast<std::size_t>(p)] || !record.Has(TRecordFlag::Shown)) continue;
        if (news.names.empty()) {
            news.newestTime = record.Time;
            // Most often the message the red notice has just read the brief of.
            news.newestNotice =
                record.Name() == lastNewFile_ ? newMessageNotice_ : NoticeFor(record);
        }
        news.names.emplace_back(record.Name());
    }
    if (!news.names.empty()) host_.NewMessagesShown(news);
}

void TScanControl::ReportArrived(const TFileInfo& record) {
    TNewMessages news;
    news.names.emplace_back(record.Name());
    news.newestTime = record.Time;
    // The announcement was just made of this record.
    news.newestNotice = newMessageNotice_;
    host_.NewMessagesShown(news);
}

bool TScanControl::MatchOne(const TFileInfo& record) {
    TTextFilter filter(Filter, Options, buffer_);
    return filter.Match(record);
}

void TScanControl::AddArrivedFile(std::string_view announced) {
    TakeArrived(announced, false);
}

void TScanControl::TakeArrived(std::string_view announced, bool replay) {
    const std::string_view fileName = FileNamePart(announced);
    if (!IsArchiveFileName(fileName) || fileName.front() == '.') return;
    const std::string folder = TodayFolderName();
    const ArrivedFile file = FindArrived(Options.root + folder, fileName);
    if (!file.found) return;
    const std::string sub = folder + ArchiveNameSeparator;
    if (replay) {
        TFileInfo probe;
        if (!probe.SetName(sub, file.diskName) || Contains(panel_.Current(), probe.Name())) return;
    } else {
        if (Settings.autoPrint)
            host_.PrintArrived(ArchiveFilePath(Options.root, sub, file.diskName));
        if (scanning_) arrivedDuringPass_.emplace_back(file.diskName);
    }

    if (DateIndex != 0) {
        // An older day is on display: only the notice tells of the new message.
        TFileInfo record;
        if (!record.SetName(sub, file.diskName)) return;
        record.Time = file.time;
        SetAnnouncement(std::string(record.Name()), NoticeFor(record));
        host_.UpdateStatusLine();
        if (!replay && MatchOne(record)) ReportArrived(record);
        return;
    }
    CList& current = panel_.Current();
    const int shownBefore = current.ShownCount;
    int keep = current.PositionAtRow(host_.CurrentRow());
    if (keep < 0) keep = 0;
    const int p = InsertArrived(sub, file.diskName, file.size, file.time, keep);
    if (p < 0) return;
    // A replayed arrival was told of when it came.
    if (!replay && current.RecordAt(p).Has(TRecordFlag::Shown)) ReportArrived(current.RecordAt(p));
    // Its row, when it passes the filter; otherwise the operator stays where he is.
    const int newRow = current.RecordAt(p).Has(TRecordFlag::Shown) ? current.BuildRows(p) : -1;
    const int keepRow = current.BuildRows(keep);
    ListUpdate update;
    update.rowCount = std::max(1, current.ShownCount);
    update.currentRow = newRow < 0 ? keepRow : ChooseRow(newRow, keepRow);
    // One shown row more while the new record is shown: no shown record was
    // replaced or pushed out, so the rows on display only gained its row.
    if (newRow >= 0 && shownBefore > 0 && current.ShownCount == shownBefore + 1)
        update.insertedRow = newRow;
    host_.ApplyListUpdate(update);
}

int TScanControl::InsertArrived(const std::string& sub, const std::string& diskName,
                                std::int32_t size, std::int32_t time, int& keep) {
    CList& current = panel_.Current();
    TFileInfo probe;
    if (!probe.SetName(sub, diskName)) return -1;
    const int q = current.RemoveByName(probe.Name());
    if (q >= 0 && q <= keep) keep = std::max(0, keep - 1);
    const int p = current.InsertKeepingNewest(sub, diskName, size, time, Options);
    if (p < 0) return -1;
    TFileInfo& record = current.RecordAt(p);
    SetAnnouncement(std::string(record.Name()), NoticeFor(record));
    if (record.Has(TRecordFlag::Unchecked)) {
        record.SetFlag(TRecordFlag::Unchecked, false);
        record.SetFlag(TRecordFlag::Shown, MatchOne(record));
    }
    if (p <= keep) keep = std::min(keep + 1, current.Used - 1);
    return p;
}

} // namespace varnot
