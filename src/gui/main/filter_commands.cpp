#include "gui/main/filter_commands.h"

#include "core/app/program_paths.h"
#include "gui/app/dialogs.h"
#include "gui/filters/filter_form.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"

#include <QAction>
#include <QComboBox>
#include <QToolButton>

namespace varnot {

TFilterCommands::TFilterCommands(TMainform& form) : form_(form) {
    const TMainFrame& f = form.Frame();
    connect(f.FilterButton, &QToolButton::clicked, this, &TFilterCommands::EditFilters);
    connect(f.FiltersItem, &QAction::triggered, this, &TFilterCommands::EditFilters);
    connect(f.FilterSetupPopupItem, &QAction::triggered, this, &TFilterCommands::EditFilters);
    connect(f.AboutItem, &QAction::triggered, this, &TFilterCommands::AboutItemClick);
}

void TFilterCommands::EditFilters() {
    int group = form_.Frame().FilterComboBox->currentIndex() - 1;
    if (!EditFilterGroups(&form_, SettingsFile(), group)) return;
    form_.ReloadFilterChoices(group);
    // Every message is matched against the edited groups again.
    form_.Panel().Refilter = true;
    form_.Rescan(TReReadMode::AnnounceNew);
}

void TFilterCommands::AboutItemClick() {
    Dialogs().AboutBox(&form_);
}

} // namespace varnot
