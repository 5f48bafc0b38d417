#pragma once

#include "core/app/options_values.h"
#include "core/archive/archive_options.h"
#include "gui/editor/editor_form.h"

#include <QPointer>

namespace varnot {

class CList;

// The main window's side of the built-in editor: at most one editor exists,
// created on first use and gone, with its text, when it is closed.
class TEditorHost {
  public:
    explicit TEditorHost(TEditorLinks links);
    // An editor still open goes without a question; call CloseForShutdown first.
    ~TEditorHost();
    TEditorHost(const TEditorHost&) = delete;
    TEditorHost& operator=(const TEditorHost&) = delete;

    // An editor window exists.
    bool EditorOpen() const { return !form_.isNull(); }
    // The editor while one is open, else nullptr.
    TEditorForm* EditorForm() const { return form_.data(); }

    // Show Editor: creates the editor when none is open, shows it and brings
    // it to the front.
    void ShowEditor();
    // Add to Editor: appends the messages of the output set of the list on
    // display (the selection, else the message at the current row) in list
    // order, stopping at the first that does not fit or cannot be read, then
    // shows the editor. With sectioned messages (options.inZev) the editor
    // wraps words as the message view does (`wordWrap`).
    void AddToEditor(const CList& list, int currentRow, const ArchiveOptions& options,
                     bool wordWrap);

    // The editor font from the settings (after the options dialog's OK), or
    // the one its Apply button put into effect.
    void ApplyEditorFont();
    void ApplyEditorFont(const TFontSetting& font);
    // The language changed.
    void ApplyCaptions();

    // The main window is closing: true when it may. With askToSave a changed
    // text is offered for saving first (Cancel keeps both windows open);
    // without it (a shutdown signal) nothing is asked. The editor's geometry
    // is written and the editor closed.
    bool CloseForShutdown(bool askToSave);

  private:
    TEditorForm& Editor();

    TEditorLinks links_;
    QPointer<TEditorForm> form_;
};

} // namespace varnot
