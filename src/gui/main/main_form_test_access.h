#pragma once

#include "core/archive/file_panel.h"
#include "gui/main/list_controller.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/notify_commands.h"

#include <QString>
#include <functional>
#include <string>
#include <utility>

namespace varnot {

// The main window as tests reach it: its parts (the scanner logic, the list
// model, the list controller) and the state behind its commands. The program
// itself uses the window's public services; only tests use this.
class TMainformTestAccess {
  public:
    explicit TMainformTestAccess(TMainform& form) : form_(form) {}

    TScanControl& Scan() const { return *form_.scan_; }
    TMessageListModel& ListModel() const { return *form_.listModel_; }
    TListController& List() const { return *form_.list_; }
    TNotifyCommands& Notify() const { return *form_.notify_; }

    // The pane layout: the list's share of the height, the share from
    // before zooming in, and whether the view is zoomed in.
    int& PaneRatio() const { return form_.paneRatio_; }
    int& SavedRatio() const { return form_.savedRatio_; }
    bool& Zoomed() const { return form_.zoomed_; }
    PaneGeometry CurrentPaneGeometry() const { return form_.CurrentPaneGeometry(); }

    // The message shown last and the code page it was read with.
    const std::string& LastShownPath() const { return form_.lastShownPath_; }
    bool LastShownInDOS() const { return form_.lastShownInDOS_; }
    // The announce service's name, reduced from the setting.
    const std::string& ServiceName() const { return form_.serviceName_; }
    // Replaces the desktop's way of opening a file that is not a message.
    void SetOpenWithAssociatedProgram(std::function<void(const QString&)> open) const {
        form_.openWithAssociatedProgram_ = std::move(open);
    }

    // Commands tests call directly.
    void ApplyCaptions() const { form_.ApplyCaptions(); }
    void FillFilterChoices() const { form_.FillFilterChoices(); }
    void ToggleWordWrap() const { form_.ToggleWordWrap(); }

  private:
    TMainform& form_;
};

// TestAccess(form).Scan() and the like.
inline TMainformTestAccess TestAccess(TMainform& form) {
    return TMainformTestAccess(form);
}

} // namespace varnot
