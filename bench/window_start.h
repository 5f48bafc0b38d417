#pragma once

#include "bench_timing.h"
#include "window_folders.h"

#include <string>

namespace varnot::bench {

struct StartResults {
    Stats list;  // start to the list of 4000 painted with its briefs
    Stats empty; // the same on an empty archive
    std::string failure;
};

// Starts the viewer `varnot` again and again, from a copy in a program folder
// of its own per archive, headless, and times each start from just before the
// program is started to the moment it reports the message list painted after
// its first pass. One untimed start of each first leaves the settings and the
// marks of a clean exit; then the two archives take turns.
StartResults RunStartBench(const std::string& varnot, const WindowFolders& folders, int runs);

} // namespace varnot::bench
