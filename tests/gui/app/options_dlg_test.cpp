#include "gui/app/options_dlg.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "gui/app/colour_box.h"
#include "gui/app/lang.h"
#include "gui/app/refill_combo_box.h"
#include "gui/app/spin_edit.h"
#include "gui/support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace varnot;
using testing_support::MakeDirs;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class OptionsDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramPaths({dir.path(), dir / "varnot.INI"});
        MakeDirs(dir / "archive");
        inEffect.archiveRoot = dir / "archive/";
    }
    void TearDown() override { English = true; }

    std::string File() const { return dir / "varnot.INI"; }
    void Settings(const std::string& text) { WriteFile(File(), text); }
    std::string Stored(std::string_view section, std::string_view key) const {
        return IniFile(File()).ReadString(section, key, "<missing>");
    }

    // A shown dialog, driven without a modal loop.
    std::unique_ptr<TOptionsDlg> Open(TOptionsMode mode = TOptionsMode::Fonts) {
        auto dlg = std::make_unique<TOptionsDlg>(inEffect);
        dlg->SelectMode(mode);
        dlg->show();
        return dlg;
    }

    static void Ok(TOptionsDlg& dlg) { QTest::mouseClick(dlg.OKBtn, Qt::LeftButton); }
    static void Up(TSpinEdit* edit, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(edit, Qt::Key_Up);
    }
    static void Down(TSpinEdit* edit, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(edit, Qt::Key_Down);
    }

    TempDir dir;
    ScriptedDialogs script;
    TOptionsValues inEffect;
};

} // namespace

TEST_F(OptionsDlgTest, OpeningModesChooseThePageAndTheFocusedControl) {
    struct Case {
        int mode; // a stale number outside the enumeration opens the Fonts page
        int page;
        const char* focus;
    };
    const Case cases[] = {{0, TOptionsDlg::FontsPage, nullptr},
                          {1, TOptionsDlg::ExportPage, "WordPathEdit"},
                          {2, TOptionsDlg::ExportPage, "NotepadPathEdit"},
                          {3, TOptionsDlg::FontsPage, "EditorComboBox"},
                          {7, TOptionsDlg::FontsPage, nullptr},
                          {-1, TOptionsDlg::FontsPage, nullptr}};
    for (const Case& c : cases) {
        int page = -1;
        QWidget* focused = nullptr;
        QWidget* expected = nullptr;
        const TOptionsDriver before = SetOptionsDriver([&](TOptionsDlg& dlg) {
            page = dlg.PageControl->currentIndex();
            focused = dlg.focusWidget();
            const std::string_view name = c.focus ? c.focus : "";
            if (name == "WordPathEdit") expected = dlg.WordPathEdit;
            if (name == "NotepadPathEdit") expected = dlg.NotepadPathEdit;
            if (name == "EditorComboBox") expected = dlg.EditorComboBox;
        });
        const TOptionsResult result =
            ShowOptions(nullptr, static_cast<TOptionsMode>(c.mode), inEffect);
        SetOptionsDriver(before);
        EXPECT_EQ(page, c.page) << "mode " << c.mode;
        if (c.focus) {
            ASSERT_NE(focused, nullptr) << "mode " << c.mode;
            // The editable combo box hands its focus to its line edit.
            EXPECT_TRUE(focused == expected || focused->parentWidget() == expected)
                << "mode " << c.mode;
        }
        // A dialog the driver leaves open counts as cancelled and stores nothing.
        EXPECT_FALSE(result.accepted);
        EXPECT_TRUE(result.effects.empty());
    }
    EXPECT_FALSE(testing_support::Exists(File()));
}

