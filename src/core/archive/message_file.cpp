#include "core/archive/message_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

std::atomic<long> openCount{0};

} // namespace

long MessageFile::OpenCount() {
    return openCount.load(std::memory_order_relaxed);
}

MessageFile::MessageFile(const std::string& path) {
    openCount.fetch_add(1, std::memory_order_relaxed);
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        error_ = errno;
        close(fd);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        return;
    }
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

long MessageFile::ReadFull(void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
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
