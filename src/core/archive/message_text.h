#pragma once

#include "core/archive/archive_options.h"

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// The buffer a message is loaded into for display and for keyword matching:
// 32768 bytes allocated once, holding at most 32767 bytes of one file and a
// NUL after them. A thread that matches messages needs its own buffer.
class ViewBuffer {
  public:
    static constexpr std::size_t kCapacity = 32768;
    static constexpr std::size_t kMaxBytes = kCapacity - 1;

    ViewBuffer();
    ViewBuffer(const ViewBuffer&) = delete;
    ViewBuffer& operator=(const ViewBuffer&) = delete;

    const unsigned char* Data() const { return data_.get(); }
    unsigned char* Data() { return data_.get(); }
    // The bytes of the message loaded last (NULs included).
    std::size_t Length() const { return length_; }
    std::string_view Bytes() const;
    // The text up to the first NUL: what the view shows.
    std::string_view Text() const;

    // Sets the loaded length (at most kMaxBytes) and stores the NUL after it.
    void SetLength(std::size_t length);
    void Clear() { SetLength(0); }

    // The buffer starts on a 64-byte boundary, where vector reads of the
    // keyword search are cheapest.
    static constexpr std::size_t kAlignment = 64;

  private:
    struct AlignedDelete {
        void operator()(unsigned char* p) const {
            ::operator delete[](p, std::align_val_t{kAlignment});
        }
    };
    std::unique_ptr<unsigned char[], AlignedDelete> data_;
    std::size_t length_ = 0;
};

struct TextLoadResult {
    bool ok = false;
    std::size_t bytes = 0;      // bytes loaded when ok
    int error = 0;              // errno of the failure otherwise
    bool waitedForDisk = false; // the text was not in memory and came from the disk

    explicit operator bool() const { return ok; }
};

// Loads the first 32767 bytes of a message (converted from 866 with InDOS).
// A file that cannot be opened (or is no regular file) leaves the buffer as
// it was; a read failure part-way leaves it empty.
TextLoadResult LoadTextBuffer(const std::string& path, const ArchiveOptions& options,
                              ViewBuffer& buffer);

// The longest brief kept; a longer first line is not read beyond it.
inline constexpr std::size_t kMaxBriefLength = 4096;

// The one-line brief of a message. With InZEV the value of key "head" in
// section "head"; otherwise the first line with a visible character, without
// its leading blanks and control characters (converted from 866 with InDOS).
// Never fails: an unreadable or blank file gives the file-name part of the path.
std::string LoadHead(const std::string& path, const ArchiveOptions& options);

// True when the upper-cased extension of the path is ".TXT".
bool IsTextMessage(std::string_view path);

// The lines of a text split at CR LF, CR and LF; a break at the very end
// opens no line.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace varnot
