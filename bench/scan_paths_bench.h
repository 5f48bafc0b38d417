#pragma once

#include "bench_timing.h"

#include <string>
#include <vector>

namespace varnot {
class KeywordScanner;
class ViewBuffer;
} // namespace varnot

namespace varnot::bench {

// The keyword scanner forced along one instruction-set path.
struct ScanPath {
    std::string label; // as the table names it
    std::string key;   // its name in the ratios line; empty: not there
    double target = 0; // the scan/memchr it should keep to; 0: none
    bool supported = false;
    Stats scan; // nothing when the processor lacks the path
};

struct ScanPathResults {
    // The way the processor picks first, then the best AVX-512 path, ..., scalar last.
    std::vector<ScanPath> paths;
    Stats memchrStats;
};

// Times the scanner on `buffer` along each path in turn, beside memchr for
// a byte the buffer lacks: one repetition of each per run, registered in
// turns, so that all meet the same load on a shared machine.
ScanPathResults RunScanPathBenchmarks(const ViewBuffer& buffer, const KeywordScanner& scanner,
                                      int runs);

} // namespace varnot::bench
