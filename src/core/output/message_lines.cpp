#include "core/output/message_lines.h"

#include "core/archive/dos_time.h"
#include "core/text/code_pages.h"

namespace varnot {

TMessageLines::TMessageLines(const std::string& path, bool inDos)
    : file_(path), reader_(file_), inDos_(inDos) {}

std::int32_t TMessageLines::Time() const {
    return DosTimeFromUnix(file_.ModificationTime());
}

bool TMessageLines::Next(std::string& line) {
    if (ended_ || !IsOpen() || !reader_.Next(line, MaxLineLength)) return false;
    if (const auto nul = line.find('\0'); nul != std::string::npos) {
        ended_ = true;
        if (nul == 0) return false;
        line.resize(nul);
    }
    if (inDos_) OemToAnsiInPlace(line);
    return true;
}

} // namespace varnot
