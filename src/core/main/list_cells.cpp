#include "core/main/list_cells.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "core/archive/message_text.h"

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// The start of a regular file, at most `limit` bytes; empty for anything else
// (a FIFO is never opened for reading, so it cannot block the window).
std::string ReadStart(const std::string& path, std::size_t limit) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, limit - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

} // namespace

ListCellStyle CellStyleOf(std::uint16_t flags, int column) {
    ListCellStyle style;
    style.bold = column == TimeColumn || (flags & TFileInfo::Read) == 0;
    style.red = column != TimeColumn && (flags & TFileInfo::Selected) != 0;
    return style;
}

int CellTextLeft(int column, int cellHeight) {
    const int d = cellHeight / 8;
    return column == BriefColumn ? 2 * d : d;
}

int CellTextTop(int cellHeight) {
    return cellHeight / 8;
}

ZevDateTime ReadZevDateTime(const std::string& path) {
    ZevDateTime values;
    const std::string bytes = ReadStart(path, ViewBuffer::kMaxBytes);
    // The text ends at its first NUL, as everywhere a message is read.
    const std::string_view text(bytes.data(), std::min(bytes.size(), bytes.find('\0')));
    bool inSection = false;
    bool haveDate = false, haveTime = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameWord(Trim(line.substr(1, close - 1)), "datetime");
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        // Of duplicate keys the first counts, as in the settings file.
        if (!haveDate && SameWord(key, "Date")) {
            values.date = value;
            haveDate = true;
        } else if (!haveTime && SameWord(key, "Time")) {
            values.time = value;
            haveTime = true;
        }
    }
    return values;
}

std::string ZevTimeText(std::string_view date, std::string_view time) {
    return FormatDateTime(ParseZevTime(time), "hh:nn  ") +
           FormatDateTime(ParseZevDate(date), "dd.mm");
}

std::string ListTimeText(const TFileInfo& record, const ArchiveOptions& options) {
    if (!options.inZev) return FormatDosTime(record.Time, "hh:nn  dd.mm");
    const ZevDateTime values = ReadZevDateTime(DiskPath(options.root, record));
    return ZevTimeText(values.date, values.time);
}

} // namespace varnot
