#include "core/archive/message_text.h"

#include "core/archive/code_pages.h"
#include "core/archive/message_file.h"
#include "core/archive/sectioned_file.h"
#include "core/filters/keyword_scanner.h"

#include <cstring>

namespace varnot {

namespace {

std::string_view FileNamePartOf(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
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

ViewBuffer::ViewBuffer()
    : data_(
          static_cast<unsigned char*>(::operator new[](kCapacity, std::align_val_t{kAlignment}))) {
    std::memset(data_.get(), 0, kCapacity);
}

std::string_view ViewBuffer::Bytes() const {
    return {reinterpret_cast<const char*>(data_.get()), length_};
}

std::string_view ViewBuffer::Text() const {
    const char* text = reinterpret_cast<const char*>(data_.get());
    return {text, strnlen(text, length_)};
}

void ViewBuffer::SetLength(std::size_t length) {
    length_ = length < kMaxBytes ? length : kMaxBytes;
    data_[length_] = 0;
}

TextLoadResult LoadTextBuffer(const std::string& path, const ArchiveOptions& options,
                              ViewBuffer& buffer) {
    TextLoadResult result;
    MessageFile file(path);
    if (!file.IsOpen()) {
        result.error = file.Error();
        return result;
    }
    // The size known from opening: a file of any size up to the limit is
    // read with one call, and the end need not be asked for again.
    const std::size_t wanted = file.Size() < static_cast<long long>(ViewBuffer::kMaxBytes)
                                   ? static_cast<std::size_t>(file.Size())
                                   : ViewBuffer::kMaxBytes;
    long got = file.ReadFull(buffer.Data(), wanted);
    if (got < 0) {
        buffer.Clear(); // part of it may have been overwritten
        result.error = file.Error();
        return result;
    }
    std::size_t n = static_cast<std::size_t>(got);
    if (options.inDos) OemToAnsiInPlace(buffer.Data(), n);
    buffer.SetLength(n);
    result.ok = true;
    result.bytes = n;
    return result;
}

std::string LoadHead(const std::string& path, const ArchiveOptions& options) {
    if (options.inZev) {
        SectionedKey head{"head", "head", {}, false};
        bool hasText = false;
        // A file without a visible character is blank, whatever its format.
        if (ReadSectionedValues(path, std::span<SectionedKey>(&head, 1), &hasText) && hasText)
            return head.value;
        return std::string(FileNamePartOf(path));
    }

    std::string brief;
    {
        MessageFile file(path);
        if (file.IsOpen()) {
            LineReader reader(file);
            while (reader.Next(brief, kMaxBriefLength, true) && brief.empty()) {
            }
        }
    }
    // The brief is kept as NUL-terminated text.
    std::size_t nul = brief.find('\0');
    if (nul != std::string::npos) brief.resize(nul);
    if (brief.empty()) return std::string(FileNamePartOf(path));
    if (options.inDos) OemToAnsiInPlace(brief);
    return brief;
}

bool IsTextMessage(std::string_view path) {
    std::string_view name = FileNamePartOf(path);
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    return Upcase1251(name.substr(dot)) == ".TXT";
}

bool ScanKeywordsPlain(const unsigned char* buffer, std::size_t length,
                       const std::vector<std::string>& upperKeywords) {
    for (std::size_t p = 0; p < length; ++p) {
        for (const std::string& keyword : upperKeywords) {
            if (keyword.empty()) continue;
            std::size_t i = 0;
            for (; i < keyword.size(); ++i) {
                std::size_t at = p + i;
                unsigned char byte = at < length ? UpcaseTable[buffer[at]] : 0;
                if (byte != static_cast<unsigned char>(keyword[i])) break;
            }
            if (i == keyword.size()) return true;
        }
    }
    return false;
}

bool ScanKeywords(const unsigned char* buffer, std::size_t length,
                  const std::vector<std::string>& upperKeywords) {
    return KeywordScanner(upperKeywords).Scan(buffer, length);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\r' && text[i] != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = ++i;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

void KeepSection(std::vector<std::string>& lines, std::string_view name) {
    bool inside = false;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view text = TrimControls(lines[i]);
        if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
            inside = SameLatinText(TrimControls(text.substr(1, text.size() - 2)), name);
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
