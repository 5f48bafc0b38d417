#include "gui/main/notify_commands.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/main/desktop_notice.h"
#include "gui/app/lang.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/notify/desktop_notifier.h"
#include "gui/notify/tray_icon.h"

#include <QAction>
#include <QEvent>
#include <QTimer>

namespace varnot {

TNotifyCommands::TNotifyCommands(TMainform& form) : form_(form) {
    const TMainFrame& f = form.Frame();
    burstTimer_ = new QTimer(this);
    burstTimer_->setSingleShot(true);
    burstTimer_->setInterval(BurstMilliseconds);
    connect(burstTimer_, &QTimer::timeout, this, &TNotifyCommands::SendNotification);
    connect(f.NotifyItem, &QAction::triggered, this, &TNotifyCommands::NotifyItemClick);
    connect(f.TrayIconItem, &QAction::triggered, this, &TNotifyCommands::TrayIconItemClick);
    // The window's periodic timer keeps the unread count current.
    connect(f.Timer, &QTimer::timeout, this, &TNotifyCommands::RefreshTray);
    form.installEventFilter(this);

    ApplyNotify();
    ApplyTrayIcon();
}

TNotifyCommands::~TNotifyCommands() {
    form_.removeEventFilter(this);
}

bool TNotifyCommands::HasBus() const {
    return notifier_ != nullptr && notifier_->HasBus();
}

bool TNotifyCommands::Busy() const {
    return burstTimer_->isActive() || (notifier_ != nullptr && notifier_->Waiting());
}

bool TNotifyCommands::WindowInFront() const {
    return form_.isVisible() && !form_.isMinimized() && form_.isActiveWindow();
}

void TNotifyCommands::MessagesArrived(const TNewMessages& messages) {
    if (!form_.NotifyInEffect() || !HasBus() || WindowInFront()) return;
    // The first arrival starts the wait; those that follow join it.
    if (burst_.Add(messages) > 0 && !burstTimer_->isActive()) burstTimer_->start();
}

void TNotifyCommands::SendNotification() {
    if (burst_.Empty() || notifier_ == nullptr || !form_.NotifyInEffect() || WindowInFront())
        return;
    const TNotificationText text = NotificationText(burst_.Count(), burst_.NewestNotice(), English);
    notifiedName_ = burst_.NewestName();
    notifier_->Show(QString::fromStdString(text.summary), QString::fromStdString(text.body),
                    Lang("Показать", "Show"));
}

void TNotifyCommands::ForgetBurst() {
    burstTimer_->stop();
    burst_.Clear();
}

void TNotifyCommands::NotificationGone() {
    // The next notification counts afresh, unless arrivals wait for it: they
    // are told of together with those it counted.
    if (!burstTimer_->isActive()) burst_.Clear();
}

void TNotifyCommands::NotificationClicked() {
    ForgetBurst();
    BringForward();
    if (!notifiedName_.empty()) form_.ShowArrivedMessage(notifiedName_);
}

void TNotifyCommands::BringForward() {
    // A maximised window stays maximised.
    form_.setWindowState(form_.windowState() & ~Qt::WindowMinimized);
    form_.show();
    form_.raise();
    form_.activateWindow();
}

bool TNotifyCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::ActivationChange && WindowInFront()) {
        ForgetBurst();
        if (notifier_ != nullptr) notifier_->Close();
    }
    return QObject::eventFilter(watched, event);
}

void TNotifyCommands::NotifyItemClick() {
    form_.NotifyInEffect() = !form_.NotifyInEffect();
    WriteSetting(SettingsFile(), keys::Notify, form_.NotifyInEffect());
    ApplyNotify();
}

void TNotifyCommands::TrayIconItemClick() {
    form_.TrayIconInEffect() = !form_.TrayIconInEffect();
    WriteSetting(SettingsFile(), keys::TrayIcon, form_.TrayIconInEffect());
    ApplyTrayIcon();
}

void TNotifyCommands::ApplyNotify() {
    const bool on = form_.NotifyInEffect();
    form_.Frame().NotifyItem->setChecked(on);
    if (!on) {
        ForgetBurst();
        return;
    }
    if (notifier_ != nullptr) return;
    notifier_ = new TDesktopNotifier(this);
    connect(notifier_, &TDesktopNotifier::Clicked, this, &TNotifyCommands::NotificationClicked);
    connect(notifier_, &TDesktopNotifier::Dismissed, this, &TNotifyCommands::NotificationGone);
}

void TNotifyCommands::ApplyTrayIcon() {
    const bool on = form_.TrayIconInEffect();
    form_.Frame().TrayIconItem->setChecked(on);
    if (on && tray_ == nullptr) {
        tray_ = new TTrayIcon(form_.windowIcon(), this);
        connect(tray_, &TTrayIcon::Clicked, this, &TNotifyCommands::BringForward);
    }
    if (tray_ == nullptr) return;
    RefreshTray();
    tray_->SetShown(on);
}

void TNotifyCommands::RefreshTray() {
    if (tray_ == nullptr || !form_.TrayIconInEffect()) return;
    tray_->SetToolTip(
        QString::fromStdString(TrayToolTip(UnreadCount(form_.Panel().Current()), English)));
}

} // namespace varnot
