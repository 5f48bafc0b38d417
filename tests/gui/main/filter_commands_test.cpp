#include "gui/main/filter_commands.h"

#include "gui/filters/filter_form.h"
#include "gui/main/main_form_fixture.h"
#include "gui/support/scripted_dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <functional>

using namespace varnot;
using testing_support::ScriptedDialogs;

namespace {

class FilterCommandsTest : public testing_support::MainFormFixture {
  protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        // The window filters with B: only B1 is shown.
        Settings("FilterIndex=2\r\n[Filters]\r\n0=A A*.TXT\r\n1=B B*.TXT\r\n");
        Message("A1.TXT", "Alarm one\r\n", 3);
        Message("A2.TXT", "Other\r\n", 2);
        Message("B1.TXT", "Bravo one\r\n", 1);
    }
    void TearDown() override {
        SetFilterFormDriver({});
        MainFormFixture::TearDown();
    }

    void Message(const char* name, const std::string& text, int hour) {
        testing_support::WriteFile(archive / (std::string("26_12_05/") + name), text,
                                   testing_support::LocalTime(2026, 12, 5, hour, 0));
    }

    // The editor, when it opens, does `edit` and then presses `button`.
    static void InEditor(std::function<void(TFilterForm&)> edit, const char* button = "OkButton") {
        SetFilterFormDriver([edit = std::move(edit), button](TFilterForm& editor) {
            edit(editor);
            QTest::mouseClick(editor.findChild<QPushButton*>(button), Qt::LeftButton);
        });
    }
    static void Choose(TFilterForm& editor, int row) {
        editor.findChild<QListWidget*>("FilterListBox")->setCurrentRow(row);
    }
    static void WaitForShown(TMainform& form, int count) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !form.Scanning() && form.ShownCount() == count; }, 30000));
        EXPECT_EQ(form.ShownCount(), count);
    }

    ScriptedDialogs script;
};

TEST_F(FilterCommandsTest, OkChoosesTheSameGroupAgainAndRefiltersEveryMessage) {
    auto form = OpenAndScan();
    WaitForShown(*form, 1);
    InEditor([](TFilterForm& editor) {
        // A new group before A moves B down; B now takes every name with "one".
        Choose(editor, 0);
        QTest::mouseClick(editor.findChild<QPushButton*>("NewButton"), Qt::LeftButton);
        Choose(editor, 2);
        editor.findChild<QLineEdit*>("MaskEdit")->setText("*.TXT");
        editor.findChild<QPlainTextEdit*>("KeyWordMemo")->setPlainText("one");
    });
    script.inputAnswers = {QString("C")};
    QTest::mouseClick(form->Frame().FilterButton, Qt::LeftButton);

    const QComboBox* box = form->Frame().FilterComboBox;
    EXPECT_EQ(box->count(), 4);
    EXPECT_EQ(box->currentIndex(), 3);
    EXPECT_EQ(box->currentText(), "B");
    EXPECT_EQ(form->Filter().keywords, (std::vector<std::string>{"ONE"}));
    // A1 was hidden before: only a full refilter shows it now.
    WaitForShown(*form, 2);
}

TEST_F(FilterCommandsTest, ErasingTheChosenGroupFallsBackToAll) {
    auto form = OpenAndScan();
    WaitForShown(*form, 1);
    script.messageAnswers = {TMsgResult::Yes};
    InEditor([](TFilterForm& editor) {
        Choose(editor, 1);
        QTest::mouseClick(editor.findChild<QPushButton*>("DelButton"), Qt::LeftButton);
    });
    form->Frame().FiltersItem->trigger();

    EXPECT_EQ(form->Frame().FilterComboBox->count(), 2);
    EXPECT_EQ(form->Frame().FilterComboBox->currentIndex(), 0);
    EXPECT_EQ(form->Filter().masks, (std::vector<std::string>{"*.*"}));
    WaitForShown(*form, 3);
}

TEST_F(FilterCommandsTest, FilterSetupOpensTheEditorOnTheChosenGroupAndCancelKeepsAll) {
    auto form = OpenAndScan();
    WaitForShown(*form, 1);
    int opened = -2;
    InEditor(
        [&opened](TFilterForm& editor) {
            opened = editor.SelectedGroup();
            Choose(editor, 1);
            editor.findChild<QLineEdit*>("MaskEdit")->setText("*.TXT");
        },
        "CancelButton");
    form->Frame().FilterSetupPopupItem->trigger();

    EXPECT_EQ(opened, 1);
    EXPECT_EQ(form->Frame().FilterComboBox->currentIndex(), 2);
    EXPECT_EQ(form->Filter().masks, (std::vector<std::string>{"B*.TXT"}));
    EXPECT_FALSE(form->Scanning());
}

TEST_F(FilterCommandsTest, AboutItemOpensTheAboutBox) {
    auto form = OpenAndScan();
    form->Frame().AboutItem->trigger();
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].call, ScriptedDialogs::Call::About);
}

} // namespace