TEST_F(OptionsDlgTest, SpinFieldsKeepTheirStepsAndBounds) {
    auto dlg = Open();
    struct Field {
        const char* name;
        TSpinEdit* edit;
        int step, minimum, maximum;
    };
    const Field fields[] = {
        {"BufferSizeEdit", dlg->BufferSizeEdit, 100, 100, 4000},
        {"RereadDelayEdit", dlg->RereadDelayEdit, 1, 1, 60},
        {"MarkDelayEdit", dlg->MarkDelayEdit, 100, 0, 30000},
        {"AutoShowDelayEdit", dlg->AutoShowDelayEdit, 1, 1, 60},
        {"PrinterSizeEdit", dlg->PrinterSizeEdit, 1, 6, 90},
        {"ListSizeEdit", dlg->ListSizeEdit, 1, 6, 90},
        {"ViewSizeEdit", dlg->ViewSizeEdit, 1, 6, 90},
        {"EditorSizeEdit", dlg->EditorSizeEdit, 1, 6, 90},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        f.edit->setValue(f.maximum);
        Up(f.edit);
        EXPECT_EQ(f.edit->value(), f.maximum);
        f.edit->setValue(f.minimum);
        Down(f.edit);
        EXPECT_EQ(f.edit->value(), f.minimum);
        Up(f.edit, 2);
        EXPECT_EQ(f.edit->value(), f.minimum + 2 * f.step);
        Down(f.edit);
        EXPECT_EQ(f.edit->value(), f.minimum + f.step);
        // Typed text never reaches a number field.
        QTest::keyClicks(f.edit, "7");
        EXPECT_EQ(f.edit->value(), f.minimum + f.step);
    }

    // Up lands on the maximum when one more step would pass it.
    dlg->BufferSizeEdit->setValue(3850);
    Up(dlg->BufferSizeEdit);
    EXPECT_EQ(dlg->BufferSizeEdit->value(), 4000);
    dlg->MarkDelayEdit->setValue(29950);
    Up(dlg->MarkDelayEdit);
    EXPECT_EQ(dlg->MarkDelayEdit->value(), 30000);
    dlg->MarkDelayEdit->setValue(0);
    Down(dlg->MarkDelayEdit);
    EXPECT_EQ(dlg->MarkDelayEdit->value(), 0);
}

TEST_F(OptionsDlgTest, ChangedCapacityAsksForARestartAndCountsOnlyFromTheNextStart) {
    inEffect.viewBufferSize = 1000;
    Settings("[main]\nViewBufferSize=1000\n");
    auto dlg = Open();
    Up(dlg->BufferSizeEdit);
    Ok(*dlg);

    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].call, ScriptedDialogs::Call::Message);
    EXPECT_EQ(script.questions[0].kind, TMsgKind::Information);
    EXPECT_EQ(script.questions[0].buttons, TMsgButtons::Yes);
    EXPECT_EQ(script.questions[0].text, "Restart VARNOT to have effect");
    EXPECT_EQ(Stored("main", "ViewBufferSize"), "1100");

    const TOptionsResult& r = dlg->Result();
    EXPECT_TRUE(r.accepted);
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(r.values.viewBufferSize, 1100);
    const std::vector<TOptionsEffect> expected = {
        TOptionsEffect::RestartNotice, TOptionsEffect::KeepValues, TOptionsEffect::RematchAll,
        TOptionsEffect::ApplyLook, TOptionsEffect::Rescan};
    EXPECT_EQ(r.effects, expected);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(OptionsDlgTest, RestartMessageIsRussianInRussianAndAbsentWithoutAChange) {
    {
        auto dlg = Open();
        Ok(*dlg);
        EXPECT_TRUE(script.questions.empty());
        EXPECT_EQ(dlg->Result().effects.front(), TOptionsEffect::KeepValues);
    }
    English = false;
    auto dlg = Open();
    Down(dlg->BufferSizeEdit);
    Ok(*dlg);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].text, QString::fromUtf8("Перезапустите VARNOT"));
    EXPECT_EQ(Stored("main", "ViewBufferSize"), "900");
}

