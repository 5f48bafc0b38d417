// Export and printing from the main window: the commands reach the output
// units with the window's list, settings and printer.
#include "main_form_fixture.h"

#include "core/archive/day_folders.h"
#include "gui/support/scripted_dialogs.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QToolButton>
#include <ctime>
#include <sys/stat.h>

using namespace varnot;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;
using testing_support::WriteFile;

namespace {

class OutputCommandsTest : public testing_support::MainFormFixture {
  protected:
    std::unique_ptr<TMainform> Open() {
        auto form = OpenAndScan();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->CheckButtons();
        form->Printer().setOutputFormat(QPrinter::PdfFormat);
        form->Printer().setOutputFileName(QString::fromStdString(pdf));
        return form;
    }

    // Selects the messages at the rows (every message is shown).
    static void Select(TMainform& form, std::initializer_list<int> rows) {
        for (int row : rows) form.Panel().Current().ToggleSelected(row);
        form.UpdateStatusLine();
    }

    // Stands in for the editor: writes the argument it was started with.
    std::string Editor() {
        const std::string script = program / "my editor";
        WriteFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (program / "argument") + "\"\n");
        ::chmod(script.c_str(), 0755);
        return script;
    }

    QString PrintedText() const {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {QString::fromStdString(pdf), "-"});
        EXPECT_TRUE(pdftotext.waitForFinished(60000)) << "poppler-utils is needed";
        return QString::fromUtf8(pdftotext.readAllStandardOutput()).trimmed();
    }

    std::string pdf = program / "out.pdf";
    ScriptedDialogs dialogs;
};

TEST_F(OutputCommandsTest, ExportNamesTheEditorOnceAndKeepsTheSelection) {
    Messages(3);
    Settings("InsertDataTimeWhenExporting=NO\r\n");
    auto form = Open();
    Select(*form, {0, 2});
    dialogs.messageAnswers = {TMsgResult::Yes};
    dialogs.fileAnswers = {QString::fromStdString(Editor())};

    form->Frame().ExportItem->trigger();
    EXPECT_EQ(ReadFile(program / "expo.txt"), "Brief 2\r\nBody\r\n\r\nBrief 0\r\nBody\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Exists(program / "argument"); }, 30000));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ReadFile(program / "argument") == program / "expo.txt"; }));
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 2}));
    // The program named is the window's from now on: the tool button asks nothing.
    EXPECT_EQ(form->NotePadExe(), Editor());
    dialogs.questions.clear();
    form->Frame().ExportButton->click();
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(form->Frame().FileGrid->hasFocus());
}

TEST_F(OutputCommandsTest, PrintUnmarksThePrintedMessagesAndSetupUsesTheSamePrinter) {
    Messages(3);
    Settings("InsertDataTimeWhenPrinting=NO\r\n");
    auto form = Open();
    Select(*form, {0, 2});
    ASSERT_TRUE(form->Frame().HintLabel->text().contains("2 selected files"));

    form->Frame().PrintItem->trigger();
    EXPECT_EQ(PrintedText(), "Brief 2\nBody\nBrief 0\nBody");
    EXPECT_TRUE(SelectedRows(*form).empty());
    EXPECT_EQ(form->Panel().Current().SelCount, 0);
    EXPECT_EQ(form->Panel().Current().SelSize, 0);
    EXPECT_FALSE(form->Frame().HintLabel->text().contains("selected"));

    dialogs.printerSetupAnswers = {true, true};
    form->Frame().PrinterSetupItem->trigger();
    form->Frame().PrintersSetupItem->trigger();
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[1].call, ScriptedDialogs::Call::PrinterSetup);
}

TEST_F(OutputCommandsTest, AnAnnouncedMessageIsPrintedWithoutADateLine) {
    Messages(1);
    Settings("AutoPrint=YES\r\n");
    auto form = Open();
    WriteFile(archive / (TodayFolderName() + "/NEWS.TXT"), "Fresh news\r\n", std::time(nullptr));
    TestAccess(*form).Scan().AddArrivedFile("NEWS.TXT");
    EXPECT_EQ(PrintedText(), "Fresh news");
    EXPECT_TRUE(dialogs.questions.empty());
}

} // namespace
