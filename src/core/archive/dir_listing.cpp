#include "core/archive/dir_listing.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "core/text/latin_case.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

// Could the entry be a regular file? Only those are looked at more closely.
bool MayBeRegular(const dirent& entry) {
    return entry.d_type == DT_REG || entry.d_type == DT_UNKNOWN;
}

} // namespace

int32_t ClampFileSize(long long size) {
    if (size < 0) return 0;
    if (size > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(size);
}

FolderListing ListMessageFiles(const std::string& folder, FoundFileVisitor visit, void* context) {
    FolderListing result;
    // A trailing "/" would make the open follow a link named as the folder.
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty()) return result;

    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return result;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return result;
    }
    result.opened = true;

    char upper[sizeof(dirent::d_name) + 1];
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) break;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        ++result.entries;

        if (name[0] == '.' || !MayBeRegular(*entry)) continue;
        std::size_t length = std::strlen(name);
        if (length >= sizeof(upper) || !IsArchiveFileName(std::string_view(name, length))) continue;

        struct stat st {};
        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue; // gone meanwhile
        if (!S_ISREG(st.st_mode)) continue;

        std::memcpy(upper, name, length);
        upper[length] = '\0';
        UpcaseLatinInPlace(upper, length);

        FoundFile file;
        file.diskName = std::string_view(name, length);
        file.name = std::string_view(upper, length);
        file.size = ClampFileSize(st.st_size);
        file.time = DosTimeFromUnix(st.st_mtim.tv_sec);
        ++result.files;
        if (!visit(context, file)) {
            result.stopped = true;
            break;
        }
    }
    closedir(dir); // closes fd as well
    return result;
}

} // namespace varnot
