#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include "core/app/program_paths.h"

namespace varnot {
namespace {

TEST(ParseIntegerTest, DecimalForms) {
    EXPECT_EQ(ParseInteger("0"), 0);
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("-42"), -42);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("  15"), 15);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseInteger("000123"), 123);
}

TEST(ParseIntegerTest, HexadecimalForms) {
    EXPECT_EQ(ParseInteger("$FF"), 255);
    EXPECT_EQ(ParseInteger("0xff"), 255);
    EXPECT_EQ(ParseInteger("0X10"), 16);
    EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInteger("$80000000"), -2147483647 - 1);
    EXPECT_EQ(ParseInteger("$0000000001"), 1);
    EXPECT_EQ(ParseInteger(" $00FF00"), 65280);
}

TEST(ParseIntegerTest, EverythingElseHasNoValue) {
    for (const char* text :
         {"",    "   ",        "-",          "+",           "$",
          "0x",  "12a",        "1 2",        "12 ",         "$G",
          "0xZ", "$123456789", "2147483648", "-2147483649", "99999999999999999999",
          "1.5", "YES",        "- 1",        "-$1",         "\t"})
        EXPECT_FALSE(ParseInteger(text).has_value()) << '"' << text << '"';
}

TEST(ClampSettingTest, BelowOneTakesTheLowerBoundAboveTheUpperTheUpper) {
    int value = 0;
    ClampSetting(value, 10, 4000);
    EXPECT_EQ(value, 10);
    value = 5;
    ClampSetting(value, 10, 4000);
    EXPECT_EQ(value, 5);
    value = 5000;
    ClampSetting(value, 10, 4000);
    EXPECT_EQ(value, 4000);
    value = -3;
    ClampSetting(value, 0, 60);
    EXPECT_EQ(value, 0);
    value = 4000;
    ClampSetting(value, 10, 4000);
    EXPECT_EQ(value, 4000);
}

TEST(WordListTest, TextEndsWithABlankAndSkipsEmptyWords) {
    EXPECT_EQ(WordListText({"alpha", "", "beta"}), "alpha beta ");
    EXPECT_EQ(WordListText({}), "");
}

TEST(WordListTest, TwentyWordsReadBackAsFifteen) {
    std::vector<std::string> words;
    for (int i = 0; i < 20; ++i) words.push_back("w" + std::to_string(i));
    const auto back = SplitWordList(WordListText(words));
    ASSERT_EQ(back.size(), 15u);
    EXPECT_EQ(back.front(), "w0");
    EXPECT_EQ(back.back(), "w14");
}

TEST(WordListTest, WordsThatDoNotFitAreDropped) {
    const std::string fifty(50, 'a');
    const std::vector<std::string> words = {
        fifty, fifty, fifty, fifty, std::string(60, 'b'), "short", std::string(10, 'c')};
    const std::string text = WordListText(words);
    // 4 * 51 = 204; 61 more would reach 265; "short " fits (210), 11 more (221).
    EXPECT_EQ(text, fifty + " " + fifty + " " + fifty + " " + fifty + " short " +
                        std::string(10, 'c') + " ");
    EXPECT_LT(text.size(), 255u);

    // The limit itself: 254 characters fit, 255 do not.
    EXPECT_EQ(WordListText({std::string(253, 'x')}).size(), 254u);
    EXPECT_EQ(WordListText({std::string(254, 'x')}), "");
}

TEST(WordListTest, SplitIgnoresRunsAndLeadingBlanks) {
    EXPECT_EQ(SplitWordList("  one   two three "),
              (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_TRUE(SplitWordList("").empty());
}

TEST(ProgramPathsTest, SettingsFileBesideTheExecutable) {
    auto paths = ProgramPathsFor("/opt/x/varnot");
    EXPECT_EQ(paths.folder, "/opt/x/");
    EXPECT_EQ(paths.settingsFile, "/opt/x/varnot.INI");

    paths = ProgramPathsFor("/a/b.c.exe");
    EXPECT_EQ(paths.folder, "/a/");
    EXPECT_EQ(paths.settingsFile, "/a/b.INI");

    paths = ProgramPathsFor("/a.d/prog");
    EXPECT_EQ(paths.folder, "/a.d/");
    EXPECT_EQ(paths.settingsFile, "/a.d/prog.INI");

    paths = ProgramPathsFor("varnot");
    EXPECT_EQ(paths.folder, "./");
    EXPECT_EQ(paths.settingsFile, "./varnot.INI");
}

TEST(ProgramPathsTest, GlobalsHoldWhatWasSet) {
    const ProgramPaths saved{ProgramFolder(), SettingsFile()};
    SetProgramPaths(ProgramPathsFor("/tmp/t/varnot"));
    EXPECT_EQ(ProgramFolder(), "/tmp/t/");
    EXPECT_EQ(SettingsFile(), "/tmp/t/varnot.INI");
    SetProgramPaths(saved);
}

} // namespace
} // namespace varnot
