#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace varnot {

// A day folder name has the form "yy_mm_dd".
inline constexpr std::size_t DayFolderLength = 8;
// The longest file name the file system allows (NAME_MAX).
inline constexpr std::size_t MaxFileNameLength = 255;
// A stored archive name: "yy_mm_dd", a backslash, a file name.
inline constexpr std::size_t MaxArchiveNameLength = DayFolderLength + 1 + MaxFileNameLength;
// Stored names separate the day folder from the file name with a backslash,
// whatever the platform's own separator is.
inline constexpr char ArchiveNameSeparator = '\\';

// "yy_mm_dd" by shape: digits and two underscores (not a calendar check).
bool IsDayFolderShape(std::string_view folder);
// A name that a message file may have: 1..255 bytes, no "/", backslash,
// comma or control character (NUL, CR, LF, ...), and not "." or "..".
bool IsArchiveFileName(std::string_view fileName);
// A prefix as the scanner hands it over: a day folder and a backslash.
bool IsArchivePrefix(std::string_view prefix);
// A stored name: a day folder, one backslash, an archive file name.
bool IsArchiveName(std::string_view name);

// The stored name of a file found on disk: prefix + the upper-cased file name.
std::string ArchiveNameOf(std::string_view prefix, std::string_view diskFileName);

// The only place where archive paths are built: root (ending with "/") + day
// folder + "/" + the file name exactly as it is on disk. The prefix is the day
// folder with or without its trailing backslash.
std::string ArchiveFilePath(std::string_view root, std::string_view prefix,
                            std::string_view diskFileName);

// The marks of a record, bits of TFileInfo::Flags: Shown passes the current
// filter, Unchecked is not yet matched against it.
enum class TRecordFlag : std::uint16_t { Selected = 4, Shown = 8, Unchecked = 16, Read = 32 };

// What the list shows of a message besides its record, read from the file
// once, when the display first needs it, and kept with the record.
struct TBrief {
    TBrief() = default;
    TBrief(std::string brief) : text(std::move(brief)) {}
    TBrief(const char* brief) : text(brief) {}

    std::string text; // the brief line (1251 bytes)
    std::string time; // sectioned messages: the time column from the file; empty otherwise

    // A brief reads as its text.
    friend bool operator==(const TBrief& brief, std::string_view text) {
        return brief.text == text;
    }
};

// One message file. Names live in fixed buffers so that a scanner pass, which
// refills the same records again and again, never allocates; only the brief
// (Head) is allocated, when the display first asks for it.
class TFileInfo {
  public:
    static constexpr std::uint16_t Selected = static_cast<std::uint16_t>(TRecordFlag::Selected);
    static constexpr std::uint16_t Shown = static_cast<std::uint16_t>(TRecordFlag::Shown);
    static constexpr std::uint16_t Unchecked = static_cast<std::uint16_t>(TRecordFlag::Unchecked);
    static constexpr std::uint16_t Read = static_cast<std::uint16_t>(TRecordFlag::Read);

    // Name = prefix + upper-cased file name; the disk name is kept exactly. When
    // the pair cannot be an archive name the record is left without a name and
    // the answer is false.
    bool SetName(std::string_view prefix, std::string_view diskFileName);
    // A stored name (from the marks file); its file-name part stands in for
    // the disk name. False, and no name, when it is not a valid archive name.
    bool SetStoredName(std::string_view name);

    std::string_view Name() const { return {name_.data(), nameLength_}; }
    // Day folder without the backslash.
    std::string_view DayFolder() const;
    // The upper-cased file name after the backslash.
    std::string_view FileName() const;
    // The file name exactly as found on disk.
    std::string_view DiskName() const { return {diskName_.data(), diskNameLength_}; }

    bool Has(std::uint16_t flag) const { return (Flags & flag) != 0; }
    bool Has(TRecordFlag flag) const { return Has(static_cast<std::uint16_t>(flag)); }
    // Sets or clears one mark.
    void SetFlag(TRecordFlag flag, bool on) {
        const auto bit = static_cast<std::uint16_t>(flag);
        Flags = static_cast<std::uint16_t>(on ? Flags | bit : Flags & ~bit);
    }

    // Every field zero, no name, no brief: a fresh spare record.
    void Clear();
    // Name, disk name, Time, Size and Flags of another record; no brief.
    void CopyKeysFrom(const TFileInfo& other);

    std::optional<TBrief> Head; // the cached brief; absent until needed
    std::int32_t Time = 0;      // DOS packed local date-time
    std::int32_t Size = 0;
    std::uint16_t Flags = 0;
    std::int32_t MatchIndex = -1; // slot of the merge map (belongs to the position)
    std::int32_t RowRecord = 0;   // slot of the row map (belongs to the position)

  private:
    std::array<char, MaxArchiveNameLength + 1> name_{};
    std::array<char, MaxFileNameLength + 1> diskName_{};
    std::uint16_t nameLength_ = 0;
    std::uint16_t prefixLength_ = 0; // day folder and backslash
    std::uint16_t diskNameLength_ = 0;
};

// The disk path of a record's file below the archive root.
std::string DiskPath(std::string_view root, const TFileInfo& record);

// Record order: the newer time first; equal times by name, the greater name first.
bool StandsBefore(const TFileInfo& a, const TFileInfo& b);

} // namespace varnot
