#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// The line protocol of the announce service, through which the receiving
// program tells the running viewer of a new message file. A request is one
// line ending with LF (one CR before the LF is tolerated):
//
//   POKE RADIOTEXT FILENAME <data>
//
// and every request gets one answer line: "OK" when the poke was taken,
// "ERR <reason>" otherwise. The words are matched without regard to letter
// case, as DDE names are. Several requests may share a connection; a line
// longer than AnnounceMaxLine bytes (not counting its CR LF) is answered with
// an error and ends the connection.
//
// Only the first line of the data is the announced name. The data cannot hold
// an LF (that ends the request), so its first line ends at its first CR; a NUL
// ends it too, as it ends the text of a DDE poke.

inline constexpr std::size_t AnnounceMaxLine = 4096;
inline constexpr std::string_view AnnounceCommand = "POKE";
inline constexpr std::string_view AnnounceTopic = "RADIOTEXT";
inline constexpr std::string_view AnnounceItem = "FILENAME";

inline constexpr std::string_view AnnounceOk = "OK\n";
inline constexpr std::string_view AnnounceUnknownCommand = "ERR unknown command\n";
inline constexpr std::string_view AnnounceUnknownTopic = "ERR unknown topic\n";
inline constexpr std::string_view AnnounceUnknownItem = "ERR unknown item\n";
inline constexpr std::string_view AnnounceLineTooLong = "ERR line too long\n";
// Sent to a client beyond the service's connection limit before it is closed.
inline constexpr std::string_view AnnounceBusy = "ERR busy\n";

// What one complete request line asks for.
struct AnnounceAction {
    std::string answer; // the answer line, LF included
    // The first line of the poked data; empty for an empty poke (which is
    // taken, and then ignored) and for a refused request.
    std::string firstLine;
    bool poked = false; // a poke with a non-empty first line, to be handed on
};

// The answer to one request line, given without its LF (a trailing CR is
// dropped here). The line is assumed to be within AnnounceMaxLine.
AnnounceAction AnswerAnnounceLine(std::string_view line);

// The server side of one connection: takes the bytes as they arrive, in any
// split, and gives the actions of the lines completed so far. Never holds
// more than AnnounceMaxLine + 1 bytes of an unfinished line, whatever the
// client sends.
class TAnnounceParser {
  public:
    // Appends the actions of the lines completed by `bytes` to `out`. After an
    // over-long line the last action is its error answer, Closed() holds and
    // every further byte is ignored.
    void Feed(std::string_view bytes, std::vector<AnnounceAction>& out);

    // The connection must be closed once the answers are sent.
    bool Closed() const { return closed_; }
    // Part of a line is waiting for its end.
    bool MidLine() const { return !line_.empty(); }

  private:
    std::string line_;
    bool closed_ = false;
};

// The request line that announces `fileName`, LF included; nothing when the
// name cannot be sent as one line within the limit (empty, or holding a CR,
// LF or NUL, or too long).
std::optional<std::string> AnnounceRequestLine(std::string_view fileName);

// The answer line of the server without its line end: true for "OK".
bool IsAnnounceOk(std::string_view answer);

// The socket of the service `serviceName` (a name already reduced from the
// settings, "ZEVA" by default) in this user's runtime folder: the same folder
// and fallback as the single-instance lock. Nothing when the name cannot be a
// file name of that folder (empty, ".", "..", holding a separator, a colon, a
// dot, a control byte) or the path is too long for a local socket address.
std::optional<std::string> AnnounceSocketPath(std::string_view serviceName);

} // namespace varnot
