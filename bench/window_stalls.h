#pragma once

#include "bench_timing.h"
#include "window_folders.h"

#include <string>

namespace varnot::bench {

// The longest time between two turns of the window thread's event loop (wall
// time), the thread's CPU time within that gap, and the most CPU time the
// thread spent between any two turns; in seconds.
struct StallGap {
    double wall = 0;
    double cpuInWall = 0;
    double cpu = 0;
};

// The same over the runs.
struct StallStats {
    Stats wall;
    Stats cpuInWall;
    Stats cpu;
};

// The longest time the window thread kept its event loop from turning, per
// run, in each of four situations of the real main window (headless).
struct StallResults {
    StallStats firstPass;     // from show() until the first pass of 4000 has landed and is painted
    StallStats refilter;      // a filter group of 13 keywords chosen until its pass is painted
    StallStats announcements; // 1000 announcements back to back, until the last is painted
    StallStats scroll;        // Page Down from the first row to the last, each page painted
    int rows = 0;             // rows after the first pass
    int shownByGroup = 0;
    int pages = 0;
    std::string failure;
};

// Runs in the calling thread, which must own the application object; the
// settings and marks live in a program folder below `folders.base`.
StallResults RunStallBench(const WindowFolders& folders, int runs);

} // namespace varnot::bench
