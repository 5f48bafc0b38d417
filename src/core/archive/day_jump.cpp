#include "core/archive/day_jump.h"

#include <string>

#include "core/archive/day_folders.h"
#include "core/archive/dos_time.h"

namespace varnot {

int JumpToDay(const CList& list, std::string_view dayName, int currentRow) {
    if (!ParseDayName(dayName, nullptr)) return currentRow;
    int row = 0;
    int target = 0;
    for (int position = 0; position < list.Used; ++position) {
        const TFileInfo& record = list.RecordAt(position);
        if (!record.Has(TFileInfo::Shown)) continue;
        target = row;
        // Day names sort as text in date order; the list is newest first.
        if (dayName >= FormatDosTime(record.Time, "yyyy_mm_dd")) break;
        ++row;
    }
    return target;
}

} // namespace varnot
