#include "gui/main/editor_commands.h"

#include "core/archive/archive_options.h"
#include "gui/app/options_dlg.h"
#include "gui/editor/editor_host.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QToolButton>

namespace varnot {

namespace {

TEditorLinks LinksTo(TMainform& form) {
    TEditorLinks links;
    links.showMainWindow = [&form] {
        form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
        form.show();
        form.raise();
        form.activateWindow();
    };
    links.showOptions = [&form](TOptionsMode mode) { form.ShowOptions(mode); };
    links.readProgram = [&form](TExportProgram program) {
        return program == TExportProgram::Word ? form.WordExe() : form.NotePadExe();
    };
    links.keepProgram = [&form](TExportProgram program, const std::string& path) {
        (program == TExportProgram::Word ? form.WordExe() : form.NotePadExe()) = path;
    };
    // The editor prints with the window's printer, so one printer setup serves both.
    links.printer = [&form]() -> QPrinter* { return &form.Printer(); };
    return links;
}

} // namespace

TEditorCommands::TEditorCommands(TMainform& form)
    : form_(form), host_(std::make_unique<TEditorHost>(LinksTo(form))) {
    const TMainFrame& f = form.Frame();
    QObject::connect(f.ShowEditorItem, &QAction::triggered, &form, [this] { ShowEditor(); });
    QObject::connect(f.ShowEditorButton, &QToolButton::clicked, &form, [this] { ShowEditor(); });
    QObject::connect(f.AddItem, &QAction::triggered, &form, [this] { AddToEditor(); });
    QObject::connect(f.AddButton, &QToolButton::clicked, &form, [this] { AddToEditor(); });
}

TEditorCommands::~TEditorCommands() {
    host_->CloseForShutdown(false);
}

void TEditorCommands::ShowEditor() {
    host_->ShowEditor();
}

void TEditorCommands::AddToEditor() {
    host_->AddToEditor(form_.Panel().Current(), form_.CurrentRow(),
                       ArchiveOptionsOf(form_.SettingsInEffect()), form_.Frame().View->WordWrap());
}

bool TEditorCommands::CloseForShutdown(bool askToSave) {
    return host_->CloseForShutdown(askToSave);
}

void TEditorCommands::ApplyCaptions() {
    host_->ApplyCaptions();
}

void TEditorCommands::ApplyEditorFont(const TFontSetting& font) {
    host_->ApplyEditorFont(font);
}

} // namespace varnot
