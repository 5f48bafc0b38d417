#include "gui/notify/desktop_notifier.h"

#include "gui/notify/bus_probe.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <sys/stat.h>

namespace varnot {

namespace {

// How long the bus may take to answer before the viewer does without it.
constexpr int kBusAnswerMs = 1000;

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// The session bus's address; empty when there is none. A bus is never
// started: asked for "the session bus" without an address, libdbus may try
// to launch one.
QString SessionBusAddress() {
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty()) return QString::fromLocal8Bit(address);
    // The bus a session manager keeps for the user.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return {};
    const QByteArray socket = runtime + "/bus";
    struct stat st {};
    if (::stat(socket.constData(), &st) != 0 || !S_ISSOCK(st.st_mode)) return {};
    return QStringLiteral("unix:path=") + QString::fromLocal8Bit(socket);
}

int connectionsMade = 0;

} // namespace

TDesktopNotifier::TDesktopNotifier(QObject* parent) : QObject(parent) {
    const QString address = SessionBusAddress();
    if (address.isEmpty() || !BusAnswers(address.toStdString(), kBusAnswerMs)) return;
    // A connection of our own: it comes and goes with this object.
    connectionName_ = QStringLiteral("varnot-notify-%1").arg(++connectionsMade);
    QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName_);
    connected_ = bus.isConnected();
    if (!connected_) return;
    // Signals are matched without the service's name: watching its owner
    // would ask the bus and wait for the answer.
    bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(ActionInvoked(uint, QString)));
    bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(NotificationClosed(uint, uint)));
    auto* capabilities = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("GetCapabilities"))),
        this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QStringList> reply = *call;
                if (!reply.isError())
                    bodyMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
                call->deleteLater();
            });
}

TDesktopNotifier::~TDesktopNotifier() {
    if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
}

void TDesktopNotifier::Show(const QString& summary, const QString& body,
                            const QString& actionLabel) {
    if (!connected_) return;
    const Notice notice{summary, body, actionLabel};
    // One call at a time, so that the next one knows the id to replace.
    if (pending_ != nullptr) {
        next_ = notice;
        hasNext_ = true;
        closeWhenAnswered_ = false;
        return;
    }
    Send(notice);
}

void TDesktopNotifier::Send(const Notice& notice) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("varnot"));
    call << QStringLiteral("VARNOT") << static_cast<uint>(onScreen_ ? lastId_ : 0)
         << QStringLiteral("varnot") << notice.summary
         << (bodyMarkup_ ? notice.body.toHtmlEscaped() : notice.body)
         << QStringList{QStringLiteral("default"), notice.actionLabel} << hints
         << static_cast<qint32>(-1);
    pending_ = new QDBusPendingCallWatcher(QDBusConnection(connectionName_).asyncCall(call), this);
    connect(pending_, &QDBusPendingCallWatcher::finished, this, &TDesktopNotifier::NotifyAnswered);
}

void TDesktopNotifier::NotifyAnswered(QDBusPendingCallWatcher* call) {
    const QDBusPendingReply<uint> reply = *call;
    call->deleteLater();
    pending_ = nullptr;
    // No service, or no answer in time: nothing is on screen, and nothing is
    // said beyond that.
    onScreen_ = !reply.isError();
    if (onScreen_)
        lastId_ = reply.value();
    else
        emit Dismissed();
    if (closeWhenAnswered_) {
        closeWhenAnswered_ = false;
        Close();
    } else if (hasNext_) {
        hasNext_ = false;
        Send(next_);
    }
}

void TDesktopNotifier::Close() {
    if (pending_ != nullptr) {
        hasNext_ = false;
        closeWhenAnswered_ = true;
        return;
    }
    if (!onScreen_) return;
    onScreen_ = false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CloseNotification"));
    call << lastId_;
    QDBusConnection(connectionName_).send(call);
}

void TDesktopNotifier::ActionInvoked(uint id, const QString& action) {
    if (id == 0 || id != lastId_ || action != QStringLiteral("default")) return;
    onScreen_ = false;
    emit Clicked();
}

void TDesktopNotifier::NotificationClosed(uint id, uint /*reason*/) {
    if (id == 0 || id != lastId_ || !onScreen_) return;
    onScreen_ = false;
    emit Dismissed();
}

} // namespace varnot
