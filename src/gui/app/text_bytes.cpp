#include "gui/app/text_bytes.h"

#include "core/text/code_pages.h"

#include <QByteArray>
#include <QFile>

namespace varnot {

QString FromCp1251(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

QStringList FromCp1251(const std::vector<std::string>& items) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items) list << FromCp1251(item);
    return list;
}

std::string ToCp1251(const QString& text) {
    return Utf16ToCp1251(text.toStdU16String());
}

QString FromPathBytes(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToPathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace varnot
