#include "core/filters/filter_groups.h"

#include "core/app/ini_file.h"
#include "core/app/settings_keys.h"
#include "core/text/code_pages.h"
#include "core/text/separator.h"

namespace varnot {

std::vector<FilterGroup> LoadFilterGroups(const IniFile& settings) {
    std::vector<FilterGroup> groups;
    for (int key = 0; key < keys::FilterGroupCount; ++key) {
        std::string line = Read(settings, keys::FilterGroup(key));
        if (line.empty()) continue;
        TSeparator fields;
        fields.Split(line, ' ');
        // A line of blanks only stores no group either.
        if (fields.Count() == 0) continue;
        groups.push_back({key, fields.Field(0), std::move(line)});
    }
    return groups;
}

CurrentFilter FilterOfLine(const std::string& groupLine) {
    CurrentFilter filter;
    filter.masks.clear();
    TSeparator fields;
    fields.Split(groupLine, ' ');
    if (fields.Count() == 0) {
        filter.masks.push_back("*.*");
        return filter;
    }
    TSeparator masks;
    masks.Split(fields.Field(1), ';');
    for (int i = 0; i < masks.Count(); ++i) filter.masks.push_back(Upcase1251(masks.Field(i)));
    for (int i = 2; i < fields.Count(); ++i) filter.keywords.push_back(Upcase1251(fields.Field(i)));
    return filter;
}

CurrentFilter FilterForChoice(const std::vector<FilterGroup>& groups, int itemIndex) {
    // Item k shows the k-th stored group, so it applies that group even when
    // the stored keys have gaps.
    if (itemIndex <= 0 || itemIndex > static_cast<int>(groups.size())) return {};
    return FilterOfLine(groups[static_cast<std::size_t>(itemIndex - 1)].line);
}

int StartupFilterIndex(int storedIndex, int itemCount) {
    return storedIndex < 0 || storedIndex >= itemCount ? 0 : storedIndex;
}

} // namespace varnot
