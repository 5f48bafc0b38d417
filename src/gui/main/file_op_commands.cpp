#include "gui/main/file_op_commands.h"

#include "core/app/program_paths.h"
#include "core/archive/archive_options.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"

#include <QAction>
#include <QPointer>
#include <QToolButton>

namespace varnot {

TFileOpCommands::TFileOpCommands(TMainform& form) : form_(form) {
    const TMainFrame& f = form.Frame();
    const auto wire = [this](QAction* item, QToolButton* button, TFileCommand command) {
        connect(item, &QAction::triggered, this, [this, command] { Run(command); });
        connect(button, &QToolButton::clicked, this, [this, command] { Run(command); });
    };
    wire(f.CopyItem, f.CopyButton, TFileCommand::Copy);
    wire(f.MoveItem, f.MoveButton, TFileCommand::Move);
    wire(f.DeleteItem, f.DeleteButton, TFileCommand::Delete);
}

void TFileOpCommands::Run(TFileCommand command) {
    // The event loop runs while the command works; the window may go with it.
    TMainform& form = form_;
    const QPointer<TMainform> alive(&form);
    form.RecordAction();

    TFileCommandServices services;
    services.parent = &form;
    services.panel = &form.Panel();
    services.currentRow = [&form] { return form.CurrentRow(); };
    services.showRows = [&form](int rowCount, int row) { form.ShowRows(rowCount, row); };
    services.options = ArchiveOptionsOf(form.SettingsInEffect());
    services.removed = [&form](const std::string& name) { form.MessageRemoved(name); };
    services.settingsFile = SettingsFile();
    const TFileCommandOutcome outcome = RunFileCommand(command, services);
    if (!alive) return;

    switch (outcome.after) {
    case TAfterFileCommand::ShowCurrent:
        form.FileClick();
        break;
    case TAfterFileCommand::Rescan:
        form.Rescan(TReReadMode::Quiet);
        break;
    case TAfterFileCommand::Nothing:
        break;
    }
    form.CheckButtons();
}

} // namespace varnot
