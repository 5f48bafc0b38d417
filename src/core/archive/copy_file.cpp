#include "core/archive/copy_file.h"

#include <cerrno>
#include <cstdio>
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
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // False when the kernel reports a late write error.
    bool Close() {
        if (fd_ < 0) return true;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

  private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
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

} // namespace

CopyResult CopyMessageFile(const std::string& source, const std::string& destination) {
    // O_NONBLOCK keeps a FIFO from blocking the open; O_NOFOLLOW refuses a link.
    FileHandle in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!in.IsOpen()) return CopyResult::SourceUnavailable;
    struct stat from {};
    if (::fstat(in.Get(), &from) != 0 || !S_ISREG(from.st_mode))
        return CopyResult::SourceUnavailable;
    const int flags = ::fcntl(in.Get(), F_GETFL);
    if (flags >= 0) ::fcntl(in.Get(), F_SETFL, flags & ~O_NONBLOCK);

    // The destination may be the source under another path: the message's own
    // folder, a link to that folder, or a hard link. Writing it would destroy
    // the very file being read.
    struct stat to {};
    if (::stat(destination.c_str(), &to) == 0 && to.st_dev == from.st_dev &&
        to.st_ino == from.st_ino)
        return CopyResult::SameFile;
    if (::lstat(destination.c_str(), &to) == 0 && !S_ISREG(to.st_mode))
        return CopyResult::DestinationUnavailable;

    std::string temporary = FolderOf(destination) + ".varnot-copy-XXXXXX";
    FileHandle out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!out.IsOpen()) return CopyResult::DestinationUnavailable;

    const struct timespec times[2] = {from.st_atim, from.st_mtim};
    const bool written = CopyContents(in.Get(), out.Get()) &&
                         ::fchmod(out.Get(), from.st_mode & 07777) == 0 &&
                         ::futimens(out.Get(), times) == 0;
    const bool closed = out.Close();
    if (!written || !closed || ::rename(temporary.c_str(), destination.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return CopyResult::WriteFailed;
    }
    return CopyResult::Copied;
}

} // namespace varnot