TEST_F(OptionsDlgTest, OkStoresEveryKeyWithItsExactValue) {
    MakeDirs(dir / "other");
    auto dlg = Open();
    Up(dlg->BufferSizeEdit, 2);                 // 1200
    dlg->DeleteCheckBox->setChecked(false);     // was YES
    dlg->RereadDelayEdit->setValue(60);         // 60
    Up(dlg->RereadDelayEdit);                   // stays 60
    Down(dlg->MarkDelayEdit, 5);                // 0
    dlg->DOSCodeCheckPageBox->setChecked(true); // was NO
    dlg->AutoEnableCheckBox->setChecked(false); // was YES
    Down(dlg->AutoShowDelayEdit, 10);           // 1
    dlg->PrinterComboBox->setEditText("Courier New");
    Up(dlg->PrinterSizeEdit, 2); // 12
    dlg->ListComboBox->setEditText("Arial");
    Down(dlg->ListSizeEdit); // 9
    dlg->ViewComboBox->setEditText(QString::fromUtf8("Шрифт"));
    Up(dlg->ViewSizeEdit, 4); // 14
    dlg->EditorComboBox->setEditText("Mono");
    dlg->EditorSizeEdit->setValue(90);
    dlg->ComboBox_Charset->setEditText("EASTEUROPE_CHARSET");
    dlg->DataTimePrintingCheckBox->setChecked(false);
    dlg->DataTimeExportingCheckBox->setChecked(false);
    dlg->WordPathEdit->setText("/usr/bin/lowriter");
    dlg->NotepadPathEdit->setText("/usr/bin/gedit");
    dlg->PathEdit->setText(QString::fromStdString(dir / "other")); // no trailing "/"
    dlg->CaptionColorComboBox->SetColourValue(0x123456);
    dlg->KeyWordColorComboBox->SetColourValue(0x00FFFF);
    dlg->HighLightColorComboBox->SetColourValue(0);
    dlg->HighLightMemo->setPlainText(QString::fromUtf8("пожар\n\nfire"));
    Ok(*dlg);

    EXPECT_EQ(Stored("main", "ViewBufferSize"), "1200");
    EXPECT_EQ(Stored("main", "DeleteAutomaticly"), "NO");
    EXPECT_EQ(Stored("main", "RereadDelay"), "60");
    EXPECT_EQ(Stored("main", "MarkDelay"), "0");
    EXPECT_EQ(Stored("main", "InDOS"), "YES");
    EXPECT_EQ(Stored("main", "AutoShow"), "NO");
    EXPECT_EQ(Stored("main", "AutoShowDelay"), "1");
    EXPECT_EQ(Stored("Printer", "Font"), "Courier New");
    EXPECT_EQ(Stored("Printer", "Size"), "12");
    EXPECT_EQ(Stored("List", "Font"), "Arial");
    EXPECT_EQ(Stored("List", "Size"), "9");
    EXPECT_EQ(Stored("View", "Font"), "\xD8\xF0\xE8\xF4\xF2"); // 1251
    EXPECT_EQ(Stored("View", "Size"), "14");
    EXPECT_EQ(Stored("Editor", "Font"), "Mono");
    EXPECT_EQ(Stored("Editor", "Size"), "90");
    EXPECT_EQ(Stored("Main", "Charset"), "238");
    EXPECT_EQ(Stored("main", "InsertDataTimeWhenPrinting"), "NO");
    EXPECT_EQ(Stored("main", "InsertDataTimeWhenExporting"), "NO");
    EXPECT_EQ(Stored("main", "WordExe"), "/usr/bin/lowriter");
    EXPECT_EQ(Stored("main", "NotepadExe"), "/usr/bin/gedit");
    EXPECT_EQ(Stored("main", "Path"), dir / "other/");
    EXPECT_EQ(Stored("Colors", "Caption"), "1193046");
    EXPECT_EQ(Stored("Colors", "KeyWord"), "65535");
    EXPECT_EQ(Stored("Colors", "HighLight"), "0");
    EXPECT_EQ(Stored("Colors", "HighLightWords"), "\xEF\xEE\xE6\xE0\xF0 fire ");

    const TOptionsResult& r = dlg->Result();
    EXPECT_EQ(r.values.archiveRoot, dir / "other/");
    EXPECT_EQ(r.values.charSet, 238);
    EXPECT_EQ(r.look.view.font, "\xD8\xF0\xE8\xF4\xF2");
    EXPECT_EQ(r.look.highLightWords, (std::vector<std::string>{"\xEF\xEE\xE6\xE0\xF0", "fire"}));
    const std::vector<TOptionsEffect> expected = {
        TOptionsEffect::RestartNotice, TOptionsEffect::KeepValues, TOptionsEffect::ReloadBriefs,
        TOptionsEffect::RematchAll,    TOptionsEffect::ApplyLook,  TOptionsEffect::Rescan};
    EXPECT_EQ(r.effects, expected);
}

