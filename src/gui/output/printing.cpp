#include "gui/output/printing.h"

#include "core/archive/c_list.h"
#include "core/output/output_set.h"
#include "gui/app/dialogs.h"
#include "gui/app/text_bytes.h"
#include "gui/output/output_texts.h"

#include <QFile>

namespace varnot {

TPrintResult PrintMessages(QPrinter& printer, CList& list, int currentRow, const std::string& root,
                           bool insertDate, bool inDos) {
    const OutputSet set = OutputSetOf(list, currentRow);
    if (set.empty()) return {TPrintResult::Status::Nothing, {}, 0};
    TPrintMerge merge(printer);
    if (TPrintResult begun = merge.BeginPrint(); begun.Failed()) return begun;
    merge.InsertDate = insertDate;
    merge.InDos = inDos;

    TPrintResult result;
    for (const std::string& file : OutputFiles(list, set, root)) {
        int error = 0;
        if (!merge.PrintFile(file, &error) && !result.Failed())
            result = {TPrintResult::Status::ReadFailed, FromPathBytes(file), error};
    }
    if (set.fromSelection) UnselectOutput(list, set);
    merge.EndPrint();
    return result;
}

TPrintResult PrintLines(QPrinter& printer, const QStringList& lines) {
    TPrintMerge merge(printer);
    if (TPrintResult begun = merge.BeginPrint(); begun.Failed()) return begun;
    merge.PrintLines(lines);
    merge.EndPrint();
    return {};
}

TPrintResult PrintOne(QPrinter& printer, const std::string& path, bool inDos) {
    TPrintMerge merge(printer);
    if (TPrintResult begun = merge.BeginPrint(); begun.Failed()) return begun;
    merge.InDos = inDos;
    int error = 0;
    const bool read = merge.PrintFile(path, &error);
    merge.EndPrint();
    if (read) return {};
    return {TPrintResult::Status::ReadFailed, FromPathBytes(path), error};
}

void ShowPrintFailure(QWidget* parent, const TPrintResult& result) {
    QString text;
    switch (result.status) {
    case TPrintResult::Status::Printed:
    case TPrintResult::Status::Nothing:
        return;
    case TPrintResult::Status::NoPrinter:
        text = NoPrinterText();
        break;
    case TPrintResult::Status::CannotStart:
        text = PrintingNotStartedText(result.name);
        break;
    case TPrintResult::Status::ReadFailed:
        text = ReadErrorText(result.name, result.error);
        break;
    }
    Dialogs().MessageBox(parent, TMsgKind::Error, text, TMsgButtons::Yes);
}

bool PrinterSetup(QWidget* parent, QPrinter& printer) {
    return Dialogs().PrinterSetup(parent, printer);
}

void TAutoPrint::PrintArrived(QWidget* parent, QPrinter& printer, const std::string& path,
                              bool inDos) {
    const TPrintResult result = PrintOne(printer, path, inDos);
    if (!result.Failed()) {
        failureShown_ = false;
        return;
    }
    if (failureShown_) return;
    failureShown_ = true;
    ShowPrintFailure(parent, result);
}

} // namespace varnot
