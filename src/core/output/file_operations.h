#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/archive/archive_options.h"
#include "core/archive/c_list.h"

namespace varnot {

// Operation bits of ApplyToSelected.
enum ApplyOperation : int {
    CopyOperation = 1,   // copy to the destination folder
    DeleteOperation = 2, // remove the file and its record
    MoveOperation = 3,   // copy, then remove
};

// Why one message was not done.
enum class FileFault {
    None,
    SourceUnreadable,      // gone, unreadable, or not a regular file of a real day folder
    DestinationUnwritable, // its copy could not be created in the destination folder
    WriteFailed,           // writing or flushing the copy failed; what it was to replace is intact
    SameFile,              // the destination is the message itself
    NotRemoved,            // it could not be removed from the archive (after its copy, for a move)
    Changed,               // written again since it was listed: a delete leaves it for a look
};

// What was done to one message.
struct AppliedFile {
    std::string name;     // the record's Name
    std::string diskPath; // the file in the archive
    FileFault fault = FileFault::None;
    int error = 0;        // errno of the call that failed, when one did
    bool copied = false;  // a complete copy (or the moved file) is in the destination
    bool removed = false; // the file is no longer in the archive and its record has left the list

    bool Done() const { return fault == FileFault::None; }
};

enum class DestinationState {
    Usable,
    Missing,     // no such folder
    NotAFolder,  // something else has that name
    NotWritable, // no file can be created in it (see error)
};

struct DestinationCheck {
    DestinationState state = DestinationState::Usable;
    int error = 0;

    bool Usable() const { return state == DestinationState::Usable; }
};

// Whether copies can be written into the folder: it exists, is a folder, and
// a file can be created in it (tried, and removed at once, so a read-only
// file system is found even by the superuser).
DestinationCheck CheckDestinationFolder(std::string_view folder);

// The grid after a file operation.
struct GridRows {
    int rowCount = 1;   // the greater of 1 and ShownCount
    int currentRow = 0; // the current message's row, or its nearest newer neighbour's
};

struct ApplyResult {
    GridRows rows;
    // A copy or move whose destination is not usable touches nothing.
    DestinationCheck destination;
    std::vector<AppliedFile> files; // in the order they were worked on
    int untouched = 0;              // messages a cancel left as they were

    int FailedCount() const;
    // Archive names of the messages that left the archive and the list.
    std::vector<std::string> RemovedNames() const;
};

// One copy, move or delete over the messages concerned (the selected shown
// records, oldest first, or else the record at the current row), one message
// a step, so that a caller can keep a window alive and offer a cancel in
// between. The messages are fixed when the run is made and found again by
// name at each step: the list on display may change between steps (a pass
// landing, an announced file), and a step is always given the list on
// display now. Each message is either done completely or left as it was:
//  - a copy is written under a temporary name, flushed, and renamed over an
//    equally named file, so a failed copy destroys nothing;
//  - a move renames the file when both folders are on one file system, and
//    otherwise removes the source only after its copy was flushed and closed
//    without error, and only while it is still the file that was copied;
//  - the archive side is reached only through day folders opened without
//    following links.
// A message that was not done keeps its record and its selection mark; a
// done one loses the mark, and a removed one leaves the list. A pass that
// read the archive before a message was removed brings its record back;
// each step and the finish take such records out of the list they are given
// while their files stay gone.
class TApplyRun {
  public:
    TApplyRun(const CList& list, int currentRow, ApplyOperation operation,
              std::string_view destinationFolder, const ArchiveOptions& options);
    ~TApplyRun();
    TApplyRun(const TApplyRun&) = delete;
    TApplyRun& operator=(const TApplyRun&) = delete;

    // Copy and move check their destination when the run is made; a run
    // with an unusable destination is finished before it starts.
    const DestinationCheck& Destination() const { return result_.destination; }
    int Total() const { return static_cast<int>(targets_.size()); }
    int Applied() const { return static_cast<int>(result_.files.size()); }
    bool Finished() const { return !Destination().Usable() || cancelled_ || Applied() >= Total(); }
    const ApplyResult& Progress() const { return result_; }

    // Works on the next message. lastNewFile is cleared when its message is removed.
    void Step(CList& list, std::string& lastNewFile);
    // Leaves the remaining messages as they are.
    void Cancel() { cancelled_ = true; }
    // Rebuilds the row map of the list and picks the current row: the row of
    // the message that was current, or of its nearest newer neighbour still
    // listed, or 0.
    GridRows Rows(CList& list) const;
    // Rows and the report of the whole run.
    ApplyResult Finish(CList& list);

  private:
    struct Target {
        std::string name;
        std::string dayFolder;
        std::string diskName;
        std::int32_t time = 0; // as listed
        std::int32_t size = 0;
    };

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    // Takes out records of messages this run removed that a pass brought back.
    void DropRemoved(CList& list, std::string* lastNewFile) const;
    void Apply(const Target& target, AppliedFile& report) const;
    void Copy(const Target& target, AppliedFile& report) const;
    void Move(const Target& target, AppliedFile& report) const;
    void Delete(const Target& target, AppliedFile& report) const;

    ApplyOperation operation_;
    ArchiveOptions options_;
    int destinationFd_ = -1;
    std::vector<Target> targets_;
    // The current message and the ones above it, nearest first.
    std::vector<std::string> anchors_;
    // The messages removed so far: archive name to disk path.
    std::unordered_map<std::string, std::string, NameHash, std::equal_to<>> removed_;
    bool cancelled_ = false;
    ApplyResult result_;
};

// Copies, moves or deletes the message files of the selected shown records,
// or of the record at the current row when none is selected. `goOn` is asked
// between two messages; false leaves the rest untouched.
ApplyResult ApplyToSelected(CList& list, int currentRow, std::string_view destinationFolder,
                            ApplyOperation operation, const ArchiveOptions& options,
                            std::string& lastNewFile,
                            const std::function<bool(const TApplyRun&)>& goOn = {});

} // namespace varnot
