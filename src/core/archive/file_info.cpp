#include "core/archive/file_info.h"

#include <algorithm>
#include <cstring>

#include "core/text/latin_case.h"

namespace varnot {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view WithoutSeparator(std::string_view prefix) {
    if (!prefix.empty() && prefix.back() == ArchiveNameSeparator) prefix.remove_suffix(1);
    return prefix;
}

} // namespace

bool IsDayFolderShape(std::string_view folder) {
    if (folder.size() != DayFolderLength) return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const bool underscore = (i == 2 || i == 5);
        if (underscore ? folder[i] != '_' : !IsDigit(folder[i])) return false;
    }
    return true;
}

bool IsArchiveFileName(std::string_view fileName) {
    if (fileName.empty() || fileName.size() > MaxFileNameLength) return false;
    if (fileName == "." || fileName == "..") return false;
    // The marks file separates fields with commas and records with line ends,
    // and a stored name separates the day folder with a backslash.
    for (const char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ',' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

bool IsArchivePrefix(std::string_view prefix) {
    return prefix.size() == DayFolderLength + 1 && prefix.back() == ArchiveNameSeparator &&
           IsDayFolderShape(prefix.substr(0, DayFolderLength));
}

bool IsArchiveName(std::string_view name) {
    return name.size() > DayFolderLength + 1 &&
           IsArchivePrefix(name.substr(0, DayFolderLength + 1)) &&
           IsArchiveFileName(name.substr(DayFolderLength + 1));
}

std::string ArchiveNameOf(std::string_view prefix, std::string_view diskFileName) {
    std::string name(prefix);
    name += UpcaseLatin(diskFileName);
    return name;
}

std::string ArchiveFilePath(std::string_view root, std::string_view prefix,
                            std::string_view diskFileName) {
    std::string path(root);
    if (path.empty() || path.back() != '/') path += '/';
    path += WithoutSeparator(prefix);
    path += '/';
    path += diskFileName;
    return path;
}

bool TFileInfo::SetName(std::string_view prefix, std::string_view diskFileName) {
    if (!IsArchivePrefix(prefix) || !IsArchiveFileName(diskFileName)) {
        nameLength_ = prefixLength_ = diskNameLength_ = 0;
        name_[0] = diskName_[0] = '\0';
        return false;
    }
    std::memcpy(name_.data(), prefix.data(), prefix.size());
    char* out = name_.data() + prefix.size();
    for (char c : diskFileName) *out++ = LatinUpper(c);
    *out = '\0';
    std::memcpy(diskName_.data(), diskFileName.data(), diskFileName.size());
    diskName_[diskFileName.size()] = '\0';
    prefixLength_ = static_cast<std::uint16_t>(prefix.size());
    nameLength_ = static_cast<std::uint16_t>(prefix.size() + diskFileName.size());
    diskNameLength_ = static_cast<std::uint16_t>(diskFileName.size());
    return true;
}

bool TFileInfo::SetStoredName(std::string_view name) {
    if (!IsArchiveName(name)) {
        nameLength_ = prefixLength_ = diskNameLength_ = 0;
        name_[0] = diskName_[0] = '\0';
        return false;
    }
    const std::string_view fileName = name.substr(DayFolderLength + 1);
    std::memcpy(name_.data(), name.data(), name.size());
    name_[name.size()] = '\0';
    std::memcpy(diskName_.data(), fileName.data(), fileName.size());
    diskName_[fileName.size()] = '\0';
    prefixLength_ = static_cast<std::uint16_t>(DayFolderLength + 1);
    nameLength_ = static_cast<std::uint16_t>(name.size());
    diskNameLength_ = static_cast<std::uint16_t>(fileName.size());
    return true;
}

std::string_view TFileInfo::DayFolder() const {
    return prefixLength_ == 0 ? std::string_view()
                              : std::string_view(name_.data(), prefixLength_ - 1);
}

std::string_view TFileInfo::FileName() const {
    return Name().substr(prefixLength_);
}

void TFileInfo::Clear() {
    Head.reset();
    Time = 0;
    Size = 0;
    Flags = 0;
    MatchIndex = 0;
    RowRecord = 0;
    nameLength_ = prefixLength_ = diskNameLength_ = 0;
    name_[0] = diskName_[0] = '\0';
}

std::string DiskPath(std::string_view root, const TFileInfo& record) {
    return ArchiveFilePath(root, record.DayFolder(), record.DiskName());
}

bool StandsBefore(const TFileInfo& a, const TFileInfo& b) {
    if (a.Time != b.Time) return a.Time > b.Time;
    return a.Name() > b.Name();
}

void TFileInfo::CopyKeysFrom(const TFileInfo& other) {
    name_ = other.name_;
    diskName_ = other.diskName_;
    nameLength_ = other.nameLength_;
    prefixLength_ = other.prefixLength_;
    diskNameLength_ = other.diskNameLength_;
    Time = other.Time;
    Size = other.Size;
    Flags = other.Flags;
    MatchIndex = -1;
    Head.reset();
}

} // namespace varnot
