#pragma once

#include <string>
#include <string_view>

namespace varnot::announce {

enum class PokeStatus {
    Ok,         // the viewer took the poke
    Refused,    // the viewer answered "ERR <reason>"
    NotRunning, // no socket, or nobody listens on it
    Timeout,    // no answer in time (the viewer hangs or is swamped)
    Lost,       // the connection broke, or the answer made no sense
    BadName,    // the name cannot be sent as one request line; nothing was sent
};

struct PokeResult {
    PokeStatus status = PokeStatus::Lost;
    std::string detail; // the viewer's reason, or what went wrong; empty for Ok
};

// One line of text for a result: "OK", "refused: unknown item", ...
std::string Describe(const PokeResult& result);

// The client of the announce service, as the receiving program uses it: one
// connection, kept for several pokes, one request and one answer line per
// file. Every step waits at most the timeout, so a hung viewer never hangs the
// caller. Writing to a connection the viewer has closed raises no SIGPIPE.
class TAnnounceClient {
  public:
    static constexpr int DefaultTimeout = 5000; // ms per poke

    explicit TAnnounceClient(std::string socketPath, int timeoutMs = DefaultTimeout);
    ~TAnnounceClient();
    TAnnounceClient(const TAnnounceClient&) = delete;
    TAnnounceClient& operator=(const TAnnounceClient&) = delete;

    // Announces one file (its name or path as the receiving program knows it;
    // the viewer uses only the file-name part). Connects when not connected.
    // A kept connection that the viewer has meanwhile dropped is replaced once.
    PokeResult Poke(std::string_view fileName);
    void Close();
    bool Connected() const { return fd_ >= 0; }

  private:
    PokeResult Connect(long long deadline);
    PokeResult Exchange(const std::string& request, long long deadline, bool& nothingCame);

    std::string path_;
    int timeoutMs_;
    int fd_ = -1;
};

} // namespace varnot::announce
