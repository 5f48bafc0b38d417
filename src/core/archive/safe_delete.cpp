#include "core/archive/safe_delete.h"

#include "core/archive/dir_listing.h"
#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }

  private:
    int fd_;
};

// One entry of a folder: never empty, no "/", not "." or "..".
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

DeleteResult Outcome(DeleteOutcome outcome, int error = 0) {
    return DeleteResult{outcome, error};
}

DeleteResult FromErrno(int error) {
    if (error == ENOENT) return Outcome(DeleteOutcome::Missing, error);
    // ELOOP: O_NOFOLLOW met a link; ENOTDIR: something other than a folder.
    if (error == ELOOP || error == ENOTDIR) return Outcome(DeleteOutcome::NotAFile, error);
    return Outcome(DeleteOutcome::Failed, error);
}

int OpenRoot(std::string_view root) {
    const std::string path = root.empty() ? std::string("/") : std::string(root);
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

ArchiveDayFolder::ArchiveDayFolder(std::string_view root, std::string_view dayFolder) {
    if (!IsDayFolderShape(dayFolder)) {
        failure_ = Outcome(DeleteOutcome::Refused);
        return;
    }
    const Descriptor rootFd(OpenRoot(root));
    if (!rootFd.IsOpen()) {
        failure_ = FromErrno(errno);
        return;
    }
    const std::string day(dayFolder);
    fd_ = ::openat(rootFd.Get(), day.c_str(), O_RDONLY | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) failure_ = FromErrno(errno);
}

ArchiveDayFolder::~ArchiveDayFolder() {
    if (fd_ >= 0) ::close(fd_);
}

DeleteResult DeleteFileIn(const ArchiveDayFolder& folder, std::string_view diskName,
                          const std::optional<ListedFile>& listed) {
    if (!IsPlainName(diskName)) return Outcome(DeleteOutcome::Refused);
    if (!folder.IsOpen()) return folder.Failure();
    const std::string name(diskName);
    struct stat st {};
    if (::fstatat(folder.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return FromErrno(errno);
    if (!S_ISREG(st.st_mode)) return Outcome(DeleteOutcome::NotAFile);
    if (listed && (DosTimeFromUnix(st.st_mtim.tv_sec) != listed->time ||
                   ClampFileSize(st.st_size) != listed->size))
        return Outcome(DeleteOutcome::Changed);
    // Should the name be swapped for something else right now, unlinkat still
    // removes only that entry of this folder, never what it points to.
    if (::unlinkat(folder.Fd(), name.c_str(), 0) != 0) return FromErrno(errno);
    return Outcome(DeleteOutcome::Deleted);
}

DeleteResult DeleteArchiveFile(std::string_view root, std::string_view dayFolder,
                               std::string_view diskName, const std::optional<ListedFile>& listed) {
    if (!IsDayFolderShape(dayFolder) || !IsPlainName(diskName))
        return Outcome(DeleteOutcome::Refused);
    const ArchiveDayFolder folder(root, dayFolder);
    return DeleteFileIn(folder, diskName, listed);
}

DeleteResult RemoveEmptyDayFolder(std::string_view root, std::string_view dayFolder) {
    if (!IsDayFolderShape(dayFolder)) return Outcome(DeleteOutcome::Refused);
    const Descriptor rootFd(OpenRoot(root));
    if (!rootFd.IsOpen()) return FromErrno(errno);
    const std::string day(dayFolder);
    // AT_REMOVEDIR refuses a link (ENOTDIR) and a folder with anything in it.
    if (::unlinkat(rootFd.Get(), day.c_str(), AT_REMOVEDIR) != 0) return FromErrno(errno);
    return Outcome(DeleteOutcome::Deleted);
}

} // namespace varnot
