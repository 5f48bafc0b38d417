#include "core/announce/announce_protocol.h"

#include "core/app/runtime_folder.h"
#include "core/text/latin_case.h"

namespace varnot {

namespace {

// Room for a line of the largest size and the CR of its CR LF.
constexpr std::size_t BufferCap = AnnounceMaxLine + 1;
// sun_path of a local socket address holds 108 bytes with the closing NUL.
constexpr std::size_t MaxSocketPath = 107;

// The next blank-separated word of `rest`, which then starts after its blank.
std::string_view TakeWord(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

AnnounceAction Answer(std::string_view answer) {
    AnnounceAction action;
    action.answer = std::string(answer);
    return action;
}

} // namespace

AnnounceAction AnswerAnnounceLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view rest = line;
    if (!SameLatinText(TakeWord(rest), AnnounceCommand)) return Answer(AnnounceUnknownCommand);
    if (!SameLatinText(TakeWord(rest), AnnounceTopic)) return Answer(AnnounceUnknownTopic);
    if (!SameLatinText(TakeWord(rest), AnnounceItem)) return Answer(AnnounceUnknownItem);
    AnnounceAction action = Answer(AnnounceOk);
    const std::size_t end = rest.find_first_of(std::string_view("\r\0", 2));
    action.firstLine = std::string(rest.substr(0, end));
    action.poked = !action.firstLine.empty();
    return action;
}

void TAnnounceParser::Feed(std::string_view bytes, std::vector<AnnounceAction>& out) {
    while (!closed_ && !bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lf);
        if (line_.size() + piece.size() > BufferCap) {
            // Whatever follows, this line is too long: stop buffering at once.
            out.push_back(Answer(AnnounceLineTooLong));
            closed_ = true;
            line_.clear();
            break;
        }
        line_.append(piece);
        if (lf == std::string_view::npos) break;
        bytes.remove_prefix(lf + 1);

        // The line goes on with its CR: AnswerAnnounceLine drops exactly one,
        // and a second one is part of the request.
        const bool cr = !line_.empty() && line_.back() == '\r';
        if (line_.size() - (cr ? 1 : 0) > AnnounceMaxLine) {
            out.push_back(Answer(AnnounceLineTooLong));
            closed_ = true;
        } else {
            out.push_back(AnswerAnnounceLine(line_));
        }
        line_.clear();
    }
}

std::optional<std::string> AnnounceRequestLine(std::string_view fileName) {
    if (fileName.empty() ||
        fileName.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return std::nullopt;
    std::string line;
    line.reserve(AnnounceCommand.size() + AnnounceTopic.size() + AnnounceItem.size() +
                 fileName.size() + 4);
    line.append(AnnounceCommand).append(" ").append(AnnounceTopic).append(" ");
    line.append(AnnounceItem).append(" ").append(fileName);
    if (line.size() > AnnounceMaxLine) return std::nullopt;
    line += '\n';
    return line;
}

bool IsAnnounceOk(std::string_view answer) {
    if (!answer.empty() && answer.back() == '\n') answer.remove_suffix(1);
    if (!answer.empty() && answer.back() == '\r') answer.remove_suffix(1);
    return answer == "OK";
}

std::optional<std::string> AnnounceSocketPath(std::string_view serviceName) {
    if (serviceName.empty()) return std::nullopt;
    for (const char c : serviceName) {
        const unsigned char u = static_cast<unsigned char>(c);
        // A dot is cut off by the reduction anyway; refusing it also keeps
        // "." and ".." out.
        if (u < 0x20 || u == 0x7f || c == '/' || c == '\\' || c == ':' || c == '.')
            return std::nullopt;
    }
    std::string path = RuntimeFilePath(serviceName);
    if (path.size() > MaxSocketPath) return std::nullopt;
    return path;
}

} // namespace varnot
