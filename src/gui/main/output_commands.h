#pragma once

#include "gui/output/printing.h"

#include <QObject>
#include <memory>
#include <string>

class QPrinter;

namespace varnot {

class TMainform;

// Which external program an export goes to.
enum class TExportTarget { TextEditor, WordProcessor };

// Export and printing of the main window: the export and print commands of
// the menu and the tool bar, printer setup, and automatic printing of
// announced messages. It holds the window's one printer, which keeps the
// operator's set-up choice for the window's whole life.
class TOutputCommands : public QObject {
  public:
    explicit TOutputCommands(TMainform& form);
    ~TOutputCommands() override;
    TOutputCommands(const TOutputCommands&) = delete;
    TOutputCommands& operator=(const TOutputCommands&) = delete;

    // The printer every job of the window and its editor prints on.
    QPrinter& Printer() { return *printer_; }

    // Prints an announced message at once, without a date line; a failing
    // printer is reported once until it prints again.
    void PrintArrived(const std::string& path);

  private:
    // The output set into the export file, then the program on it; the
    // selection marks stay as they are.
    void Export(TExportTarget target);
    // The output set on the printer; printed messages lose their selection mark.
    void Print();
    void SetupPrinter();
    // A tool-button command hands the focus back to the message list.
    void FocusList();

    TMainform& form_;
    std::unique_ptr<QPrinter> printer_;
    TAutoPrint autoPrint_;
};

} // namespace varnot
