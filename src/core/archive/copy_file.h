#pragma once

#include <string>

namespace varnot {

enum class CopyResult {
    Copied,                 // the destination holds a complete copy
    SameFile,               // the destination is the source itself; nothing was touched
    SourceUnavailable,      // missing, unreadable or not a regular file
    DestinationUnavailable, // cannot be created, or is something other than a regular file
    WriteFailed,            // a read or write error; the old destination is intact
};

// Copies a message file, keeping its modification time and permission bits.
// The copy is written beside the destination under a temporary name and renamed
// into place only when it is complete, so a failed copy never leaves a
// truncated file and never harms the source, even when the destination turns
// out to be the source (same folder, a symbolic link to it, a hard link).
CopyResult CopyMessageFile(const std::string& source, const std::string& destination);

} // namespace varnot
