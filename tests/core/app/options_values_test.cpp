#include "core/app/options_values.h"

#include "core/app/settings_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(SpinValueTest, UpJumpsToTheMaximumWhenOneMoreStepWouldPassIt) {
    EXPECT_EQ(SpinValue(1000, spin::BufferSize, true), 1100);
    EXPECT_EQ(SpinValue(3850, spin::BufferSize, true), 4000);
    EXPECT_EQ(SpinValue(3800, spin::BufferSize, true), 3900);
    EXPECT_EQ(SpinValue(4000, spin::BufferSize, true), 4000);
    EXPECT_EQ(SpinValue(29950, spin::MarkDelay, true), 30000);
    EXPECT_EQ(SpinValue(29800, spin::MarkDelay, true), 29900);
    EXPECT_EQ(SpinValue(59, spin::RereadDelay, true), 60);
    EXPECT_EQ(SpinValue(60, spin::RereadDelay, true), 60);
    EXPECT_EQ(SpinValue(89, spin::FontSize, true), 90);
}

TEST(SpinValueTest, DownStopsAtTheMinimum) {
    EXPECT_EQ(SpinValue(100, spin::BufferSize, false), 100);
    EXPECT_EQ(SpinValue(150, spin::BufferSize, false), 100);
    EXPECT_EQ(SpinValue(1100, spin::BufferSize, false), 1000);
    // A capacity in effect below the field's minimum is lifted to it.
    EXPECT_EQ(SpinValue(50, spin::BufferSize, false), 100);
    EXPECT_EQ(SpinValue(0, spin::MarkDelay, false), 0);
    EXPECT_EQ(SpinValue(50, spin::MarkDelay, false), 0);
    EXPECT_EQ(SpinValue(1, spin::AutoShowDelay, false), 1);
    EXPECT_EQ(SpinValue(6, spin::FontSize, false), 6);
}

TEST(SpinValueTest, ExtremeValuesDoNotOverflow) {
    EXPECT_EQ(SpinValue(2147483647, spin::MarkDelay, true), 30000);
    EXPECT_EQ(SpinValue(-2147483647 - 1, spin::MarkDelay, false), 0);
}

TEST(CharSetNamesTest, NamesMapToTheirNumbersBothWays) {
    ASSERT_EQ(CharSetNames.size(), 18u);
    EXPECT_EQ(CharSetNames.front().name, "ANSI_CHARSET");
    EXPECT_EQ(CharSetNames.back().name, "OEM_CHARSET");
    for (const auto& entry : CharSetNames) {
        EXPECT_EQ(CharSetValue(entry.name), entry.value) << entry.name;
        EXPECT_EQ(CharSetNameOf(entry.value), entry.name);
    }
    EXPECT_EQ(CharSetValue("RUSSIAN_CHARSET"), 204);
    EXPECT_EQ(CharSetValue("russian_charset"), 0);
    EXPECT_EQ(CharSetValue(""), 0);
    EXPECT_EQ(CharSetNameOf(5), "");
}

