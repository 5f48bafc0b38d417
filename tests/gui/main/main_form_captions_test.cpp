// Interface language, command states and the status line of the main window.
#include "main_form_fixture.h"

#include "gui/main/captions.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::WriteFile;

namespace {

// The text a control shows for one entry of the caption table.
QString Shown(TMainform& form, const TCaption& caption) {
    QObject* control = caption.property == TCaptionProperty::WindowTitle
                           ? &form
                           : form.findChild<QObject*>(caption.control);
    if (control == nullptr) return "<missing " + QString(caption.control) + ">";
    if (caption.property == TCaptionProperty::WindowTitle) return form.windowTitle();
    if (caption.property == TCaptionProperty::Hint)
        return qobject_cast<QWidget*>(control)->toolTip();
    if (auto* menu = qobject_cast<QMenu*>(control)) return menu->title();
    return qobject_cast<QAction*>(control)->text();
}

void ExpectLanguage(TMainform& form, bool english) {
    for (const TCaption& caption : MainCaptions())
        EXPECT_EQ(Shown(form, caption),
                  QString::fromUtf8(english ? caption.english : caption.russian))
            << caption.control;
}

using CaptionsTest = MainFormFixture;

TEST_F(CaptionsTest, EachLanguageShowsItsOwnTable) {
    Settings("English=NO\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Пеллмар - Новости"));
    EXPECT_EQ(form->LanguageItem->text(), "&English");
    EXPECT_EQ(form->FilterComboBox->itemText(0), QString::fromUtf8("Всё"));
    // The find-next caption is CheckButtons' own since activation; the table sets it again.
    form->ApplyCaptions();
    ExpectLanguage(*form, false);
}

TEST_F(CaptionsTest, SwitchingTwiceReturnsEveryCaptionAndTheStoredLanguage) {
    Settings("[Filters]\r\n0=Text *.TXT\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->LanguageItem->text(), "&Russian");

    form->LanguageItem->trigger();
    EXPECT_FALSE(English);
    ExpectLanguage(*form, false);
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "English", ""), "NO");
    // The filter box's first entry follows when the box is next filled.
    EXPECT_EQ(form->FilterComboBox->itemText(0), "All");
    form->FillFilterChoices();
    EXPECT_EQ(form->FilterComboBox->itemText(0), QString::fromUtf8("Всё"));

    form->LanguageItem->trigger();
    EXPECT_TRUE(English);
    ExpectLanguage(*form, true);
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "English", ""), "YES");
}

TEST_F(CaptionsTest, EveryCommandOfTheTableExistsWithItsShortcut) {
    Settings();
    auto form = OpenAndScan();
    for (const TCaption& caption : MainCaptions())
        EXPECT_FALSE(Shown(*form, caption).startsWith("<missing")) << caption.control;
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {form->CopyItem, Qt::Key_F5},
        {form->MoveItem, Qt::Key_F6},
        {form->DeleteItem, Qt::Key_F8},
        {form->ExportItem, Qt::Key_F4},
        {form->ExportWordItem, Qt::CTRL | Qt::Key_F4},
        {form->PrintItem, Qt::CTRL | Qt::Key_P},
        {form->PrinterSetupItem, Qt::CTRL | Qt::Key_S},
        {form->FindItem, Qt::Key_F7},
        {form->WordWrapItem, Qt::Key_F2},
        {form->FindNextItem, Qt::Key_F3},
        {form->SelectUnselectItem, Qt::Key_Insert},
        {form->AddItem, Qt::CTRL | Qt::SHIFT | Qt::Key_Insert},
        {form->ShowEditorItem, Qt::Key_F12},
        {form->RereadItem, Qt::Key_F9},
    };
    for (const auto& [item, keys] : shortcuts)
        EXPECT_EQ(item->shortcut(), keys) << item->objectName().toStdString();
    // The menu order of Operations.
    QStringList names;
    for (QAction* item : form->OperationsItem->actions())
        names << (item->isSeparator() && item != form->WordWrapSeparator ? "-"
                                                                         : item->objectName());
    EXPECT_EQ(names.join(' '), "WordWrapItem WordWrapSeparator FindItem FindNextItem - "
                               "SelectUnselectItem InvertItem - SelectallItem UnSelectAllItem "
                               "SelectItem UnselectItem - AddItem ShowEditorItem - RereadItem");
    EXPECT_TRUE(form->RichView_Check->isChecked());
    EXPECT_EQ(form->RichView_Check->text(), "RichView");
    EXPECT_EQ(form->RatioItems.size(), 9u);
    EXPECT_EQ(form->RatioItems.front()->objectName(), "N10901");
    EXPECT_EQ(form->RatioItems.back()->text(), "&90:10");
}

