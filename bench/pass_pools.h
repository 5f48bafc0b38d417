#pragma once

#include "bench_archives.h"

#include "core/archive/c_list.h"
#include "core/archive/message_text.h"
#include "core/filters/filter_groups.h"
#include "core/scan/look_at_thread.h"

#include <atomic>
#include <string>

namespace varnot::bench {

// The capacity of the list on display in every pass the benchmarks make.
inline constexpr int kCapacity = 4000;

// The pools and buffer a scanner thread owns, allocated once like the program's.
struct PassPools {
    CList previous{kCapacity};
    CList spare{kCapacity};
    ViewBuffer buffer;
    std::atomic<bool> stop{false};

    PassOutcome Run(const PassRequest& request) {
        return RunPass(request, previous, spare, buffer, stop);
    }
};

inline PassRequest Request(const std::string& root, const CurrentFilter& filter, bool refilter) {
    PassRequest request;
    request.options.root = root;
    request.options.deleteAutomaticly = false;
    request.filter = filter;
    request.dateIndex = 0;
    request.refilter = refilter;
    return request;
}

// The filter group of the matching benchmarks: every file name, the 13 keywords.
inline CurrentFilter GroupFilter() {
    std::string line = "Alarms *.*";
    for (const std::string& k : GroupKeywords()) line += " " + k;
    return FilterOfLine(line);
}

} // namespace varnot::bench
