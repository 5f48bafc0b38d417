#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnot {

enum class CopyResult {
    Copied,                 // the destination holds a complete copy (or the moved file)
    SameFile,               // the destination is the source itself; nothing was touched
    SourceUnavailable,      // missing, unreadable or not a regular file
    DestinationUnavailable, // cannot be created, or is something other than a regular file
    WriteFailed,            // a read, write or flush failed; the old destination is intact
};

// What became of one copy or move.
struct TransferResult {
    CopyResult result = CopyResult::WriteFailed;
    int error = 0; // errno of the call that failed; 0 when no call failed
    // The source as it was copied (packed local time, clamped size): a move
    // removes the source only while it is still that file.
    std::int32_t time = 0;
    std::int32_t size = 0;

    bool Done() const { return result == CopyResult::Copied; }
};

// Copies a message file, keeping its modification time and permission bits.
// The copy is written beside the destination under a temporary name, flushed
// to disk, and renamed into place only when it is complete; the folder is then
// flushed too. So a failed copy never leaves a truncated file and never harms
// the file it was to replace, nor the source, even when the destination turns
// out to be the source (same folder, a symbolic link to it, a hard link).
TransferResult CopyMessageFile(const std::string& source, const std::string& destination);

// The same between two open folders: sourceName of sourceFolder (never
// followed when it is a link) to destinationName of destinationFolder.
TransferResult CopyMessageFileAt(int sourceFolder, std::string_view sourceName,
                                 int destinationFolder, std::string_view destinationName);

// Moves a message file by renaming it, when both folders are on one file
// system: the source is flushed to disk first, an equally named destination
// file is replaced in one step, and both folders are flushed afterwards.
// Fails with error EXDEV when the folders are on different file systems; the
// caller then copies and removes. Refuses the same things a copy refuses.
TransferResult RenameMessageFileAt(int sourceFolder, std::string_view sourceName,
                                   int destinationFolder, std::string_view destinationName);

} // namespace varnot
