#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/output/file_operations.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace varnot {

// The commands of CopyItem (F5), MoveItem (F6) and DeleteItem (F8) and of
// their tool buttons.
enum class TFileCommand { Copy, Move, Delete };

// What the window does once a file command has ended.
enum class TAfterFileCommand {
    Nothing,     // the operator cancelled or declined
    ShowCurrent, // show the message at the current row again
    Rescan,      // ask for a pass with argument 0
};

// What a file command needs of the main window.
struct TFileCommandServices {
    QWidget* parent = nullptr; // owns the dialogs and the progress dialog
    // The panel whose list on display is worked on. Its Current() is asked
    // for again after every file: a pass may land while a command runs.
    TFilePanel* panel = nullptr;
    std::function<int()> currentRow;
    // Gives the grid its row count and current row, without showing the
    // message, and repaints it. Called after every file and at the end.
    std::function<void(int rowCount, int currentRow)> showRows;
    ArchiveOptions options; // the archive root and DeleteAutomaticly
    // Told at once of each message whose file left the archive (its archive
    // name): its announcement ends, and a pass running meanwhile read it
    // before it went.
    std::function<void(const std::string& name)> removed;
    std::string settingsFile; // holds the destination folder used last
    int progressDelay = 500;  // milliseconds before the progress dialog shows
};

struct TFileCommandOutcome {
    TAfterFileCommand after = TAfterFileCommand::Nothing;
    // What was done, file by file; empty when nothing ran.
    ApplyResult result;
};

// Runs one file command on the messages concerned (the selected shown
// messages, or the one at the current row): asks for the destination or the
// confirmation, works file by file with the window kept alive (a progress
// dialog with Cancel once it takes longer than progressDelay), and shows one
// error box listing the files that failed. Files done stay done. A command
// asked for while another runs does nothing.
TFileCommandOutcome RunFileCommand(TFileCommand command, const TFileCommandServices& services);

} // namespace varnot
