#pragma once

#include "core/app/options_values.h"

#include <memory>

namespace varnot {

class TEditorHost;
class TMainform;

// The main window's side of the built-in editor: Show Editor and Add to
// Editor, and what the editor borrows of the window (its options dialog,
// its external programs, its printer).
class TEditorCommands {
  public:
    explicit TEditorCommands(TMainform& form);
    // An editor still open when the program ends keeps its place and size.
    ~TEditorCommands();
    TEditorCommands(const TEditorCommands&) = delete;
    TEditorCommands& operator=(const TEditorCommands&) = delete;

    void ShowEditor();
    // Appends the messages of the output set of the list on display.
    void AddToEditor();

    // The main window is closing: false when the operator keeps a changed
    // text open. With askToSave false nothing is asked.
    bool CloseForShutdown(bool askToSave);
    // The language changed.
    void ApplyCaptions();
    // The options dialog's Apply or OK put fonts into effect.
    void ApplyEditorFont(const TFontSetting& font);

  private:
    TMainform& form_;
    std::unique_ptr<TEditorHost> host_;
};

} // namespace varnot
