#pragma once

#include "gui/output/file_commands.h"

#include <QObject>

namespace varnot {

class TMainform;

// Copy, move and delete of messages in the main window: CopyItem (F5) and
// CopyButton, MoveItem (F6) and MoveButton, DeleteItem (F8) and DeleteButton.
class TFileOpCommands : public QObject {
  public:
    explicit TFileOpCommands(TMainform& form);

    // Runs the command on the messages concerned and puts the list it leaves
    // on display.
    void Run(TFileCommand command);

  private:
    TMainform& form_;
};

} // namespace varnot
