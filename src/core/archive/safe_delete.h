#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnot {

// Every deletion inside the archive goes through here. A day folder is opened
// relative to the archive root without following a link, and the file is
// looked at and removed relative to that folder, so a day folder that was
// replaced by a link since it was listed never lets a deletion reach outside
// the archive.

enum class DeleteOutcome {
    Deleted,
    Missing,  // no such file (or no such day folder)
    NotAFile, // a link, a folder or anything else that is not a regular file;
              // or the day folder itself is not a real folder
    Changed,  // the file's time or size is no longer what the list holds
    Refused,  // a day folder or file name that is not a single plain name
    Failed,   // the system refused; see error
};

struct DeleteResult {
    DeleteOutcome outcome = DeleteOutcome::Failed;
    int error = 0; // errno of the call that failed; 0 when there was none

    bool Deleted() const { return outcome == DeleteOutcome::Deleted; }
};

// What a list knows of a file: its last-write time (DOS packed, local) and
// its size, both as records hold them.
struct ListedFile {
    std::int32_t time = 0;
    std::int32_t size = 0;
};

// A day folder held open for work inside it: opened relative to the archive
// root without following a link, so a folder swapped for a link between two
// steps of one operation is never reached through.
class ArchiveDayFolder {
  public:
    ArchiveDayFolder(std::string_view root, std::string_view dayFolder);
    ~ArchiveDayFolder();
    ArchiveDayFolder(const ArchiveDayFolder&) = delete;
    ArchiveDayFolder& operator=(const ArchiveDayFolder&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // Why the folder is not open (Refused, Missing, NotAFile or Failed).
    const DeleteResult& Failure() const { return failure_; }

  private:
    int fd_ = -1;
    DeleteResult failure_;
};

// Deletes diskName of an open day folder when it is a regular file there.
// With `listed`, a file whose time or size differs is left alone (Changed).
DeleteResult DeleteFileIn(const ArchiveDayFolder& folder, std::string_view diskName,
                          const std::optional<ListedFile>& listed = std::nullopt);

// Deletes root/dayFolder/diskName when it is a regular file of that day
// folder. With `listed`, a file whose time or size differs is left alone
// (Changed): it has been written again since it was listed.
DeleteResult DeleteArchiveFile(std::string_view root, std::string_view dayFolder,
                               std::string_view diskName,
                               const std::optional<ListedFile>& listed = std::nullopt);

// Removes root/dayFolder when it is an empty real folder; a link of that name
// is never followed nor removed.
DeleteResult RemoveEmptyDayFolder(std::string_view root, std::string_view dayFolder);

} // namespace varnot
