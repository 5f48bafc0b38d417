#include "announce_client/announce_client.h"

#include "core/announce/announce_protocol.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace varnot::announce {

namespace {

// The longest answer line the service sends is far below this; anything
// longer is not the service.
constexpr std::size_t MaxAnswer = 1024;

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int Remaining(long long deadline) {
    const long long left = deadline - NowMs();
    return left <= 0 ? 0 : static_cast<int>(left);
}

PokeResult Failure(PokeStatus status, std::string detail) {
    return PokeResult{status, std::move(detail)};
}

// Waits until `fd` is ready for `events`; false on timeout or failure.
bool WaitFor(int fd, short events, long long deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready = poll(&p, 1, Remaining(deadline));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

} // namespace

std::string Describe(const PokeResult& result) {
    switch (result.status) {
    case PokeStatus::Ok:
        return "OK";
    case PokeStatus::Refused:
        return "refused: " + result.detail;
    case PokeStatus::NotRunning:
        return "the viewer is not running: " + result.detail;
    case PokeStatus::Timeout:
        return "no answer in time: " + result.detail;
    case PokeStatus::Lost:
        return "connection lost: " + result.detail;
    case PokeStatus::BadName:
        return "cannot be announced: " + result.detail;
    }
    return result.detail;
}

TAnnounceClient::TAnnounceClient(std::string socketPath, int timeoutMs)
    : path_(std::move(socketPath)), timeoutMs_(timeoutMs) {}

TAnnounceClient::~TAnnounceClient() {
    Close();
}

void TAnnounceClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

PokeResult TAnnounceClient::Connect(long long deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.empty() || path_.size() >= sizeof address.sun_path)
        return Failure(PokeStatus::NotRunning, "no usable socket path");
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);

    for (;;) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return Failure(PokeStatus::Lost, std::strerror(errno));
        int result;
        do {
            result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        } while (result != 0 && errno == EINTR);
        if (result == 0) {
            fd_ = fd;
            return PokeResult{PokeStatus::Ok, {}};
        }
        const int error = errno;
        close(fd);
        if (error == ENOENT || error == ECONNREFUSED || error == ENOTDIR)
            return Failure(PokeStatus::NotRunning, "nothing serves " + path_);
        if (error != EAGAIN) return Failure(PokeStatus::Lost, std::strerror(error));
        // The viewer's queue of new connections is full: it is busy, not gone.
        if (Remaining(deadline) == 0)
            return Failure(PokeStatus::Timeout, "the viewer accepts no connection");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

PokeResult TAnnounceClient::Exchange(const std::string& request, long long deadline,
                                     bool& nothingCame) {
    nothingCame = true;
    std::size_t sent = 0;
    while (sent < request.size()) {
        if (!WaitFor(fd_, POLLOUT, deadline))
            return Failure(PokeStatus::Timeout, "the viewer takes no request");
        const ssize_t n = send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Failure(PokeStatus::Lost, std::strerror(errno));
        }
        sent += static_cast<std::size_t>(n);
    }

    std::string answer;
    for (;;) {
        if (!WaitFor(fd_, POLLIN, deadline))
            return Failure(PokeStatus::Timeout, "the viewer did not answer");
        char byte;
        // One byte at a time: the answer is a few bytes, and nothing after its
        // line end may be taken away from the next poke's answer.
        const ssize_t n = recv(fd_, &byte, 1, 0);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Failure(PokeStatus::Lost, std::strerror(errno));
        }
        if (n == 0) return Failure(PokeStatus::Lost, "the viewer closed the connection");
        nothingCame = false;
        if (byte == '\n') break;
        if (answer.size() >= MaxAnswer) return Failure(PokeStatus::Lost, "answer too long");
        answer += byte;
    }
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    if (IsAnnounceOk(answer)) return PokeResult{PokeStatus::Ok, {}};
    if (answer.rfind("ERR", 0) == 0) {
        std::string reason = answer.substr(3);
        if (!reason.empty() && reason.front() == ' ') reason.erase(0, 1);
        return Failure(PokeStatus::Refused, reason.empty() ? "no reason given" : reason);
    }
    return Failure(PokeStatus::Lost, "unexpected answer");
}

PokeResult TAnnounceClient::Poke(std::string_view fileName) {
    const std::optional<std::string> request = AnnounceRequestLine(fileName);
    if (!request)
        return Failure(PokeStatus::BadName, "not a single line of at most " +
                                                std::to_string(AnnounceMaxLine) + " bytes");
    const long long deadline = NowMs() + timeoutMs_;
    for (int attempt = 0;; ++attempt) {
        const bool reused = fd_ >= 0;
        if (!reused) {
            PokeResult connected = Connect(deadline);
            if (connected.status != PokeStatus::Ok) return connected;
        }
        bool nothingCame = true;
        PokeResult result = Exchange(*request, deadline, nothingCame);
        if (result.status == PokeStatus::Ok) return result;
        // After a refusal or a fault the connection is not trusted any more.
        Close();
        // A kept connection may have been dropped by the viewer while idle;
        // that is no fault of the viewer, so the poke goes once more on a
        // fresh one. A second poke of the same file does no harm.
        if (result.status != PokeStatus::Lost || !reused || !nothingCame || attempt > 0)
            return result;
    }
}

} // namespace varnot::announce
