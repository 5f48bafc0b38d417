#pragma once

// A stand-in for the viewer's announce service in the client's tests: a local
// socket served by a thread, each connection handled by a scripted session.

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testing_support {

class FakeAnnounceServer {
  public:
    // Called on the server thread for each accepted connection; the server
    // closes the descriptor when it returns.
    using Session = std::function<void(int fd, FakeAnnounceServer& server)>;

    FakeAnnounceServer(const std::string& path, Session session) : session_(std::move(session)) {
        listen_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        unlink(path.c_str());
        ok_ = listen_ >= 0 &&
              bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              listen(listen_, 16) == 0 && pipe(stop_) == 0;
        if (ok_) thread_ = std::thread([this] { Run(); });
    }

    ~FakeAnnounceServer() {
        if (thread_.joinable()) {
            const char byte = 0;
            (void)!write(stop_[1], &byte, 1);
            thread_.join();
        }
        if (listen_ >= 0) close(listen_);
        if (ok_) {
            close(stop_[0]);
            close(stop_[1]);
        }
    }

    bool ok() const { return ok_; }
    int connections() const { return connections_; }

    void Record(std::string line) {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(std::move(line));
    }
    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

    // One line from the client without its LF; nothing at its end or after
    // two seconds of silence, or when the server is stopping.
    std::optional<std::string> ReadLine(int fd) {
        std::string line;
        for (;;) {
            pollfd p[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(p, 2, 2000) <= 0 || (p[1].revents & POLLIN)) return std::nullopt;
            char c;
            if (recv(fd, &c, 1, 0) != 1) return std::nullopt;
            if (c == '\n') return line;
            line += c;
        }
    }
    static void Send(int fd, const std::string& text) {
        (void)!send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    }
    // Blocks until the server is stopped (a viewer that hangs).
    void Hang() {
        pollfd p{stop_[0], POLLIN, 0};
        poll(&p, 1, 10000);
    }

  private:
    void Run() {
        for (;;) {
            pollfd p[2] = {{listen_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(p, 2, -1) < 0 || (p[1].revents & POLLIN)) return;
            const int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            ++connections_;
            session_(fd, *this);
            close(fd);
        }
    }

    Session session_;
    int listen_ = -1;
    int stop_[2] = {-1, -1};
    bool ok_ = false;
    std::thread thread_;
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Answers every request line with `answer` and records it.
inline FakeAnnounceServer::Session AnswerEvery(std::string answer) {
    return [answer](int fd, FakeAnnounceServer& server) {
        while (const std::optional<std::string> line = server.ReadLine(fd)) {
            server.Record(*line);
            FakeAnnounceServer::Send(fd, answer);
        }
    };
}

} // namespace testing_support
