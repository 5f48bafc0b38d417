#pragma once

#include "core/app/ini_file.h"
#include "core/main/text_search.h"

#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// Section Find of the settings file: the search dialog's place, the last
// search and the texts searched for before. Texts are code page 1251 bytes.
struct FindSettings {
    int x = 0;
    int y = 0;
    std::string pattern;
    SearchFlags flags;
    // The non-empty texts of keys "0".."4" in key order, newest first.
    std::vector<std::string> history;

    bool operator==(const FindSettings&) const = default;
};

// Reads X, Y, Pattern, WordOnly, CaseSensitive, Up (NO means downward) and
// the history, leaving out empty history entries.
FindSettings ReadFindSettings(const IniFile& ini);

// Writes every key of the section: the history as keys "0".."4" (empty
// where it has fewer texts), then X, Y, Pattern, WordOnly, CaseSensitive and
// Up. The caller saves the file.
void WriteFindSettings(IniFile& ini, const FindSettings& settings);

// The history after a search for `text`: a text other than the newest entry
// goes in front and the oldest of five entries drops out; the newest entry
// searched for again leaves the history as it was. An empty text is never
// kept.
std::vector<std::string> AddToFindHistory(std::vector<std::string> history, std::string_view text);

// The upper-case form the keyword test looks for: one entry, or none for an
// empty text.
std::vector<std::string> SearchKeysOf(std::string_view text);

} // namespace varnot
