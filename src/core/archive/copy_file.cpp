#include "core/archive/copy_file.h"

#include "core/archive/dir_listing.h"
#include "core/archive/dos_time.h"

#include <atomic>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace varnot {

namespace {

constexpr std::size_t CopyBufferSize = 32000;

class FileHandle {
  public:
    explicit FileHandle(int fd = -1) : fd_(fd) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // False (errno set) when the kernel reports a late write error.
    bool Close() {
        if (fd_ < 0) return true;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

  private:
    int fd_;
};

TransferResult Result(CopyResult result, int error = 0) {
    TransferResult transfer;
    transfer.result = result;
    transfer.error = error;
    return transfer;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyContents(int from, int to) {
    std::vector<char> buffer(CopyBufferSize);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(got))) return false;
    }
}

// The source opened for reading: a link is refused, and a FIFO never blocks
// the open. Fills `from` and the result's time and size.
FileHandle OpenSource(int folder, const std::string& name, struct stat& from,
                      TransferResult& failure) {
    FileHandle in(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!in.IsOpen()) {
        failure = Result(CopyResult::SourceUnavailable, errno);
        return in;
    }
    if (::fstat(in.Get(), &from) != 0) {
        failure = Result(CopyResult::SourceUnavailable, errno);
        return FileHandle();
    }
    if (!S_ISREG(from.st_mode)) {
        failure = Result(CopyResult::SourceUnavailable);
        return FileHandle();
    }
    const int flags = ::fcntl(in.Get(), F_GETFL);
    if (flags >= 0) ::fcntl(in.Get(), F_SETFL, flags & ~O_NONBLOCK);
    return in;
}

// The destination may be the source under another path: the message's own
// folder, a link to that folder, or a hard link. Writing it would destroy the
// very file being read. Anything but a regular file of that name is left alone.
bool DestinationRefused(int folder, const std::string& name, const struct stat& from,
                        TransferResult& refusal) {
    struct stat to {};
    if (::fstatat(folder, name.c_str(), &to, 0) == 0 && to.st_dev == from.st_dev &&
        to.st_ino == from.st_ino) {
        refusal = Result(CopyResult::SameFile);
        return true;
    }
    if (::fstatat(folder, name.c_str(), &to, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(to.st_mode)) {
        refusal = Result(CopyResult::DestinationUnavailable);
        return true;
    }
    return false;
}

// A new hidden file in the folder (the scanner never lists hidden files).
FileHandle CreateTemporary(int folder, std::string& name) {
    static std::atomic<unsigned> counter{0};
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long long seed = static_cast<unsigned long long>(::getpid()) * 7919ULL +
                                  static_cast<unsigned long long>(std::time(nullptr)) * 104729ULL +
                                  counter.fetch_add(1) * 2654435761ULL;
        name = ".varnot-copy-";
        for (int i = 0; i < 8; ++i) {
            name += Letters[seed % (sizeof(Letters) - 1)];
            seed /= sizeof(Letters) - 1;
        }
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return FileHandle(fd);
    }
    errno = EEXIST;
    return FileHandle();
}

void NoteSource(TransferResult& result, const struct stat& from) {
    result.time = DosTimeFromUnix(from.st_mtim.tv_sec);
    result.size = ClampFileSize(from.st_size);
}

} // namespace

TransferResult CopyMessageFileAt(int sourceFolder, std::string_view sourceName,
                                 int destinationFolder, std::string_view destinationName) {
    const std::string source(sourceName);
    const std::string destination(destinationName);
    struct stat from {};
    TransferResult failure;
    const FileHandle in = OpenSource(sourceFolder, source, from, failure);
    if (!in.IsOpen()) return failure;
    if (DestinationRefused(destinationFolder, destination, from, failure)) return failure;

    std::string temporary;
    FileHandle out = CreateTemporary(destinationFolder, temporary);
    if (!out.IsOpen()) return Result(CopyResult::DestinationUnavailable, errno);

    const struct timespec times[2] = {from.st_atim, from.st_mtim};
    // Flushed before the rename: once the name shows, the whole file is on disk.
    bool ok = CopyContents(in.Get(), out.Get()) && ::fchmod(out.Get(), from.st_mode & 07777) == 0 &&
              ::futimens(out.Get(), times) == 0 && ::fsync(out.Get()) == 0;
    int error = ok ? 0 : errno;
    if (!out.Close() && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::renameat(destinationFolder, temporary.c_str(), destinationFolder,
                         destination.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlinkat(destinationFolder, temporary.c_str(), 0);
        return Result(CopyResult::WriteFailed, error);
    }
    // The new name itself must reach the disk before anyone relies on the copy.
    if (::fsync(destinationFolder) != 0) return Result(CopyResult::WriteFailed, errno);
    TransferResult done = Result(CopyResult::Copied);
    NoteSource(done, from);
    return done;
}

TransferResult CopyMessageFile(const std::string& source, const std::string& destination) {
    const FileHandle sourceFolder(
        ::open(FolderOf(source).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!sourceFolder.IsOpen()) return Result(CopyResult::SourceUnavailable, errno);
    const FileHandle destinationFolder(
        ::open(FolderOf(destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!destinationFolder.IsOpen()) return Result(CopyResult::DestinationUnavailable, errno);
    return CopyMessageFileAt(sourceFolder.Get(), NameOf(source), destinationFolder.Get(),
                             NameOf(destination));
}

TransferResult RenameMessageFileAt(int sourceFolder, std::string_view sourceName,
                                   int destinationFolder, std::string_view destinationName) {
    const std::string source(sourceName);
    const std::string destination(destinationName);
    struct stat from {};
    TransferResult failure;
    const FileHandle in = OpenSource(sourceFolder, source, from, failure);
    if (!in.IsOpen()) return failure;
    if (DestinationRefused(destinationFolder, destination, from, failure)) return failure;
    struct stat folder {};
    if (::fstat(destinationFolder, &folder) != 0)
        return Result(CopyResult::DestinationUnavailable, errno);
    if (folder.st_dev != from.st_dev) return Result(CopyResult::DestinationUnavailable, EXDEV);

    // The receiving program need not have flushed the message: it reaches
    // the disk before its name leaves the archive.
    if (::fsync(in.Get()) != 0) return Result(CopyResult::WriteFailed, errno);
    if (::renameat(sourceFolder, source.c_str(), destinationFolder, destination.c_str()) != 0) {
        const int error = errno;
        return Result(error == EXDEV ? CopyResult::DestinationUnavailable : CopyResult::WriteFailed,
                      error);
    }
    // The file is moved; flushing both folders makes that last.
    ::fsync(destinationFolder);
    ::fsync(sourceFolder);
    TransferResult done = Result(CopyResult::Copied);
    NoteSource(done, from);
    return done;
}

} // namespace varnot
