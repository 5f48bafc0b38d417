#include "core/app/ini_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app/atomic_file.h"
#include "core/app/section_line.h"
#include "core/text/latin_case.h"
#include "core/text/separator.h"
#include "core/text/trim.h"

namespace varnot {

namespace {

// A settings file is a few kilobytes; anything this large is not ours and is
// left alone rather than read into memory.
constexpr off_t kMaxFileSize = 64L * 1024 * 1024;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimName(std::string_view text) {
    return SettingsSyntax.Trim(text);
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

// Blanks around a stored value are not part of it, so a value that has them
// (or that already looks quoted) is written between double quotes, which
// reading removes again.
std::string EncodeValue(std::string_view value) {
    std::string text(value);
    // A line break inside a value would cut the line and could forge a
    // section or key of its own.
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    if (Trim(text, TrimSet::Blanks).size() != text.size() || IsQuoted(text))
        return '"' + text + '"';
    return text;
}

std::string_view DecodeValue(std::string_view text, const SectionLine& line) {
    std::string_view value = SectionValue(text, line, SettingsSyntax);
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool ValidSectionName(std::string_view name) {
    return !name.empty() && name.find(']') == std::string_view::npos && !HasLineBreak(name);
}

bool ValidKeyName(std::string_view name) {
    return !name.empty() && name.find('=') == std::string_view::npos && !HasLineBreak(name) &&
           name.front() != '[' && name.front() != ';' && name.front() != '#';
}

// Up to eight significant hex digits, taken as a 32-bit pattern: $FFFFFFFF is -1.
std::optional<int> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        if (significant > 0 || digit != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = (value << 4) | digit;
    }
    return static_cast<int>(static_cast<std::int32_t>(value));
}

} // namespace

std::optional<int> ParseInteger(std::string_view text) {
    text = TrimFront(text, TrimSet::Blanks);
    if (text.empty()) return std::nullopt;

    if (text.front() == '$') return ParseHex(text.substr(1));
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2));

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    Load();
}

void IniFile::Load() {
    if (path_.empty()) return;
    // Non-blocking, so that a FIFO in the file's place cannot hang the program.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        unreadable_ = errno != ENOENT;
        return;
    }
    std::string bytes;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize;
    if (ok) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            if (n == 0) break;
            bytes.append(buffer, static_cast<std::size_t>(n));
            if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
                ok = false;
                break;
            }
        }
    }
    ::close(fd);
    if (!ok) {
        unreadable_ = true;
        return;
    }

    std::string_view rest = bytes;
    if (rest.substr(0, kBom.size()) == kBom) {
        bom_ = true;
        rest.remove_prefix(kBom.size());
    }
    const std::size_t firstBreak = rest.find('\n');
    if (firstBreak != std::string_view::npos)
        lineEnd_ = (firstBreak > 0 && rest[firstBreak - 1] == '\r') ? "\r\n" : "\n";

    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        Line line;
        if (lf == std::string_view::npos) {
            line.text = std::string(rest);
            rest = {};
        } else {
            line.text = std::string(rest.substr(0, lf));
            line.end = "\n";
            rest.remove_prefix(lf + 1);
        }
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end.insert(0, "\r");
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<std::size_t> IniFile::FindKey(std::string_view section, std::string_view key) const {
    section = TrimName(section);
    key = TrimName(key);
    if (section.empty() || key.empty()) return std::nullopt;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const SectionLine parsed = ParseSectionLine(lines_[i].text, SettingsSyntax);
        if (parsed.kind == SectionLineKind::Section) {
            inSection = SameLatinText(parsed.name, section);
        } else if (parsed.kind == SectionLineKind::Key && inSection &&
                   SameLatinText(parsed.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

void IniFile::InsertLine(std::size_t index, std::string text) {
    // Only the last line can lack its line end; it needs one before anything follows it.
    if (index == lines_.size() && !lines_.empty()) {
        Line& last = lines_.back();
        // A lone CR stays: it is a byte of the untouched line, and an LF after
        // it ends the line in either style.
        if (last.end.empty()) {
            last.end = lineEnd_;
        } else if (last.end == "\r") {
            last.end = "\r\n";
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), lineEnd_});
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const auto index = FindKey(section, key);
    if (!index) return std::string(def);
    const std::string& text = lines_[*index].text;
    return std::string(DecodeValue(text, ParseSectionLine(text, SettingsSyntax)));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    if (!HasKey(section, key)) return def;
    return ParseInteger(ReadString(section, key, "")).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return SameLatinText(ReadString(section, key, def ? "YES" : "NO"), "YES");
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindKey(section, key).has_value();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimName(section);
    key = TrimName(key);
    // Names that the file format cannot hold are refused rather than let loose
    // on the file's structure.
    if (!ValidSectionName(section) || !ValidKeyName(key)) return;
    const std::string encoded = EncodeValue(value);

    if (const auto index = FindKey(section, key)) {
        // Keep the key as it was spelt and indented; only the value changes.
        std::string& text = lines_[*index].text;
        const std::size_t valueStart = ParseSectionLine(text, SettingsSyntax).valueStart;
        const std::string_view old =
            TrimFront(std::string_view(text).substr(valueStart), TrimSet::Blanks);
        text = text.substr(0, text.size() - old.size()) + encoded;
        return;
    }

    const std::string keyLine = std::string(key) + "=" + encoded;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const SectionLine header = ParseSectionLine(lines_[i].text, SettingsSyntax);
        if (header.kind != SectionLineKind::Section || !SameLatinText(header.name, section))
            continue;
        // After the section's last key: blank lines and comments that follow
        // it usually belong to the next section.
        std::size_t insertAt = i + 1;
        for (std::size_t k = i + 1; k < lines_.size(); ++k) {
            const SectionLine parsed = ParseSectionLine(lines_[k].text, SettingsSyntax);
            if (parsed.kind == SectionLineKind::Section) break;
            if (parsed.kind == SectionLineKind::Key) insertAt = k + 1;
        }
        InsertLine(insertAt, keyLine);
        return;
    }

    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), keyLine);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "YES" : "NO");
}

