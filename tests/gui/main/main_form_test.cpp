#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "gui/app/lang.h"
#include "gui/main/main_form_test_access.h"
#include "gui/main/main_frame.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace varnot;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// Every test gets its own program folder, so the settings file lives there.
class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override { SetProgramPaths({dir.path(), dir / "varnot.INI"}); }
    void TearDown() override { English = true; }

    void Settings(const std::string& text) { WriteFile(dir / "varnot.INI", text); }
    IniFile Stored() const { return IniFile(dir / "varnot.INI"); }

    std::unique_ptr<TMainform> Open(TTickSource ticks = {}) {
        auto form = std::make_unique<TMainform>(std::move(ticks));
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }

    TempDir dir;
};

} // namespace

TEST_F(MainFormTest, WithoutASettingsFileEverythingTakesItsDefault) {
    auto form = Open();
    EXPECT_EQ(form->width(), 400);
    EXPECT_EQ(form->height(), 200);
    EXPECT_EQ(form->x(), 0);
    EXPECT_EQ(form->y(), 0);
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 20);
    EXPECT_FALSE(TestAccess(*form).Zoomed());
    EXPECT_EQ(form->windowTitle(), "Pellmar NEWS");
    EXPECT_TRUE(English);
    EXPECT_EQ(form->SettingsInEffect().archiveRoot, "/");
    EXPECT_EQ(TestAccess(*form).ServiceName(), "ZEVA");
    EXPECT_TRUE(form->SettingsInEffect().autoShow);
    EXPECT_FALSE(form->SettingsInEffect().inDOS);
    EXPECT_FALSE(form->SettingsInEffect().inZEV);
    EXPECT_TRUE(form->SettingsInEffect().deleteAutomatically);
    EXPECT_EQ(form->SettingsInEffect().captionColour, 32768);
    EXPECT_EQ(form->SettingsInEffect().keyWordColour, 16711680);
    EXPECT_EQ(form->SettingsInEffect().highLightColour, 255);
    EXPECT_EQ(form->SettingsInEffect().autoShowDelay, 5);
    EXPECT_EQ(form->SettingsInEffect().rereadDelay, 10);
    EXPECT_EQ(form->SettingsInEffect().markDelay, 500);
    EXPECT_EQ(form->SettingsInEffect().viewBufferSize, 1000);
    EXPECT_EQ(form->Filter().masks, std::vector<std::string>{"*.*"});
    EXPECT_TRUE(form->Filter().keywords.empty());
    EXPECT_TRUE(form->SettingsInEffect().highLightWords.empty());
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 0);
    EXPECT_EQ(TestAccess(*form).List().RightDragAnchor(), -1);
    EXPECT_FALSE(form->Frame().SearchTimer->isActive());
    EXPECT_EQ(form->Frame().SearchTimer->interval(), 1);
    EXPECT_EQ(form->Frame().Timer->interval(), 100);
    // Start-up writes only the crash flag: this run has not ended cleanly yet.
    EXPECT_EQ(testing_support::ReadFile(dir / "varnot.INI"), "[main]\r\nLastExitIsGood=NO\r\n");
}

