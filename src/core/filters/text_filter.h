#pragma once

#include "core/archive/archive_options.h"
#include "core/filters/filter_groups.h"
#include "core/filters/keyword_scanner.h"

namespace varnot {

class TFileInfo;
class ViewBuffer;

// Matches messages against one filter. Built once per matching run (a pass or
// a single arrival) with a buffer of its own: the window's buffer holds the
// message on display.
class TTextFilter {
  public:
    TTextFilter(const CurrentFilter& filter, const ArchiveOptions& options, ViewBuffer& buffer);

    // True when the file name matches a mask and, when there are keywords, the
    // first 32767 bytes of the text hold one of them. A file that cannot be
    // read holds no keyword: it does not pass a keyword filter.
    bool Match(const TFileInfo& record);
    // True when Match would read the file: its name matches a mask and
    // there are keywords.
    bool WouldRead(const TFileInfo& record) const;

    // Files opened for keyword matching so far.
    long FilesRead() const { return filesRead_; }
    // Of those, the files whose text was not in memory and came from the disk.
    long DiskReads() const { return diskReads_; }

  private:
    bool MaskMatched(const TFileInfo& record) const;

    const CurrentFilter& filter_;
    const ArchiveOptions& options_;
    ViewBuffer& buffer_;
    KeywordScanner scanner_;
    long filesRead_ = 0;
    long diskReads_ = 0;
};

} // namespace varnot
