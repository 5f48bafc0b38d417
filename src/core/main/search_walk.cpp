#include "core/main/search_walk.h"

#include "core/archive/message_text.h"
#include "core/main/colour_spans.h"
#include "core/main/find_settings.h"

#include <utility>

namespace varnot {

MessageSearch::MessageSearch(std::string text, SearchFlags flags, ArchiveOptions options)
    : text_(std::move(text)), flags_(flags), options_(std::move(options)),
      scanner_(SearchKeysOf(text_)) {}

MessageSearchResult MessageSearch::Search(const std::string& path, ViewBuffer& buffer) const {
    MessageSearchResult result;
    if (!LoadTextBuffer(path, options_, buffer)) {
        result.outcome = MessageSearchOutcome::Skip;
        return result;
    }
    if (scanner_.Empty() || !scanner_.Scan(buffer.Data(), buffer.Length())) return result;

    // Offsets count in the text on display, so the window can select the hit.
    const std::string shown = RichViewText(buffer.Text(), options_.inZev);
    const std::size_t start = flags_.direction == SearchDirection::Down ? 0 : shown.size();
    if (const auto offset = SearchInText(shown, start, 0, text_, flags_)) {
        result.outcome = MessageSearchOutcome::Hit;
        result.offset = *offset;
    }
    return result;
}

SearchWalk::SearchWalk(int startRow, int rowCount, SearchDirection direction)
    : row_(startRow), rowCount_(rowCount), direction_(direction) {}

SearchWalk::Outcome SearchWalk::Tick(const MessageSearch& search,
                                     const std::function<std::string(int)>& pathOfRow,
                                     ViewBuffer& buffer) {
    const bool down = direction_ == SearchDirection::Down;
    for (int i = 0; i < kMessagesPerTick; ++i) {
        // No wrap-around: the first or the last row ends the walk.
        if (down ? row_ >= rowCount_ - 1 : row_ <= 0) return Outcome::NotFound;
        row_ += down ? 1 : -1;
        const std::string path = pathOfRow(row_);
        if (path.empty()) {
            ++skipped_;
            continue;
        }
        const MessageSearchResult result = search.Search(path, buffer);
        if (result.outcome == MessageSearchOutcome::Skip) ++skipped_;
        if (result.outcome == MessageSearchOutcome::Hit) {
            offset_ = result.offset;
            return Outcome::Hit;
        }
    }
    return Outcome::Continue;
}

} // namespace varnot