TEST_F(OptionsDlgTest, OkLeavesUnrelatedKeysAlone) {
    Settings("[main]\nEnglish=NO\nFilterIndex=3\n[Filters]\n0=news *.txt fire\n");
    auto dlg = Open();
    Ok(*dlg);
    EXPECT_EQ(Stored("main", "English"), "NO");
    EXPECT_EQ(Stored("main", "FilterIndex"), "3");
    EXPECT_EQ(Stored("Filters", "0"), "news *.txt fire");
}

TEST_F(OptionsDlgTest, ApplyThenCancelPutsTheLookIntoEffectButStoresNothing) {
    Settings("[View]\nFont=Serif\nSize=11\n");
    const std::string before = ReadFile(File());
    std::vector<TOptionsLook> applied;
    TOptionsResult result;
    const TOptionsDriver previous = SetOptionsDriver([&](TOptionsDlg& dlg) {
        dlg.CaptionColorComboBox->SetColourValue(0x0000FF);
        dlg.ViewComboBox->setEditText("Mono");
        Up(dlg.ViewSizeEdit);
        QTest::mouseClick(dlg.ApplyButton, Qt::LeftButton);
        dlg.HighLightMemo->setPlainText("alarm");
        QTest::mouseClick(dlg.ApplyColorButton, Qt::LeftButton);
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    });
    result = ShowOptions(nullptr, TOptionsMode::Fonts, inEffect,
                         [&](const TOptionsLook& look) { applied.push_back(look); });
    SetOptionsDriver(previous);

    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0].captionColour, 0x0000FF);
    EXPECT_EQ(applied[0].view, (TFontSetting{"Mono", 12}));
    EXPECT_TRUE(applied[0].highLightWords.empty());
    EXPECT_EQ(applied[1].highLightWords, std::vector<std::string>{"alarm"});
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.applied);
    EXPECT_EQ(result.look, applied[1]);
    EXPECT_TRUE(result.effects.empty());
    EXPECT_EQ(ReadFile(File()), before);
}

TEST_F(OptionsDlgTest, ShowingAgainPresentsTheAppliedColoursAndWords) {
    inEffect.highLightWords = {"one", "two"};
    inEffect.keyWordColour = 0x808080;
    auto dlg = Open();
    EXPECT_EQ(dlg->HighLightMemo->toPlainText(), "one\ntwo");
    EXPECT_EQ(dlg->KeyWordColorComboBox->ColourValue(), 0x808080);
    EXPECT_EQ(dlg->CaptionColorComboBox->ColourValue(), 32768);
    EXPECT_EQ(dlg->HighLightColorComboBox->ColourValue(), 255);

    dlg->KeyWordColorComboBox->SetColourValue(0xABCDEF);
    QTest::mouseClick(dlg->ApplyColorButton, Qt::LeftButton);
    dlg->KeyWordColorComboBox->SetColourValue(0); // not applied
    dlg->hide();
    dlg->show();
    EXPECT_EQ(dlg->KeyWordColorComboBox->ColourValue(), 0xABCDEF);
}

