#include "core/archive/message_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace varnot {

namespace {

std::atomic<long> openCount{0};
// Whether a read that may not wait works here; cleared the first time the
// kernel or file system refuses one.
std::atomic<bool> readsCanTell{true};

// A descriptor of a regular file opened for reading, or -1: no symbolic link
// is followed and no FIFO is waited on.
int OpenRegularFile(const std::string& path, int& error, struct stat& st) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (fstat(fd, &st) != 0) {
        error = errno;
        close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void AdviseWillRead(const std::string& path, std::size_t bytes) {
    int error = 0;
    struct stat st {};
    const int fd = OpenRegularFile(path, error, st);
    if (fd < 0) return;
    posix_fadvise(fd, 0, static_cast<off_t>(bytes), POSIX_FADV_WILLNEED);
    close(fd);
}

long MessageFile::OpenCount() {
    return openCount.load(std::memory_order_relaxed);
}

MessageFile::MessageFile(const std::string& path) {
    openCount.fetch_add(1, std::memory_order_relaxed);
    struct stat st {};
    const int fd = OpenRegularFile(path, error_, st);
    if (fd < 0) return;
    fd_ = fd;
    size_ = st.st_size > 0 ? static_cast<long long>(st.st_size) : 0;
    modified_ = st.st_mtime;
}

MessageFile::~MessageFile() {
    if (fd_ >= 0) close(fd_);
}

long MessageFile::Read(void* buffer, std::size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        ssize_t got = read(fd_, buffer, size);
        if (got >= 0) return static_cast<long>(got);
        if (errno == EINTR) continue;
        error_ = errno;
        return -1;
    }
}

long MessageFile::ReadFull(void* buffer, std::size_t size, bool* waitedForDisk) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
    if (waitedForDisk != nullptr) *waitedForDisk = false;
    if (waitedForDisk != nullptr && fd_ >= 0 && size > 0 &&
        readsCanTell.load(std::memory_order_relaxed)) {
        // A first read that may not wait says whether the text is in memory;
        // where the file system cannot tell, the plain reads below do the work.
        iovec part{bytes, size};
        ssize_t got;
        do {
            got = preadv2(fd_, &part, 1, -1, RWF_NOWAIT);
        } while (got < 0 && errno == EINTR);
        if (got > 0) total = static_cast<std::size_t>(got);
        if (got == 0) return 0;
        if (got < 0 && errno == EAGAIN) *waitedForDisk = true;
        // A file system that cannot tell is not asked again.
        if (got < 0 && (errno == EOPNOTSUPP || errno == EINVAL))
            readsCanTell.store(false, std::memory_order_relaxed);
    }
    while (total < size) {
        long got = Read(bytes + total, size - total);
        if (got < 0) return -1;
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<long>(total);
}

bool LineReader::Fill() {
    if (atEnd_) return false;
    long got = file_.Read(buffer_, sizeof(buffer_));
    if (got <= 0) {
        atEnd_ = true;
        return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(got);
    return true;
}

bool LineReader::Next(std::string& line, std::size_t maxLength, bool skipLeadingBlanks) {
    line.clear();
    bool skipping = cut_; // the tail of a line that was cut off is not a line of its own
    cut_ = false;
    bool any = false; // something of a line was seen (even an empty line)
    bool leading = skipLeadingBlanks;
    for (;;) {
        if (pos_ == end_ && !Fill()) return any;
        char c = buffer_[pos_++];
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n') continue;
        }
        if (c == '\n' || c == '\r') {
            afterCr_ = c == '\r';
            if (skipping) {
                skipping = false;
                continue;
            }
            return true;
        }
        if (skipping) continue;
        any = true;
        if (leading && static_cast<unsigned char>(c) <= 32) continue;
        leading = false;
        line.push_back(c);
        if (line.size() >= maxLength) {
            // Stop here: a caller that wants only this line never reads the rest.
            cut_ = true;
            return true;
        }
    }
}

} // namespace varnot
