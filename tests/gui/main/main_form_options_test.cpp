// The options dialog opened from the main window, and what its OK and Apply
// change in the window.
#include "core/text/code_pages.h"
#include "gui/app/colour_box.h"
#include "gui/app/options_dlg.h"
#include "gui/app/spin_edit.h"
#include "gui/main/message_view.h"
#include "main_form_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class OptionsWiringTest : public MainFormFixture {
  protected:
    void TearDown() override {
        SetOptionsDriver({});
        MainFormFixture::TearDown();
    }
};

TEST_F(OptionsWiringTest, EachEntryOpensItsPage) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    int page = -1;
    SetOptionsDriver([&](TOptionsDlg& dlg) { page = dlg.PageControl->currentIndex(); });
    form->Frame().OptionsButton->click();
    EXPECT_EQ(page, TOptionsDlg::FontsPage);
    page = -1;
    form->Frame().OptionsItem->trigger();
    EXPECT_EQ(page, TOptionsDlg::FontsPage);
    page = -1;
    form->Frame().WordSetupItem->trigger();
    EXPECT_EQ(page, TOptionsDlg::ExportPage);
    page = -1;
    form->Frame().NotePadSetupItem->trigger();
    EXPECT_EQ(page, TOptionsDlg::ExportPage);
}

TEST_F(OptionsWiringTest, OkWithANewCaptionColourRecoloursAndRescans) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    int shownWith = -1;
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        shownWith = dlg.CaptionColorComboBox->ColourValue();
        dlg.CaptionColorComboBox->SetColourValue(0x0000FF);
        dlg.HighLightMemo->setPlainText("Body");
        dlg.OKBtn->click();
    });
    form->Frame().OptionsButton->click();
    EXPECT_EQ(shownWith, 32768);
    EXPECT_EQ(form->SettingsInEffect().captionColour, 0x0000FF);
    EXPECT_EQ(form->Frame().View->CaptionColour(), 0x0000FF);
    EXPECT_EQ(form->SettingsInEffect().highLightWords, std::vector<std::string>{"Body"});
    EXPECT_EQ(form->Frame().View->HighLightWords(), std::vector<std::string>{"Body"});
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadInteger("Colors", "Caption", -1), 0x0000FF);
    // OK ends with a rescan that matches every record again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    EXPECT_FALSE(form->Panel().Refilter);
}

TEST_F(OptionsWiringTest, OkKeepsTheValuesForTheScanner) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.DeleteCheckBox->setChecked(true);
        dlg.AutoEnableCheckBox->setChecked(false);
        dlg.OKBtn->click();
    });
    form->Frame().OptionsItem->trigger();
    EXPECT_TRUE(form->SettingsInEffect().deleteAutomatically);
    EXPECT_FALSE(form->SettingsInEffect().autoShow);
    EXPECT_FALSE(TestAccess(*form).Scan().Settings.autoShow);
    EXPECT_TRUE(TestAccess(*form).Scan().Options.deleteAutomaticly);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
}

TEST_F(OptionsWiringTest, ANewArchiveRootEmptiesTheListAndHoldsFileCommandsUntilItsPassLands) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    testing_support::TempDir other;
    WriteFile(other / "26_12_06/OTHER.TXT", "other\r\n", LocalTime(2026, 12, 6, 8, 0));
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.PathEdit->setText(QString::fromStdString(other.path()));
        dlg.OKBtn->click();
    });
    form->Frame().OptionsButton->click();
    EXPECT_EQ(form->SettingsInEffect().archiveRoot, other.path());
    EXPECT_EQ(form->ShownCount(), 0);
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:0");
    for (QToolButton* button :
         {form->Frame().CopyButton, form->Frame().MoveButton, form->Frame().DeleteButton,
          form->Frame().ExportButton, form->Frame().PrintButton, form->Frame().AddButton})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();

    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    ASSERT_EQ(form->ShownCount(), 1);
    EXPECT_EQ(form->Panel().RecordAtRow(0)->Name(), "26_12_06\\OTHER.TXT");
    EXPECT_TRUE(form->Frame().CopyButton->isEnabled());
}

TEST_F(OptionsWiringTest, ChangingTheCodePageReadsTheBriefsAgain) {
    // "Привет" in code page 866.
    WriteFile(archive / "26_12_05/DOS.TXT", "\x8F\xE0\xA8\xA2\xA5\xE2\r\n",
              LocalTime(2026, 12, 5, 10, 0));
    Settings();
    auto form = OpenAndScan();
    const QModelIndex brief = form->Frame().FileGrid->model()->index(0, 2);
    EXPECT_NE(brief.data().toString(), QString::fromUtf8("Привет"));
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.DOSCodeCheckPageBox->setChecked(true);
        dlg.OKBtn->click();
    });
    form->Frame().OptionsButton->click();
    EXPECT_TRUE(form->SettingsInEffect().inDOS);
    EXPECT_EQ(form->Frame().FileGrid->model()->index(0, 2).data().toString(),
              QString::fromUtf8("Привет"));
    // The message on display is read again too.
    EXPECT_EQ(form->Frame().View->RichText().substr(0, 6), Utf16ToCp1251(u"Привет"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    EXPECT_EQ(form->Frame().FileGrid->model()->index(0, 2).data().toString(),
              QString::fromUtf8("Привет"));
}

TEST_F(OptionsWiringTest, ApplyThenCancelKeepsTheLookAndStoresNothing) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    const std::string before = ReadFile(program / "varnot.INI");
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.KeyWordColorComboBox->SetColourValue(0x00FF00);
        QTest::mouseClick(dlg.ApplyColorButton, Qt::LeftButton);
        dlg.CancelBtn->click();
    });
    form->Frame().OptionsButton->click();
    EXPECT_EQ(form->SettingsInEffect().keyWordColour, 0x00FF00);
    EXPECT_EQ(form->Frame().View->KeyWordColour(), 0x00FF00);
    EXPECT_EQ(ReadFile(program / "varnot.INI"), before);
    EXPECT_FALSE(form->Scanning()); // no rescan after Cancel
}

TEST_F(OptionsWiringTest, AListFontSizeChangesTheRowHeight) {
    Messages(2);
    Settings("[List]\r\nFont=System\r\nSize=10\r\n");
    auto form = OpenAndScan();
    SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.ListSizeEdit->setValue(20);
        QTest::mouseClick(dlg.ApplyButton, Qt::LeftButton);
        dlg.CancelBtn->click();
    });
    form->Frame().OptionsButton->click();
    EXPECT_EQ(form->Frame().FileGrid->RowHeight(), 36);
}

} // namespace
