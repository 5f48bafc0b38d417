// Find and replace in the editor's text. The search itself is the program's
// text search on the text as code page 1251 bytes, one byte per position of
// the text control.
#include "gui/editor/editor_form.h"

#include "core/editor/editor_search.h"
#include "gui/app/dialogs.h"
#include "gui/editor/editor_texts.h"
#include "gui/editor/find_replace_dialog.h"
#include "gui/editor/utf16_view.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace varnot {

TFindReplaceDialog& TEditorForm::SearchDialog(bool replacing) {
    TFindReplaceDialog*& dialog = replacing ? ReplaceDialog : FindDialog;
    if (dialog != nullptr) return *dialog;
    dialog = new TFindReplaceDialog(
        replacing ? TFindReplaceDialog::Mode::Replace : TFindReplaceDialog::Mode::Find, this);
    TFindReplaceDialog* self = dialog;
    connect(dialog, &TFindReplaceDialog::FindNextClicked, this, [this, self] { FindNext(*self); });
    connect(dialog, &TFindReplaceDialog::ReplaceClicked, this, [this, self] { Replace(*self); });
    connect(dialog, &TFindReplaceDialog::ReplaceAllClicked, this,
            [this, self] { ReplaceAll(*self); });
    return *dialog;
}

void TEditorForm::ShowSearchDialog(bool replacing) {
    TFindReplaceDialog& dialog = SearchDialog(replacing);
    // The first search begins at the top.
    QTextCursor start = Memo->textCursor();
    start.movePosition(QTextCursor::Start);
    Memo->setTextCursor(start);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void TEditorForm::FindItemClick() {
    ShowSearchDialog(false);
}

void TEditorForm::ReplaceItemClick() {
    ShowSearchDialog(true);
}

void TEditorForm::FindNextItemClick() {
    FindNext(SearchDialog(false));
}

bool TEditorForm::SearchNext(const TFindReplaceDialog& dialog) {
    const QString key = dialog.FindText();
    if (key.isEmpty()) return false;
    const QString text = Memo->toPlainText();
    QTextCursor cursor = Memo->textCursor();
    const int selStart = cursor.selectionStart();
    const std::optional<std::size_t> hit =
        SearchEditorText(Utf16View(text), static_cast<std::size_t>(selStart),
                         static_cast<std::size_t>(cursor.selectionEnd() - selStart),
                         EditorSearchBytes(Utf16View(key)), dialog.Flags());
    if (!hit) return false;
    cursor.setPosition(static_cast<int>(*hit));
    cursor.setPosition(static_cast<int>(*hit) + static_cast<int>(key.size()),
                       QTextCursor::KeepAnchor);
    Memo->setTextCursor(cursor);
    return true;
}

void TEditorForm::FindNext(const TFindReplaceDialog& dialog) {
    if (!SearchNext(dialog)) ShowNotFound(dialog.FindText());
}

bool TEditorForm::ReplaceSelection(const TFindReplaceDialog& dialog, bool onlyWhenMatching) {
    QTextCursor cursor = Memo->textCursor();
    if (onlyWhenMatching &&
        (!cursor.hasSelection() ||
         QString::compare(cursor.selectedText(), dialog.FindText(), Qt::CaseInsensitive) != 0))
        return false;
    const int start = cursor.selectionStart();
    const QString replacement = dialog.ReplaceText();
    cursor.insertText(replacement);
    // The replacement stays selected, so the next search starts past it.
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(replacement.size()), QTextCursor::KeepAnchor);
    Memo->setTextCursor(cursor);
    return true;
}

void TEditorForm::Replace(const TFindReplaceDialog& dialog) {
    ReplaceSelection(dialog, true);
    if (!SearchNext(dialog)) ShowNotFound(dialog.FindText());
}

void TEditorForm::ReplaceAll(const TFindReplaceDialog& dialog) {
    // One step for Undo.
    QTextCursor block(Memo->document());
    block.beginEditBlock();
    ReplaceSelection(dialog, true);
    while (SearchNext(dialog)) ReplaceSelection(dialog, false);
    block.endEditBlock();
}

void TEditorForm::ShowNotFound(const QString& key) {
    Dialogs().MessageBox(this, TMsgKind::Information, EditorNotFoundText(key), TMsgButtons::Yes);
}

} // namespace varnot
