#pragma once

#include "core/output/page_layout.h"

#include <QPainter>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class QPrinter;

namespace varnot {

// How a print job ended.
struct TPrintResult {
    enum class Status {
        Printed,
        Nothing,     // nothing to print
        NoPrinter,   // no printer is set up
        CannotStart, // the printer did not take the job
        ReadFailed,  // a message broke off while being read (the rest was printed)
    };
    Status status = Status::Printed;
    QString name; // the printer, or the message file that failed
    int error = 0;

    bool Failed() const { return status != Status::Printed && status != Status::Nothing; }
};

// The print driver: plain lines in the printer font of the settings, fixed
// margins, automatic page breaks, no header or footer.
class TPrintMerge {
  public:
    static constexpr const char* DocumentName = "Pellmar News";

    explicit TPrintMerge(QPrinter& printer) : printer_(printer) {}
    // A document still open is ended (and so printed).
    ~TPrintMerge();
    TPrintMerge(const TPrintMerge&) = delete;
    TPrintMerge& operator=(const TPrintMerge&) = delete;

    // Font from the settings, metrics, document started.
    TPrintResult BeginPrint();
    // One line unchanged and unwrapped: what passes the right edge is lost.
    void PrintLine(const QString& text);
    // The optional date line, the file's lines, one empty line. A file that
    // cannot be opened is skipped; false when reading it broke off (what was
    // read is printed).
    bool PrintFile(const std::string& path, int* error = nullptr);
    // The lines, then one empty line.
    void PrintLines(const QStringList& lines);
    void EndPrint();

    bool InsertDate = false;
    bool InDos = false;

  private:
    QPrinter& printer_;
    QPainter painter_;
    std::optional<TPageLayout> layout_;
    int ascent_ = 0;
};

} // namespace varnot
