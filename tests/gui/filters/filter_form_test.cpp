#include "gui/filters/filter_form.h"

#include "core/app/ini_file.h"
#include "gui/app/lang.h"
#include "gui/support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

using namespace varnot;
namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::WriteFile;
using Call = ScriptedDialogs::Call;

namespace {

constexpr const char* kGroups =
    "[Filters]\r\n0=News FOA*.TXT alarm\r\n1=Sport FSTA*.TXT goal\r\n2=Night *.*\r\n";

class FilterFormTest : public ::testing::Test {
  protected:
    void SetUp() override { WriteFile(file, kGroups); }
    void TearDown() override { English = true; }

    std::unique_ptr<TFilterForm> Open(int selectedGroup = -1) {
        auto form = std::make_unique<TFilterForm>(file, selectedGroup);
        form->show();
        return form;
    }

    template <typename Widget> static Widget* Get(TFilterForm& form, const char* name) {
        auto* widget = form.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QListWidget* List(TFilterForm& form) { return Get<QListWidget>(form, "FilterListBox"); }
    static QPlainTextEdit* Memo(TFilterForm& form) {
        return Get<QPlainTextEdit>(form, "KeyWordMemo");
    }
    static QLineEdit* Masks(TFilterForm& form) { return Get<QLineEdit>(form, "MaskEdit"); }
    static void Click(TFilterForm& form, const char* button) {
        QTest::mouseClick(Get<QPushButton>(form, button), Qt::LeftButton);
    }
    static QStringList Names(TFilterForm& form) {
        QStringList names;
        for (int i = 0; i < List(form)->count(); ++i) names << List(form)->item(i)->text();
        return names;
    }
    std::string Stored(int key) const {
        return IniFile(file).ReadString("Filters", std::to_string(key), "<missing>");
    }

    TempDir dir;
    std::string file = dir / "varnot.INI";
    ScriptedDialogs script;
};

TEST_F(FilterFormTest, CaptionsInBothLanguagesAndTheFirstGroupShown) {
    auto form = Open();
    EXPECT_EQ(form->windowTitle(), "Editing of groups of keywords for search");
    EXPECT_EQ(Get<QPushButton>(*form, "RenameButton")->text(), "&Rename");
    EXPECT_EQ(Masks(*form)->toolTip(), "Example: FOA*.TXT;FSTA*.TXT");
    EXPECT_EQ(Names(*form), (QStringList{"News", "Sport", "Night"}));
    EXPECT_EQ(List(*form)->currentRow(), 0);
    EXPECT_EQ(Memo(*form)->toPlainText(), "alarm");
    EXPECT_EQ(Masks(*form)->text(), "FOA*.TXT");

    English = false;
    auto russian = Open();
    EXPECT_EQ(russian->windowTitle(),
              QString::fromUtf8("Редактирование групп ключевых слов для поиска"));
    EXPECT_EQ(Get<QPushButton>(*russian, "NewButton")->text(), QString::fromUtf8("&Новая"));
    EXPECT_EQ(Masks(*russian)->toolTip(), QString::fromUtf8("Пример: FOA*.TXT;FSTA*.TXT"));
    EXPECT_EQ(Get<QLabel>(*russian, "KeywordLimitLabel")->text(),
              QString::fromUtf8("Используются только первые 13 ключевых слов"));
}

TEST_F(FilterFormTest, KeysTheFieldsIgnore) {
    auto form = Open();
    Memo(*form)->clear();
    QTest::keyClicks(Memo(*form), "a b");
    EXPECT_EQ(Memo(*form)->toPlainText(), "ab");
    Masks(*form)->clear();
    QTest::keyClicks(Masks(*form), "A !\"',:B");
    EXPECT_EQ(Masks(*form)->text(), "AB");
}

TEST_F(FilterFormTest, OkWritesEveryEditCancelWritesNothing) {
    for (const char* button : {"CancelButton", "OkButton"}) {
        auto form = Open();
        List(*form)->setCurrentRow(1);
        EXPECT_EQ(Memo(*form)->toPlainText(), "goal");
        Memo(*form)->moveCursor(QTextCursor::End);
        QTest::keyClick(Memo(*form), Qt::Key_Return);
        QTest::keyClicks(Memo(*form), "win");
        Click(*form, button);
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(Stored(0), "News FOA*.TXT alarm");
    EXPECT_EQ(Stored(1), "Sport FSTA*.TXT goal win");
    EXPECT_EQ(Stored(2), "Night *.*");
}

TEST_F(FilterFormTest, APastedMaskTextIsCleanedAndCannotPushMasksIntoTheKeywords) {
    auto form = Open();
    Masks(*form)->selectAll();
    QGuiApplication::clipboard()->setText("FOA*.TXT; \"FSTA*.TXT\",'X:!");
    QTest::keyClick(Masks(*form), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Masks(*form)->text(), "FOA*.TXT;FSTA*.TXTX");
    Click(*form, "OkButton");
    EXPECT_EQ(Stored(0), "News FOA*.TXT;FSTA*.TXTX alarm");
}

TEST_F(FilterFormTest, OkThatCannotWriteTellsTheOperatorAndKeepsTheEdits) {
    auto form = Open();
    Memo(*form)->setPlainText("alarm\nfire");
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::replace);
    Click(*form, "OkButton");
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].kind, TMsgKind::Error);
    EXPECT_TRUE(script.questions[0].text.startsWith("Cannot write the settings file"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->Saved());
    EXPECT_EQ(Stored(0), "News FOA*.TXT alarm");

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    Click(*form, "OkButton");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Stored(0), "News FOA*.TXT alarm fire");
}

