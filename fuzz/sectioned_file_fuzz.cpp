// Sectioned message files: the values read from a file, the lines kept of a
// section, and the date and time fields, each against a plain reading of the
// format; DOS date-times pack and unpack without loss.
#include "core/archive/dos_time.h"
#include "core/archive/message_text.h"
#include "core/archive/sectioned_file.h"
#include "fuzz_input.h"

#include <array>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using varnot::DateTime;
using varnot::fuzzing::FuzzInput;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

bool SameIgnoringLatinCase(std::string_view a, std::string_view b) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (up(a[i]) != up(b[i])) return false;
    return true;
}

// Lines end at CR LF, a lone CR or LF; a break at the very end opens none.
std::vector<std::string> PlainLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line.push_back(text[i]);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool IsHeading(std::string_view line) {
    const std::string_view text = Trim(line);
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

std::vector<std::string> PlainKeepSection(const std::vector<std::string>& lines,
                                          std::string_view name) {
    std::vector<std::string> kept;
    bool inside = false;
    for (const std::string& line : lines) {
        if (IsHeading(line)) {
            const std::string_view text = Trim(line);
            inside = SameIgnoringLatinCase(Trim(text.substr(1, text.size() - 2)), name);
        } else if (inside) {
            kept.push_back(line);
        }
    }
    return kept;
}

struct Wanted {
    std::string_view section, key;
    std::string value;
    bool found = false;
};

// The values of a file: "[section]" lines (the name ends at "]" or the line's
// end) and "key=value" lines, each line read up to the longest kept; the
// first value of each key counts and reading stops once all are found.
bool PlainValues(std::string_view file, std::vector<Wanted>& wanted) {
    bool hasText = false;
    std::string section;
    std::size_t missing = wanted.size();
    for (const std::string& line : PlainLines(file)) {
        if (missing == 0) break;
        const std::string_view text =
            Trim(std::string_view(line).substr(0, varnot::kMaxSectionedLine));
        if (text.empty()) continue;
        hasText = true;
        if (text.front() == ';') continue;
        if (text.front() == '[') {
            section = Trim(text.substr(1, text.find(']') == std::string_view::npos
                                              ? std::string_view::npos
                                              : text.find(']') - 1));
            continue;
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        for (Wanted& w : wanted) {
            if (w.found || !SameIgnoringLatinCase(w.section, section) ||
                !SameIgnoringLatinCase(w.key, Trim(text.substr(0, equals))))
                continue;
            w.value = Trim(text.substr(equals + 1));
            w.found = true;
            --missing;
        }
    }
    return hasText;
}

bool Digits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int Number(std::string_view two) {
    return (two[0] - '0') * 10 + (two[1] - '0');
}

int DaysIn(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string Padded(std::string_view text, std::size_t width) {
    return text.size() >= width ? std::string(text.substr(0, width))
                                : std::string(width - text.size(), '0') + std::string(text);
}

DateTime PlainDate(std::string_view text, const DateTime& now) {
    const std::string s = Padded(text, 6);
    if (!Digits(s)) return now;
    const int yy = Number(s.substr(0, 2)), month = Number(s.substr(2, 2)),
              day = Number(s.substr(4, 2));
    const int year = yy >= 90 ? 1900 + yy : 2000 + yy;
    if (month < 1 || month > 12 || day < 1 || day > DaysIn(year, month)) return now;
    return DateTime{year, month, day, 0, 0, 0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string section = input.Text(12);
    const std::string dateText = input.Text(10);
    const std::string timeText = input.Text(10);
    std::uint32_t packedBits = 0;
    for (int i = 0; i < 4; ++i) packedBits = (packedBits << 8) | input.Byte();
    const std::string file = input.Rest();

    const std::vector<std::string> lines = varnot::SplitLines(file);
    FUZZ_CHECK(lines == PlainLines(file));
    std::vector<std::string> kept = lines;
    varnot::KeepSection(kept, section);
    FUZZ_CHECK(kept == PlainKeepSection(lines, section));

    // A "now" no valid field gives, so that every fallback shows.
    const DateTime now{2107, 12, 31, 23, 59, 58};
    FUZZ_CHECK(varnot::ParseZevDate(dateText, now) == PlainDate(dateText, now));
    const DateTime time = varnot::ParseZevTime(timeText, now);
    const std::string t = Padded(timeText, 4);
    if (Digits(t) && Number(t.substr(0, 2)) <= 23 && Number(t.substr(2, 2)) <= 59) {
        FUZZ_CHECK(time.hour == Number(t.substr(0, 2)) && time.minute == Number(t.substr(2, 2)) &&
                   time.second == 0);
    } else {
        FUZZ_CHECK(time == now);
    }

    // Every date-time of the packed range, seconds even, survives packing.
    const auto packed = static_cast<std::int32_t>(packedBits);
    const DateTime unpacked = varnot::UnpackDosTime(packed);
    if (unpacked.month >= 1 && unpacked.month <= 12 && unpacked.day >= 1 &&
        unpacked.day <= DaysIn(unpacked.year, unpacked.month) && unpacked.hour <= 23 &&
        unpacked.minute <= 59 && unpacked.second <= 58)
        FUZZ_CHECK(varnot::PackDosTime(unpacked) == packed);

    static const std::string path = varnot::fuzzing::ScratchPath("message.txt");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    std::array<varnot::SectionedKey, 3> keys{{{"head", "head", {}, false},
                                              {"datetime", "Date", {}, false},
                                              {section, "Time", {}, false}}};
    std::vector<Wanted> wanted{
        {"head", "head", {}, false}, {"datetime", "Date", {}, false}, {section, "Time", {}, false}};
    bool hasText = false;
    FUZZ_CHECK(varnot::ReadSectionedValues(path, keys, &hasText));
    FUZZ_CHECK(hasText == PlainValues(file, wanted));
    for (std::size_t i = 0; i < keys.size(); ++i)
        FUZZ_CHECK(keys[i].found == wanted[i].found && keys[i].value == wanted[i].value);
    return 0;
}
