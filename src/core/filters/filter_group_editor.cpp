#include "core/filters/filter_group_editor.h"

#include "core/app/ini_file.h"
#include "core/app/settings_keys.h"
#include "core/filters/filter_groups.h"

#include <algorithm>

namespace varnot {

namespace {

// Every blank-separated word of a line. Unlike the field splitter this keeps
// them all, so the editor shows what is stored even past what matching reads.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) words.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

TNameFault CheckGroupName(std::string_view name) {
    if (name.empty()) return TNameFault::Empty;
    // The settings file turns a line break inside a value into a blank.
    for (char c : name) {
        if (c == ' ' || IsLineBreak(c)) return TNameFault::HasBlank;
    }
    return TNameFault::None;
}

bool IgnoredKeywordKey(char32_t key) {
    return key == U' ';
}

bool IgnoredMaskKey(char32_t key) {
    return key == U' ' || key == U'!' || key == U'"' || key == U'\'' || key == U',' || key == U':';
}

std::string CleanMaskText(std::string_view masks) {
    std::string clean;
    clean.reserve(masks.size());
    for (char c : masks) {
        // Every refused character is ASCII, so the bytes of 1251 text compare as they stand.
        if (!IgnoredMaskKey(static_cast<unsigned char>(c)) && !IsLineBreak(c)) clean += c;
    }
    return clean;
}

std::string BuildGroupLine(std::string_view name, std::string_view masks,
                           std::string_view keywordText) {
    std::string line(name);
    line += ' ';
    line += masks.empty() ? std::string_view("*.*") : masks;
    std::size_t start = 0;
    while (start <= keywordText.size()) {
        std::size_t end = keywordText.find('\n', start);
        if (end == std::string_view::npos) end = keywordText.size();
        std::string_view keyword = keywordText.substr(start, end - start);
        if (!keyword.empty() && keyword.back() == '\r') keyword.remove_suffix(1);
        if (!keyword.empty()) {
            line += ' ';
            line += keyword;
        }
        start = end + 1;
    }
    return line;
}

TGroupView ShowGroup(std::string_view line) {
    std::vector<std::string> words = Words(line);
    TGroupView view;
    if (words.size() > 1) view.masks = std::move(words[1]);
    if (words.size() > 2) view.keywords.assign(words.begin() + 2, words.end());
    return view;
}

bool HasUnreadKeywords(std::string_view line) {
    return Words(line).size() > 2 + TFilterGroupEditor::MaxKeywords;
}

TFilterGroupEditor::TFilterGroupEditor(std::vector<std::string> lines, int selectedGroup)
    : groups_(std::move(lines)), current_(groups_.empty() ? -1 : 0), selectedGroup_(selectedGroup) {
}

TFilterGroupEditor TFilterGroupEditor::Load(const IniFile& settings, int selectedGroup) {
    std::vector<std::string> lines;
    for (FilterGroup& group : LoadFilterGroups(settings)) lines.push_back(std::move(group.line));
    return TFilterGroupEditor(std::move(lines), selectedGroup);
}

std::string TFilterGroupEditor::Line(int position) const {
    if (position < 0 || position >= Count()) return {};
    return groups_[static_cast<std::size_t>(position)];
}

std::string TFilterGroupEditor::Name(int position) const {
    const std::vector<std::string> words = Words(Line(position));
    return words.empty() ? std::string() : words.front();
}

void TFilterGroupEditor::Select(int position) {
    current_ = position >= 0 && position < Count() ? position : -1;
}

bool TFilterGroupEditor::StoreCurrent(std::string_view masks, std::string_view keywordText) {
    if (groups_.empty()) return false;
    std::string& line = groups_[static_cast<std::size_t>(current_ < 0 ? 0 : current_)];
    std::string built =
        BuildGroupLine(Name(current_ < 0 ? 0 : current_), CleanMaskText(masks), keywordText);
    if (built == line) return false;
    line = std::move(built);
    return true;
}

TGroupEdit TFilterGroupEditor::Insert(std::string_view name) {
    if (CheckGroupName(name) != TNameFault::None) return TGroupEdit::BadName;
    if (!CanAdd()) return TGroupEdit::Full;
    const int position = current_ < 0 ? 0 : current_;
    groups_.insert(groups_.begin() + position, BuildGroupLine(name, "*.*", {}));
    if (position <= selectedGroup_) ++selectedGroup_;
    current_ = position;
    return TGroupEdit::Done;
}

TGroupEdit TFilterGroupEditor::Erase() {
    if (current_ < 0) return TGroupEdit::NoGroup;
    if (!CanErase()) return TGroupEdit::LastGroup;
    int position = current_;
    groups_.erase(groups_.begin() + position);
    if (position == selectedGroup_) {
        selectedGroup_ = -1;
    } else if (position < selectedGroup_) {
        --selectedGroup_;
    }
    if (position > 0) --position;
    current_ = position;
    return TGroupEdit::Done;
}

TGroupEdit TFilterGroupEditor::Rename(std::string_view name) {
    if (CheckGroupName(name) != TNameFault::None) return TGroupEdit::BadName;
    if (current_ < 0) return TGroupEdit::NoGroup;
    std::string& line = groups_[static_cast<std::size_t>(current_)];
    // Everything after the old name stays as it was.
    const std::size_t nameStart = std::min(line.find_first_not_of(' '), line.size());
    const std::size_t nameEnd = std::min(line.find(' ', nameStart), line.size());
    line = std::string(name) + line.substr(nameEnd);
    return TGroupEdit::Done;
}

void TFilterGroupEditor::SaveGroups(IniFile& settings) const {
    settings.EraseKeys(keys::Filters);
    for (int i = 0; i < Count(); ++i)
        Write(settings, keys::FilterGroup(i), groups_[static_cast<std::size_t>(i)]);
}

} // namespace varnot
