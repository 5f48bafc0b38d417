#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/archive/c_list.h"

namespace varnot {

// The messages an output command (export, printing, adding to the editor)
// works on: every shown and selected record in list order (newest first), or,
// when none is selected, the record at the grid's current row. Nothing when
// no row is shown.
struct OutputSet {
    std::vector<int> positions;
    bool fromSelection = false; // the selection, not the current row

    bool empty() const { return positions.empty(); }
};

OutputSet OutputSetOf(const CList& list, int currentRow);

// The disk paths of the set's files below the archive root.
std::vector<std::string> OutputFiles(const CList& list, const OutputSet& set,
                                     std::string_view root);

// Clears the Selected mark of the set's records, keeping SelCount and SelSize
// in step (printing unmarks what it printed).
void UnselectOutput(CList& list, const OutputSet& set);

} // namespace varnot
