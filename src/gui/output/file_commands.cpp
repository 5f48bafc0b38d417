#include "gui/output/file_commands.h"

#include "core/app/settings_keys.h"
#include "gui/app/dialogs.h"
#include "gui/output/file_command_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProgressDialog>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace varnot {

namespace {

// Paths are kept as the file system's own bytes.
QString FromPathBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string ToPathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void ShowError(QWidget* parent, const QString& text) {
    Dialogs().MessageBox(parent, TMsgKind::Error, text, TMsgButtons::Yes);
}

// The event loop runs between files; a second command started from there
// would work on the list under the first one's feet.
bool commandRunning = false;

class RunningCommand {
  public:
    RunningCommand() { commandRunning = true; }
    ~RunningCommand() { commandRunning = false; }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

// The folder dialog starting at the folder used last. A missing folder is
// created after a question; the folder is stored once it exists. Nothing
// when the operator cancels or the folder cannot take the copies.
std::optional<std::string> ChooseDestination(const TFileCommandServices& services) {
    QWidget* parent = services.parent;
    const std::string last = ReadSetting(services.settingsFile, keys::CopyFolder);
    const QString chosen = Dialogs().BrowseFolder(parent, FolderDialogTitle(), FromPathBytes(last));
    if (chosen.isEmpty()) return std::nullopt;
    const std::string folder = ToPathBytes(chosen);
    DestinationCheck check = CheckDestinationFolder(folder);
    if (check.state == DestinationState::Missing) {
        if (Dialogs().MessageBox(parent, TMsgKind::Confirmation, CreateFolderQuestion(),
                                 TMsgButtons::YesNo) != TMsgResult::Yes)
            return std::nullopt;
        if (!QDir().mkpath(chosen)) {
            ShowError(parent, FolderNotCreatedText(chosen));
            return std::nullopt;
        }
        check = CheckDestinationFolder(folder);
    }
    WriteSetting(services.settingsFile, keys::CopyFolder, folder);
    if (!check.Usable()) {
        ShowError(parent, DestinationRefusedText(chosen, check));
        return std::nullopt;
    }
    return folder;
}

bool HasMessageConcerned(const TFileCommandServices& services) {
    const CList& list = services.panel->Current();
    return list.SelCount != 0 || list.PositionAtRow(services.currentRow()) >= 0;
}

ApplyOperation OperationOf(TFileCommand command) {
    switch (command) {
    case TFileCommand::Copy:
        return CopyOperation;
    case TFileCommand::Move:
        return MoveOperation;
    case TFileCommand::Delete:
        break;
    }
    return DeleteOperation;
}

// Works file by file. Between two files the window gets its events (it
// repaints, a pass may land), and once the command has taken longer than the
// delay a progress dialog offers Cancel, which stops before the next file.
ApplyResult Apply(TFileCommand command, const TFileCommandServices& services,
                  const std::string& destination) {
    TApplyRun run(services.panel->Current(), services.currentRow(), OperationOf(command),
                  destination, services.options);
    // The announcement of a removed message ends through `removed`.
    std::string lastNewFile;
    QPointer<QWidget> parent(services.parent);
    // A window closed meanwhile (a signal ends the program) stops the command.
    const bool watchWindow = parent && parent->window()->isVisible();
    // Owned here, unless the window takes it along when it goes.
    QPointer<QProgressDialog> progress;
    QElapsedTimer clock;
    clock.start();

    while (!run.Finished()) {
        run.Step(services.panel->Current(), lastNewFile);
        const AppliedFile& last = run.Progress().files.back();
        if (last.removed && services.removed) services.removed(last.name);
        if (services.showRows) {
            const GridRows rows = run.Rows(services.panel->Current());
            services.showRows(rows.rowCount, rows.currentRow);
        }
        if (run.Finished()) break;
        if (!progress && clock.elapsed() >= services.progressDelay) {
            progress = new QProgressDialog(ProgressText(command), ProgressCancelText(), 0,
                                           run.Total(), parent.data());
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->show();
        }
        if (progress) progress->setValue(run.Applied());
        // Until the progress dialog blocks the window, the operator's input
        // waits: a click in the list must not change what is being worked on.
        QCoreApplication::processEvents(progress ? QEventLoop::AllEvents
                                                 : QEventLoop::ExcludeUserInputEvents);
        // The panel went with its window: nothing more may touch it.
        if (services.parent && !parent) return run.Progress();
        if ((progress && progress->wasCanceled()) ||
            (watchWindow && !parent->window()->isVisible()))
            run.Cancel();
    }
    delete progress.data();
    const ApplyResult result = run.Finish(services.panel->Current());
    if (services.showRows) services.showRows(result.rows.rowCount, result.rows.currentRow);
    return result;
}

TFileCommandOutcome Finish(TFileCommand command, const TFileCommandServices& services,
                           ApplyResult result) {
    TFileCommandOutcome outcome;
    const QString failures = FailureReportText(command, result);
    if (!failures.isEmpty()) ShowError(services.parent, failures);
    outcome.result = std::move(result);
    if (command == TFileCommand::Copy || services.options.deleteAutomaticly)
        outcome.after = TAfterFileCommand::ShowCurrent;
    else
        outcome.after = TAfterFileCommand::Rescan;
    return outcome;
}

} // namespace

TFileCommandOutcome RunFileCommand(TFileCommand command, const TFileCommandServices& services) {
    TFileCommandOutcome declined;
    if (commandRunning || !services.panel || !services.currentRow) return declined;
    const RunningCommand running;
    // Copy shows the current message again however it ends.
    if (command == TFileCommand::Copy) declined.after = TAfterFileCommand::ShowCurrent;
    if (!HasMessageConcerned(services)) return declined;

    std::string destination;
    if (command == TFileCommand::Delete) {
        const int count = std::max(1, services.panel->Current().SelCount);
        if (Dialogs().MessageBox(services.parent, TMsgKind::Information, DeleteQuestionText(count),
                                 TMsgButtons::YesNo) != TMsgResult::Yes)
            return declined;
    } else {
        const std::optional<std::string> chosen = ChooseDestination(services);
        if (!chosen) return declined;
        destination = *chosen;
    }
    const QPointer<QWidget> window(services.parent);
    ApplyResult result = Apply(command, services, destination);
    if (services.parent && !window) {
        declined.after = TAfterFileCommand::Nothing;
        declined.result = std::move(result);
        return declined;
    }
    // The folder was checked when chosen; it may have gone since.
    if (!result.destination.Usable()) {
        ShowError(services.parent,
                  DestinationRefusedText(FromPathBytes(destination), result.destination));
        return declined;
    }
    return Finish(command, services, std::move(result));
}

} // namespace varnot
