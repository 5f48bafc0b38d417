#pragma once

#include "gui/output/print_merge.h"

#include <QStringList>
#include <string>

class QPrinter;
class QWidget;

namespace varnot {

class CList;

// The main window's print command: the output set of the list on display,
// each message with its date line when insertDate is on. Selected messages
// lose their selection mark as they are printed; nothing changes when the
// printer does not start. The window repaints its grid and shows the current
// message again afterwards.
TPrintResult PrintMessages(QPrinter& printer, CList& list, int currentRow, const std::string& root,
                           bool insertDate, bool inDos);

// The editor's print command: its lines as they stand, no date line.
TPrintResult PrintLines(QPrinter& printer, const QStringList& lines);

// One message without a date line (automatic printing of new messages).
TPrintResult PrintOne(QPrinter& printer, const std::string& path, bool inDos);

// The error box of a failed job; nothing for a job that printed or had
// nothing to print.
void ShowPrintFailure(QWidget* parent, const TPrintResult& result);

// The platform's printer set-up dialog; the printer keeps the choice for the
// following jobs. False when cancelled.
bool PrinterSetup(QWidget* parent, QPrinter& printer);

// Automatic printing of announced messages: a failing printer is reported
// once, not for every message that arrives after it, until it prints again.
class TAutoPrint {
  public:
    void PrintArrived(QWidget* parent, QPrinter& printer, const std::string& path, bool inDos);

  private:
    bool failureShown_ = false;
};

} // namespace varnot
