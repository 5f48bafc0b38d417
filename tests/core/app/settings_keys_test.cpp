#include "core/app/settings_keys.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

class SettingsKeysTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string file = dir / "varnot.INI";
};

TEST_F(SettingsKeysTest, EmptyFileGivesTheReadersDefaults) {
    IniFile ini(file);
    EXPECT_EQ(Read(ini, keys::Path), "");
    EXPECT_TRUE(Read(ini, keys::AutoShow));
    EXPECT_EQ(Read(ini, keys::AutoShowDelay), 5);
    EXPECT_FALSE(Read(ini, keys::InDOS));
    EXPECT_TRUE(Read(ini, keys::DeleteAutomaticly));
    EXPECT_EQ(Read(ini, keys::RereadDelay), 10);
    EXPECT_EQ(Read(ini, keys::MarkDelay), 500);
    EXPECT_TRUE(Read(ini, keys::English));
    EXPECT_EQ(Read(ini, keys::ViewBufferSize), 1000);
    EXPECT_EQ(Read(ini, keys::RichView), 1);
    EXPECT_EQ(Read(ini, keys::CharSet), 204);
    EXPECT_FALSE(Read(ini, keys::LastExitIsGood));
    EXPECT_EQ(Read(ini, keys::CaptionColor), 32768);
    EXPECT_EQ(Read(ini, keys::KeyWordColor), 16711680);
    EXPECT_EQ(Read(ini, keys::HighLightColor), 255);
    EXPECT_EQ(Read(ini, keys::Service), "ZEVA");
    EXPECT_EQ(Read(ini, keys::FrameW), 400);
    EXPECT_EQ(Read(ini, keys::FrameH), 200);
    EXPECT_EQ(Read(ini, keys::FrameSplit), 20);
    EXPECT_EQ(Read(ini, keys::EditorSize), 20);
    EXPECT_TRUE(Read(ini, keys::FindWordOnly));
}

TEST_F(SettingsKeysTest, SectionAndKeyCaseDoNotMatter) {
    WriteFile(file, "[MAIN]\r\nenglISH=no\r\nCharset=0\r\nNotepadExe=/usr/bin/ed\r\n");
    IniFile ini(file);
    EXPECT_FALSE(Read(ini, keys::English));
    EXPECT_EQ(Read(ini, keys::CharSet), 0);
    EXPECT_EQ(Read(ini, keys::NotePadExe), "/usr/bin/ed");

    // Rewriting through the other spelling keeps one entry.
    Write(ini, keys::CharSet, 238);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(testing_support::ReadFile(file),
              "[MAIN]\r\nenglISH=no\r\nCharset=238\r\nNotepadExe=/usr/bin/ed\r\n");
}

TEST_F(SettingsKeysTest, ViewBufferSizeAtStart) {
    const std::pair<int, int> cases[] = {{0, 10}, {5, 5}, {5000, 4000}, {-1, 10}, {1000, 1000}};
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(WriteSetting(file, keys::ViewBufferSize, stored));
        EXPECT_EQ(ReadClamped(IniFile(file), keys::ViewBufferSize, keys::ViewBufferSizeAtStart),
                  expected)
            << stored;
    }
}

TEST_F(SettingsKeysTest, FontDefaultsDependOnTheReader) {
    IniFile ini(file);
    EXPECT_EQ(Read(ini, keys::PrinterFont), "Courier New");
    EXPECT_EQ(Read(ini, keys::PrinterSize), 12);
    EXPECT_EQ(Read(ini, keys::PrinterFont.WithDefault(keys::OptionsFontDefault)), "System");
    EXPECT_EQ(Read(ini, keys::PrinterSize.WithDefault(keys::OptionsSizeDefault)), 10);

    Write(ini, keys::PrinterFont, "Mono");
    EXPECT_EQ(Read(ini, keys::PrinterFont.WithDefault(keys::OptionsFontDefault)), "Mono");
}

TEST_F(SettingsKeysTest, HighlightWordsRoundTrip) {
    std::vector<std::string> words;
    for (int i = 0; i < 20; ++i) words.push_back("word" + std::to_string(i));
    ASSERT_TRUE(WriteSetting(file, keys::HighLightWords, WordListText(words)));
    const auto back = SplitWordList(ReadSetting(file, keys::HighLightWords));
    ASSERT_EQ(back.size(), 15u);
    EXPECT_EQ(back[14], "word14");
}

TEST_F(SettingsKeysTest, OneShotTypedAccess) {
    EXPECT_TRUE(WriteSetting(file, keys::AutoShow, false));
    EXPECT_TRUE(WriteSetting(file, keys::FrameX, -20));
    EXPECT_TRUE(WriteSetting(file, keys::CopyFolder, "/dest/"));
    EXPECT_FALSE(ReadSetting(file, keys::AutoShow));
    EXPECT_EQ(ReadSetting(file, keys::FrameX), -20);
    EXPECT_EQ(ReadSetting(file, keys::CopyFolder), "/dest/");
}

TEST_F(SettingsKeysTest, NumberedKeys) {
    EXPECT_EQ(keys::FilterGroup(0).key, "0");
    EXPECT_EQ(keys::FilterGroup(15).key, "15");
    EXPECT_EQ(keys::FilterGroup(15).section, "Filters");
    EXPECT_EQ(keys::FilterGroup(16).key, "0");
    EXPECT_EQ(keys::FindHistory(4).key, "4");
    EXPECT_EQ(keys::FindHistory(5).key, "0");
    EXPECT_EQ(keys::FindHistory(-1).key, "0");
}

TEST(SettingsNormalizeTest, FrameSplit) {
    EXPECT_EQ(NormalizeFrameSplit(0), 20);
    EXPECT_EQ(NormalizeFrameSplit(-5), 20);
    EXPECT_EQ(NormalizeFrameSplit(1), 1);
    EXPECT_EQ(NormalizeFrameSplit(100), 100);
    EXPECT_EQ(NormalizeFrameSplit(101), 80);
}

TEST(SettingsNormalizeTest, ArchiveRootEndsWithASlash) {
    EXPECT_EQ(ArchiveRootFrom(""), "/");
    EXPECT_EQ(ArchiveRootFrom("/arc"), "/arc/");
    EXPECT_EQ(ArchiveRootFrom("/arc/"), "/arc/");
}

} // namespace
} // namespace varnot
