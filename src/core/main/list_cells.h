#pragma once

#include "core/archive/archive_options.h"

#include <cstdint>
#include <string>

namespace varnot {

class TFileInfo;

// Columns of the message list.
enum ListColumn : int { TimeColumn = 0, NameColumn = 1, BriefColumn = 2, ListColumnCount = 3 };

// How one cell of the message list is written: the time column is always
// bold, name and brief only while the message is unread; a selected message
// is red except in the time column.
struct ListCellStyle {
    bool bold = false;
    bool red = false;
};
ListCellStyle CellStyleOf(std::uint16_t flags, int column);

// Where a cell's text starts inside the cell: d = cell height / 8; the text
// stands d (columns 0 and 1) or 2d (the brief) from the left and d from the top.
int CellTextLeft(int column, int cellHeight);
int CellTextTop(int cellHeight);

// The time column: "hh:nn  dd.mm" of the record's time, or, with InZEV, of
// the Date and Time keys of the file's section "datetime" (read from disk
// each time, so the list keeps it with the brief; a missing or bad value
// gives the current date or time).
std::string ListTimeText(const TFileInfo& record, const ArchiveOptions& options);

} // namespace varnot
