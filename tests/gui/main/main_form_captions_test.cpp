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
    EXPECT_EQ(form->Frame().LanguageItem->text(), "&English");
    EXPECT_EQ(form->Frame().FilterComboBox->itemText(0), QString::fromUtf8("Всё"));
    // The find-next caption is CheckButtons' own since activation; the table sets it again.
    TestAccess(*form).ApplyCaptions();
    ExpectLanguage(*form, false);
}

TEST_F(CaptionsTest, SwitchingTwiceReturnsEveryCaptionAndTheStoredLanguage) {
    Settings("[Filters]\r\n0=Text *.TXT\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().LanguageItem->text(), "&Russian");

    form->Frame().LanguageItem->trigger();
    EXPECT_FALSE(English);
    ExpectLanguage(*form, false);
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "English", ""), "NO");
    // The filter box's first entry follows when the box is next filled.
    EXPECT_EQ(form->Frame().FilterComboBox->itemText(0), "All");
    TestAccess(*form).FillFilterChoices();
    EXPECT_EQ(form->Frame().FilterComboBox->itemText(0), QString::fromUtf8("Всё"));

    form->Frame().LanguageItem->trigger();
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
        {form->Frame().CopyItem, Qt::Key_F5},
        {form->Frame().MoveItem, Qt::Key_F6},
        {form->Frame().DeleteItem, Qt::Key_F8},
        {form->Frame().ExportItem, Qt::Key_F4},
        {form->Frame().ExportWordItem, Qt::CTRL | Qt::Key_F4},
        {form->Frame().PrintItem, Qt::CTRL | Qt::Key_P},
        {form->Frame().PrinterSetupItem, Qt::CTRL | Qt::Key_S},
        {form->Frame().FindItem, Qt::Key_F7},
        {form->Frame().WordWrapItem, Qt::Key_F2},
        {form->Frame().FindNextItem, Qt::Key_F3},
        {form->Frame().SelectUnselectItem, Qt::Key_Insert},
        {form->Frame().AddItem, Qt::CTRL | Qt::SHIFT | Qt::Key_Insert},
        {form->Frame().ShowEditorItem, Qt::Key_F12},
        {form->Frame().RereadItem, Qt::Key_F9},
    };
    for (const auto& [item, keys] : shortcuts)
        EXPECT_EQ(item->shortcut(), keys) << item->objectName().toStdString();
    // The menu order of Operations.
    QStringList names;
    for (QAction* item : form->Frame().OperationsItem->actions())
        names << (item->isSeparator() && item != form->Frame().WordWrapSeparator
                      ? "-"
                      : item->objectName());
    EXPECT_EQ(names.join(' '), "WordWrapItem WordWrapSeparator FindItem FindNextItem - "
                               "SelectUnselectItem InvertItem - SelectallItem UnSelectAllItem "
                               "SelectItem UnselectItem - AddItem ShowEditorItem - RereadItem");
    EXPECT_TRUE(form->Frame().RichView_Check->isChecked());
    EXPECT_EQ(form->Frame().RichView_Check->text(), "RichView");
    EXPECT_EQ(form->Frame().RatioItems.size(), 9u);
    EXPECT_EQ(form->Frame().RatioItems.front()->objectName(), "N10901");
    EXPECT_EQ(form->Frame().RatioItems.back()->text(), "&90:10");
}

