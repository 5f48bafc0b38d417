#include "gui/output/export_launcher.h"

#include "core/app/program_paths.h"
#include "core/output/merge.h"
#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/app/text_bytes.h"
#include "gui/output/output_texts.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace varnot {

namespace {

// Paths are kept as the file system's own bytes (FromPathBytes, ToPathBytes).

bool ProgramExists(const QString& program) {
    if (program.isEmpty()) return false;
    if (QFileInfo(program).isFile()) return true;
    // A bare command name such as "lowriter" is looked up like a shell would.
    return !program.contains('/') && !QStandardPaths::findExecutable(program).isEmpty();
}

void ShowError(QWidget* parent, const QString& text) {
    Dialogs().MessageBox(parent, TMsgKind::Error, text, TMsgButtons::Yes);
}

// On this system an export file is never locked; it fails to be written
// (no permission, disk full), and the operator gets the same box for it.
TExportOutcome Report(QWidget* parent, const MergeResult& result) {
    if (result.status == MergeResult::Status::ReadFailed) {
        ShowError(parent, ReadErrorText(FromPathBytes(result.file), result.error));
        return TExportOutcome::ReadFailed;
    }
    ShowError(parent, ExportNotWrittenText());
    return TExportOutcome::NotWritten;
}

template <typename Write>
TExportOutcome Export(QWidget* parent, std::string& program, const TextKey& key, Write write) {
    if (!EnsureProgram(parent, program, key)) return TExportOutcome::NoProgram;
    const std::string file = ExportFilePath();
    if (const MergeResult result = write(file); !result) return Report(parent, result);
    return StartProgram(parent, program, file) ? TExportOutcome::Started
                                               : TExportOutcome::NotStarted;
}

} // namespace

bool EnsureProgram(QWidget* parent, std::string& program, const TextKey& key) {
    if (ProgramExists(FromPathBytes(program))) return true;
    if (Dialogs().MessageBox(parent, TMsgKind::Information,
                             Lang("Редактор не найден. Вы хотите указать где он ?",
                                  "Editor not found. Do you want to install it ?"),
                             TMsgButtons::YesNo) != TMsgResult::Yes)
        return false;
    // Programs here rarely have a dot in their names, so every file is offered.
    const QString picked = Dialogs().OpenFileName(parent, {}, "/usr/bin/", "*");
    if (picked.isEmpty() || !QFileInfo(picked).isFile()) return false;
    program = ToPathBytes(picked);
    WriteSetting(SettingsFile(), key, program);
    return true;
}

bool StartProgram(QWidget* parent, const std::string& program, const std::string& file) {
    const QString name = FromPathBytes(program);
    if (QProcess::startDetached(name, {FromPathBytes(file)})) return true;
    ShowError(parent, ProgramNotStartedText(name));
    return false;
}

TExportOutcome ExportMessages(QWidget* parent, std::string& program, const TextKey& key,
                              const std::vector<std::string>& files, bool insertDate, bool inDos) {
    if (files.empty()) return TExportOutcome::Nothing;
    return Export(parent, program, key, [&](const std::string& exportFile) {
        return WriteExportFile(exportFile, files, insertDate, inDos);
    });
}

TExportOutcome ExportLines(QWidget* parent, std::string& program, const TextKey& key,
                           const QStringList& lines) {
    return Export(parent, program, key, [&](const std::string& exportFile) {
        std::vector<std::string> utf8;
        utf8.reserve(static_cast<std::size_t>(lines.size()));
        for (const QString& line : lines) utf8.push_back(line.toStdString());
        return WriteExportLines(exportFile, utf8);
    });
}

} // namespace varnot
