#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnot {

class IniFile;

// Why a text cannot name a group. A group line is cut at blanks, so a name
// must be one word: a blank would cut it short, and an empty name would move
// the masks into the name's place.
enum class TNameFault { None, Empty, HasBlank };
TNameFault CheckGroupName(std::string_view name);

// Keys the editor's fields ignore: a keyword holds no blank, and a mask list
// holds none of the characters that would cut or quote it.
bool IgnoredKeywordKey(char32_t key);
bool IgnoredMaskKey(char32_t key);
// The mask text without the characters IgnoredMaskKey refuses, nor line
// breaks (the settings file turns them into blanks): a pasted text must not
// push masks into the keywords.
std::string CleanMaskText(std::string_view masks);

// The stored line of a group: the name, the masks ("*.*" when none were
// given) and every non-empty line of the keyword text, separated by blanks.
// A keyword line holding blanks is read back as several keywords.
std::string BuildGroupLine(std::string_view name, std::string_view masks,
                           std::string_view keywordText);

// What the editor shows of a group line: its masks and every keyword it
// stores, also those beyond what matching reads.
struct TGroupView {
    std::string masks;
    std::vector<std::string> keywords;
};
TGroupView ShowGroup(std::string_view line);

// True when a line stores more keywords than matching reads (MaxKeywords).
bool HasUnreadKeywords(std::string_view line);

enum class TGroupEdit {
    Done,
    BadName,   // the name failed CheckGroupName
    Full,      // MaxGroups exist already: another would never be read back
    NoGroup,   // no group is chosen
    LastGroup, // the last group is never erased
};

// The groups the filter editor works on: the lines of section Filters in key
// order, the group chosen in the editor's list (-1 for none) and the group the
// main window's filter box had chosen (-1 for All), kept pointing at the same
// group through insertions and deletions.
class TFilterGroupEditor {
  public:
    // Only the keys "0" to "15" are read back.
    static constexpr int MaxGroups = 16;
    // A line holds at most 15 fields when matched: a name, the masks and 13 keywords.
    static constexpr int MaxKeywords = 13;

    TFilterGroupEditor(std::vector<std::string> lines, int selectedGroup);
    // The stored groups; the first one, if any, is chosen.
    static TFilterGroupEditor Load(const IniFile& settings, int selectedGroup);

    int Count() const { return static_cast<int>(groups_.size()); }
    // The line and the name of a group; empty for a position outside the list.
    std::string Line(int position) const;
    std::string Name(int position) const;

    int Current() const { return current_; }
    // Chooses a group; a position outside the list chooses none.
    void Select(int position);
    int SelectedGroup() const { return selectedGroup_; }

    bool CanAdd() const { return Count() < MaxGroups; }
    bool CanErase() const { return Count() > 1; }

    // Stores what the editor shows into the chosen group (the first when none
    // is chosen), the masks cleaned by CleanMaskText. True when the line changed.
    bool StoreCurrent(std::string_view masks, std::string_view keywordText);
    // A new group with the masks "*.*" before the chosen group (at the top
    // when none is chosen); it becomes the chosen one.
    TGroupEdit Insert(std::string_view name);
    // Erases the chosen group; the one before it (or the new first) is chosen next.
    TGroupEdit Erase();
    // Gives the chosen group another name; masks and keywords stay.
    TGroupEdit Rename(std::string_view name);

    // Replaces every key of section Filters by the groups, keys "0" upwards.
    void SaveGroups(IniFile& settings) const;

  private:
    std::vector<std::string> groups_;
    int current_ = -1;
    int selectedGroup_ = -1;
};

} // namespace varnot
