// The marks file: any bytes load as valid records only, at most the list's
// capacity of them, each as a plain reading of the format gives it; what was
// loaded saves and loads again unchanged.
#include "core/archive/c_list.h"
#include "core/archive/marks_file.h"
#include "fuzz_input.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using varnot::CList;
using varnot::fuzzing::FuzzInput;

struct Mark {
    std::string name;
    std::uint16_t flags = 0;
    std::int32_t time = 0;
    bool operator==(const Mark&) const = default;
};

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

// "yy_mm_dd\NAME": a day folder by shape, a backslash, and a file name of
// 1..255 bytes without separators, commas or control bytes.
bool ArchiveForm(std::string_view name) {
    if (name.size() < 10) return false;
    for (std::size_t i = 0; i < 8; ++i)
        if (i == 2 || i == 5 ? name[i] != '_' : !Digit(name[i])) return false;
    if (name[8] != '\\') return false;
    const std::string_view file = name.substr(9);
    if (file.size() > 255 || file == "." || file == "..") return false;
    for (const char c : file) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ',' || u < 32 || u == 127) return false;
    }
    return true;
}

// Blanks, a sign and the leading digits; nothing when far out of range.
std::optional<long long> LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && Digit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 99'999'999'999LL) return std::nullopt;
    }
    return negative ? -value : value;
}

// The fields of a line: the non-empty runs between commas, at most fifteen.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (!line.empty() && fields.size() < 15) {
        const std::size_t comma = line.find(',');
        const std::string_view field = line.substr(0, comma);
        if (!field.empty()) fields.push_back(field);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

std::vector<Mark> PlainLoad(std::string_view bytes, int capacity) {
    std::vector<Mark> marks;
    while (!bytes.empty() && static_cast<int>(marks.size()) < capacity) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > varnot::MaxMarksLineLength) continue;
        if (line.empty()) break;
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() < 3 || !ArchiveForm(fields[0])) continue;
        const auto flags = LeadingNumber(fields[1]);
        const auto time = LeadingNumber(fields[2]);
        if (!flags || *flags < 0 || *flags > 65535) continue;
        if (!time || *time < INT32_MIN || *time > INT32_MAX) continue;
        marks.push_back(Mark{std::string(fields[0]), static_cast<std::uint16_t>(*flags),
                             static_cast<std::int32_t>(*time)});
    }
    return marks;
}

std::vector<Mark> Loaded(const CList& list) {
    std::vector<Mark> marks;
    FUZZ_CHECK(list.Used >= 0 && list.Used <= list.Capacity());
    for (int i = 0; i < list.Used; ++i) {
        const varnot::TFileInfo& record = list.RecordAt(i);
        FUZZ_CHECK(ArchiveForm(record.Name()));
        FUZZ_CHECK(record.Size == 0 && !record.Head.has_value() && record.MatchIndex == -1);
        marks.push_back(Mark{std::string(record.Name()), record.Flags, record.Time});
    }
    for (int i = list.Used; i < list.Capacity(); ++i) FUZZ_CHECK(list.RecordAt(i).Name().empty());
    return marks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int capacity = 1 + input.Byte() % 40;
    const std::string bytes = input.Rest();

    static const std::string path = varnot::fuzzing::ScratchPath("attr.sav");
    static const std::string again = varnot::fuzzing::ScratchPath("attr.again");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    CList list(capacity);
    const int count = varnot::LoadMarks(list, path);
    FUZZ_CHECK(count == list.Used);
    const std::vector<Mark> marks = Loaded(list);
    FUZZ_CHECK(marks == PlainLoad(bytes, capacity));

    // What was loaded goes back to disk and comes back the same.
    FUZZ_CHECK(varnot::SaveMarks(list, again));
    CList reloaded(capacity);
    varnot::LoadMarks(reloaded, again);
    FUZZ_CHECK(Loaded(reloaded) == marks);
    return 0;
}