TEST(HighLightWordsTest, LinesBecomeWordsWithoutBlanks) {
    EXPECT_EQ(HighLightWordsFromLines({"alpha", "", "  beta gamma ", "\t", "delta\r"}),
              (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
    EXPECT_TRUE(HighLightWordsFromLines({"", "   "}).empty());
}

class OptionsValuesFileTest : public ::testing::Test {
  protected:
    std::string File() const { return dir / "varnot.INI"; }
    TempDir dir;
};

TEST_F(OptionsValuesFileTest, MissingFileGivesTheDefaultsAndTheDialogsFontDefaults) {
    const TOptionsValues v = ReadOptionsValues(IniFile(File()));
    EXPECT_EQ(v, TOptionsValues{});
    // The printer's reader would use Courier New 12; the dialog shows System 10.
    EXPECT_EQ(v.printer.font, "System");
    EXPECT_EQ(v.printer.size, 10);
    EXPECT_EQ(v.editor.size, 10);
    EXPECT_EQ(v.archiveRoot, "/");
}

TEST_F(OptionsValuesFileTest, HandEditedFaultsAreMended) {
    WriteFile(File(), "[main]\nViewBufferSize=0\nMarkDelay=99999\nRereadDelay=-3\n"
                      "AutoShowDelay=0\nCharset=999\nPath=/data\n"
                      "[List]\nFont=\nSize=abc\n[View]\nSize=200\n[Editor]\nSize=0x0C\n"
                      "[Printer]\nSize=2\n"
                      "[Colors]\nCaption=-1\nKeyWord=16777216\nHighLight=$FF00\n");
    const TOptionsValues v = ReadOptionsValues(IniFile(File()));
    EXPECT_EQ(v.viewBufferSize, 10); // start-up bounds
    EXPECT_EQ(v.markDelay, 99999);   // not bounded
    EXPECT_EQ(v.rereadDelay, 1);
    EXPECT_EQ(v.autoShowDelay, 1);
    EXPECT_EQ(v.charSet, 204);
    EXPECT_EQ(v.archiveRoot, "/data/");
    EXPECT_EQ(v.list.font, "System");
    EXPECT_EQ(v.list.size, 10);
    EXPECT_EQ(v.view.size, 200); // sizes are kept as stored
    EXPECT_EQ(v.editor.size, 12);
    EXPECT_EQ(v.printer.size, 2);
    EXPECT_EQ(v.captionColour, 32768);
    EXPECT_EQ(v.keyWordColour, 16711680);
    EXPECT_EQ(v.highLightColour, 0xFF00);
}

TEST_F(OptionsValuesFileTest, SmallCapacityInEffectIsKept) {
    WriteFile(File(), "[main]\nViewBufferSize=5\n");
    EXPECT_EQ(ReadOptionsValues(IniFile(File())).viewBufferSize, 5);
    WriteFile(File(), "[main]\nViewBufferSize=5000\n");
    EXPECT_EQ(ReadOptionsValues(IniFile(File())).viewBufferSize, 4000);
}

TEST_F(OptionsValuesFileTest, HighlightWordsReadAsAtMostFifteen) {
    std::string words;
    for (int i = 0; i < 20; ++i) words += "w" + std::to_string(i) + " ";
    WriteFile(File(), "[Colors]\nHighLightWords=" + words + "\n");
    const auto v = ReadOptionsValues(IniFile(File()));
    ASSERT_EQ(v.highLightWords.size(), 15u);
    EXPECT_EQ(v.highLightWords.back(), "w14");
}

TEST_F(OptionsValuesFileTest, StoringBoundsTheNumbersAsTheDialogDoes) {
    TOptionsValues v;
    v.viewBufferSize = 0;
    v.rereadDelay = 0;
    v.autoShowDelay = 0;
    v.markDelay = -7;
    v.archiveRoot = "/arch";
    TOptionsValues b = BoundForStoring(v);
    EXPECT_EQ(b.viewBufferSize, 100);
    EXPECT_EQ(b.rereadDelay, 1);
    EXPECT_EQ(b.autoShowDelay, 0);
    EXPECT_EQ(b.markDelay, -7);
    EXPECT_EQ(b.archiveRoot, "/arch/");

    v.viewBufferSize = 50; // 1..upper stays, even below the lower bound
    v.rereadDelay = 61;
    v.autoShowDelay = 99;
    b = BoundForStoring(v);
    EXPECT_EQ(b.viewBufferSize, 50);
    EXPECT_EQ(b.rereadDelay, 60);
    EXPECT_EQ(b.autoShowDelay, 60);
}

TEST_F(OptionsValuesFileTest, WrittenValuesReadBackUnchanged) {
    TOptionsValues v;
    v.viewBufferSize = 1100;
    v.deleteAutomatically = false;
    v.rereadDelay = 7;
    v.markDelay = 800;
    v.inDOS = true;
    v.autoShow = false;
    v.autoShowDelay = 3;
    v.printer = {"Courier New", 12};
    v.list = {"Arial", 9};
    v.view = {"\xD8\xF0\xE8\xF4\xF2", 14}; // Cyrillic in 1251
    v.editor = {"Mono", 20};
    v.charSet = 238;
    v.insertDataTimeWhenPrinting = false;
    v.insertDataTimeWhenExporting = false;
    v.wordExe = "/usr/bin/lowriter";
    v.notePadExe = "/usr/bin/gedit";
    v.archiveRoot = "/srv/archive/";
    v.captionColour = 0x123456;
    v.keyWordColour = 0;
    v.highLightColour = 0xFFFFFF;
    v.highLightWords = {"\xC3\xCE\xD0", "fire"};
    IniFile ini(File());
    WriteOptionsValues(ini, v);
    ASSERT_TRUE(ini.Save());

    const IniFile back(File());
    EXPECT_EQ(back.ReadString("main", "Charset", ""), "238");
    EXPECT_EQ(back.ReadString("Colors", "HighLightWords", ""), "\xC3\xCE\xD0 fire ");
    EXPECT_EQ(back.ReadString("View", "Size", ""), "14");
    EXPECT_EQ(ReadOptionsValues(back), v);
}

TEST_F(OptionsValuesFileTest, StartUpReadsWhatTheDialogWouldMendAsStored) {
    WriteFile(File(), "[main]\nRereadDelay=0\nCharset=999\nWordWrap=YES\nAutoShowDelay=0\n"
                      "RichView=0\nEnglish=NO\n[Colors]\nCaption=-1\n[DDE]\nService=C:\\RX.EXE\n");
    const TOptionsValues v = ReadSettingsValues(IniFile(File()));
    EXPECT_EQ(v.rereadDelay, 0);
    EXPECT_EQ(v.charSet, 999);
    EXPECT_EQ(v.captionColour, -1);
    EXPECT_EQ(v.autoShowDelay, 1); // start-up bounds
    EXPECT_FALSE(v.wordWrap);      // only sectioned messages wrap
    EXPECT_FALSE(v.richView);
    EXPECT_FALSE(v.english);
    EXPECT_EQ(v.service, "C:\\RX.EXE");
    WriteFile(File(), "[main]\nInZEV=YES\nWordWrap=YES\n");
    EXPECT_TRUE(ReadSettingsValues(IniFile(File())).wordWrap);
}

TEST(OptionsValuesTest, OkKeepsTheCapacityInEffectAndALookRoundTrips) {
    TOptionsValues inEffect;
    inEffect.viewBufferSize = 700;
    TOptionsValues accepted;
    accepted.viewBufferSize = 2000;
    accepted.rereadDelay = 3;
    const TOptionsValues kept = AcceptedValues(inEffect, accepted);
    EXPECT_EQ(kept.viewBufferSize, 700);
    EXPECT_EQ(kept.rereadDelay, 3);

    TOptionsValues coloured;
    coloured.keyWordColour = 0x123456;
    coloured.view = {"Mono", 14};
    coloured.highLightWords = {"fire"};
    EXPECT_EQ(WithLook(TOptionsValues{}, LookOf(coloured)), coloured);
}
