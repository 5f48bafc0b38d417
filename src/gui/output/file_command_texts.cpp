#include "gui/output/file_command_texts.h"

#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/output/file_commands.h"

#include <cstring>

namespace varnot {

namespace {

constexpr int ListedFailures = 10;

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString FaultText(const AppliedFile& file) {
    QString text;
    switch (file.fault) {
    case FileFault::None:
        return {};
    case FileFault::SourceUnreadable:
        text = Lang("сообщение не читается", "the message cannot be read");
        break;
    case FileFault::DestinationUnwritable:
        text = Lang("копия не создаётся", "its copy cannot be created");
        break;
    case FileFault::WriteFailed:
        text = Lang("копия не записана", "its copy could not be written");
        break;
    case FileFault::SameFile:
        text = Lang("это папка самого сообщения", "that is the message's own folder");
        break;
    case FileFault::NotRemoved:
        text = Lang("не удалено из архива", "it could not be removed from the archive");
        break;
    case FileFault::Changed:
        text = Lang("изменено после того, как попало в список", "changed since it was listed");
        break;
    }
    if (file.error != 0) text += " (" + SystemError(file.error) + ")";
    return text;
}

QString FailureHeader(TFileCommand command, int failed, int total) {
    switch (command) {
    case TFileCommand::Copy:
        return Lang("Не скопировано сообщений: %1 из %2.", "%1 of %2 messages were not copied.")
            .arg(failed)
            .arg(total);
    case TFileCommand::Move:
        return Lang("Не перемещено сообщений: %1 из %2.", "%1 of %2 messages were not moved.")
            .arg(failed)
            .arg(total);
    case TFileCommand::Delete:
        break;
    }
    return Lang("Не удалено сообщений: %1 из %2.", "%1 of %2 messages were not deleted.")
        .arg(failed)
        .arg(total);
}

} // namespace

QString FolderDialogTitle() {
    return Lang("Выбор папки", "Select Directory");
}

QString CreateFolderQuestion() {
    return Lang("Указанная папка не существует. Создать её?",
                "The specified directory does not exist. Create it?");
}

QString FolderNotCreatedText(const QString& folder) {
    return Lang("Не удаётся создать папку", "Unable to create directory") + "\n" + folder;
}

QString DestinationRefusedText(const QString& folder, const DestinationCheck& check) {
    QString text = check.state == DestinationState::NotAFolder
                       ? Lang("Это не папка:", "This is not a folder:")
                       : Lang("В эту папку нельзя записать:", "Cannot write into this folder:");
    text += "\n" + folder;
    if (check.error != 0) text += "\n" + SystemError(check.error);
    return text;
}

QString DeleteQuestionText(int count) {
    return Lang("Вы хотите удалить %1  сообщения ?", "Do you want to delete %1 messages?")
        .arg(count);
}

QString ProgressText(TFileCommand command) {
    switch (command) {
    case TFileCommand::Copy:
        return Lang("Копирование сообщений...", "Copying messages...");
    case TFileCommand::Move:
        return Lang("Перемещение сообщений...", "Moving messages...");
    case TFileCommand::Delete:
        break;
    }
    return Lang("Удаление сообщений...", "Deleting messages...");
}

QString ProgressCancelText() {
    return Lang("Отмена", "Cancel");
}

QString FailureReportText(TFileCommand command, const ApplyResult& result) {
    const int failed = result.FailedCount();
    if (failed == 0) return {};
    QString text = FailureHeader(command, failed, static_cast<int>(result.files.size()));
    int listed = 0;
    for (const AppliedFile& file : result.files) {
        if (file.Done()) continue;
        if (listed == ListedFailures) break;
        ++listed;
        text += "\n" + QString::fromStdU16String(Cp1251ToUtf16(file.name)) + ": " + FaultText(file);
    }
    if (failed > listed)
        text += "\n" + Lang("... и ещё %1.", "... and %1 more.").arg(failed - listed);
    return text;
}

} // namespace varnot
