#include "archive_gen/command_line.h"
#include "core/text/code_pages.h"

#include <gtest/gtest.h>

namespace {

using namespace varnot::gen;

ParsedCommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

TEST(GeneratorCommandLine, ReadsAFullGenerationRequest) {
    auto p = Parse({"--out", "/tmp/a", "--days", "365", "--per-day", "1000", "--seed", "7", "--end",
                    "2004-02-29", "--dos", "--zev", "--non-text", "3"});
    ASSERT_TRUE(p.ok) << p.error;
    const GeneratorOptions& o = p.command.options;
    EXPECT_TRUE(p.command.generate);
    EXPECT_EQ(o.outDir, "/tmp/a");
    EXPECT_EQ(o.days, 365);
    EXPECT_EQ(o.perDay, 1000);
    EXPECT_EQ(o.seed, 7u);
    ASSERT_TRUE(o.end.has_value());
    EXPECT_EQ(o.end->year, 2004);
    EXPECT_EQ(o.end->month, 2);
    EXPECT_EQ(o.end->day, 29);
    EXPECT_TRUE(o.dos);
    EXPECT_TRUE(o.zev);
    EXPECT_EQ(o.nonTextPerDay, 3);
    EXPECT_TRUE(p.command.settingsFile.empty());
}

TEST(GeneratorCommandLine, AcceptsTheDemoScriptsCalls) {
    auto gen = Parse(
        {"--out", "demo/archive", "--days", "10", "--per-day", "60", "--seed", "7", "--end-today"});
    ASSERT_TRUE(gen.ok) << gen.error;
    EXPECT_FALSE(gen.command.options.end.has_value());
    auto set = Parse(
        {"--settings", "bin/varnot.INI", "--set-path", "demo/archive", "--window", "1100x750"});
    ASSERT_TRUE(set.ok) << set.error;
    EXPECT_FALSE(set.command.generate);
    EXPECT_EQ(set.command.settingsFile, "bin/varnot.INI");
    EXPECT_EQ(set.command.setPath, "demo/archive");
    ASSERT_TRUE(set.command.window.has_value());
    EXPECT_EQ(set.command.window->width, 1100);
    EXPECT_EQ(set.command.window->height, 750);
}

TEST(GeneratorCommandLine, ValuesMayFollowAnEqualsSign) {
    auto p =
        Parse({"--out=/x", "--days=2", "--per-day=3", "--plant=жёлудь", "--plant-percent=2.5"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.command.options.days, 2);
    ASSERT_EQ(p.command.options.plantKeywords.size(), 1u);
    EXPECT_EQ(p.command.options.plantKeywords[0], varnot::Utf8ToCp1251("жёлудь"));
    EXPECT_DOUBLE_EQ(p.command.options.plantShare, 0.025);
}

TEST(GeneratorCommandLine, RejectsBadArguments) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--colour"},
        {"--out", "/x", "--days", "2x", "--per-day", "3"},
        {"--out", "/x", "--days", "0", "--per-day", "3"},
        {"--out", "/x", "--days", "-1", "--per-day", "3"},
        {"--out", "/x", "--days", "", "--per-day", "3"},
        {"--out", "/x", "--days", "2", "--per-day", "99999999999"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--seed", "-5"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--end", "2003-02-30"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--end", "25.12.2003"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--end", "2003-12-25", "--end-today"},
        {"--out", "/x", "--days", "2"},
        {"--days", "2", "--per-day", "3"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--plant", "w"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--plant-percent", "5"},
        {"--out", "/x", "--days", "2", "--per-day", "3", "--plant", "w", "--plant-percent", "101"},
        {"--out", "/x", "--days", "2", "--per-day"},
        {"--settings", "a.INI"},
        {"--set-path", "/x"},
        {"--window", "1100x750"},
        {"--settings", "a.INI", "--window", "1100"},
        {"--settings", "a.INI", "--window", "1100x50"},
        {"--settings", "a.INI", "--window", "x750"},
        {"stray"},
        {"--dos=yes", "--out", "/x", "--days", "2", "--per-day", "3"},
    };
    for (const auto& args : bad) {
        auto p = ParseCommandLine(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_FALSE(p.ok) << joined;
        EXPECT_FALSE(p.error.empty()) << joined;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << joined;
    }
}

TEST(GeneratorCommandLine, HelpAndVersionNeedNothingElse) {
    auto p = Parse({"--help", "--bogus"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.command.help);
    EXPECT_NE(UsageText().find("--per-day"), std::string::npos);
    p = Parse({"--version"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.command.version);
    EXPECT_FALSE(p.command.help);
}

} // namespace