TEST_F(MainFormTest, StoredValuesAreReadAndNormalised) {
    Settings("[MAIN]\r\nenglish=no\r\nPath=/data/archive\r\nViewBufferSize=5000\r\n"
             "AutoShowDelay=0\r\nInZEV=yes\r\nWordWrap=Yes\r\nInDOS=YES\r\n"
             "WordExe=/usr/bin/lowriter\r\nNotepadExe=/usr/bin/kate\r\nRereadDelay=$10\r\n"
             "MarkDelay=junk\r\n"
             "[Colors]\r\nCaption=0x0000FF\r\nHighLightWords=  alpha   beta gamma \r\n"
             "[DDE]\r\nService=C:\\ZEV\\RADIO.EXE\r\n");
    auto form = Open();
    EXPECT_FALSE(English);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Пеллмар - Новости"));
    EXPECT_EQ(form->SettingsInEffect().archiveRoot, "/data/archive/");
    EXPECT_EQ(form->SettingsInEffect().viewBufferSize, 4000);
    EXPECT_EQ(form->SettingsInEffect().autoShowDelay, 1);
    EXPECT_TRUE(form->SettingsInEffect().inZEV);
    EXPECT_TRUE(form->SettingsInEffect().wordWrap);
    EXPECT_TRUE(form->SettingsInEffect().inDOS);
    EXPECT_EQ(form->SettingsInEffect().wordExe, "/usr/bin/lowriter");
    EXPECT_EQ(form->SettingsInEffect().notePadExe, "/usr/bin/kate");
    EXPECT_EQ(form->SettingsInEffect().rereadDelay, 16);
    EXPECT_EQ(form->SettingsInEffect().markDelay, 500);
    EXPECT_EQ(form->SettingsInEffect().captionColour, 255);
    EXPECT_EQ(form->SettingsInEffect().highLightWords,
              (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(TestAccess(*form).ServiceName(), "RADIO");
}

TEST_F(MainFormTest, WordWrapIsReadOnlyForSectionedMessages) {
    Settings("[main]\nInZEV=NO\nWordWrap=YES\n");
    auto form = Open();
    EXPECT_FALSE(form->SettingsInEffect().wordWrap);
}

TEST_F(MainFormTest, ListCapacityKeepsSmallValuesAndRaisesZero) {
    for (auto [stored, expected] : {std::pair{"0", 10}, {"5", 5}, {"-7", 10}, {"4000", 4000}}) {
        Settings(std::string("[main]\nViewBufferSize=") + stored + "\n");
        TMainform form;
        EXPECT_EQ(form.SettingsInEffect().viewBufferSize, expected) << stored;
    }
}

TEST_F(MainFormTest, StoredSplitIsBroughtIntoRange) {
    for (auto [stored, expected] :
         {std::pair{"0", 20}, {"-5", 20}, {"150", 80}, {"100", 100}, {"35", 35}, {"x", 20}}) {
        Settings(std::string("[Frame]\nSplit=") + stored + "\n");
        TMainform form;
        EXPECT_EQ(TestAccess(form).PaneRatio(), expected) << stored;
    }
}

TEST_F(MainFormTest, TheOperatorCountsAsIdleFromTheStart) {
    // A clock that started only a second ago: the start value lies before its zero.
    auto form = Open([] { return qint64{1000}; });
    EXPECT_EQ(TestAccess(*form).Scan().LastActionTick, 1000 - 5 * 60000);
    EXPECT_EQ(form->TickNow() - TestAccess(*form).Scan().LastActionTick,
              qint64{form->SettingsInEffect().autoShowDelay} * 60000);

    Settings("[main]\nAutoShowDelay=600\n");
    TMainform bounded([] { return qint64{0}; });
    EXPECT_EQ(bounded.SettingsInEffect().autoShowDelay, 60);
    EXPECT_EQ(TestAccess(bounded).Scan().LastActionTick, -3600000);
}

TEST_F(MainFormTest, ClosingStoresTheGeometryThatTheNextStartRestores) {
    Settings("[Frame]\nX=30\nY=40\nW=500\nH=300\nSplit=35\n");
    {
        auto form = Open();
        EXPECT_EQ(form->width(), 500);
        EXPECT_EQ(form->height(), 300);
        EXPECT_EQ(form->x(), 30);
        EXPECT_EQ(form->y(), 40);
        // Emptied, so the file afterwards holds exactly what closing wrote.
        WriteFile(dir / "varnot.INI", "");
        form->close();
    }
    EXPECT_EQ(ReadFile(dir / "varnot.INI"),
              "[main]\r\nLastExitIsGood=YES\r\n"
              "[Frame]\r\nW=500\r\nH=300\r\nX=30\r\nY=40\r\nSplit=35\r\n");

    auto again = Open();
    EXPECT_EQ(again->width(), 500);
    EXPECT_EQ(again->height(), 300);
    EXPECT_EQ(again->x(), 30);
    EXPECT_EQ(again->y(), 40);
    EXPECT_EQ(TestAccess(*again).PaneRatio(), 35);
}

TEST_F(MainFormTest, AStoredGeometryBeyondTheScreenIsBroughtOntoIt) {
    Settings("[Frame]\nX=40000\nY=-5000\nW=99999\nH=99999\n");
    auto form = Open();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(form->width(), screen.width());
    EXPECT_LE(form->height(), screen.height());
    EXPECT_TRUE(form->frameGeometry().intersects(screen));
    form->close();
    EXPECT_LE(Stored().ReadInteger("Frame", "W", 0), screen.width());
}

TEST_F(MainFormTest, ClosingKeepsTheOtherSettings) {
    Settings("[main]\nEnglish=NO\n; a comment\n[Frame]\nW=450\n");
    auto form = Open();
    form->resize(420, 230);
    form->close();
    const IniFile ini = Stored();
    EXPECT_EQ(ini.ReadString("main", "English", ""), "NO");
    EXPECT_EQ(ini.ReadInteger("Frame", "W", 0), 420);
    EXPECT_EQ(ini.ReadInteger("Frame", "H", 0), 230);
    EXPECT_EQ(ini.ReadInteger("Frame", "X", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Frame", "Y", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Frame", "Split", 0), 20);
    EXPECT_NE(ReadFile(dir / "varnot.INI").find("; a comment"), std::string::npos);
}

TEST_F(MainFormTest, WhileZoomedTheRatioFromBeforeIsStored) {
    auto form = Open();
    TestAccess(*form).SavedRatio() = 45;
    TestAccess(*form).PaneRatio() = 5;
    TestAccess(*form).Zoomed() = true;
    form->close();
    EXPECT_EQ(Stored().ReadInteger("Frame", "Split", 0), 45);
}

TEST_F(MainFormTest, ShutdownRunsOnceHoweverTheWindowGoes) {
    {
        auto form = Open();
        form->close();
        // Whatever is written after the shutdown is not overwritten by a
        // second close or by the window's destruction.
        WriteFile(dir / "varnot.INI", "[Frame]\nW=1\n");
        form->close();
    }
    EXPECT_EQ(ReadFile(dir / "varnot.INI"), "[Frame]\nW=1\n");

    // A window destroyed without being closed still saves.
    WriteFile(dir / "varnot.INI", "");
    { TMainform unclosed; }
    EXPECT_TRUE(Stored().HasKey("Frame", "Split"));
}

namespace {
class TwentyFiveMessages : public TMainform {
  public:
    int ShownCount() const override { return 25; }
};
} // namespace

TEST_F(MainFormTest, ThePositionShowsOnTheRescanButton) {
    TMainform empty;
    empty.ShowPosition(0);
    EXPECT_EQ(empty.Frame().RereadButton->text(), "1:0");
    EXPECT_EQ(empty.Frame().RereadButton->toolTip(), "Rescan");

    TwentyFiveMessages form;
    form.ShowPosition(0);
    EXPECT_EQ(form.Frame().RereadButton->text(), "1:25");
    form.ShowPosition(24);
    EXPECT_EQ(form.Frame().RereadButton->text(), "25:25");
    form.ShowPosition(-1);
    EXPECT_EQ(form.Frame().RereadButton->text(), "0:25");
}
