#include "gui/editor/editor_form.h"

#include "core/app/ini_file.h"
#include "gui/editor/editor_test_support.h"

#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QToolButton>

using namespace varnot;
using testing_support::EditorFixture;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;
using testing_support::WriteFile;

namespace {

using EditorFormTest = EditorFixture;

TEST_F(EditorFormTest, StatusBarAndCutCopyFollowTheTextAndSelection) {
    EXPECT_EQ(Control<QLabel>("StatusPanel").text(), "    0  lines");
    EXPECT_EQ(Control<QLabel>("ByteLabel").text(), "0  bytes");
    EXPECT_FALSE(Control("CutItem").isEnabled());

    QTest::keyClicks(&Memo(), "ab");
    QTest::keyClick(&Memo(), Qt::Key_Return);
    QTest::keyClick(&Memo(), Qt::Key_C);
    EXPECT_EQ(Control<QLabel>("StatusPanel").text(), "    2  lines");
    EXPECT_EQ(Control<QLabel>("ByteLabel").text(), "5  bytes"); // CR LF counts two

    QTest::keyClick(&Memo(), Qt::Key_Left, Qt::ShiftModifier);
    for (const char* name : {"CutItem", "CopyItem"}) EXPECT_TRUE(Control(name).isEnabled());
    for (const char* name : {"CutButton", "CopyButton"})
        EXPECT_TRUE(Control<QToolButton>(name).isEnabled());
    QTest::keyClick(&Memo(), Qt::Key_Home);
    EXPECT_FALSE(Control("CopyItem").isEnabled());
    EXPECT_FALSE(Control<QToolButton>("CutButton").isEnabled());

    English = false;
    Editor().ApplyCaptions();
    EXPECT_EQ(Editor().windowTitle(), "Встроенный редактор");
    EXPECT_EQ(Control<QLabel>("StatusPanel").text(), "    2  строк");
    EXPECT_EQ(Control("FindNextItem").text(), "&Повторить поиск");
    EXPECT_EQ(Control("FindNextItem").shortcut(), QKeySequence(Qt::Key_F3));
}

TEST_F(EditorFormTest, ClearIsUndoneAndCtrlDelClears) {
    Memo().setPlainText("keep me");
    Editor().ClearItemClick();
    EXPECT_TRUE(Memo().toPlainText().isEmpty());
    Control("UndoItem").trigger();
    EXPECT_EQ(Memo().toPlainText(), "keep me");

    // The shortcut reaches the command although the text has the focus.
    Editor().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Editor()));
    Memo().setFocus();
    Memo().moveCursor(QTextCursor::Start);
    QTest::keyClick(&Memo(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(Memo().toPlainText().isEmpty());
}

TEST_F(EditorFormTest, FindNextSelectsEachOccurrenceThenSaysNotFound) {
    Memo().setPlainText("one abc two abc");
    Memo().moveCursor(QTextCursor::End);
    Control("FindItem").trigger(); // the search starts at the top again
    InDialog<QLineEdit>("FindDialog", "FindEdit").setText("abc");
    InDialog<QPushButton>("FindDialog", "FindNextButton").click();
    EXPECT_EQ(Memo().textCursor().selectionStart(), 4);
    Control("FindNextItem").trigger();
    EXPECT_EQ(Memo().textCursor().selectionStart(), 12);
    EXPECT_TRUE(dialogs.questions.empty());
    Control("FindNextItem").trigger();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Cannot find \" abc\" .");
    EXPECT_EQ(Memo().textCursor().selectionStart(), 12);

    English = false;
    Control("FindNextItem").trigger();
    EXPECT_EQ(dialogs.questions.back().text, "Не могу найти abc\" .");
}

TEST_F(EditorFormTest, ReplaceAllIgnoringCaseReplacesEveryOccurrenceInOneUndoStep) {
    Memo().setPlainText("abc Abc xabcx");
    Control("ReplaceItem").trigger();
    InDialog<QLineEdit>("ReplaceDialog", "FindEdit").setText("abc");
    InDialog<QLineEdit>("ReplaceDialog", "ReplaceEdit").setText("ABC");
    InDialog<QPushButton>("ReplaceDialog", "ReplaceAllButton").click();
    EXPECT_EQ(Memo().toPlainText(), "ABC ABC xABCx");
    EXPECT_TRUE(dialogs.questions.empty());
    Editor().UndoItemClick();
    EXPECT_EQ(Memo().toPlainText(), "abc Abc xabcx");

    // Replace: the selected occurrence, then on to the next; none left is said.
    Editor().ReplaceItemClick();
    InDialog<QPushButton>("ReplaceDialog", "FindNextButton").click();
    InDialog<QLineEdit>("ReplaceDialog", "ReplaceEdit").setText("-");
    InDialog<QPushButton>("ReplaceDialog", "ReplaceButton").click();
    EXPECT_EQ(Memo().toPlainText(), "- Abc xabcx");
    EXPECT_EQ(Selected(), "Abc");
    InDialog<QPushButton>("ReplaceDialog", "ReplaceButton").click();
    InDialog<QPushButton>("ReplaceDialog", "ReplaceButton").click();
    EXPECT_EQ(Memo().toPlainText(), "- - x-x");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Cannot find \" abc\" .");
}

