#pragma once

#include <QComboBox>

namespace varnot {

// A drop-down list of colour swatches (no names shown): the sixteen standard
// colours, plus the colour it was given when that is not one of them. Colours
// are integers with red in the lowest byte, green in the next, blue in the third.
class TColourBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TColourBox(QWidget* parent = nullptr);

    // Selects the colour, adding it as an extra entry when it is not among the
    // standard ones. A value outside 0..0xFFFFFF is no colour and is ignored.
    void SetColourValue(int value);
    // The selected colour; 0 (black) when nothing is selected.
    int ColourValue() const;

  private:
    void AddColour(int value, const QString& name);
};

} // namespace varnot
