#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <string>

class QLocalServer;

namespace varnot {

// The announce service: the receiving program pokes the name of each new
// message file to the running viewer through a local socket named after the
// service (see core/main/announce_protocol.h for the protocol). It lives on
// the window thread and never blocks it: every connection is served from the
// event loop as its bytes arrive, and a client that misbehaves is dropped
// without disturbing the others.
//
// Start it only while this program holds the single-instance lock: a socket
// file found at start-up is then a leftover of a crashed run and is replaced.
class TAnnounceService : public QObject {
    Q_OBJECT
  public:
    // A client that stops for this long in the middle of a line is dropped;
    // between lines a connection may stay silent as long as it likes (a
    // receiving program keeps one open and pokes once per file).
    static constexpr int DefaultStallTimeout = 30000; // ms
    static constexpr int DefaultMaxConnections = 64;

    explicit TAnnounceService(QObject* parent = nullptr);
    ~TAnnounceService() override;

    // Starts serving under `serviceName` (already reduced from the settings).
    // False when it cannot: an empty or unsafe name, an unusable runtime
    // folder, or a file of that name that is not a socket of this user (left
    // in place). The viewer works on without the service then; new files are
    // found by the periodic pass. A running service is stopped first.
    bool Start(const std::string& serviceName);
    // Closes every connection and removes the socket file.
    void Stop();
    bool IsListening() const;
    // The socket file while listening; empty otherwise.
    QString SocketPath() const;

    // Limits; they apply to connections accepted afterwards.
    void SetStallTimeout(int milliseconds) { stallTimeout_ = milliseconds; }
    void SetMaxConnections(int count) { maxConnections_ = count; }
    int ConnectionCount() const { return connections_; }

  signals:
    // A poke was taken: the first line of its data, never empty, as the
    // client sent it (bytes of the ANSI code page). The window hands it to
    // AddArrivedFile, which uses only its file-name part.
    void FILENAMEPokeData(const QByteArray& firstLine);

  private:
    void AcceptConnections();

    QLocalServer* server_ = nullptr;
    QString path_;
    int stallTimeout_ = DefaultStallTimeout;
    int maxConnections_ = DefaultMaxConnections;
    int connections_ = 0;
};

} // namespace varnot
