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

    // Files opened for keyword matching so far.
    long FilesRead() const { return filesRead_; }

  private:
    const CurrentFilter& filter_;
    const ArchiveOptions& options_;
    ViewBuffer& buffer_;
    KeywordScanner scanner_;
    long filesRead_ = 0;
};

} // namespace varnot
