#include "core/app/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

constexpr std::string_view TemporarySuffix = ".tmp";

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool HasNoWriteBits(const struct stat& st) {
    return (st.st_mode & 0222) == 0;
}

// The process id of a temporary name of `fileName`, or 0 when the name is not one.
pid_t TemporaryOwner(std::string_view entry, std::string_view fileName) {
    if (entry.size() < 1 + fileName.size() + 1 || entry.front() != '.' ||
        entry.substr(1, fileName.size()) != fileName || entry[1 + fileName.size()] != '.')
        return 0;
    std::string_view rest = entry.substr(fileName.size() + 2);
    if (rest.size() <= TemporarySuffix.size() ||
        rest.substr(rest.size() - TemporarySuffix.size()) != TemporarySuffix)
        return 0;
    rest.remove_suffix(TemporarySuffix.size());
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == rest.size()) return 0;
    long long pid = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (i == dot) continue;
        if (c < '0' || c > '9') return 0;
        if (i < dot) {
            pid = pid * 10 + (c - '0');
            if (pid > INT_MAX) return 0;
        }
    }
    return static_cast<pid_t>(pid);
}

bool ProcessIsAlive(pid_t pid) {
    // EPERM: it exists, it only belongs to someone else.
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return false;

    // Replace the file a link points to, not the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) return false;
        target = resolved;
        std::free(resolved);
    }

    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (!S_ISREG(st.st_mode)) return false;
        if (HasNoWriteBits(st) || ::access(target.c_str(), W_OK) != 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }

    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string baseName = slash == std::string::npos ? target : target.substr(slash + 1);
    if (baseName.empty()) return false;
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode) ||
        HasNoWriteBits(folderStat))
        return false;

    static std::atomic<unsigned> counter{0};
    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = (slash == std::string::npos ? std::string() : folder) + "." + baseName + "." +
                   std::to_string(::getpid()) + "." + std::to_string(counter++) +
                   std::string(TemporarySuffix);
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = true;
    if (exists) ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }

    // Make the rename itself durable; failure here leaves a complete file either way.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

int RemoveStaleTemporaryFiles(const std::string& folder,
                              const std::vector<std::string>& fileNames) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        pid_t owner = 0;
        for (const std::string& fileName : fileNames) {
            owner = TemporaryOwner(name, fileName);
            if (owner > 0) break;
        }
        if (owner <= 0 || ProcessIsAlive(owner)) continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::unlinkat(fd, entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir); // closes fd as well
    return removed;
}

} // namespace varnot
