#pragma once

namespace varnot {

// The rows of the message list whose briefs are kept in memory: one screen
// above the visible rows, the visible rows, and one screen below them.
struct BriefWindow {
    int first = 0;
    int last = 0;
};

// The window for a grid whose top row is `topRow` with `visibleRows` fully
// visible rows, over a list of `shownCount` rows. With no rows, last is -1.
BriefWindow BriefWindowFor(int topRow, int visibleRows, int shownCount);

// What moving the window from `previous` to `next` asks of each row: rows of
// `next` keep (or load) their briefs; rows of `previous` outside `next` free
// them. Calls load(row) or free(row) for every row of the two windows' span.
template <typename Load, typename Free>
void MoveBriefWindow(const BriefWindow& previous, const BriefWindow& next, Load&& load,
                     Free&& free) {
    const int from = previous.first < next.first ? previous.first : next.first;
    const int to = previous.last > next.last ? previous.last : next.last;
    for (int row = from; row <= to; ++row) {
        if (row >= next.first && row <= next.last)
            load(row);
        else
            free(row);
    }
}

} // namespace varnot
