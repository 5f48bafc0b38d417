#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive/message_file.h"

namespace varnot {

// A message file read as printed lines: a line ends at CR LF, CR or LF, a NUL
// byte ends the text, and with InDos every byte is converted from 866. Lines
// come as code page 1251 bytes through a fixed buffer, so a message of any
// size costs no more than its longest line.
class TMessageLines {
  public:
    // Longer lines are cut: the rest would fall far beyond the paper's edge.
    static constexpr std::size_t MaxLineLength = 32767;

    TMessageLines(const std::string& path, bool inDos);

    bool IsOpen() const { return file_.IsOpen(); }
    // The file's last-modification time as a DOS date-time.
    std::int32_t Time() const;
    // The next line; false at the end of the text or on a read failure.
    bool Next(std::string& line);
    // errno of a read failure that ended the lines early; 0 when none did.
    int Error() const { return IsOpen() ? file_.Error() : 0; }

  private:
    MessageFile file_;
    LineReader reader_;
    bool inDos_;
    bool ended_ = false;
};

} // namespace varnot
