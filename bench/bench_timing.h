#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace varnot::bench {

// Median and spread of repeated runs, in seconds.
struct Stats {
    double median = 0;
    double min = 0;
    double max = 0;
    int runs = 0;
};

Stats Summarize(std::vector<double> seconds);

// One untimed run first (it warms the file cache and every allocation), then
// `runs` timed ones.
template <class Body> Stats TimeRuns(int runs, Body&& body) {
    body();
    std::vector<double> seconds;
    seconds.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const auto end = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(end - start).count());
    }
    return Summarize(std::move(seconds));
}

// Several bodies timed in turns (each first run untimed), the order
// rotating from round to round: on a shared machine whose load comes and
// goes, each side of a comparison meets the same conditions.
std::vector<Stats> TimeInterleaved(int runs, const std::vector<std::function<void()>>& bodies);

// Like TimeInterleaved, but every body measures itself and returns its figure
// in seconds (a start-up, say, that only the started program can see end).
std::vector<Stats> MeasureInterleaved(int runs, const std::vector<std::function<double()>>& bodies);

// Starts a program found on PATH with the given arguments (and extra
// "NAME=value" environment entries), reads its standard output to the end and
// throws it away, and waits for it. Its exit code, or -1 when it could not be
// started or did not end normally.
int RunDiscardingOutput(const std::vector<std::string>& argv,
                        const std::vector<std::string>& extraEnvironment = {});

// The path of this program's executable; `fallback` when it cannot be read.
std::string SelfPath(const std::string& fallback);

// Like RunDiscardingOutput, but returns what the program wrote.
std::string RunCapturingOutput(const std::vector<std::string>& argv, int& exitCode);

// The same with extra environment entries; `spawned` gets the moment just
// before the program was started.
std::string RunCapturingOutput(const std::vector<std::string>& argv,
                               const std::vector<std::string>& extraEnvironment, int& exitCode,
                               std::chrono::steady_clock::time_point& spawned);

} // namespace varnot::bench
