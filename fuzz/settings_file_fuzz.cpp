// The settings file: any bytes parse; writing one key and reading it back
// gives the value, and every other line of the file stays byte for byte.
#include "core/app/ini_file.h"
#include "fuzz_input.h"

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using varnot::IniFile;
using varnot::fuzzing::FuzzInput;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Names are compared without the blanks around them; a name may also lose
// the CR a line end left at its end.
std::string_view TrimName(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r'))
        name.remove_suffix(1);
    return name;
}

bool HasBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names the file's line structure can hold.
bool Writable(std::string_view section, std::string_view key) {
    section = TrimName(section);
    key = TrimName(key);
    if (section.empty() || HasBreak(section) || section.find(']') != std::string_view::npos)
        return false;
    if (key.empty() || HasBreak(key) || key.find('=') != std::string_view::npos) return false;
    return key.front() != '[' && key.front() != ';' && key.front() != '#';
}

// The file cut after each LF: the lines with their line ends.
std::vector<std::string_view> Pieces(std::string_view bytes) {
    std::vector<std::string_view> pieces;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        const std::size_t length = lf == std::string_view::npos ? bytes.size() : lf + 1;
        pieces.push_back(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return pieces;
}

std::string_view LineEnd(std::string_view piece) {
    if (piece.ends_with("\r\n")) return piece.substr(piece.size() - 2);
    if (piece.ends_with('\n') || piece.ends_with('\r')) return piece.substr(piece.size() - 1);
    return {};
}

std::string_view LineText(std::string_view piece) {
    return piece.substr(0, piece.size() - LineEnd(piece).size());
}

// The file after writing one key differs from the one before in that key's
// line only: changed in place, or added (with its section heading when the
// section was new), the old last line then getting a line end.
void CheckOneLineChanged(std::string_view before, std::string_view after, bool keyExisted,
                         std::string_view key) {
    // A byte order mark stays in front of everything.
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (before.starts_with(bom)) {
        FUZZ_CHECK(after.starts_with(bom));
        before.remove_prefix(bom.size());
        after.remove_prefix(bom.size());
    }
    const std::vector<std::string_view> a = Pieces(before), b = Pieces(after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::vector<std::string_view> oldLines(a.begin() + prefix, a.end() - suffix);
    const std::vector<std::string_view> newLines(b.begin() + prefix, b.end() - suffix);

    if (keyExisted) {
        FUZZ_CHECK(oldLines.size() == newLines.size() && oldLines.size() <= 1);
        if (oldLines.empty()) return; // the value was the same
        FUZZ_CHECK(LineEnd(oldLines[0]) == LineEnd(newLines[0]));
        // The key keeps its spelling and indentation.
        const std::size_t equals = oldLines[0].find('=');
        FUZZ_CHECK(equals != std::string_view::npos);
        FUZZ_CHECK(newLines[0].substr(0, equals + 1) == oldLines[0].substr(0, equals + 1));
        return;
    }
    FUZZ_CHECK(oldLines.size() <= 1);
    FUZZ_CHECK(newLines.size() == oldLines.size() + 1 || newLines.size() == oldLines.size() + 2);
    std::size_t added = 0;
    if (oldLines.size() == 1) {
        // Only the file's last line, which had no LF, may get one.
        FUZZ_CHECK(prefix + 1 == a.size() && !oldLines[0].ends_with('\n'));
        FUZZ_CHECK(newLines[0].starts_with(oldLines[0]));
        const std::string_view gained = newLines[0].substr(oldLines[0].size());
        FUZZ_CHECK(gained == "\n" || (gained == "\r\n" && !oldLines[0].ends_with('\r')));
        added = 1;
    }
    if (newLines.size() - added == 2) {
        const std::string_view heading = LineText(newLines[added]);
        FUZZ_CHECK(heading.starts_with('[') && heading.ends_with(']'));
        ++added;
    }
    const std::string_view keyLine = LineText(newLines[added]);
    FUZZ_CHECK(keyLine.starts_with(std::string(TrimName(key)) + "="));
}

std::string StoredForm(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::string section = input.Text(40);
    const std::string key = input.Text(40);
    const std::string value = input.Text(300);
    const int number =
        static_cast<int>((std::uint32_t{input.Byte()} << 24) | (std::uint32_t{input.Byte()} << 16) |
                         (std::uint32_t{input.Byte()} << 8) | input.Byte());
    const std::string before = input.Rest();

    static const std::string path = varnot::fuzzing::ScratchPath("varnot.INI");
    WriteAll(path, before);

    IniFile ini(path);
    // Reading never fails, whatever the bytes.
    (void)ini.ReadString(section, key, "default");
    (void)ini.ReadInteger(section, key, 7);
    (void)ini.ReadBool(section, key, true);
    (void)varnot::ParseInteger(value);
    const bool keyExisted = ini.HasKey(section, key);

    const bool asNumber = (mode & 1) != 0;
    if (asNumber)
        ini.WriteInteger(section, key, number);
    else
        ini.WriteString(section, key, value);
    FUZZ_CHECK(ini.Save());
    const std::string after = ReadAll(path);

    if (!Writable(section, key)) {
        // A refused name changes nothing, and saving an unchanged file
        // gives back its bytes.
        FUZZ_CHECK(after == before);
        return 0;
    }
    const IniFile again(path);
    if (asNumber) {
        FUZZ_CHECK(again.ReadInteger(section, key, number == 0 ? 1 : 0) == number);
    } else {
        FUZZ_CHECK(again.ReadString(section, key, "\n") == StoredForm(value));
    }
    CheckOneLineChanged(before, after, keyExisted, key);
    return 0;
}
