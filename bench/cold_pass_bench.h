#pragma once

#include "bench_timing.h"

#include <string>

namespace varnot::bench {

struct ColdPassResults {
    Stats pass;
    Stats findGrep;
    int kept = 0;
    long filesRead = 0;
    int findGrepExit = 0;
    long evictFailures = 0; // files or folders that could not be evicted
};

// The first pass of the morning: before every run the archive's files and
// folders are evicted from the page cache, then the first pass with the
// group's keywords is timed, beside `find | xargs grep -l -i -F` over the
// same tree, evicted the same way. `keywordsFile` holds the keywords, one per line.
ColdPassResults RunColdPassBench(const std::string& root, const std::string& keywordsFile,
                                 int runs);

} // namespace varnot::bench
