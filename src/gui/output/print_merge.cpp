#include "gui/output/print_merge.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/dos_time.h"
#include "core/output/message_lines.h"
#include "core/text/code_pages.h"
#include "gui/app/text_bytes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPrinter>
#include <algorithm>

namespace varnot {

namespace {

// A family the system lacks gives the application's font, as on screen.
QFont PrinterFont(const QString& family, int pointSize) {
    QFont font = QApplication::font();
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) font.setFamily(family);
    font.setPointSize(std::max(pointSize, 1));
    return font;
}

// Where the job goes: the printer, or the file of a printer set to PDF;
// empty when the system offers no printer at all.
QString Destination(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                         : printer.printerName();
}

} // namespace

TPrintMerge::~TPrintMerge() {
    EndPrint();
}

TPrintResult TPrintMerge::BeginPrint() {
    EndPrint();
    const IniFile ini(SettingsFile());
    const int size = Read(ini, keys::PrinterSize);
    const QFont font = PrinterFont(FromCp1251(Read(ini, keys::PrinterFont)), size);

    printer_.setDocName(DocumentName);
    const QString destination = Destination(printer_);
    if (destination.isEmpty()) return {TPrintResult::Status::NoPrinter, {}, 0};
    if (!painter_.begin(&printer_)) return {TPrintResult::Status::CannotStart, destination, 0};

    painter_.setFont(font);
    layout_.emplace(printer_.logicalDpiX(), printer_.logicalDpiY(), size, printer_.height());
    // Lines are placed by their top, text is drawn at its baseline.
    ascent_ = painter_.fontMetrics().ascent();
    return {};
}

void TPrintMerge::PrintLine(const QString& text) {
    if (!layout_) return;
    const TPageLayout::Slot slot = layout_->NextLine();
    if (slot.newPage) printer_.newPage();

    // No wrapping: what passes the paper's edge is simply not on the paper.
    if (!text.isEmpty()) painter_.drawText(layout_->LeftMargin(), slot.y + ascent_, text);
}

bool TPrintMerge::PrintFile(const std::string& path, int* error) {
    TMessageLines lines(path, InDos);
    if (!lines.IsOpen()) return true;
    if (InsertDate) PrintLine(FromCp1251(FormatDosTime(lines.Time(), "hh:nn dd.mm.yyyy")));
    for (std::string line; lines.Next(line);) PrintLine(FromCp1251(line));
    PrintLine({});
    if (error != nullptr) *error = lines.Error();
    return lines.Error() == 0;
}

void TPrintMerge::PrintLines(const QStringList& lines) {
    for (const QString& line : lines) PrintLine(line);
    PrintLine({});
}

void TPrintMerge::EndPrint() {
    if (painter_.isActive()) painter_.end();
    layout_.reset();
}

} // namespace varnot
