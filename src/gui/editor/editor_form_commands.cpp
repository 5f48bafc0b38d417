// The editor's commands: the file, clipboard, output and window commands,
// and appending messages.
#include "gui/editor/editor_form.h"

#include "core/app/settings_keys.h"
#include "core/editor/editor_addition.h"
#include "core/text/code_pages.h"
#include "gui/app/dialogs.h"
#include "gui/app/options_dlg.h"
#include "gui/editor/editor_file.h"
#include "gui/editor/editor_texts.h"
#include "gui/editor/utf16_view.h"
#include "gui/output/export_launcher.h"
#include "gui/output/output_texts.h"
#include "gui/output/printing.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextCursor>

namespace varnot {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

} // namespace

TAddResult TEditorForm::AddOneToEditor(const std::string& path, std::int32_t time,
                                       const ArchiveOptions& options) {
    QTextCursor end = Memo->textCursor();
    end.movePosition(QTextCursor::End);
    Memo->setTextCursor(end);

    const TEditorAddition addition = ComposeEditorAddition(path, time, options);
    if (!addition.read) {
        Dialogs().MessageBox(
            this, TMsgKind::Error,
            ReadErrorText(QFile::decodeName(QByteArray::fromStdString(path)), addition.error),
            TMsgButtons::Yes);
        return TAddResult::ReadFailed;
    }
    const TEditorSize size = EditorSizeOf(Utf16View(Memo->toPlainText()));
    if (!AdditionFits(size, addition.size)) {
        Dialogs().MessageBox(this, TMsgKind::Error, EditorFullText(), TMsgButtons::Yes);
        return TAddResult::Full;
    }

    QString appended;
    if (size.openLastLine) appended += '\n';
    for (const std::string& line : addition.lines) appended += FromBytes(line) + '\n';
    end.insertText(appended);
    Memo->setTextCursor(end);
    Memo->ensureCursorVisible();
    return TAddResult::Added;
}

void TEditorForm::ClearItemClick() {
    // Removed as an edit, not reset: Undo brings the text back.
    QTextCursor all(Memo->document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    UpdateEditorStatus();
}

void TEditorForm::OpenItemClick() {
    if (!MayDiscardText()) return;
    const QString name =
        Dialogs().OpenFileName(this, EditorOpenTitle(), fileName_, EditorFileFilter());
    if (name.isEmpty()) return;
    const TEditorFileText file = ReadEditorFile(name);
    QString refusal;
    switch (file.status) {
    case TEditorFileText::Status::Read:
        break;
    case TEditorFileText::Status::CannotOpen:
        refusal = EditorCannotOpenText(name, file.error);
        break;
    case TEditorFileText::Status::NotText:
        refusal = EditorNotTextText(name);
        break;
    case TEditorFileText::Status::TooLarge:
        refusal = EditorTooLargeText(name);
        break;
    }
    if (!refusal.isEmpty()) {
        Dialogs().MessageBox(this, TMsgKind::Error, refusal, TMsgButtons::Yes);
        return;
    }
    Memo->setPlainText(file.text);
    fileName_ = name;
    Memo->document()->setModified(false);
    UpdateEditorStatus();
}

void TEditorForm::SaveAsItemClick() {
    SaveTextAs();
}

bool TEditorForm::SaveTextAs() {
    QString name = Dialogs().SaveFileName(this, EditorSaveAsTitle(), fileName_, EditorFileFilter());
    if (name.isEmpty()) return false;
    if (!QFileInfo(name).fileName().contains('.')) {
        name += ".TXT";
        // The file dialog asked about the name as typed, not about this one.
        const QFileInfo completed(name);
        if ((completed.exists() || completed.isSymLink()) &&
            Dialogs().MessageBox(this, TMsgKind::Confirmation, EditorReplaceQuestionText(name),
                                 TMsgButtons::YesNo) != TMsgResult::Yes)
            return false;
    }
    if (const int error = WriteEditorFile(name, Lines()); error != 0) {
        Dialogs().MessageBox(this, TMsgKind::Error, EditorCannotWriteText(name, error),
                             TMsgButtons::Yes);
        return false;
    }
    fileName_ = name;
    MarkKept();
    return true;
}

void TEditorForm::MarkKept() {
    Memo->document()->setModified(false);
}

void TEditorForm::ExportTo(TExportProgram which) {
    const bool word = which == TExportProgram::Word;
    const bool linked = links_.readProgram && links_.keepProgram;
    std::string& own = word ? wordExe_ : notePadExe_;
    const std::string before = linked ? links_.readProgram(which) : own;
    std::string program = before;
    const TExportOutcome outcome =
        ExportLines(this, program, word ? keys::WordExe : keys::NotePadExe, Lines());
    // A program the operator named on the way is the window's from now on.
    if (program != before) {
        if (linked)
            links_.keepProgram(which, program);
        else
            own = program;
    }
    if (outcome == TExportOutcome::Started) MarkKept();
}

void TEditorForm::ExportItemClick() {
    ExportTo(TExportProgram::NotePad);
}

void TEditorForm::ExportWordItemClick() {
    ExportTo(TExportProgram::Word);
}

QPrinter& TEditorForm::Printer() {
    if (QPrinter* printer = links_.printer ? links_.printer() : nullptr) return *printer;
    if (!ownPrinter_) ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *ownPrinter_;
}

void TEditorForm::PrintItemClick() {
    const TPrintResult result = PrintLines(Printer(), Lines());
    if (result.Failed()) {
        ShowPrintFailure(this, result);
        return;
    }
    MarkKept();
}

void TEditorForm::PrinterSetupItemClick() {
    PrinterSetup(this, Printer());
}

void TEditorForm::UndoItemClick() {
    Memo->undo();
}

void TEditorForm::CutItemClick() {
    Memo->cut();
}

void TEditorForm::CopyItemClick() {
    Memo->copy();
}

void TEditorForm::PasteItemClick() {
    Memo->paste();
}

void TEditorForm::SelectAllItemClick() {
    Memo->selectAll();
    UpdateEditorStatus();
}

void TEditorForm::OptionsItemClick() {
    if (links_.showOptions) links_.showOptions(TOptionsMode::EditorFont);
    ApplyEditorFont();
}

void TEditorForm::MainWindowItemClick() {
    if (links_.showMainWindow) links_.showMainWindow();
}

} // namespace varnot
