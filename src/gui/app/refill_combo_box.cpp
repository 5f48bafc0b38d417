#include "gui/app/refill_combo_box.h"

#include <QSignalBlocker>
#include <utility>

namespace varnot {

TRefillComboBox::TRefillComboBox(Source source, QWidget* parent)
    : QComboBox(parent), source_(std::move(source)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

TRefillComboBox::TRefillComboBox(Filler fill, QWidget* parent)
    : QComboBox(parent), fill_(std::move(fill)) {}

void TRefillComboBox::Refill() {
    if (fill_) {
        fill_(*this);
        return;
    }
    const QString text = currentText();
    const QSignalBlocker quiet(this);
    clear();
    if (source_) addItems(source_());
    const int row = findText(text);
    if (row >= 0) setCurrentIndex(row);
    setEditText(text);
}

void TRefillComboBox::showPopup() {
    Refill();
    QComboBox::showPopup();
}

} // namespace varnot
