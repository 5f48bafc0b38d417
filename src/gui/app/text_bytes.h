#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// Bytes of the program's own texts in widgets. Messages, the settings file
// and the marks file hold code page 1251; what the operator types goes back
// with the code page's own table (an unmappable character becomes "?").
QString FromCp1251(std::string_view bytes);
QStringList FromCp1251(const std::vector<std::string>& items);
std::string ToCp1251(const QString& text);

// File paths are the file system's bytes, not 1251 text.
QString FromPathBytes(std::string_view bytes);
std::string ToPathBytes(const QString& path);

} // namespace varnot
