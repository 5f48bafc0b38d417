#include "core/archive/sectioned_file.h"

#include "core/app/section_line.h"
#include "core/archive/message_file.h"
#include "core/archive/message_text.h"
#include "core/text/latin_case.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

// Values: a "[" opens a section, as in the settings file.
constexpr SectionSyntax ValueSyntax{TrimSet::Controls, TrimSet::Controls, ";", HeaderForm::Opening};
// Sections kept for display: any line but a whole "[...]" is text.
constexpr SectionSyntax BodySyntax{TrimSet::Controls, TrimSet::Controls, "", HeaderForm::Enclosed};

// Takes the lines of a file, in order, into the keys still missing.
class KeyCollector {
  public:
    explicit KeyCollector(std::span<SectionedKey> keys) : keys_(keys) {
        for (const SectionedKey& k : keys_)
            if (!k.found) ++missing_;
    }

    bool Done() const { return missing_ == 0; }
    // Some line taken held a visible character.
    bool SawText() const { return sawText_; }

    void Take(std::string_view text) {
        const SectionLine line = ParseSectionLine(text, ValueSyntax);
        if (line.kind != SectionLineKind::Blank) sawText_ = true;
        if (line.kind == SectionLineKind::Section) {
            section_ = line.name;
            return;
        }
        if (line.kind != SectionLineKind::Key) return;
        for (SectionedKey& k : keys_) {
            if (k.found || !SameLatinText(k.section, section_) || !SameLatinText(k.key, line.name))
                continue;
            k.value = SectionValue(text, line, ValueSyntax);
            k.found = true;
            --missing_;
        }
    }

  private:
    std::span<SectionedKey> keys_;
    std::size_t missing_ = 0;
    std::string section_;
    bool sawText_ = false;
};

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

// Reads the leading digits of a fixed-width field; false unless all are digits.
bool FieldValue(std::string_view text, std::size_t at, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + 2; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// The value padded in front with "0" to `width` characters; only the first
// `width` characters of a longer value count.
std::string PadFront(std::string_view text, std::size_t width) {
    if (text.size() >= width) return std::string(text.substr(0, width));
    return std::string(width - text.size(), '0') + std::string(text);
}

} // namespace

bool ReadSectionedValues(const std::string& path, std::span<SectionedKey> keys, bool* hasText) {
    if (hasText) *hasText = false;
    MessageFile file(path);
    if (!file.IsOpen()) return false;
    KeyCollector collector(keys);
    LineReader reader(file);
    std::string line;
    while (!collector.Done() && reader.Next(line, kMaxSectionedLine)) collector.Take(line);
    if (hasText) *hasText = collector.SawText();
    return true;
}

ZevDateTime ReadZevDateTime(const std::string& path) {
    SectionedKey keys[] = {{"datetime", "Date", {}, false}, {"datetime", "Time", {}, false}};
    const std::string bytes = ReadStart(path, ViewBuffer::kMaxBytes);
    const std::string_view text(bytes.data(), std::min(bytes.size(), bytes.find('\0')));
    KeyCollector collector(keys);
    std::size_t start = 0;
    while (!collector.Done() && start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        collector.Take(text.substr(start, end - start));
        start = end + 1;
    }
    return ZevDateTime{std::move(keys[0].value), std::move(keys[1].value)};
}

std::string ZevTimeText(std::string_view date, std::string_view time) {
    return FormatDateTime(ParseZevTime(time), "hh:nn  ") +
           FormatDateTime(ParseZevDate(date), "dd.mm");
}

void KeepSection(std::vector<std::string>& lines, std::string_view name) {
    bool inside = false;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SectionLine line = ParseSectionLine(lines[i], BodySyntax);
        if (line.kind == SectionLineKind::Section) {
            inside = SameLatinText(line.name, name);
            continue;
        }
        if (!inside) continue;
        if (kept != i) lines[kept] = std::move(lines[i]);
        ++kept;
    }
    lines.resize(kept);
}

DateTime ParseZevDate(std::string_view text, const DateTime& now) {
    std::string s = PadFront(text, 6);
    int yy = 0, month = 0, day = 0;
    if (!FieldValue(s, 0, yy) || !FieldValue(s, 2, month) || !FieldValue(s, 4, day)) return now;
    int year = yy >= 90 ? 1900 + yy : 2000 + yy;
    if (!IsValidDate(year, month, day)) return now;
    return DateTime{year, month, day, 0, 0, 0};
}

DateTime ParseZevDate(std::string_view text) {
    return ParseZevDate(text, Now());
}

DateTime ParseZevTime(std::string_view text, const DateTime& now) {
    std::string s = PadFront(text, 4);
    int hour = 0, minute = 0;
    if (!FieldValue(s, 0, hour) || !FieldValue(s, 2, minute)) return now;
    if (hour > 23 || minute > 59) return now;
    DateTime t;
    t.hour = hour;
    t.minute = minute;
    t.second = 0;
    return t;
}

DateTime ParseZevTime(std::string_view text) {
    return ParseZevTime(text, Now());
}

} // namespace varnot
