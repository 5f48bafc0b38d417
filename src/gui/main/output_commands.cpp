#include "gui/main/output_commands.h"

#include "core/app/settings_keys.h"
#include "core/output/output_set.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"
#include "gui/output/export_launcher.h"

#include <QAction>
#include <QPrinter>
#include <QToolButton>

namespace varnot {

TOutputCommands::TOutputCommands(TMainform& form)
    : form_(form), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    const TMainFrame& f = form_.Frame();
    connect(f.ExportItem, &QAction::triggered, this, [this] { Export(TExportTarget::TextEditor); });
    connect(f.ExportButton, &QToolButton::clicked, this, [this] {
        Export(TExportTarget::TextEditor);
        FocusList();
    });
    connect(f.ExportWordItem, &QAction::triggered, this,
            [this] { Export(TExportTarget::WordProcessor); });
    connect(f.WordButton, &QToolButton::clicked, this, [this] {
        Export(TExportTarget::WordProcessor);
        FocusList();
    });
    connect(f.PrintItem, &QAction::triggered, this, &TOutputCommands::Print);
    connect(f.PrintButton, &QToolButton::clicked, this, [this] {
        FocusList();
        Print();
    });
    connect(f.PrinterSetupItem, &QAction::triggered, this, &TOutputCommands::SetupPrinter);
    connect(f.PrintersSetupItem, &QAction::triggered, this, &TOutputCommands::SetupPrinter);
}

TOutputCommands::~TOutputCommands() = default;

void TOutputCommands::Export(TExportTarget target) {
    const TOptionsValues& settings = form_.SettingsInEffect();
    const CList& list = form_.Panel().Current();
    const std::vector<std::string> files =
        OutputFiles(list, OutputSetOf(list, form_.CurrentRow()), settings.archiveRoot);
    // A program the operator names on the way is the window's from now on.
    const bool word = target == TExportTarget::WordProcessor;
    ExportMessages(&form_, word ? form_.WordExe() : form_.NotePadExe(),
                   word ? keys::WordExe : keys::NotePadExe, files,
                   settings.insertDataTimeWhenExporting, settings.inDOS);
}

void TOutputCommands::Print() {
    const TOptionsValues& settings = form_.SettingsInEffect();
    const TPrintResult result =
        PrintMessages(*printer_, form_.Panel().Current(), form_.CurrentRow(), settings.archiveRoot,
                      settings.insertDataTimeWhenPrinting, settings.inDOS);
    if (result.status == TPrintResult::Status::Nothing) return;
    // The printed messages lost their marks: the grid, the counters and the
    // message on display follow.
    form_.Frame().FileGrid->viewport()->update();
    form_.UpdateStatusLine();
    form_.FileClick();
    ShowPrintFailure(&form_, result);
}

void TOutputCommands::SetupPrinter() {
    PrinterSetup(&form_, *printer_);
}

void TOutputCommands::FocusList() {
    form_.Frame().FileGrid->setFocus();
}

void TOutputCommands::PrintArrived(const std::string& path) {
    autoPrint_.PrintArrived(&form_, *printer_, path, form_.SettingsInEffect().inDOS);
}

} // namespace varnot
