#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

namespace varnot {

// A combo box whose list is filled afresh each time it opens, so that it
// offers what exists now (the fonts of this machine, the days written since
// the last look).
class TRefillComboBox : public QComboBox {
    Q_OBJECT
  public:
    using Source = std::function<QStringList()>;
    using Filler = std::function<void(QComboBox& box)>;

    // An editable box filled from `source`; the text in the box stays as it
    // was, so a value that is not in the list (a font this machine lacks) is kept.
    explicit TRefillComboBox(Source source, QWidget* parent = nullptr);
    // A box that `fill` fills itself, items and current item.
    TRefillComboBox(Filler fill, QWidget* parent);

    // Fills the list as before it opens.
    void Refill();
    void showPopup() override;

  private:
    Source source_;
    Filler fill_;
};

} // namespace varnot
