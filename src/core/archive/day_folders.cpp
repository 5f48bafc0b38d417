#include "core/archive/day_folders.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int TwoDigits(std::string_view s, std::size_t at) {
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// A directory entry that is a folder itself, not a link to one.
bool IsRealFolder(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN) return false;
    struct stat st {};
    if (fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    return S_ISDIR(st.st_mode);
}

} // namespace

bool IsDayName(std::string& name) {
    if (name.size() != 8) return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!IsDigit(name[i])) return false;
    if (name[2] != '_' || name[5] != '_') return false;
    int yy = TwoDigits(name, 0);
    int year = yy < 95 ? 2000 + yy : 1900 + yy;
    if (!IsValidDate(year, TwoDigits(name, 3), TwoDigits(name, 6))) return false;
    name.insert(0, year >= 2000 ? "20" : "19");
    return true;
}

bool ParseDayName(std::string_view s, DateTime* out) {
    if (s.size() != 10) return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (!IsDigit(s[i])) return false;
    if (s[4] != '_' || s[7] != '_') return false;
    int year = TwoDigits(s, 0) * 100 + TwoDigits(s, 2);
    int month = TwoDigits(s, 5);
    int day = TwoDigits(s, 8);
    if (!IsValidDate(year, month, day)) return false;
    if (out) *out = DateTime{year, month, day, 0, 0, 0};
    return true;
}

std::string DayFolderOf(std::string_view dayName) {
    return std::string(dayName.size() > 2 ? dayName.substr(2, 8) : std::string_view{});
}

std::string DayNameOf(const DateTime& date) {
    return FormatDateTime(date, "yyyy_mm_dd");
}

std::string DayFolderNameOf(const DateTime& date) {
    return FormatDateTime(date, "yy_mm_dd");
}

std::vector<std::string> LoadDateList(const std::string& root) {
    std::vector<std::string> dates;
    DIR* dir = opendir(root.empty() ? "/" : root.c_str());
    if (!dir) return dates;
    int fd = dirfd(dir);
    std::string name;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) break; // the end, or the root went away: what was read counts
        name = entry->d_name;
        if (name.size() != 8 || !IsDayName(name)) continue;
        if (!IsRealFolder(fd, *entry)) continue;
        dates.push_back(name);
    }
    closedir(dir);
    std::sort(dates.begin(), dates.end());
    return dates;
}

std::vector<std::string> DateComboItems(const std::vector<std::string>& dates) {
    std::vector<std::string> items;
    items.reserve(dates.size());
    for (auto it = dates.rbegin(); it != dates.rend(); ++it) {
        DateTime date;
        if (ParseDayName(*it, &date)) items.push_back(FormatDateTime(date, "dd.mm.yyyy"));
    }
    return items;
}

std::string DayFolderPath(std::string_view root, std::string_view dayName) {
    std::string path(root);
    path += DayFolderOf(dayName);
    path += '/';
    return path;
}

std::string TodayFolderName() {
    return DayFolderNameOf(Now());
}

std::string TodayFolderPath(std::string_view root) {
    std::string path(root);
    path += TodayFolderName();
    return path;
}

} // namespace varnot