TEST_F(FilterFormTest, NewAsksForOneWordAndInsertsAtTheChosenGroup) {
    auto form = Open(2);
    List(*form)->setCurrentRow(2);
    script.inputAnswers = {std::nullopt, QString("Night shift"), QString("Evening")};
    for (int i = 0; i < 3; ++i) Click(*form, "NewButton");

    ASSERT_EQ(script.questions.size(), 4u);
    EXPECT_EQ(script.questions[0].title, QString::fromUtf8("Новая группа ключевых слов"));
    EXPECT_EQ(script.questions[0].text, QString::fromUtf8("Имя"));
    EXPECT_EQ(script.questions[0].start, "Group");
    EXPECT_EQ(script.questions[2].call, Call::Message); // the blank is refused
    EXPECT_EQ(Names(*form), (QStringList{"News", "Sport", "Evening", "Night"}));
    EXPECT_EQ(List(*form)->currentRow(), 2);
    EXPECT_EQ(Masks(*form)->text(), "*.*");
    EXPECT_TRUE(Memo(*form)->toPlainText().isEmpty());
    EXPECT_EQ(form->SelectedGroup(), 3);
}

TEST_F(FilterFormTest, NewIsDisabledAtSixteenGroups) {
    std::string sixteen = "[Filters]\r\n";
    for (int i = 0; i < 16; ++i)
        sixteen += std::to_string(i) + "=G" + std::to_string(i) + " *.*\r\n";
    WriteFile(file, sixteen);
    auto form = Open();
    EXPECT_FALSE(Get<QPushButton>(*form, "NewButton")->isEnabled());
}

TEST_F(FilterFormTest, EraseAsksFirstAndSparesTheLastGroup) {
    auto form = Open();
    script.messageAnswers = {TMsgResult::No, TMsgResult::Yes, TMsgResult::Yes};
    Click(*form, "DelButton");
    EXPECT_EQ(Names(*form).size(), 3);
    Click(*form, "DelButton");
    EXPECT_EQ(Names(*form), (QStringList{"Sport", "Night"}));
    EXPECT_EQ(script.questions[0].kind, TMsgKind::Confirmation);
    EXPECT_EQ(script.questions[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(script.questions[0].text, "Do you want to delete group of keywords?");

    Click(*form, "DelButton");
    EXPECT_EQ(Names(*form), (QStringList{"Night"}));
    EXPECT_FALSE(Get<QPushButton>(*form, "DelButton")->isEnabled());
}

TEST_F(FilterFormTest, RenameByButtonAndByDoubleClick) {
    auto form = Open();
    script.inputAnswers = {QString("Weather"), std::nullopt};
    Click(*form, "RenameButton");
    EXPECT_EQ(script.questions[0].text, "Rename group of keywords");
    EXPECT_EQ(script.questions[0].start, "News");
    EXPECT_EQ(List(*form)->item(0)->text(), "Weather");

    QListWidget* list = List(*form);
    // A double click is a press, a release and the double-click press.
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[1].start, "Sport");

    Click(*form, "OkButton");
    EXPECT_EQ(Stored(0), "Weather FOA*.TXT alarm");
}

TEST_F(FilterFormTest, ALineUnderTheMemoTellsWhenKeywordsPastThirteenAreUnused) {
    auto form = Open();
    QLabel* note = Get<QLabel>(*form, "KeywordLimitLabel");
    EXPECT_FALSE(note->isVisible());
    Memo(*form)->setPlainText("k1\nk2\nk3\nk4\nk5\nk6\nk7\nk8\nk9\nk10\nk11\nk12\nk13\nk14");
    EXPECT_TRUE(note->isVisible());
}

TEST_F(FilterFormTest, EditFilterGroupsGivesTheGroupToChoose) {
    int selectedGroup = 1;
    SetFilterFormDriver([](TFilterForm& form) { Click(form, "CancelButton"); });
    EXPECT_FALSE(EditFilterGroups(nullptr, file, selectedGroup));
    EXPECT_EQ(selectedGroup, 1);

    script.messageAnswers = {TMsgResult::Yes};
    SetFilterFormDriver([](TFilterForm& form) {
        Click(form, "DelButton"); // News goes; Sport moves up
        Click(form, "OkButton");
    });
    EXPECT_TRUE(EditFilterGroups(nullptr, file, selectedGroup));
    SetFilterFormDriver({});
    EXPECT_EQ(selectedGroup, 0);
    EXPECT_EQ(Stored(0), "Sport FSTA*.TXT goal");
}

} // namespace
