#include "gui/app/colour_box.h"

#include "core/app/options_values.h"

#include <QColor>
#include <QPixmap>

namespace varnot {

namespace {

struct TNamedColour {
    const char* name;
    int value;
};

// The platform's sixteen standard colours in their usual order.
constexpr TNamedColour kStandardColours[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QColor ToQColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

TColourBox::TColourBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(48, 14));
    for (const auto& colour : kStandardColours)
        AddColour(colour.value, QString::fromLatin1(colour.name));
}

void TColourBox::AddColour(int value, const QString& name) {
    QPixmap swatch(iconSize());
    swatch.fill(ToQColor(value));
    addItem(QIcon(swatch), QString(), value);
    const int row = count() - 1;
    setItemData(row, name, Qt::ToolTipRole);
    setItemData(row, name, Qt::AccessibleTextRole);
}

void TColourBox::SetColourValue(int value) {
    if (!IsColourValue(value)) return;
    int row = findData(value);
    if (row < 0) {
        AddColour(value, QStringLiteral("#%1").arg(ToQColor(value).name().mid(1).toUpper()));
        row = count() - 1;
    }
    setCurrentIndex(row);
}

int TColourBox::ColourValue() const {
    return currentIndex() < 0 ? 0 : currentData().toInt();
}

} // namespace varnot
