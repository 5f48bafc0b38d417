#include "core/output/file_operations.h"

#include "core/archive/copy_file.h"
#include "core/archive/file_info.h"
#include "core/archive/safe_delete.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

std::string FolderWithSlash(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

int PositionOfName(const CList& list, std::string_view name) {
    for (int position = 0; position < list.Used; ++position)
        if (list.RecordAt(position).Name() == name) return position;
    return -1;
}

void Record(const TransferResult& transfer, AppliedFile& report) {
    report.error = transfer.error;
    switch (transfer.result) {
    case CopyResult::Copied:
        report.copied = true;
        report.fault = FileFault::None;
        return;
    case CopyResult::SameFile:
        report.fault = FileFault::SameFile;
        return;
    case CopyResult::SourceUnavailable:
        report.fault = FileFault::SourceUnreadable;
        return;
    case CopyResult::DestinationUnavailable:
        report.fault = FileFault::DestinationUnwritable;
        return;
    case CopyResult::WriteFailed:
        report.fault = FileFault::WriteFailed;
        return;
    }
}

// A file that is gone already needs no removing.
void RecordRemoval(const DeleteResult& removal, AppliedFile& report) {
    if (removal.Deleted() || removal.outcome == DeleteOutcome::Missing) {
        report.removed = true;
        return;
    }
    report.fault = FileFault::NotRemoved;
    report.error = removal.error;
}

// Creates and removes a file in the folder: the only test that also finds a
// read-only file system, a full quota, or a folder the superuser may not write.
int ProbeWrite(int folder) {
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            ".varnot-probe-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlinkat(folder, name.c_str(), 0);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

} // namespace

DestinationCheck CheckDestinationFolder(std::string_view folder) {
    const std::string path = folder.empty() ? std::string("/") : std::string(folder);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT) return {DestinationState::Missing, error};
        if (error == ENOTDIR) return {DestinationState::NotAFolder, error};
        return {DestinationState::NotWritable, error};
    }
    if (!S_ISDIR(st.st_mode)) return {DestinationState::NotAFolder, ENOTDIR};
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return {DestinationState::NotWritable, errno};
    const int error = ProbeWrite(fd);
    ::close(fd);
    if (error != 0) return {DestinationState::NotWritable, error};
    return {};
}

int ApplyResult::FailedCount() const {
    return static_cast<int>(
        std::count_if(files.begin(), files.end(), [](const AppliedFile& f) { return !f.Done(); }));
}

std::vector<std::string> ApplyResult::RemovedNames() const {
    std::vector<std::string> names;
    for (const AppliedFile& file : files)
        if (file.removed) names.push_back(file.name);
    return names;
}

TApplyRun::TApplyRun(const CList& list, int currentRow, ApplyOperation operation,
                     std::string_view destinationFolder, const ArchiveOptions& options)
    : operation_(operation), options_(options) {
    for (int row = currentRow; row >= 0; --row) {
        const int position = list.PositionAtRow(row);
        if (position >= 0) anchors_.emplace_back(list.RecordAt(position).Name());
    }
    auto take = [&](const TFileInfo& record) {
        targets_.push_back({std::string(record.Name()), std::string(record.DayFolder()),
                            std::string(record.DiskName()), record.Time, record.Size});
    };
    if (list.SelCount != 0) {
        for (int position = list.Used - 1; position >= 0; --position) {
            const TFileInfo& record = list.RecordAt(position);
            if (record.Has(TFileInfo::Shown) && record.Has(TFileInfo::Selected)) take(record);
        }
    } else if (const int current = list.PositionAtRow(currentRow); current >= 0) {
        // With no row on display there is no message to act on.
        take(list.RecordAt(current));
    }

    if (!(operation_ & CopyOperation)) return;
    const std::string folder = FolderWithSlash(destinationFolder);
    result_.destination = CheckDestinationFolder(folder);
    if (!result_.destination.Usable()) return;
    destinationFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (destinationFd_ < 0) result_.destination = {DestinationState::NotWritable, errno};
}

TApplyRun::~TApplyRun() {
    if (destinationFd_ >= 0) ::close(destinationFd_);
}

void TApplyRun::DropRemoved(CList& list, std::string* lastNewFile) const {
    if (removed_.empty()) return;
    for (int position = list.Used - 1; position >= 0; --position) {
        const auto removed = removed_.find(list.RecordAt(position).Name());
        if (removed == removed_.end()) continue;
        struct stat st {};
        if (::lstat(removed->second.c_str(), &st) == 0) continue;
        if (lastNewFile && *lastNewFile == removed->first) lastNewFile->clear();
        list.RemoveAt(position);
    }
}

