#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace varnot {

// One message file found in a day folder. The views point into the listing's
// own storage and are valid only during the visitor's call.
struct FoundFile {
    std::string_view diskName; // exactly as on disk; every file access uses it
    std::string_view name;     // Latin letters a..z upper-cased, all other bytes kept
    int32_t size = 0;          // clamped to the signed 32-bit range
    int32_t time = 0;          // last write, DOS packed local time, clamped to 1980..2107
};

struct FolderListing {
    bool opened = false;  // false: missing, not a real folder, or unreadable
    bool stopped = false; // the visitor asked to stop before the end
    int entries = 0;      // every entry except "." and "..", messages or not
    int files = 0;        // the messages handed to the visitor

    // The folder was read to its end and held nothing at all.
    bool IsEmpty() const { return opened && !stopped && entries == 0; }
};

// A file size as records hold it: clamped to the signed 32-bit range.
int32_t ClampFileSize(long long size);

// Returns false to stop the listing.
using FoundFileVisitor = bool (*)(void* context, const FoundFile& file);

// Lists the message files of one folder: regular files only (links, folders,
// FIFOs, sockets and devices are skipped without being opened or followed),
// no hidden files (leading "."), no names holding a backslash. A file that
// disappears between listing and inspection is skipped; a folder that
// disappears while being read ends the listing with what was found. Nothing
// is allocated per file. A folder given as a symbolic link is not opened.
FolderListing ListMessageFiles(const std::string& folder, FoundFileVisitor visit, void* context);

// The same for any callable taking `const FoundFile&` and returning bool
// (false stops) or nothing.
template <class Visitor>
FolderListing ListMessageFiles(const std::string& folder, Visitor&& visitor) {
    using V = std::remove_reference_t<Visitor>;
    auto thunk = [](void* context, const FoundFile& file) -> bool {
        V& v = *static_cast<V*>(context);
        if constexpr (std::is_void_v<std::invoke_result_t<V&, const FoundFile&>>) {
            v(file);
            return true;
        } else {
            return static_cast<bool>(v(file));
        }
    };
    return ListMessageFiles(folder, +thunk,
                            const_cast<void*>(static_cast<const void*>(std::addressof(visitor))));
}

} // namespace varnot
