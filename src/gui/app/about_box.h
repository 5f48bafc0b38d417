#pragma once

#include <QDialog>

namespace varnot {

// The about box: the program's picture, name and version, its maker and a
// comment, with OK focused. Controls are named ProgramIcon, ProductName,
// Version, MakerLabel, Comments and OKButton.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

} // namespace varnot
