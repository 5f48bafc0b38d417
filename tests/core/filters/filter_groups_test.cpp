#include "core/app/ini_file.h"
#include "core/filters/filter_groups.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(FilterGroups, GroupLinesGiveUpperCasedMasksAndKeywords) {
    const CurrentFilter f = FilterOfLine("News foa*.txt;FSTA*.TXT alarm \xEC\xE8\xF0");
    EXPECT_EQ(f.masks, (std::vector<std::string>{"FOA*.TXT", "FSTA*.TXT"}));
    EXPECT_EQ(f.keywords, (std::vector<std::string>{"ALARM", "\xCC\xC8\xD0"}));

    // A name alone: no mask, so nothing passes.
    EXPECT_TRUE(FilterOfLine("Lonely").masks.empty());

    // Fifteen fields at most: 13 keywords survive.
    std::string line = "G *.*";
    for (int i = 0; i < 20; ++i) line += " K" + std::to_string(i);
    EXPECT_EQ(FilterOfLine(line).keywords.size(), 13u);
}

TEST(FilterGroups, ChoicesFollowTheStoredGroups) {
    TempDir dir;
    const std::string ini = dir / "varnot.INI";
    // Key 1 is missing: the box lists two groups, and item 2 is the group of key 2.
    WriteFile(ini, "[Filters]\r\n0=First A*.TXT one\r\n2=Third C*.TXT three\r\n3=   \r\n");
    const auto groups = LoadFilterGroups(IniFile(ini));
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "First");
    EXPECT_EQ(groups[1].name, "Third");

    EXPECT_EQ(FilterForChoice(groups, 0).masks, (std::vector<std::string>{"*.*"}));
    EXPECT_TRUE(FilterForChoice(groups, 0).keywords.empty());
    EXPECT_EQ(FilterForChoice(groups, 2).masks, (std::vector<std::string>{"C*.TXT"}));
    EXPECT_EQ(FilterForChoice(groups, 2).keywords, (std::vector<std::string>{"THREE"}));
    EXPECT_EQ(FilterForChoice(groups, 7).masks, (std::vector<std::string>{"*.*"}));

    // Start-up: a stored index outside the box selects All.
    EXPECT_EQ(StartupFilterIndex(7, 4), 0);
    EXPECT_EQ(StartupFilterIndex(-3, 4), 0);
    EXPECT_EQ(StartupFilterIndex(3, 4), 3);
}

} // namespace
} // namespace varnot
