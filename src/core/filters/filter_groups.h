#pragma once

#include <string>
#include <vector>

namespace varnot {

class IniFile;

// The current filter: file masks and keywords, both already upper-cased
// through the 1251 case table. No keywords means no keyword condition.
struct CurrentFilter {
    std::vector<std::string> masks{"*.*"};
    std::vector<std::string> keywords;
};

// One stored group line: "name masks keyword keyword ...", masks joined by ";".
struct FilterGroup {
    int key = -1; // the key ("0".."15") it is stored under
    std::string name;
    std::string line;
};

// The stored groups in key order, empty values left out.
std::vector<FilterGroup> LoadFilterGroups(const IniFile& settings);

// The filter of a group line (masks and keywords upper-cased, at most 13 keywords).
CurrentFilter FilterOfLine(const std::string& groupLine);

// The filter of an item of the filter box: 0 (or less) is "All"; item k is the
// k-th stored group. A choice without a stored group filters with "*.*".
CurrentFilter FilterForChoice(const std::vector<FilterGroup>& groups, int itemIndex);

// The item selected at start-up: the stored index, or 0 when it is outside the box.
int StartupFilterIndex(int storedIndex, int itemCount);

} // namespace varnot
