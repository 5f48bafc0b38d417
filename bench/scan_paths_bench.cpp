#include "scan_paths_bench.h"

#include "core/archive/message_text.h"
#include "core/filters/keyword_scanner.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

namespace varnot::bench {

namespace {

using Path = KeywordScanner::Path;

struct PathToTime {
    Path path;
    const char* label;
    const char* key;
    double target;
};

// The pair paths fall back to the plain ones when a keyword is too short.
constexpr PathToTime kPaths[] = {
    {Path::Best, "ScanKeywords", "", 0},
    {Path::Avx512Pairs, "AVX-512 pairs", "scan-avx512", 4},
    {Path::Avx512, "AVX-512 plain", "", 0},
    {Path::Avx2Pairs, "AVX2 pairs", "scan-avx2", 3},
    {Path::Scalar, "scalar", "scan-scalar", 0},
};

// Keeps the single runs of Google Benchmark, by name, instead of printing them.
class Collector : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            seconds_[run.run_name.function_name].push_back(
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit));
        }
    }
    Stats Of(const std::string& name) const {
        auto it = seconds_.find(name);
        return it == seconds_.end() ? Stats{} : Summarize(it->second);
    }

  private:
    std::map<std::string, std::vector<double>> seconds_;
};

} // namespace

ScanPathResults RunScanPathBenchmarks(const ViewBuffer& buffer, const KeywordScanner& scanner,
                                      int runs) {
    const unsigned char* bytes = buffer.Data();
    const std::size_t length = buffer.Length();
    int absent = 0;
    while (absent < 256 && std::memchr(bytes, absent, length)) ++absent;

    // Whatever ran before is not run again.
    benchmark::ClearRegisteredBenchmarks();
    for (int run = 0; run < runs; ++run) {
        for (const PathToTime& p : kPaths) {
            if (!KeywordScanner::Supported(p.path)) continue;
            benchmark::RegisterBenchmark(p.label,
                                         [=, &scanner](benchmark::State& state) {
                                             for (auto _ : state)
                                                 benchmark::DoNotOptimize(
                                                     scanner.ScanWith(p.path, bytes, length));
                                         })
                ->MinTime(0.02)
                ->Unit(benchmark::kNanosecond);
        }
        benchmark::RegisterBenchmark("memchr",
                                     [=](benchmark::State& state) {
                                         for (auto _ : state) {
                                             benchmark::DoNotOptimize(bytes);
                                             benchmark::DoNotOptimize(
                                                 std::memchr(bytes, absent, length));
                                         }
                                     })
            ->MinTime(0.02)
            ->Unit(benchmark::kNanosecond);
    }

    int argc = 1;
    char name[] = "varnot-bench";
    char* argv[] = {name, nullptr};
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    benchmark::ClearRegisteredBenchmarks();

    ScanPathResults results;
    for (const PathToTime& p : kPaths) {
        ScanPath path{p.label, p.key, p.target, KeywordScanner::Supported(p.path), {}};
        if (path.supported) path.scan = collector.Of(p.label);
        results.paths.push_back(path);
    }
    results.memchrStats = collector.Of("memchr");
    return results;
}

} // namespace varnot::bench
