#pragma once

#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

namespace varnot {

// Desktop notifications through the freedesktop notification service on the
// session bus. Every call to the service is asynchronous, so a slow or hung
// service never holds the window up. Without a session bus, or without the
// service on it, nothing happens and nothing is reported.
class TDesktopNotifier : public QObject {
    Q_OBJECT
  public:
    explicit TDesktopNotifier(QObject* parent = nullptr);
    ~TDesktopNotifier() override;

    // Connected to a session bus (which need not hold the service).
    bool HasBus() const { return connected_; }
    // A Notify call has not been answered yet.
    bool Waiting() const { return pending_ != nullptr; }

    // Shows a notification whose click is reported by Clicked; one of ours
    // still on screen is replaced.
    void Show(const QString& summary, const QString& body, const QString& actionLabel);
    // Takes our notification off the screen.
    void Close();

  signals:
    // The operator clicked our notification.
    void Clicked();
    // Our notification left the screen without a click, or never got there.
    void Dismissed();

  private slots:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

  private:
    struct Notice {
        QString summary;
        QString body;
        QString actionLabel;
    };
    void Send(const Notice& notice);
    void NotifyAnswered(QDBusPendingCallWatcher* call);

    QString connectionName_;
    bool connected_ = false;
    // The service renders markup in the body: text in it must be escaped.
    bool bodyMarkup_ = true;
    // The id of our last notification, and whether it is still on screen
    // (then the next one replaces it). Its click may come after its closing.
    uint lastId_ = 0;
    bool onScreen_ = false;
    QDBusPendingCallWatcher* pending_ = nullptr;
    // What to show once the pending call has answered, and whether to close instead.
    Notice next_;
    bool hasNext_ = false;
    bool closeWhenAnswered_ = false;
};

} // namespace varnot
