#pragma once

#include <QString>

namespace varnot {

// The texts of the output commands' error boxes, in the current language.
QString ExportNotWrittenText();
QString ReadErrorText(const QString& file, int error);
QString ProgramNotStartedText(const QString& program);
QString NoPrinterText();
QString PrintingNotStartedText(const QString& printer);

} // namespace varnot
