#include "core/main/find_settings.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

using History = std::vector<std::string>;

TEST(FindHistoryTest, NewTextFirstAtMostFive) {
    struct Case {
        const char* what;
        History before;
        std::string text;
        History after;
    };
    const Case cases[] = {
        {"empty history", {}, "a", {"a"}},
        {"new text in front", {"b", "c"}, "a", {"a", "b", "c"}},
        {"full history drops the fifth", {"b", "c", "d", "e", "f"}, "a", {"a", "b", "c", "d", "e"}},
        {"equal first entry leaves it alone",
         {"a", "b", "c", "d", "e"},
         "a",
         {"a", "b", "c", "d", "e"}},
        {"an older entry comes in front again", {"b", "a"}, "a", {"a", "b", "a"}},
        {"empty text is not kept", {"b"}, "", {"b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(AddToFindHistory(c.before, c.text), c.after) << c.what;
}

TEST(FindSettingsTest, DefaultsAndRoundTrip) {
    TempDir dir;
    const std::string file = dir / "varnot.INI";
    const FindSettings defaults = ReadFindSettings(IniFile(file));
    EXPECT_EQ(defaults, FindSettings{});
    EXPECT_EQ(defaults.flags, (SearchFlags{true, true, SearchDirection::Up}));

    FindSettings stored;
    stored.x = 120;
    stored.y = -5;
    stored.pattern = " two words ";
    stored.flags = {false, false, SearchDirection::Down};
    stored.history = {"\xCC\xC8\xD0", "b"}; // МИР
    {
        IniFile ini(file);
        WriteFindSettings(ini, stored);
        ASSERT_TRUE(ini.Save());
    }
    const IniFile ini(file);
    EXPECT_EQ(ReadFindSettings(ini), stored);
    EXPECT_EQ(ini.ReadString("Find", "Up", ""), "NO");
    EXPECT_EQ(ini.ReadString("Find", "WordOnly", ""), "NO");
    EXPECT_EQ(ini.ReadString("Find", "1", ""), "b");
    EXPECT_TRUE(ini.HasKey("Find", "4"));
}

TEST(FindSettingsTest, EmptyHistoryEntriesAreLeftOut) {
    TempDir dir;
    WriteFile(dir / "varnot.INI", "[Find]\r\n0=a\r\n1=\r\n3=c\r\nUp=no\r\nPattern=p\r\n");
    const FindSettings read = ReadFindSettings(IniFile(dir / "varnot.INI"));
    EXPECT_EQ(read.history, (History{"a", "c"}));
    EXPECT_EQ(read.pattern, "p");
    EXPECT_EQ(read.flags.direction, SearchDirection::Down);
}

} // namespace
