#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QTimer;
class QWidget;

namespace varnot {

class TMainform;

// Grabs a window into a PNG file once it is ready, then closes the window
// the orderly way. Used to make the pictures of the documentation.
class TScreenshotHook : public QObject {
    Q_OBJECT
  public:
    TScreenshotHook(QWidget* window, std::function<bool()> ready, QString path);

  private:
    void Poll();

    QWidget* window_;
    std::function<bool()> ready_;
    QString path_;
    QTimer* timer_;
    int readyPolls_ = 0;
    int polls_ = 0;
};

// A hidden aid for the documentation: with VARNOT_SCREENSHOT=file.png in the
// environment the main window is grabbed once its first pass has landed, and
// then closed. Without the variable nothing happens.
void InstallScreenshotHook(TMainform& form);

} // namespace varnot
