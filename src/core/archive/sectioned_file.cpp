#include "core/archive/sectioned_file.h"

#include "core/archive/message_file.h"

namespace varnot {

namespace {

char LatinUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string_view TrimControls(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

bool SameLatinText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LatinUpper(a[i]) != LatinUpper(b[i])) return false;
    return true;
}

bool ReadSectionedValues(const std::string& path, std::span<SectionedKey> keys, bool* hasText) {
    if (hasText) *hasText = false;
    MessageFile file(path);
    if (!file.IsOpen()) return false;
    std::size_t missing = 0;
    for (const SectionedKey& k : keys)
        if (!k.found) ++missing;

    LineReader reader(file);
    std::string line;
    std::string section;
    while (missing > 0 && reader.Next(line, kMaxSectionedLine)) {
        std::string_view text = TrimControls(line);
        if (!text.empty() && hasText) *hasText = true;
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[') {
            std::size_t close = text.find(']');
            section =
                TrimControls(text.substr(1, close == std::string_view::npos ? close : close - 1));
            continue;
        }
        std::size_t eq = text.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view name = TrimControls(text.substr(0, eq));
        for (SectionedKey& k : keys) {
            if (k.found || !SameLatinText(k.section, section) || !SameLatinText(k.key, name))
                continue;
            k.value = TrimControls(text.substr(eq + 1));
            k.found = true;
            --missing;
        }
    }
    return true;
}

std::optional<std::string> ReadSectionedValue(const std::string& path, std::string_view section,
                                              std::string_view key) {
    SectionedKey wanted{section, key, {}, false};
    if (!ReadSectionedValues(path, std::span<SectionedKey>(&wanted, 1)) || !wanted.found)
        return std::nullopt;
    return std::move(wanted.value);
}

} // namespace varnot
