#include "gui/app/spin_edit.h"

#include <QLineEdit>
#include <cstdlib>

namespace varnot {

TSpinEdit::TSpinEdit(TSpinBounds bounds, QWidget* parent)
    : TSpinEdit(bounds, bounds.minimum, parent) {}

TSpinEdit::TSpinEdit(TSpinBounds bounds, int displayMinimum, QWidget* parent)
    : QSpinBox(parent), bounds_(bounds) {
    setRange(displayMinimum < bounds.minimum ? displayMinimum : bounds.minimum, bounds.maximum);
    setSingleStep(bounds.step);
    // Typed text never reaches the value; the buttons still work.
    lineEdit()->setReadOnly(true);
    connect(this, &QSpinBox::valueChanged, this, [this] { edited_ = true; });
}

void TSpinEdit::Fill(int value) {
    setValue(value);
    edited_ = false;
}

void TSpinEdit::stepBy(int steps) {
    int v = value();
    for (int i = std::abs(steps); i > 0; --i) v = SpinValue(v, bounds_, steps > 0);
    setValue(v);
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < bounds_.maximum) enabled |= StepUpEnabled;
    // Below the spin minimum a click down lifts the value to that minimum.
    if (value() != bounds_.minimum) enabled |= StepDownEnabled;
    return enabled;
}

} // namespace varnot