TEST_F(OptionsDlgTest, HandEditedFaultsOpenWithSaneValuesAndStoreOnlyValidOnes) {
    Settings("[List]\nFont=\nSize=abc\n[View]\nSize=500\n[Editor]\nSize=-4\n");
    inEffect.captionColour = -1;
    inEffect.keyWordColour = 0x7FFFFFFF;
    inEffect.highLightColour = 0x1000000;
    inEffect.markDelay = 60000;
    inEffect.rereadDelay = 0;
    inEffect.charSet = 5000;
    inEffect.highLightWords = {"", "two words"};
    inEffect.archiveRoot = dir / "gone"; // the archive root in effect is missing

    auto dlg = Open();
    EXPECT_EQ(dlg->ListComboBox->currentText(), "System");
    EXPECT_EQ(dlg->ListSizeEdit->value(), 10);
    EXPECT_EQ(dlg->ViewSizeEdit->value(), 90);
    EXPECT_EQ(dlg->EditorSizeEdit->value(), 6);
    EXPECT_EQ(dlg->PrinterComboBox->currentText(), "System");
    EXPECT_EQ(dlg->PrinterSizeEdit->value(), 10);
    EXPECT_EQ(dlg->CaptionColorComboBox->ColourValue(), 32768);
    EXPECT_EQ(dlg->KeyWordColorComboBox->ColourValue(), 16711680);
    EXPECT_EQ(dlg->HighLightColorComboBox->ColourValue(), 255);
    EXPECT_EQ(dlg->MarkDelayEdit->value(), 30000);
    EXPECT_EQ(dlg->RereadDelayEdit->value(), 1);
    EXPECT_EQ(dlg->ComboBox_Charset->currentText(), "RUSSIAN_CHARSET");
    EXPECT_EQ(dlg->HighLightMemo->toPlainText(), "two\nwords");
    EXPECT_EQ(dlg->PathEdit->text().toStdString(), dir / "gone/");

    Ok(*dlg);
    EXPECT_TRUE(script.questions.empty());
    EXPECT_EQ(Stored("List", "Font"), "System");
    EXPECT_EQ(Stored("List", "Size"), "10");
    EXPECT_EQ(Stored("Colors", "Caption"), "32768");
    EXPECT_EQ(Stored("Colors", "KeyWord"), "16711680");
    EXPECT_EQ(Stored("Colors", "HighLight"), "255");
    EXPECT_EQ(Stored("main", "RereadDelay"), "1");
    EXPECT_EQ(Stored("main", "Charset"), "204");
    EXPECT_EQ(Stored("Colors", "HighLightWords"), "two words ");
    // Numbers the fields cannot show survive untouched fields unchanged.
    EXPECT_EQ(Stored("main", "MarkDelay"), "60000");
    EXPECT_EQ(Stored("View", "Size"), "500");
    EXPECT_EQ(Stored("Editor", "Size"), "-4");
    // The root in effect is kept while it is missing: a share may be unmounted.
    EXPECT_EQ(Stored("main", "Path"), dir / "gone/");

    // A field the operator changed stores what it shows.
    dlg = Open();
    Down(dlg->MarkDelayEdit);
    Down(dlg->ViewSizeEdit);
    Ok(*dlg);
    EXPECT_EQ(Stored("main", "MarkDelay"), "29900");
    EXPECT_EQ(Stored("View", "Size"), "89");
    EXPECT_EQ(Stored("Editor", "Size"), "-4");
}

TEST_F(OptionsDlgTest, ANewArchiveRootThatDoesNotExistIsStoredOnlyWhenTheOperatorSaysSo) {
    auto dlg = Open();
    const QString typo = QString::fromStdString(dir / "typo");
    dlg->DeleteCheckBox->setChecked(false);
    dlg->PathEdit->setText(typo);
    Ok(*dlg); // answered No
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].kind, TMsgKind::Warning);
    EXPECT_EQ(script.questions[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(script.questions[0].text, "The folder " + typo + "/ does not exist. Use it anyway?");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->Result().accepted);
    EXPECT_EQ(dlg->PageControl->currentIndex(), TOptionsDlg::MainPage);
    EXPECT_FALSE(testing_support::Exists(File()));
    EXPECT_EQ(dlg->PathEdit->text(), typo);
    EXPECT_FALSE(dlg->DeleteCheckBox->isChecked());

    script.messageAnswers.push_back(TMsgResult::Yes);
    Ok(*dlg);
    EXPECT_TRUE(dlg->Result().accepted);
    EXPECT_EQ(Stored("main", "Path"), dir / "typo/");
    EXPECT_EQ(Stored("main", "DeleteAutomaticly"), "NO");

    English = false;
    dlg = Open();
    dlg->PathEdit->setText(typo);
    Ok(*dlg);
    ASSERT_EQ(script.questions.size(), 3u);
    EXPECT_EQ(script.questions[2].text, QString::fromUtf8("Папка ") + typo +
                                            QString::fromUtf8("/ не существует. Использовать её?"));
}

