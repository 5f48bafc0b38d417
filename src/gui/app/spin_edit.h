#pragma once

#include "core/app/options_values.h"

#include <QSpinBox>

namespace varnot {

// A number field with its spin buttons. The operator cannot type into it:
// only the buttons (and the Up, Down, Page Up and Page Down keys and the
// wheel, which act as the buttons) change it, each click running SpinValue
// with the field's step and bounds. The field can show values from
// `displayMinimum` on, below the spin minimum, so a value in effect that lies
// there is shown as it is.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    TSpinEdit(TSpinBounds bounds, QWidget* parent = nullptr);
    TSpinEdit(TSpinBounds bounds, int displayMinimum, QWidget* parent = nullptr);

    TSpinBounds Bounds() const { return bounds_; }
    // Shows `value` as far as the field can (within its range) and counts the
    // field as untouched: it stands for the value it was given, also one
    // beyond what it can show, until its value changes.
    void Fill(int value);
    bool Edited() const { return edited_; }
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    TSpinBounds bounds_;
    bool edited_ = false;
};

} // namespace varnot
