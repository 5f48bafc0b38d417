// Find, Find next and the search walk through the list, in the main window.
#include "gui/main/search_commands.h"

#include "gui/main/find_dialog.h"
#include "gui/main/main_form_fixture.h"
#include "gui/main/message_view.h"
#include "gui/support/scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::ScriptedDialogs;
using testing_support::WriteFile;

namespace {

class SearchCommandsTest : public testing_support::MainFormFixture {
  protected:
    void TearDown() override {
        SetFindDialogDriver({});
        MainFormFixture::TearDown();
    }

    // Message `row` of `texts`, row 0 the newest, in day folder 26_12_05.
    void MessagesOf(const std::vector<std::string>& texts) {
        const int count = static_cast<int>(texts.size());
        for (int row = 0; row < count; ++row)
            WriteFile(archive / FileOfRow(row), texts[static_cast<std::size_t>(row)],
                      LocalTime(2026, 12, 5, 0, 0) + (count - row) * 60);
    }
    static std::string FileOfRow(int row) { return "26_12_05/R" + std::to_string(row) + ".TXT"; }

    // Settings with the last search: `text`, not whole words, any case.
    void SearchSettings(const std::string& text, bool up) {
        Settings("[Find]\r\nPattern=" + text + "\r\nWordOnly=NO\r\nCaseSensitive=NO\r\nUp=" +
                 (up ? "YES" : "NO") + "\r\nX=40\r\nY=30\r\n");
    }

    static void FindNext(TMainform& form) {
        QTest::mouseClick(form.Frame().FindNextButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Frame().SearchTimer->isActive(); }, 30000));
    }

    // The stretch selected in the rich view: its start and text.
    static std::pair<int, QString> Selected(TMainform& form) {
        const QTextCursor cursor = form.Frame().View->ViewMemo->textCursor();
        return {cursor.selectionStart(), cursor.selectedText()};
    }

    std::string Stored(const std::string& key) {
        return IniFile(program / "varnot.INI").ReadString("Find", key, "<none>");
    }

    ScriptedDialogs dialogs;
};

TEST_F(SearchCommandsTest, TheDialogKeepsFiveTextsAndStoresTheSearchOnOk) {
    MessagesOf({"one two three four five six\r\n"});
    SearchSettings("", true);
    auto form = OpenAndScan();
    QPoint placed;
    int offered = -1;
    for (const char* text : {"one", "two", "three", "four", "five", "six"}) {
        SetFindDialogDriver([&](TFindDialogBox& dialog) {
            const auto c = dialog.TestControls();
            placed = dialog.pos();
            offered = c.edit->count();
            c.edit->setEditText(text);
            c.downRadioButton->setChecked(true);
            QTest::mouseClick(c.findButton, Qt::LeftButton);
        });
        QTest::mouseClick(form->Frame().FindButton, Qt::LeftButton);
    }
    EXPECT_EQ(placed, QPoint(40, 30));
    EXPECT_EQ(offered, 5);
    EXPECT_EQ(Stored("0"), "six");
    EXPECT_EQ(Stored("4"), "two");
    EXPECT_EQ(Stored("Pattern"), "six");
    EXPECT_EQ(Stored("Up"), "NO");
    EXPECT_EQ(Stored("WordOnly"), "NO");
    // Each text was found in the message on display: no walk, no box.
    EXPECT_EQ(Selected(*form), std::make_pair(24, QString("six")));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(form->Frame().FindNextItem->text(), "Find &next six");

    // Cancel stores nothing.
    SetFindDialogDriver([](TFindDialogBox& dialog) {
        dialog.TestControls().edit->setEditText("seven");
        QTest::mouseClick(dialog.TestControls().cancelBtn, Qt::LeftButton);
    });
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_F7);
    EXPECT_EQ(Stored("Pattern"), "six");
}

TEST_F(SearchCommandsTest, FindNextGoesThroughTheViewThenWalksToTheNextHit) {
    MessagesOf({"storm here\r\nand Storm again\r\n", "calm\r\n", "a storm far\r\n", "calm\r\n"});
    SearchSettings("storm", false);
    auto form = OpenAndScan();
    // The rich view is searched while the plain one is shown too.
    form->Frame().View->SetRichView(false);
    FindNext(*form);
    EXPECT_EQ(Selected(*form), std::make_pair(0, QString("storm")));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_F3);
    EXPECT_EQ(Selected(*form), std::make_pair(15, QString("Storm")));
    FindNext(*form);
    EXPECT_EQ(Row(*form), 2);
    EXPECT_EQ(Selected(*form), std::make_pair(2, QString("storm")));
    EXPECT_EQ(form->Frame().RereadButton->text(), "3:4");

    // Upward from there: the last hit of the newest message.
    SetFindDialogDriver([](TFindDialogBox& dialog) {
        dialog.TestControls().upRadioButton->setChecked(true);
        QTest::mouseClick(dialog.TestControls().findButton, Qt::LeftButton);
    });
    QTest::mouseClick(form->Frame().FindButton, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Frame().SearchTimer->isActive(); }, 30000));
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(Selected(*form), std::make_pair(15, QString("Storm")));
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(SearchCommandsTest, AWalkEndsAtTheLastRowWithOneNotFoundBox) {
    MessagesOf({"a\r\n", "b\r\n", "c\r\n"});
    SearchSettings("gale", false);
    auto form = OpenAndScan();
    FindNext(*form);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "gale not found");
    EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Information);
    EXPECT_EQ(dialogs.questions[0].buttons, TMsgButtons::Yes);
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:3");
    EXPECT_TRUE(form->Frame().FindButton->isEnabled());
}

TEST_F(SearchCommandsTest, AWalkRefusesRescansAndTheRescanButtonStopsIt) {
    MessagesOf(std::vector<std::string>(60, "calm\r\n"));
    SearchSettings("gale", false);
    auto form = OpenAndScan();
    QString progress;
    // Right after the first tick the operator presses the rescan button.
    QObject::connect(form->Frame().SearchTimer, &QTimer::timeout, form.get(), [&] {
        if (!progress.isEmpty()) return;
        progress = form->Frame().RereadButton->text();
        EXPECT_FALSE(form->Frame().FindButton->isEnabled());
        form->Rescan(TReReadMode::AnnounceNew);
        EXPECT_FALSE(form->Scanning());
        QTest::mouseClick(form->Frame().RereadButton, Qt::LeftButton);
    });
    FindNext(*form);
    EXPECT_EQ(progress, "11:60");
    EXPECT_FALSE(form->Scanning());
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:60");
    EXPECT_TRUE(form->Frame().FindButton->isEnabled());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(SearchCommandsTest, AMessageDeletedDuringTheWalkIsPassedOver) {
    MessagesOf({"calm\r\n", "calm\r\n", "gale\r\n", "calm\r\n", "gale warning\r\n"});
    SearchSettings("warning", false);
    auto form = OpenAndScan();
    std::filesystem::remove(archive / FileOfRow(2));
    FindNext(*form);
    EXPECT_EQ(Row(*form), 4);
    EXPECT_EQ(Selected(*form), std::make_pair(5, QString("warning")));
    EXPECT_TRUE(dialogs.questions.empty());
}

} // namespace
