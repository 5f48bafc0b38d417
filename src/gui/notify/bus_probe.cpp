#include "gui/notify/bus_probe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace varnot {

namespace {

struct UnixAddress {
    std::string name;
    bool abstract = false;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Values in an address escape bytes as %XX.
std::string Unescape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            const int high = HexDigit(value[i + 1]), low = HexDigit(value[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(value[i]);
    }
    return out;
}

// The socket of the first entry of an address list, when it is a Unix socket
// with a path or an abstract name; nothing for any other first entry.
std::optional<UnixAddress> FirstUnixSocket(std::string_view list) {
    const std::string_view entry = list.substr(0, list.find(';'));
    if (!entry.starts_with("unix:")) return std::nullopt;
    std::string_view pairs = entry.substr(5);
    while (!pairs.empty()) {
        const std::string_view pair = pairs.substr(0, pairs.find(','));
        pairs.remove_prefix(std::min(pairs.size(), pair.size() + 1));
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = pair.substr(0, equals);
        if (key == "path" || key == "abstract")
            return UnixAddress{Unescape(pair.substr(equals + 1)), key == "abstract"};
    }
    return std::nullopt;
}

// Waits for `events` on `fd` until the deadline; false when it passed.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd p{fd, events, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

bool Answers(int fd, const UnixAddress& address, int timeoutMs) {
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    const std::size_t offset = address.abstract ? 1 : 0;
    if (address.name.empty() || address.name.size() + offset >= sizeof(where.sun_path))
        return false;
    std::memcpy(where.sun_path + offset, address.name.data(), address.name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               address.name.size() + (address.abstract ? 0 : 1));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&where), length) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) return false;
        if (!WaitFor(fd, POLLOUT, deadline)) return false;
    }
    // The opening every client sends: a zero byte, then an authentication
    // request the daemon answers at once with OK or REJECTED.
    std::string hello(1, '\0');
    hello += "AUTH EXTERNAL ";
    for (char c : std::to_string(getuid())) {
        static const char hex[] = "0123456789abcdef";
        hello.push_back(hex[static_cast<unsigned char>(c) >> 4]);
        hello.push_back(hex[static_cast<unsigned char>(c) & 15]);
    }
    hello += "\r\n";
    if (send(fd, hello.data(), hello.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(hello.size()))
        return false;
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    char answer[64];
    return recv(fd, answer, sizeof(answer), MSG_DONTWAIT) > 0;
}

} // namespace

bool BusAnswers(const std::string& address, int timeoutMs) {
    const std::optional<UnixAddress> socketAddress = FirstUnixSocket(address);
    if (!socketAddress) return true;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answered = Answers(fd, *socketAddress, timeoutMs);
    close(fd);
    return answered;
}

} // namespace varnot
