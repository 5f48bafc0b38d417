#include "gui/main/announce_service.h"

#include "core/announce/announce_protocol.h"
#include "gui/app/text_bytes.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace varnot {

namespace {

// Bytes of one client taken in one turn of the event loop, so that a client
// that sends without pause cannot starve the window.
constexpr qint64 SliceBytes = 64 * 1024;
// Answers a client has not read yet; past this its requests wait in the
// kernel until it reads (a client that never reads cannot grow our memory).
constexpr qint64 MaxUnsentBytes = 64 * 1024;

// One client: its socket, its parser state and its stall timer, which runs
// only while a line is unfinished. Owned by the service; deletes itself
// (later, from the event loop) when the client goes.
class TAnnounceConnection : public QObject {
  public:
    TAnnounceConnection(QLocalSocket* socket, TAnnounceService* service, int stallTimeout,
                        int& counter)
        : QObject(service), socket_(socket), service_(service), counter_(counter) {
        ++counter_;
        socket_->setParent(this);
        stall_.setSingleShot(true);
        stall_.setInterval(stallTimeout);
        connect(&stall_, &QTimer::timeout, this, [this] { Drop(); });
        connect(socket_, &QLocalSocket::readyRead, this, [this] { Serve(false); });
        connect(socket_, &QLocalSocket::bytesWritten, this, [this] { Serve(false); });
        // Complete requests that arrived just before the client hung up are
        // still taken; an unfinished line is simply forgotten.
        connect(socket_, &QLocalSocket::disconnected, this, [this] {
            Serve(true);
            Drop();
        });
        connect(socket_, &QLocalSocket::errorOccurred, this,
                [this](QLocalSocket::LocalSocketError) {
                    if (socket_->state() == QLocalSocket::UnconnectedState) Drop();
                });
        if (socket_->bytesAvailable() > 0) ScheduleServe();
    }

    ~TAnnounceConnection() override { --counter_; }

  private:
    void Serve(bool last) {
        if (gone_ || serving_) return;
        serving_ = true;
        const QPointer<TAnnounceConnection> self(this);
        qint64 budget = SliceBytes;
        char chunk[4096];
        std::vector<AnnounceAction> actions;
        while ((last || budget > 0) && !parser_.Closed() && !gone_) {
            if (!last && socket_->bytesToWrite() > MaxUnsentBytes) break;
            const qint64 want =
                last ? qint64(sizeof chunk) : std::min<qint64>(sizeof chunk, budget);
            const qint64 got = socket_->read(chunk, want);
            if (got <= 0) break;
            budget -= got;
            // Each byte gives an unfinished line a new lease.
            stall_.stop();
            actions.clear();
            parser_.Feed(std::string_view(chunk, static_cast<std::size_t>(got)), actions);
            for (const AnnounceAction& action : actions) {
                if (!last)
                    socket_->write(action.answer.data(), static_cast<qint64>(action.answer.size()));
                if (!action.poked) continue;
                // The slot may run a nested event loop (printing) or even end
                // the service; nothing of this object is touched once it has gone.
                emit service_->FILENAMEPokeData(
                    QByteArray(action.firstLine.data(), qsizetype(action.firstLine.size())));
                if (!self) return;
                if (gone_) break;
            }
        }
        serving_ = false;
        if (gone_ || last) return;
        if (parser_.MidLine() && !stall_.isActive()) stall_.start();
        if (parser_.Closed()) {
            // The answers go out first; the close follows once they are sent.
            socket_->disconnectFromServer();
            return;
        }
        if (budget <= 0 && socket_->bytesAvailable() > 0) ScheduleServe();
    }

    void ScheduleServe() {
        QTimer::singleShot(0, this, [this] { Serve(false); });
    }

    void Drop() {
        if (gone_) return;
        gone_ = true;
        stall_.stop();
        socket_->abort();
        deleteLater();
    }

    QLocalSocket* socket_;
    TAnnounceService* service_;
    int& counter_;
    QTimer stall_;
    TAnnounceParser parser_;
    bool serving_ = false;
    bool gone_ = false;
};

// A file left where the socket should be. Only a socket of this user is taken
// for the leftover of a crashed run; anything else stays untouched.
bool ClearStaleSocket(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISSOCK(st.st_mode) || st.st_uid != geteuid()) return false;
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace

TAnnounceService::TAnnounceService(QObject* parent) : QObject(parent) {}

TAnnounceService::~TAnnounceService() {
    Stop();
}

bool TAnnounceService::Start(const std::string& serviceName) {
    Stop();
    const std::optional<std::string> path = AnnounceSocketPath(serviceName);
    if (!path || !ClearStaleSocket(*path)) return false;

    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->setMaxPendingConnections(maxConnections_);
    const QString name = FromPathBytes(*path);
    if (!server->listen(name)) {
        delete server;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &TAnnounceService::AcceptConnections);
    server_ = server;
    path_ = name;
    return true;
}

void TAnnounceService::Stop() {
    if (server_ == nullptr) return;
    // The connections are children of the service; the server's own sockets
    // have all been handed to connections or refused.
    const QObjectList children = this->children();
    for (QObject* child : children) {
        if (auto* connection = dynamic_cast<TAnnounceConnection*>(child)) delete connection;
    }
    server_->close(); // removes the socket file
    delete server_;
    server_ = nullptr;
    path_.clear();
}

bool TAnnounceService::IsListening() const {
    return server_ != nullptr && server_->isListening();
}

QString TAnnounceService::SocketPath() const {
    return path_;
}

void TAnnounceService::AcceptConnections() {
    while (server_ != nullptr && server_->hasPendingConnections()) {
        QLocalSocket* socket = server_->nextPendingConnection();
        if (socket == nullptr) break;
        if (connections_ >= maxConnections_) {
            // Told why, then closed once that is sent; no state is kept for it.
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // A client that never reads its answer cannot keep the socket.
            QTimer::singleShot(stallTimeout_, socket, [socket] { socket->abort(); });
            socket->write(AnnounceBusy.data(), qint64(AnnounceBusy.size()));
            socket->disconnectFromServer();
            if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
            continue;
        }
        new TAnnounceConnection(socket, this, stallTimeout_, connections_);
    }
}

} // namespace varnot