TEST_F(OptionsDlgTest, CharacterSetNotInTheListStoresZero) {
    inEffect.charSet = 77;
    auto dlg = Open();
    EXPECT_EQ(dlg->ComboBox_Charset->currentText(), "MAC_CHARSET");
    dlg->ComboBox_Charset->Refill();
    ASSERT_EQ(dlg->ComboBox_Charset->count(), 18);
    EXPECT_EQ(dlg->ComboBox_Charset->itemText(14), "RUSSIAN_CHARSET");
    EXPECT_EQ(dlg->ComboBox_Charset->currentText(), "MAC_CHARSET");
    dlg->ComboBox_Charset->setEditText("KOI8");
    Ok(*dlg);
    EXPECT_EQ(Stored("main", "CharSet"), "0");
    EXPECT_EQ(dlg->Result().look.charSet, 0);
}

TEST_F(OptionsDlgTest, FontBoxesOfferTheMachinesFontsAndKeepTheirText) {
    Settings("[Editor]\nFont=NoSuchFont\nSize=20\n");
    auto dlg = Open();
    EXPECT_EQ(dlg->EditorComboBox->currentText(), "NoSuchFont");
    EXPECT_EQ(dlg->EditorSizeEdit->value(), 20);
    const QStringList families = FontFamilyNames(QFontDatabase::families());
    for (TRefillComboBox* box :
         {dlg->PrinterComboBox, dlg->ListComboBox, dlg->ViewComboBox, dlg->EditorComboBox}) {
        box->Refill();
        EXPECT_EQ(box->count(), families.size());
        box->Refill(); // refilled, not appended
        EXPECT_EQ(box->count(), families.size());
    }
    EXPECT_EQ(dlg->EditorComboBox->currentText(), "NoSuchFont");
}

TEST(FontFamilyNamesTest, EachFamilyOnceWithoutItsFoundry) {
    EXPECT_EQ(FontFamilyNames({"C059 [UKWN]", "Arial", "C059 [urw]", "Arial", "Odd [name"}),
              (QStringList{"C059", "Arial", "Odd [name"}));
}

TEST_F(OptionsDlgTest, AutoShowDelayIsVisibleExactlyWhileAutoShowIsTicked) {
    inEffect.autoShow = false;
    auto dlg = Open();
    const auto shown = [&] {
        return std::vector<bool>{dlg->AutoShowDelayEdit->isVisible(), dlg->AfterLabel->isVisible(),
                                 dlg->MinutesLabel->isVisible()};
    };
    const auto below = [&] {
        QApplication::processEvents();
        return dlg->DOSCodeCheckPageBox->geometry();
    };
    dlg->PageControl->setCurrentIndex(TOptionsDlg::MainPage);
    const QRect place = below();
    // The box spans the row; its tick mark sits at the left.
    const QPoint indicator(6, dlg->AutoEnableCheckBox->height() / 2);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
    QTest::mouseClick(dlg->AutoEnableCheckBox, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    // The controls below keep their place either way.
    EXPECT_EQ(below(), place);
    QTest::mouseClick(dlg->AutoEnableCheckBox, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(below(), place);
}

TEST_F(OptionsDlgTest, BlankKeyIsIgnoredInTheHighlightWords) {
    auto dlg = Open();
    dlg->PageControl->setCurrentIndex(TOptionsDlg::ColoursPage);
    dlg->HighLightMemo->clear();
    QTest::keyClicks(dlg->HighLightMemo, "ab cd");
    EXPECT_EQ(dlg->HighLightMemo->toPlainText(), "abcd");
}

TEST_F(OptionsDlgTest, PathButtonBrowsesForTheArchiveRoot) {
    MakeDirs(dir / "chosen");
    script.folderAnswers = {QString::fromStdString(dir / "chosen"), QString()};
    auto dlg = Open();
    dlg->PathEdit->setText(QString::fromStdString(dir / "archive/missing/deeper"));
    QTest::mouseClick(dlg->PathButton, Qt::LeftButton);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].call, ScriptedDialogs::Call::Folder);
    EXPECT_EQ(script.questions[0].title, "Path to root of archives");
    // Browsing starts at the nearest folder that exists.
    EXPECT_EQ(script.questions[0].start.toStdString() + "/", dir / "archive/");
    EXPECT_EQ(dlg->PathEdit->text().toStdString(), dir / "chosen");

    English = false;
    QTest::mouseClick(dlg->PathButton, Qt::LeftButton); // cancelled
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[1].title, QString::fromUtf8("Путь к корню архивов"));
    EXPECT_EQ(dlg->PathEdit->text().toStdString(), dir / "chosen");
}

