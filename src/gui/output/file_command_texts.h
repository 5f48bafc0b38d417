#pragma once

#include "core/output/file_operations.h"

#include <QString>

namespace varnot {

enum class TFileCommand;

// The texts of the copy, move and delete commands, in the current language.
QString FolderDialogTitle();
QString CreateFolderQuestion();
QString FolderNotCreatedText(const QString& folder);
QString DestinationRefusedText(const QString& folder, const DestinationCheck& check);
QString DeleteQuestionText(int count);
QString ProgressText(TFileCommand command);
QString ProgressCancelText();
// The files that failed and why: at most the first ten, then how many more.
// Empty when none failed.
QString FailureReportText(TFileCommand command, const ApplyResult& result);

} // namespace varnot
