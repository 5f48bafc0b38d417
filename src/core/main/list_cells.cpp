#include "core/main/list_cells.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"
#include "core/archive/sectioned_file.h"

namespace varnot {

ListCellStyle CellStyleOf(std::uint16_t flags, int column) {
    ListCellStyle style;
    style.bold = column == TimeColumn || (flags & TFileInfo::Read) == 0;
    style.red = column != TimeColumn && (flags & TFileInfo::Selected) != 0;
    return style;
}

int CellTextLeft(int column, int cellHeight) {
    const int d = cellHeight / 8;
    return column == BriefColumn ? 2 * d : d;
}

int CellTextTop(int cellHeight) {
    return cellHeight / 8;
}

std::string ListTimeText(const TFileInfo& record, const ArchiveOptions& options) {
    if (!options.inZev) return FormatDosTime(record.Time, "hh:nn  dd.mm");
    const ZevDateTime values = ReadZevDateTime(DiskPath(options.root, record));
    return ZevTimeText(values.date, values.time);
}

} // namespace varnot
