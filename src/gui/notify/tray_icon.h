#pragma once

#include <QObject>

class QIcon;
class QSystemTrayIcon;

namespace varnot {

// The program's icon in the desktop's system tray, with a tooltip. Where the
// desktop has no tray there is no icon, and nothing is said about it.
class TTrayIcon : public QObject {
    Q_OBJECT
  public:
    explicit TTrayIcon(const QIcon& icon, QObject* parent = nullptr);

    void SetShown(bool shown);
    void SetToolTip(const QString& text);

  signals:
    // The operator clicked the icon.
    void Clicked();

  private:
    QSystemTrayIcon* icon_ = nullptr; // only where the desktop has a tray
};

} // namespace varnot