TEST_F(OptionsDlgTest, ProgramButtonsPickAFileAndCancelChangesNothing) {
    script.fileAnswers = {"/usr/bin/lowriter", QString()};
    auto dlg = Open(TOptionsMode::WordExport);
    dlg->NotepadPathEdit->setText("/usr/bin/gedit");
    QTest::mouseClick(dlg->WordButton, Qt::LeftButton);
    QTest::mouseClick(dlg->NotePadButton, Qt::LeftButton);
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[0].call, ScriptedDialogs::Call::OpenFile);
    EXPECT_EQ(script.questions[0].filter, "*");
    EXPECT_EQ(dlg->WordPathEdit->text(), "/usr/bin/lowriter");
    EXPECT_EQ(dlg->NotepadPathEdit->text(), "/usr/bin/gedit");
}

TEST_F(OptionsDlgTest, FontsAndProgramsComeFromTheSettingsFile) {
    Settings("[main]\nWordExe=/opt/word\nNotepadExe=/opt/pad\n"
             "[Printer]\nFont=Courier New\nSize=12\n");
    inEffect.wordExe = "/ignored";
    auto dlg = Open();
    EXPECT_EQ(dlg->WordPathEdit->text(), "/opt/word");
    EXPECT_EQ(dlg->NotepadPathEdit->text(), "/opt/pad");
    EXPECT_EQ(dlg->PrinterComboBox->currentText(), "Courier New");
    EXPECT_EQ(dlg->PrinterSizeEdit->value(), 12);
    // Missing font keys show the dialog's defaults.
    EXPECT_EQ(dlg->ViewComboBox->currentText(), "System");
    EXPECT_EQ(dlg->ViewSizeEdit->value(), 10);
}

TEST_F(OptionsDlgTest, ShowsTheValuesInEffect) {
    inEffect.viewBufferSize = 50; // below the field's minimum, allowed at start-up
    inEffect.deleteAutomatically = false;
    inEffect.inDOS = true;
    inEffect.autoShowDelay = 17;
    inEffect.markDelay = 1300;
    inEffect.rereadDelay = 25;
    inEffect.insertDataTimeWhenPrinting = false;
    auto dlg = Open();
    EXPECT_EQ(dlg->BufferSizeEdit->value(), 50);
    EXPECT_FALSE(dlg->DeleteCheckBox->isChecked());
    EXPECT_TRUE(dlg->DOSCodeCheckPageBox->isChecked());
    EXPECT_EQ(dlg->AutoShowDelayEdit->value(), 17);
    EXPECT_EQ(dlg->MarkDelayEdit->value(), 1300);
    EXPECT_EQ(dlg->RereadDelayEdit->value(), 25);
    EXPECT_FALSE(dlg->DataTimePrintingCheckBox->isChecked());
    EXPECT_TRUE(dlg->DataTimeExportingCheckBox->isChecked());

    Ok(*dlg); // nothing changed: no restart message, the small capacity stays
    EXPECT_TRUE(script.questions.empty());
    EXPECT_EQ(Stored("main", "ViewBufferSize"), "50");
    EXPECT_EQ(dlg->Result().effects.front(), TOptionsEffect::KeepValues);
    // InDOS did not change, so briefs need no reloading.
    EXPECT_EQ(std::count(dlg->Result().effects.begin(), dlg->Result().effects.end(),
                         TOptionsEffect::ReloadBriefs),
              0);
}

