#pragma once

#include "bench_timing.h"

#include <string>

namespace varnot {
class CList;
}

namespace varnot::bench {

// The search walk through the whole list for a text that no message holds,
// beside grep looking for the same text in the same files.
struct WalkResults {
    Stats walk;             // the whole walk, its ticks back to back
    Stats longestTick;      // the longest tick of each walk: how long the window waits
    double typicalTick = 0; // the median tick of all timed walks; the longest one
                            // also holds whatever preemption a loaded machine adds
    Stats grep;
    int messages = 0; // messages one walk searched
    int ticks = 0;    // ticks one walk took
    bool walkFound = false;
    int grepExit = 0;
};

// The text the walk looks for (1251 bytes): a word the generator never writes.
const std::string& AbsentSearchText();

// Walks downward from above the first row, so that every row of `list` is
// searched (its rows are built first, as the window builds them when it takes
// a list). Not whole words, letter case ignored. `runs` timed walks after a
// warm-up, in turns with grep.
WalkResults RunWalkBench(const std::string& root, CList& list, int runs);

} // namespace varnot::bench
