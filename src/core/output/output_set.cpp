#include "core/output/output_set.h"

namespace varnot {

OutputSet OutputSetOf(const CList& list, int currentRow) {
    OutputSet set;
    if (list.ShownCount == 0) return set;
    if (list.SelCount == 0) {
        const int position = list.PositionAtRow(currentRow);
        if (position >= 0) set.positions.push_back(position);
        return set;
    }
    set.fromSelection = true;
    for (int position = 0; position < list.Used; ++position) {
        const TFileInfo& record = list.RecordAt(position);
        if (record.Has(TFileInfo::Shown) && record.Has(TFileInfo::Selected))
            set.positions.push_back(position);
    }
    return set;
}

std::vector<std::string> OutputFiles(const CList& list, const OutputSet& set,
                                     std::string_view root) {
    std::vector<std::string> files;
    files.reserve(set.positions.size());
    for (int position : set.positions) files.push_back(DiskPath(root, list.RecordAt(position)));
    return files;
}

void UnselectOutput(CList& list, const OutputSet& set) {
    for (int position : set.positions) {
        if (position < 0 || position >= list.Used) continue;
        TFileInfo& record = list.RecordAt(position);
        if (!record.Has(TFileInfo::Selected)) continue;
        --list.SelCount;
        list.SelSize -= record.Size;
        record.Flags &= static_cast<std::uint16_t>(~TFileInfo::Selected);
    }
}

} // namespace varnot