void IniFile::EraseKeys(std::string_view section) {
    section = TrimName(section);
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (Line& line : lines_) {
        const SectionLine parsed = ParseSectionLine(line.text, SettingsSyntax);
        if (parsed.kind == SectionLineKind::Section)
            inSection = SameLatinText(parsed.name, section);
        if (!(inSection && parsed.kind == SectionLineKind::Key)) kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
}

bool IniFile::Save() const {
    if (unreadable_ || path_.empty()) return false;
    std::string content;
    if (bom_) content += kBom;
    for (const Line& line : lines_) {
        content += line.text;
        content += line.end;
    }
    return ReplaceFileAtomically(path_, content);
}

std::string ReadSetting(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view def) {
    return IniFile(file).ReadString(section, key, def);
}

int ReadIntSetting(const std::string& file, std::string_view section, std::string_view key,
                   int def) {
    return IniFile(file).ReadInteger(section, key, def);
}

bool ReadYesNo(const std::string& file, std::string_view section, std::string_view key, bool def) {
    return IniFile(file).ReadBool(section, key, def);
}

bool WriteSetting(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    IniFile ini(file);
    ini.WriteString(section, key, value);
    return ini.Save();
}

bool WriteIntSetting(const std::string& file, std::string_view section, std::string_view key,
                     int value) {
    IniFile ini(file);
    ini.WriteInteger(section, key, value);
    return ini.Save();
}

bool WriteYesNo(const std::string& file, std::string_view section, std::string_view key,
                bool value) {
    IniFile ini(file);
    ini.WriteBool(section, key, value);
    return ini.Save();
}

void ClampSetting(int& value, int lower, int upper) {
    if (value < 1) {
        value = lower;
    } else if (value > upper) {
        value = upper;
    }
}

std::string WordListText(const std::vector<std::string>& words) {
    // The stored text stays below 255 characters, the length of the old string type.
    constexpr std::size_t kLimit = 255;
    std::string text;
    for (const std::string& word : words) {
        if (word.empty()) continue;
        if (text.size() + word.size() + 1 < kLimit) {
            text += word;
            text += ' ';
        }
    }
    return text;
}

std::vector<std::string> SplitWordList(std::string_view text) {
    TSeparator separator;
    separator.Split(text, ' ');
    std::vector<std::string> words;
    words.reserve(static_cast<std::size_t>(separator.Count()));
    for (int i = 0; i < separator.Count(); ++i) words.push_back(separator.Field(i));
    return words;
}

} // namespace varnot
