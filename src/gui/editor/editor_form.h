#pragma once

#include "core/app/options_values.h"
#include "core/archive/archive_options.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QToolBar;
class QToolButton;

namespace varnot {

class TFindReplaceDialog;

enum class TOptionsMode;

// The external programs an export hands its text to.
enum class TExportProgram { NotePad, Word };

// What the editor uses of the main window. Every member may be left empty.
struct TEditorLinks {
    // Main Window (F12): brings the main window forward and gives it the focus.
    std::function<void()> showMainWindow;
    // Options: the window's own options dialog, opened at the editor's font.
    // The editor takes its font from the settings again afterwards.
    std::function<void(TOptionsMode mode)> showOptions;
    // The window's text editor and word processor (NotePadExe, WordExe),
    // read before each export from here, and a program the operator named
    // during one handed back. Without both the editor keeps its own, read
    // from the settings.
    std::function<std::string(TExportProgram program)> readProgram;
    std::function<void(TExportProgram program, const std::string& path)> keepProgram;
    // The printer the window prints with, which keeps the set-up choice (not
    // owned). Without one, or when it gives nullptr, the editor has its own.
    std::function<QPrinter*()> printer;
};

// How appending one message ended.
enum class TAddResult {
    Added,
    Full,       // it would not fit; the operator has been told
    ReadFailed, // its file could not be read; the operator has been told
};

// The built-in editor: a plain-text window beside the main window in which
// the operator collects messages, edits them and saves, exports or prints
// the result. The text lives as long as the window. Closing the window, and
// Open, ask first whether a changed text is to be saved.
//
// Its work is spread over editor_form.cpp (frame, captions, status bar,
// font, geometry, closing), editor_form_commands.cpp (file, clipboard,
// output and window commands, appending messages) and
// editor_form_search.cpp (find and replace).
class TEditorForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TEditorForm(TEditorLinks links);
    ~TEditorForm() override;

    // Appends a message (its file and its record's time) at the end of the
    // text: date line, lines, empty line. A message that would overfill the
    // editor is refused with a box; so is a file that cannot be read.
    TAddResult AddOneToEditor(const std::string& path, std::int32_t time,
                              const ArchiveOptions& options);
    // Word wrap of the text (off unless sectioned messages are added with the
    // view's wrapping on).
    void SetWordWrap(bool wrap);

    // Captions, hints and status texts in the current language.
    void ApplyCaptions();
    // The editor font from the settings (Font and Size of section Editor), or
    // one the options dialog's Apply button put into effect.
    void ApplyEditorFont();
    void ApplyEditorFont(const TFontSetting& font);
    // Writes the window's place and size to section Editor.
    void SaveGeometry() const;

    // The question before a changed text is lost: true when the operator
    // saved it or let it go, false when it is to stay. Nothing is asked when
    // the text is empty or unchanged since it was opened, saved, exported or
    // printed.
    bool MayDiscardText();
    // Closes the window without a question (the program ends).
    void CloseWithoutQuestion();

    // The text as lines, the way it is saved, exported and printed (a line
    // break at the very end opens no line).
    QStringList Lines() const;
    // The file last opened or saved as; where the file dialogs start.
    const QString& FileName() const { return fileName_; }

    // Commands.
    void ClearItemClick();
    void OpenItemClick();
    void SaveAsItemClick();
    void ExportItemClick();
    void ExportWordItemClick();
    void PrintItemClick();
    void PrinterSetupItemClick();
    void UndoItemClick();
    void CutItemClick();
    void CopyItemClick();
    void PasteItemClick();
    void SelectAllItemClick();
    void FindItemClick();
    void FindNextItemClick();
    void ReplaceItemClick();
    void OptionsItemClick();
    void MainWindowItemClick();
    // Cut and Copy follow the selection; the status bar follows the text.
    void UpdateEditorStatus();

  signals:
    // The window has been closed; its text is gone.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildButtons();
    void LoadGeometry();
    QPrinter& Printer();
    void ExportTo(TExportProgram program);
    // The save dialog and the writing: true when the text was saved.
    bool SaveTextAs();
    // The text has been handed on: it counts as unchanged from here.
    void MarkKept();

    // Find and replace.
    TFindReplaceDialog& SearchDialog(bool replacing);
    void ShowSearchDialog(bool replacing);
    bool SearchNext(const TFindReplaceDialog& dialog);
    void FindNext(const TFindReplaceDialog& dialog);
    bool ReplaceSelection(const TFindReplaceDialog& dialog, bool onlyWhenMatching);
    void Replace(const TFindReplaceDialog& dialog);
    void ReplaceAll(const TFindReplaceDialog& dialog);
    void ShowNotFound(const QString& key);

    TEditorLinks links_;
    QString fileName_;
    bool closingWithoutQuestion_ = false;
    std::string notePadExe_; // when the window lends none
    std::string wordExe_;
    std::unique_ptr<QPrinter> ownPrinter_;

    QPlainTextEdit* Memo = nullptr;
    QLabel* StatusPanel = nullptr;
    QLabel* ByteLabel = nullptr;
    QToolBar* ButtonBar = nullptr;
    QAction* CutItem = nullptr;
    QAction* CopyItem = nullptr;
    QToolButton* CutButton = nullptr;
    QToolButton* CopyButton = nullptr;
    TFindReplaceDialog* FindDialog = nullptr;
    TFindReplaceDialog* ReplaceDialog = nullptr;
};

} // namespace varnot
