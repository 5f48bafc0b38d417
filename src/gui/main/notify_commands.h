#pragma once

#include "core/main/arrival_burst.h"
#include "core/scan/new_messages.h"

#include <QObject>
#include <QString>
#include <string>

class QTimer;

namespace varnot {

class TDesktopNotifier;
class TMainform;
class TTrayIcon;

// The window's side of desktop notifications and the tray icon. While the
// window is not in front, the new messages that pass the filter are told of
// in one notification per moment (a burst counts its messages); a click on
// it brings the window forward with the newest of them as the current
// message. The tray icon shows the number of unread messages of the list on
// display, and a click on it brings the window forward. Both are switched in
// the View menu and the switches are stored at once.
class TNotifyCommands : public QObject {
    Q_OBJECT
  public:
    // Arrivals within this many milliseconds of the first make one notification.
    static constexpr int BurstMilliseconds = 1500;

    explicit TNotifyCommands(TMainform& form);
    ~TNotifyCommands() override;

    // A pass or an arrival brought these messages into view.
    void MessagesArrived(const TNewMessages& messages);

    // Connected to a session bus.
    bool HasBus() const;
    // Arrivals wait to be told of, or a notification is on its way. Without
    // a bus nothing is gathered.
    bool Busy() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void NotifyItemClick();
    void TrayIconItemClick();
    // Put the switch in effect into the menu and into being.
    void ApplyNotify();
    void ApplyTrayIcon();
    bool WindowInFront() const;
    // The burst is over: one notification tells of it.
    void SendNotification();
    // The operator has seen the window: what was gathered is told of no more.
    void ForgetBurst();
    // Our notification left the screen unclicked.
    void NotificationGone();
    void NotificationClicked();
    void BringForward();
    void RefreshTray();

    TMainform& form_;
    TArrivalBurst burst_;
    QTimer* burstTimer_ = nullptr;
    TDesktopNotifier* notifier_ = nullptr; // made when notifications are first on
    TTrayIcon* tray_ = nullptr;            // made when the icon is first on
    // The message the last notification named newest; its click goes there.
    std::string notifiedName_;
};

} // namespace varnot