class CommandStatesTest : public MainFormFixture {
  protected:
    static std::vector<bool> ToolStates(TMainform& form) {
        std::vector<bool> states;
        for (QToolButton* button :
             {form.Frame().MoveButton, form.Frame().CopyButton, form.Frame().DeleteButton,
              form.Frame().FindButton, form.Frame().AddButton, form.Frame().ShowEditorButton,
              form.Frame().UnshineButton, form.Frame().ShineButton, form.Frame().ExportButton,
              form.Frame().PrintButton})
            states.push_back(button->isEnabled());
        return states;
    }
    static std::vector<bool> MenuStates(TMainform& form) {
        std::vector<bool> states;
        for (QAction* item :
             {form.Frame().CopyItem, form.Frame().MoveItem, form.Frame().DeleteItem,
              form.Frame().FindItem, form.Frame().SelectUnselectItem, form.Frame().InvertItem,
              form.Frame().SelectallItem, form.Frame().UnSelectAllItem, form.Frame().SelectItem,
              form.Frame().UnselectItem, form.Frame().AddItem, form.Frame().ShowEditorItem,
              form.Frame().ExportItem, form.Frame().PrintItem, form.Frame().ExportWordItem})
            states.push_back(item->isEnabled());
        states.push_back(form.Frame().WordButton->isEnabled());
        return states;
    }
    static std::vector<bool> Arrows(TMainform& form) {
        return {form.Frame().LastButton->isEnabled(), form.Frame().NextButton->isEnabled(),
                form.Frame().PrevButton->isEnabled(), form.Frame().FirstButton->isEnabled()};
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
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:0");
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
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:1");
}

TEST_F(CommandStatesTest, ArrowsFollowTheRowAndMoveThroughTheList) {
    Messages(10);
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(Arrows(*form), (std::vector<bool>{false, false, true, true}));
    form->Frame().FirstButton->click();
    EXPECT_EQ(Row(*form), 9);
    EXPECT_EQ(Arrows(*form), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(form->Frame().RereadButton->text(), "10:10");
    form->Frame().NextButton->click();
    EXPECT_EQ(Row(*form), 8);
    form->Frame().LastButton->click();
    EXPECT_EQ(Row(*form), 0);
    form->Frame().PrevButton->click();
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Frame().CopyItem->isEnabled(); }, 5000));
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
    form->Frame().FilterComboBox->setCurrentIndex(1);
    emit form->Frame().FilterComboBox->activated(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    EXPECT_EQ(form->ShownCount(), 0);
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:0");
    EXPECT_EQ(ToolStates(*form), std::vector<bool>(10, false));
}

TEST_F(CommandStatesTest, AControlEnabledElsewhereKeepsItsStateUntilItsGroupChanges) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    form->Frame().DeleteButton->setEnabled(false);
    form->CheckButtons();
    EXPECT_FALSE(form->Frame().DeleteButton->isEnabled());
}

TEST_F(CommandStatesTest, FindNextNamesTheTextLastSearchedFor) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    form->CheckButtons();
    EXPECT_FALSE(form->Frame().FindNextButton->isEnabled());
    EXPECT_EQ(form->Frame().FindNextButton->toolTip(), "Find next ");
    form->SetLastSearch({"STORM"}, "storm");
    form->CheckButtons();
    EXPECT_TRUE(form->Frame().FindNextButton->isEnabled());
    EXPECT_EQ(form->Frame().FindNextButton->toolTip(), "Find next storm");
    EXPECT_EQ(form->Frame().FindNextItem->text(), "Find &next storm");
}

using StatusLineTest = MainFormFixture;

TEST_F(StatusLineTest, ShowsTotalsNameAndLinesInTheirColours) {
    StatusLineMessages();
    Settings();
    auto form = OpenAndScan();
    ASSERT_EQ(form->Panel().RecordAtRow(0)->Size, 57);
    EXPECT_EQ(form->Frame().HintLabel->text(), "MSG001.TXT     2  lines  57 bytes");
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(form->Frame().HintLabel->font().pointSize(), 10);

    for (int row = 1; row <= 3; ++row) form->Panel().Current().ToggleRow(row);
    form->UpdateStatusLine();
    EXPECT_EQ(form->Frame().HintLabel->text(), "     5.1 Kb in 3 selected files");
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // With the name column shown the line leaves the name out.
    form->Panel().Current().UnselectAll();
    form->Frame().ShowFileNameItem->trigger();
    EXPECT_EQ(form->Frame().HintLabel->text(), "     2  lines  57 bytes");
    EXPECT_FALSE(form->Frame().FileGrid->isColumnHidden(1));
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "ShowFileName", ""), "YES");
}

} // namespace
