#include "gui/output/output_texts.h"

#include "gui/app/lang.h"

#include <cstring>

namespace varnot {

QString ExportNotWrittenText() {
    return Lang("Файл для зкспорта уже используется,\nзакройте предыдущий экспорт.",
                "File for export is already used.\nClose the previouns export.");
}

QString ReadErrorText(const QString& file, int error) {
    return Lang("Ошибка ввода-вывода при чтении файла\n", "I/O error reading\n") + file + "\n" +
           QString::fromLocal8Bit(std::strerror(error));
}

QString ProgramNotStartedText(const QString& program) {
    return Lang("Не удаётся запустить программу\n", "Cannot start the program\n") + program;
}

QString NoPrinterText() {
    return Lang("Принтер не выбран.", "No printer is set up.");
}

QString PrintingNotStartedText(const QString& printer) {
    return Lang("Не удаётся начать печать на\n", "Cannot start printing on\n") + printer;
}

} // namespace varnot