TEST_F(OptionsDlgTest, CaptionsFollowTheLanguageWhenShown) {
    English = false;
    auto dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Настройки"));
    EXPECT_EQ(dlg->PageControl->tabText(0), QString::fromUtf8("Главная"));
    EXPECT_EQ(dlg->PageControl->tabText(1), QString::fromUtf8("Шрифты"));
    EXPECT_EQ(dlg->PageControl->tabText(2), QString::fromUtf8("Экспорт"));
    EXPECT_EQ(dlg->PageControl->tabText(3), QString::fromUtf8("Цвета"));
    EXPECT_EQ(dlg->SaveLabel->text(), QString::fromUtf8("Показывать"));
    EXPECT_EQ(dlg->DeleteCheckBox->text(),
              QString::fromUtf8("Удалять старые сообщения автоматически"));
    EXPECT_EQ(dlg->MarkLabel->text(), QString::fromUtf8("Отмечать прочитанное после"));
    EXPECT_EQ(dlg->MiliSecondLabel->text(), QString::fromUtf8("миллисекунд"));
    EXPECT_EQ(dlg->AutoEnableCheckBox->text(), QString::fromUtf8("Разрешить автопоказ"));
    EXPECT_EQ(dlg->DOSCodeCheckPageBox->text(), QString::fromUtf8("Сообщения в DOS кодировке"));
    EXPECT_EQ(dlg->PathLabel->text(), QString::fromUtf8("Путь к корню архивов"));
    EXPECT_EQ(dlg->ListLabel->text(), QString::fromUtf8("Заголовки"));
    EXPECT_EQ(dlg->DataTimePrintingCheckBox->text(),
              QString::fromUtf8("Вставлять Дату и Время при печати"));
    EXPECT_EQ(dlg->DataTimeExportingCheckBox->text(),
              QString::fromUtf8("Вставлять Дату и Время при экспорте"));
    EXPECT_EQ(dlg->KeyWordLabel->text(), QString::fromUtf8("Слова поиска"));
    // These read the same in both languages.
    EXPECT_EQ(dlg->NotePadLabel->text(), "NotePad");
    EXPECT_EQ(dlg->ApplyButton->text(), "Apply");
    EXPECT_EQ(dlg->ApplyColorButton->text(), "Applay");

    dlg->hide();
    English = true;
    dlg->show();
    EXPECT_EQ(dlg->windowTitle(), "Options");
    EXPECT_EQ(dlg->PageControl->tabText(3), "Colors");
    EXPECT_EQ(dlg->MarkLabel->text(), "Mark the readed messages after");
    EXPECT_EQ(dlg->HighLightLabel->text(), "Highlighted words");
}

TEST(OptionsColourBoxTest, KeepsAColourThatIsNotAStandardOne) {
    TColourBox box;
    const int standard = box.count();
    box.SetColourValue(0x0000FF);
    EXPECT_EQ(box.ColourValue(), 255);
    EXPECT_EQ(box.count(), standard);
    box.SetColourValue(0x123456);
    EXPECT_EQ(box.ColourValue(), 0x123456);
    EXPECT_EQ(box.count(), standard + 1);
    box.SetColourValue(0x123456);
    EXPECT_EQ(box.count(), standard + 1);
    box.SetColourValue(-1); // not a colour: ignored
    EXPECT_EQ(box.ColourValue(), 0x123456);
    // Swatches only, no names.
    EXPECT_TRUE(box.itemText(0).isEmpty());
}
