#include "core/archive/message_text.h"

#include "core/archive/message_file.h"
#include "core/archive/sectioned_file.h"
#include "core/text/code_pages.h"

#include <cstring>

namespace varnot {

namespace {

std::string_view FileNamePartOf(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

ViewBuffer::ViewBuffer()
    : data_(
          static_cast<unsigned char*>(::operator new[](kCapacity, std::align_val_t{kAlignment}))) {
    std::memset(data_.get(), 0, kCapacity);
}

std::string_view ViewBuffer::Bytes() const {
    return {reinterpret_cast<const char*>(data_.get()), length_};
}

std::string_view ViewBuffer::Text() const {
    const char* text = reinterpret_cast<const char*>(data_.get());
    return {text, strnlen(text, length_)};
}

void ViewBuffer::SetLength(std::size_t length) {
    length_ = length < kMaxBytes ? length : kMaxBytes;
    data_[length_] = 0;
}

TextLoadResult LoadTextBuffer(const std::string& path, const ArchiveOptions& options,
                              ViewBuffer& buffer) {
    TextLoadResult result;
    MessageFile file(path);
    if (!file.IsOpen()) {
        result.error = file.Error();
        return result;
    }
    // The size known from opening: a file of any size up to the limit is
    // read with one call, and the end need not be asked for again.
    const std::size_t wanted = file.Size() < static_cast<long long>(ViewBuffer::kMaxBytes)
                                   ? static_cast<std::size_t>(file.Size())
                                   : ViewBuffer::kMaxBytes;
    long got = file.ReadFull(buffer.Data(), wanted, &result.waitedForDisk);
    if (got < 0) {
        buffer.Clear(); // part of it may have been overwritten
        result.error = file.Error();
        return result;
    }
    std::size_t n = static_cast<std::size_t>(got);
    if (options.inDos) OemToAnsiInPlace(buffer.Data(), n);
    buffer.SetLength(n);
    result.ok = true;
    result.bytes = n;
    return result;
}

std::string LoadHead(const std::string& path, const ArchiveOptions& options) {
    if (options.inZev) {
        SectionedKey head{"head", "head", {}, false};
        bool hasText = false;
        // A file without a visible character is blank, whatever its format.
        if (ReadSectionedValues(path, std::span<SectionedKey>(&head, 1), &hasText) && hasText)
            return head.value;
        return std::string(FileNamePartOf(path));
    }

    std::string brief;
    {
        MessageFile file(path);
        if (file.IsOpen()) {
            LineReader reader(file);
            while (reader.Next(brief, kMaxBriefLength, true) && brief.empty()) {
            }
        }
    }
    // The brief is kept as NUL-terminated text.
    std::size_t nul = brief.find('\0');
    if (nul != std::string::npos) brief.resize(nul);
    if (brief.empty()) return std::string(FileNamePartOf(path));
    if (options.inDos) OemToAnsiInPlace(brief);
    return brief;
}

bool IsTextMessage(std::string_view path) {
    std::string_view name = FileNamePartOf(path);
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    return Upcase1251(name.substr(dot)) == ".TXT";
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\r' && text[i] != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = ++i;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace varnot
