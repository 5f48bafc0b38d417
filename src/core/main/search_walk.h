#pragma once

#include "core/archive/archive_options.h"
#include "core/filters/keyword_scanner.h"
#include "core/main/text_search.h"

#include <cstddef>
#include <functional>
#include <string>

namespace varnot {

class ViewBuffer;

// What searching one message gave.
enum class MessageSearchOutcome {
    Hit,   // the text is in the message; see the offset
    NoHit, // it is not (or only where the view does not show it)
    Skip,  // the file could not be read (deleted meanwhile, no permission)
};

struct MessageSearchResult {
    MessageSearchOutcome outcome = MessageSearchOutcome::NoHit;
    // The hit's offset in the text the rich view shows for the message
    // (RichViewText), where the window selects it.
    std::size_t offset = 0;
};

// The search for one text through messages, set up once per walk. Each
// message is loaded (at most 32767 bytes, converted from 866 with InDOS),
// the keyword scanner of the filters tells cheaply whether the text occurs
// at all (letter case ignored), and only then the exact search runs, on
// the text as the rich view shows it (line breaks as single LF; with InZEV
// only the section "body"), from its start downward or its end upward.
class MessageSearch {
  public:
    // `text` in code page 1251, as typed.
    MessageSearch(std::string text, SearchFlags flags, ArchiveOptions options);

    // Searches the message at a disk path, loading it into `buffer`.
    MessageSearchResult Search(const std::string& path, ViewBuffer& buffer) const;

    const std::string& Text() const { return text_; }
    const SearchFlags& Flags() const { return flags_; }

  private:
    std::string text_;
    SearchFlags flags_;
    ArchiveOptions options_;
    KeywordScanner scanner_;
};

// The walk from the current row through the rows of the list in the
// search's direction, a few messages per timer tick. The list must not
// change while a walk runs.
class SearchWalk {
  public:
    static constexpr int kMessagesPerTick = 10;

    enum class Outcome {
        Continue, // the tick is over; the next tick goes on from Row()
        Hit,      // the message at Row() holds the text at Offset()
        NotFound, // the walk reached the first or last row without a hit
    };

    // `startRow` is the current row (its message is not searched again);
    // `rowCount` the rows of the list.
    SearchWalk(int startRow, int rowCount, SearchDirection direction);

    // Searches up to kMessagesPerTick messages. `pathOfRow` gives the disk
    // path of a row's message; a row without one, like a file that cannot
    // be read, is passed over.
    Outcome Tick(const MessageSearch& search, const std::function<std::string(int)>& pathOfRow,
                 ViewBuffer& buffer);

    // The row searched last: the progress to show, or the hit's row.
    int Row() const { return row_; }
    // The hit's offset in the rich view's text, after Outcome::Hit.
    std::size_t Offset() const { return offset_; }
    // Messages passed over because their file could not be read.
    int Skipped() const { return skipped_; }

  private:
    int row_;
    int rowCount_;
    SearchDirection direction_;
    std::size_t offset_ = 0;
    int skipped_ = 0;
};

} // namespace varnot
