#include "search_bench.h"

#include "core/archive/c_list.h"
#include "core/archive/file_info.h"
#include "core/archive/message_text.h"
#include "core/main/search_walk.h"
#include "core/text/code_pages.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace varnot::bench {

const std::string& AbsentSearchText() {
    static const std::string text = Utf8ToCp1251("Жирафы");
    return text;
}

WalkResults RunWalkBench(const std::string& root, CList& list, int runs) {
    WalkResults results;
    list.BuildRows(0);
    const int rows = list.ShownCount;
    const std::function<std::string(int)> pathOfRow = [&](int row) {
        const int position = list.PositionAtRow(row);
        return position < 0 ? std::string() : DiskPath(root, list.RecordAt(position));
    };

    ArchiveOptions options;
    options.root = root;
    const MessageSearch search(AbsentSearchText(), SearchFlags{false, false, SearchDirection::Down},
                               options);
    ViewBuffer buffer;
    std::vector<double> longestTicks;
    std::vector<double> allTicks; // of the timed walks
    allTicks.reserve(static_cast<std::size_t>(runs) * (rows / SearchWalk::kMessagesPerTick + 2));
    auto walk = [&] {
        SearchWalk steps(-1, rows, SearchDirection::Down);
        double longest = 0;
        int ticks = 0;
        SearchWalk::Outcome outcome = SearchWalk::Outcome::Continue;
        while (outcome == SearchWalk::Outcome::Continue) {
            const auto start = std::chrono::steady_clock::now();
            outcome = steps.Tick(search, pathOfRow, buffer);
            const auto end = std::chrono::steady_clock::now();
            const double seconds = std::chrono::duration<double>(end - start).count();
            longest = std::max(longest, seconds);
            if (!longestTicks.empty()) allTicks.push_back(seconds);
            ++ticks;
        }
        longestTicks.push_back(longest);
        results.messages = steps.Row() + 1;
        results.ticks = ticks;
        results.walkFound = outcome == SearchWalk::Outcome::Hit;
    };

    std::vector<std::string> grep = {"grep", "-l", "-i", "-F", "-e", AbsentSearchText(), "--"};
    for (int row = 0; row < rows; ++row) grep.push_back(pathOfRow(row));
    auto grepAll = [&] { results.grepExit = RunDiscardingOutput(grep, {"LC_ALL=C"}); };

    const std::vector<Stats> timed = TimeInterleaved(runs, {walk, grepAll});
    results.walk = timed[0];
    results.grep = timed[1];
    // The first walk was the untimed warm-up.
    longestTicks.erase(longestTicks.begin());
    results.longestTick = Summarize(std::move(longestTicks));
    results.typicalTick = Summarize(std::move(allTicks)).median;
    return results;
}

} // namespace varnot::bench