void TApplyRun::Step(CList& list, std::string& lastNewFile) {
    if (Finished()) return;
    DropRemoved(list, &lastNewFile);
    const Target& target = targets_[static_cast<std::size_t>(Applied())];
    AppliedFile& report = result_.files.emplace_back();
    report.name = target.name;
    report.diskPath = ArchiveFilePath(options_.root, target.dayFolder, target.diskName);
    Apply(target, report);
    if (!report.Done()) return;

    if (report.removed) {
        removed_.emplace(target.name, report.diskPath);
        if (lastNewFile == target.name) lastNewFile.clear();
    }
    const int position = PositionOfName(list, target.name);
    if (position < 0) return;
    TFileInfo& record = list.RecordAt(position);
    if (record.Has(TFileInfo::Selected)) {
        record.Flags &= static_cast<std::uint16_t>(~TFileInfo::Selected);
        if (record.Has(TFileInfo::Shown)) {
            --list.SelCount;
            list.SelSize -= record.Size;
        }
    }
    if (report.removed) list.RemoveAt(position);
}

void TApplyRun::Apply(const Target& target, AppliedFile& report) const {
    switch (operation_) {
    case CopyOperation:
        Copy(target, report);
        return;
    case MoveOperation:
        Move(target, report);
        return;
    case DeleteOperation:
        Delete(target, report);
        return;
    }
}

void TApplyRun::Copy(const Target& target, AppliedFile& report) const {
    const ArchiveDayFolder folder(options_.root, target.dayFolder);
    if (!folder.IsOpen()) {
        report.fault = FileFault::SourceUnreadable;
        report.error = folder.Failure().error;
        return;
    }
    Record(CopyMessageFileAt(folder.Fd(), target.diskName, destinationFd_, target.diskName),
           report);
}

void TApplyRun::Move(const Target& target, AppliedFile& report) const {
    const ArchiveDayFolder folder(options_.root, target.dayFolder);
    if (!folder.IsOpen()) {
        report.fault = FileFault::SourceUnreadable;
        report.error = folder.Failure().error;
        return;
    }
    const TransferResult renamed =
        RenameMessageFileAt(folder.Fd(), target.diskName, destinationFd_, target.diskName);
    if (renamed.Done()) {
        report.copied = true;
        report.removed = true;
        return;
    }
    if (renamed.error != EXDEV) {
        Record(renamed, report);
        return;
    }
    // Another file system: copy, then remove the source from the same open
    // day folder, and only while it is still the file that was copied.
    const TransferResult copied =
        CopyMessageFileAt(folder.Fd(), target.diskName, destinationFd_, target.diskName);
    Record(copied, report);
    if (!copied.Done()) return;
    RecordRemoval(DeleteFileIn(folder, target.diskName, ListedFile{copied.time, copied.size}),
                  report);
}

// A message saved again since it was listed is not deleted unseen.
void TApplyRun::Delete(const Target& target, AppliedFile& report) const {
    const DeleteResult removal = DeleteArchiveFile(options_.root, target.dayFolder, target.diskName,
                                                   ListedFile{target.time, target.size});
    if (removal.outcome == DeleteOutcome::Changed) {
        report.fault = FileFault::Changed;
        return;
    }
    RecordRemoval(removal, report);
}

GridRows TApplyRun::Rows(CList& list) const {
    int wanted = -1;
    for (const std::string& name : anchors_) {
        if (removed_.count(name) != 0) continue;
        const int position = PositionOfName(list, name);
        if (position >= 0 && list.RecordAt(position).Has(TFileInfo::Shown)) {
            wanted = position;
            break;
        }
    }
    const int row = list.BuildRows(wanted);
    GridRows rows;
    rows.rowCount = std::max(1, list.ShownCount);
    rows.currentRow = wanted >= 0 ? row : 0;
    return rows;
}

ApplyResult TApplyRun::Finish(CList& list) {
    DropRemoved(list, nullptr);
    result_.rows = Rows(list);
    result_.untouched = Total() - Applied();
    return result_;
}

ApplyResult ApplyToSelected(CList& list, int currentRow, std::string_view destinationFolder,
                            ApplyOperation operation, const ArchiveOptions& options,
                            std::string& lastNewFile,
                            const std::function<bool(const TApplyRun&)>& goOn) {
    TApplyRun run(list, currentRow, operation, destinationFolder, options);
    while (!run.Finished()) {
        run.Step(list, lastNewFile);
        if (!run.Finished() && goOn && !goOn(run)) run.Cancel();
    }
    return run.Finish(list);
}

} // namespace varnot
