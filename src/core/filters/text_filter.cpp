#include "core/filters/text_filter.h"

#include "core/archive/file_info.h"
#include "core/archive/message_text.h"
#include "core/text/masks.h"

namespace varnot {

TTextFilter::TTextFilter(const CurrentFilter& filter, const ArchiveOptions& options,
                         ViewBuffer& buffer)
    : filter_(filter), options_(options), buffer_(buffer), scanner_(filter.keywords) {}

bool TTextFilter::Match(const TFileInfo& record) {
    if (!MaskMatched(record)) return false;
    if (filter_.keywords.empty()) return true;
    // Every further mask would read the same text again and give the same
    // answer, so the file is read once.
    ++filesRead_;
    const TextLoadResult loaded =
        LoadTextBuffer(DiskPath(options_.root, record), options_, buffer_);
    if (loaded.waitedForDisk) ++diskReads_;
    if (!loaded) return false;
    return scanner_.Scan(buffer_.Data(), buffer_.Length());
}

bool TTextFilter::WouldRead(const TFileInfo& record) const {
    return !filter_.keywords.empty() && MaskMatched(record);
}

bool TTextFilter::MaskMatched(const TFileInfo& record) const {
    const std::string_view fileName = record.FileName();
    for (const std::string& mask : filter_.masks)
        if (MaskMatch(fileName, mask)) return true;
    return false;
}

} // namespace varnot
