// The editor's commands: the file, clipboard, output and window commands,
// and appending messages.
#include "gui/editor/editor_form.h"

#include "core/app/settings_keys.h"
#include "core/text/code_pages.h"
#include "core/editor/editor_addition.h"
#include "gui/app/dialogs.h"
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
    if (!QFileInfo(name).fileName().contains('.')) name += ".TXT";
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

std::string& TEditorForm::Program(bool word) {
    if (word) return links_.wordExe != nullptr ? *links_.wordExe : wordExe_;
    return links_.notePadExe != nullptr ? *links_.notePadExe : notePadExe_;
}

void TEditorForm::ExportTo(bool word) {
    const TExportOutcome outcome =
        ExportLines(this, Program(word), word ? keys::WordExe : keys::NotePadExe, Lines());
    if (outcome == TExportOutcome::Started) MarkKept();
}

void TEditorForm::ExportItemClick() {
    ExportTo(false);
}

void TEditorForm::ExportWordItemClick() {
    ExportTo(true);
}

QPrinter& TEditorForm::Printer() {
    if (links_.printer != nullptr) return *links_.printer;
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
    if (links_.showOptions) links_.showOptions(EditorFontOptionsMode);
    ApplyEditorFont();
}

void TEditorForm::MainWindowItemClick() {
    if (links_.showMainWindow) links_.showMainWindow();
}

} // namespace varnot
