#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

namespace varnot {

// An editable combo box whose list is cleared and filled afresh from its
// source each time it is opened; the text in the box stays as it was, so a
// value that is not in the list (a font this machine lacks) is kept.
class TRefillComboBox : public QComboBox {
    Q_OBJECT
  public:
    using Source = std::function<QStringList()>;
    explicit TRefillComboBox(Source source, QWidget* parent = nullptr);

    // Fills the list from the source, keeping the text.
    void Refill();
    void showPopup() override;

  private:
    Source source_;
};

} // namespace varnot