TEST_F(EditorFormTest, SaveAsAndOpenKeepCyrillicText) {
    Memo().setPlainText("Привет\nмир");
    dialogs.fileAnswers = {QString::fromStdString(dir / "notes")};
    Control("SaveAsItem").trigger();
    EXPECT_EQ(dialogs.questions[0].filter, "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(ReadFile(dir / "notes.TXT"), "Привет\r\nмир\r\n");
    EXPECT_EQ(Editor().FileName(), QString::fromStdString(dir / "notes.TXT"));

    Editor().ClearItemClick();
    dialogs.messageAnswers = {TMsgResult::No}; // the cleared text may go
    dialogs.fileAnswers = {QString::fromStdString(dir / "notes.TXT")};
    Control("OpenItem").trigger();
    EXPECT_EQ(Memo().toPlainText(), "Привет\nмир\n");
    EXPECT_EQ(dialogs.questions.back().start, QString::fromStdString(dir / "notes.TXT"));

    // Not UTF-8: code page 1251.
    WriteFile(dir / "old.txt", "\xCF\xF0\xE8\r\n");
    dialogs.fileAnswers = {QString::fromStdString(dir / "old.txt")};
    Editor().OpenItemClick();
    EXPECT_EQ(Memo().toPlainText(), "При\n");
    EXPECT_EQ(dialogs.unanswered, 0);
}

TEST_F(EditorFormTest, OpenRefusesBinaryAndOversizedFiles) {
    Memo().setPlainText("stays");
    Memo().document()->setModified(false);
    WriteFile(dir / "binary", std::string("text\0more", 9));
    std::string lines;
    for (int i = 0; i < 512; ++i) lines += "x\n";
    WriteFile(dir / "long.txt", lines);
    dialogs.fileAnswers = {QString::fromStdString(dir / "binary"),
                           QString::fromStdString(dir / "long.txt")};
    Editor().OpenItemClick();
    Editor().OpenItemClick();
    ASSERT_EQ(dialogs.questions.size(), 4u);
    EXPECT_TRUE(dialogs.questions[1].text.startsWith("This is not a text file"));
    EXPECT_TRUE(dialogs.questions[3].text.startsWith("The file is too large for the editor"));
    EXPECT_EQ(Memo().toPlainText(), "stays");
    EXPECT_TRUE(Editor().FileName().isEmpty());
}

TEST_F(EditorFormTest, ExportAndPrintHandOnTheLinesAsTheyStand) {
    Memo().setPlainText("line one\nстрока\n");
    notePadExe = "/bin/true";
    Control("ExportItem").trigger();
    EXPECT_EQ(ReadFile(dir / "expo.txt"), "line one\r\nстрока\r\n");
    EXPECT_FALSE(Memo().document()->isModified());

    Memo().moveCursor(QTextCursor::End);
    Memo().insertPlainText("more");
    Control("PrintItem").trigger();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {QString::fromStdString(dir / "out.pdf"), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(60000)) << "poppler-utils is needed";
    EXPECT_EQ(QString::fromUtf8(pdftotext.readAllStandardOutput()).trimmed(),
              "line one\nстрока\nmore");
    EXPECT_FALSE(Memo().document()->isModified());
    EXPECT_TRUE(dialogs.questions.empty());

    dialogs.printerSetupAnswers = {true};
    Control("PrinterSetupItem").trigger();
    EXPECT_EQ(dialogs.questions.back().call, ScriptedDialogs::Call::PrinterSetup);
}

TEST_F(EditorFormTest, OptionsAndMainWindowGoToTheWindow) {
    WriteFile(dir / "varnot.INI", "[Editor]\r\nSize=14\r\n");
    EXPECT_EQ(Memo().font().pointSize(), 14);
    links.showOptions = [this](TOptionsMode mode) {
        optionsModes.push_back(mode);
        IniFile ini(dir / "varnot.INI");
        ini.WriteString("Editor", "Size", "17");
        ini.Save();
    };
    host = std::make_unique<TEditorHost>(links);
    Control("OptionsItem").trigger();
    EXPECT_EQ(optionsModes, std::vector<TOptionsMode>{TOptionsMode::EditorFont});
    EXPECT_EQ(Memo().font().pointSize(), 17);
    Control<QToolButton>("MainWindowButton").click();
    EXPECT_EQ(mainWindowShown, 1);
}

TEST_F(EditorFormTest, SaveAsAsksBeforeReplacingTheFileItsCompletedNameNames) {
    WriteFile(dir / "notes.TXT", "old");
    Memo().setPlainText("new");
    for (const TMsgResult answer : {TMsgResult::No, TMsgResult::Yes}) {
        dialogs.messageAnswers = {answer};
        dialogs.fileAnswers = {QString::fromStdString(dir / "notes")};
        Control("SaveAsItem").trigger();
        ASSERT_EQ(dialogs.questions.back().call, ScriptedDialogs::Call::Message);
        EXPECT_EQ(dialogs.questions.back().buttons, TMsgButtons::YesNo);
        EXPECT_EQ(ReadFile(dir / "notes.TXT"), answer == TMsgResult::Yes ? "new\r\n" : "old");
    }
}

} // namespace
