#include "core/archive/marks_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/app/atomic_file.h"
#include "core/text/separator.h"
#include "core/text/trim.h"

namespace varnot {

namespace {

// The integer conversion of stored numbers: leading blanks and a sign, then
// the leading digits (none gives 0). No value when the number leaves the
// 64-bit range the caller then checks against.
std::optional<std::int64_t> LeadingInteger(std::string_view text) {
    text = TrimFront(text, TrimSet::Blanks);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > (std::int64_t{1} << 40)) return std::nullopt;
    }
    return negative ? -value : value;
}

// One line into the record; false when it cannot be a marks line.
bool ParseMarksLine(std::string_view line, TSeparator& fields, TFileInfo& record) {
    fields.Split(line, ',');
    if (fields.Count() < 3) return false;
    const auto flags = LeadingInteger(fields.Field(1));
    const auto time = LeadingInteger(fields.Field(2));
    if (!flags || *flags < 0 || *flags > UINT16_MAX) return false;
    if (!time || *time < INT32_MIN || *time > INT32_MAX) return false;
    if (!record.SetStoredName(fields.Field(0))) return false;
    record.Head.reset();
    record.Flags = static_cast<std::uint16_t>(*flags);
    record.Time = static_cast<std::int32_t>(*time);
    record.Size = 0;
    record.MatchIndex = -1;
    return true;
}

} // namespace

bool SaveMarks(const CList& list, const std::string& path) {
    std::string text;
    for (int position = 0; position < list.Used; ++position) {
        const TFileInfo& record = list.RecordAt(position);
        // A name the loader would split differently (a comma, a line end)
        // would bring back a wrong record: such a record is not written.
        if (!IsArchiveName(record.Name())) continue;
        text += record.Name();
        text += ',' + std::to_string(record.Flags) + ',' + std::to_string(record.Time) + ',' +
                std::to_string(record.Size) + "\r\n";
    }
    return ReplaceFileAtomically(path, text);
}

int LoadMarks(CList& list, const std::string& path) {
    list.Used = 0;
    // O_NONBLOCK: a FIFO put in place of the file must not hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return 0;
    }

    TSeparator fields;
    std::string line;
    bool overlong = false;
    bool done = false;
    // Returns false when the line ends the reading.
    auto takeLine = [&]() {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (overlong || line.size() > MaxMarksLineLength) return true;
        if (line.empty()) return false;
        if (ParseMarksLine(line, fields, list.RecordAt(list.Used))) ++list.Used;
        return list.Used < list.Capacity();
    };

    std::vector<char> buffer(65536);
    while (!done) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0 && (!line.empty() || overlong)) takeLine();
            break;
        }
        for (ssize_t i = 0; i < got && !done; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            if (c == '\n') {
                done = !takeLine();
                line.clear();
                overlong = false;
            } else if (!overlong) {
                // One byte more than the limit: the CR of a CR LF is no part of the line.
                if (line.size() > MaxMarksLineLength) {
                    overlong = true;
                    line.clear();
                } else {
                    line.push_back(c);
                }
            }
        }
    }
    ::close(fd);
    // Records past Used may hold half-parsed names of rejected lines.
    for (int position = list.Used; position < list.Capacity(); ++position)
        list.RecordAt(position).Clear();
    return list.Used;
}

} // namespace varnot