class CommandStatesTest : public MainFormFixture {
  protected:
    static std::vector<bool> ToolStates(const TMainform& form) {
        std::vector<bool> states;
        for (QToolButton* button :
             {form.MoveButton, form.CopyButton, form.DeleteButton, form.FindButton, form.AddButton,
              form.ShowEditorButton, form.UnshineButton, form.ShineButton, form.ExportButton,
              form.PrintButton})
            states.push_back(button->isEnabled());
        return states;
    }
    static std::vector<bool> MenuStates(const TMainform& form) {
        std::vector<bool> states;
        for (QAction* item :
             {form.CopyItem, form.MoveItem, form.DeleteItem, form.FindItem, form.SelectUnselectItem,
              form.InvertItem, form.SelectallItem, form.UnSelectAllItem, form.SelectItem,
              form.UnselectItem, form.AddItem, form.ShowEditorItem, form.ExportItem, form.PrintItem,
              form.ExportWordItem})
            states.push_back(item->isEnabled());
        states.push_back(form.WordButton->isEnabled());
        return states;
    }
    static std::vector<bool> Arrows(const TMainform& form) {
        return {form.LastButton->isEnabled(), form.NextButton->isEnabled(),
                form.PrevButton->isEnabled(), form.FirstButton->isEnabled()};
    }
};

TEST_F(CommandStatesTest, AnEmptyListDisablesTheCommands) {
    Settings();
    auto form = OpenAndScan();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->CheckButtons();
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, false));
    EXPECT_EQ(MenuStates(*form), std::vector<bool>(16, false));
    EXPECT_EQ(Arrows(*form), std::vector<bool>(4, false));
    EXPECT_EQ(form->RereadButton->text(), "1:0");
}

TEST_F(CommandStatesTest, OneMessageDisablesAllFourArrows) {
    Messages(1);
    Settings();
    auto form = OpenAndScan();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->CheckButtons();
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, true));
    EXPECT_EQ(MenuStates(*form), std::vector<bool>(16, true));
    EXPECT_EQ(Arrows(*form), std::vector<bool>(4, false));
    EXPECT_EQ(form->RereadButton->text(), "1:1");
}

TEST_F(CommandStatesTest, ArrowsFollowTheRowAndMoveThroughTheList) {
    Messages(10);
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(Arrows(*form), (std::vector<bool>{false, false, true, true}));
    form->FirstButton->click();
    EXPECT_EQ(Row(*form), 9);
    EXPECT_EQ(Arrows(*form), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(form->RereadButton->text(), "10:10");
    form->NextButton->click();
    EXPECT_EQ(Row(*form), 8);
    form->LastButton->click();
    EXPECT_EQ(Row(*form), 0);
    form->PrevButton->click();
    EXPECT_EQ(Row(*form), 1);
}

TEST_F(CommandStatesTest, AnInactiveWindowDisablesOnlyTheMenuCommands) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(MenuStates(*form), std::vector<bool>(16, true));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->CopyItem->isEnabled(); }, 5000));
    EXPECT_EQ(MenuStates(*form), std::vector<bool>(16, false));
    // The tool buttons stay as they were, except WordButton.
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, true));

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(MenuStates(*form), std::vector<bool>(16, true));
}

TEST_F(CommandStatesTest, AListThatBecomesEmptyOffersNoCommands) {
    Messages(3);
    Settings("[Filters]\r\n0=Nothing *.XYZ\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, true));
    form->FilterComboBox->setCurrentIndex(1);
    emit form->FilterComboBox->activated(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scan->Scanning(); }, 30000));
    EXPECT_EQ(form->ShownCount(), 0);
    EXPECT_EQ(form->RereadButton->text(), "1:0");
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, false));
}

TEST_F(CommandStatesTest, AControlEnabledElsewhereKeepsItsStateUntilItsGroupChanges) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    form->DeleteButton->setEnabled(false);
    form->CheckButtons();
    EXPECT_FALSE(form->DeleteButton->isEnabled());
}

TEST_F(CommandStatesTest, FindNextNamesTheTextLastSearchedFor) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    form->CheckButtons();
    EXPECT_FALSE(form->FindNextButton->isEnabled());
    EXPECT_EQ(form->FindNextButton->toolTip(), "Find next ");
    form->SearchKeys = {"STORM"};
    form->SearchText = "storm";
    form->CheckButtons();
    EXPECT_TRUE(form->FindNextButton->isEnabled());
    EXPECT_EQ(form->FindNextButton->toolTip(), "Find next storm");
    EXPECT_EQ(form->FindNextItem->text(), "Find &next storm");
}

using StatusLineTest = MainFormFixture;

TEST_F(StatusLineTest, ShowsTotalsNameAndLinesInTheirColours) {
    StatusLineMessages();
    Settings();
    auto form = OpenAndScan();
    ASSERT_EQ(form->Panel->RecordAtRow(0)->Size, 57);
    EXPECT_EQ(form->HintLabel->text(), "MSG001.TXT     2  lines  57 bytes");
    EXPECT_EQ(form->HintLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(form->HintLabel->font().pointSize(), 10);

    for (int row = 1; row <= 3; ++row) form->Panel->Current().ToggleRow(row);
    form->UpdateStatusLine();
    EXPECT_EQ(form->HintLabel->text(), "     5.1 Kb in 3 selected files");
    EXPECT_EQ(form->HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // With the name column shown the line leaves the name out.
    form->Panel->Current().UnselectAll();
    form->ShowFileNameItem->trigger();
    EXPECT_EQ(form->HintLabel->text(), "     2  lines  57 bytes");
    EXPECT_FALSE(form->FileGrid->isColumnHidden(1));
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "ShowFileName", ""), "YES");
}

} // namespace
