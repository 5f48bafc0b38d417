#include "gui/notify/tray_icon.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace varnot {

TTrayIcon::TTrayIcon(const QIcon& icon, QObject* parent) : QObject(parent) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_ = new QSystemTrayIcon(icon, this);
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) emit Clicked();
            });
}

void TTrayIcon::SetShown(bool shown) {
    if (icon_ != nullptr) icon_->setVisible(shown);
}

void TTrayIcon::SetToolTip(const QString& text) {
    if (icon_ != nullptr && icon_->toolTip() != text) icon_->setToolTip(text);
}

} // namespace varnot
