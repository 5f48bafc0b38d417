#pragma once

#include "core/app/settings_keys.h"

#include <QStringList>
#include <string>
#include <vector>

class QWidget;

namespace varnot {

// How an export ended; the window needs none of it, every failure has shown
// its box already.
enum class TExportOutcome {
    Nothing,    // no message to export
    NoProgram,  // the operator named no program
    NotWritten, // the export file could not be written
    ReadFailed, // a message could not be read
    NotStarted, // the program did not start
    Started,
};

// True when `program` is an existing file or a command on the search path.
// Otherwise asks whether to name one; a file picked that exists becomes
// `program` and is stored under `key` (NotePadExe or WordExe).
bool EnsureProgram(QWidget* parent, std::string& program, const TextKey& key);

// Starts the program detached with the file as its one argument. A program
// that does not start is reported in an error box that names it.
bool StartProgram(QWidget* parent, const std::string& program, const std::string& file);

// Export of the main window: the messages' files (the output set, in order)
// into expo.txt, then the program on it. `program` is the window's
// NotePadExe or WordExe and `key` the setting it comes from.
TExportOutcome ExportMessages(QWidget* parent, std::string& program, const TextKey& key,
                              const std::vector<std::string>& files, bool insertDate, bool inDos);

// Export of the editor: its lines as they stand (an empty text is no line).
TExportOutcome ExportLines(QWidget* parent, std::string& program, const TextKey& key,
                           const QStringList& lines);

} // namespace varnot
