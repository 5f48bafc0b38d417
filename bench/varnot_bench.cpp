// Times the scanner pass and keyword matching of the core on generated
// archives, beside the machine's own tools doing the same work (find, grep,
// memchr), and prints one table. `make bench` runs it through scripts/bench.sh.

#include "bench_archives.h"
#include "bench_timing.h"
#include "cold_pass_bench.h"
#include "pass_pools.h"
#include "scan_paths_bench.h"
#include "search_bench.h"

#include "core/archive/c_list.h"
#include "core/archive/file_info.h"
#include "core/archive/message_file.h"
#include "core/archive/message_text.h"
#include "core/filters/filter_groups.h"
#include "core/filters/keyword_scanner.h"
#include "core/scan/look_at_thread.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace varnot::bench {

namespace {

struct CommandLine {
    std::string dataFolder = "bench-data";
    int runs = 11;
    std::string memoryChildRoot; // set: only run B1 once and report the peak memory
};

bool ParseCommandLine(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) {
            line.dataFolder = argv[++i];
        } else if (arg == "--runs" && hasValue) {
            line.runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--memory-child" && hasValue) {
            line.memoryChildRoot = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--data FOLDER] [--runs N]\n", argv[0]);
            return false;
        }
    }
    return true;
}

std::string WithoutSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The message bytes that B4 scans: real generated text without a keyword,
// exactly as much as the buffer holds.
std::string ScanText(const CList& list, const std::string& root, const KeywordScanner& scanner) {
    std::string text;
    for (int p = 0; p < list.Used && text.size() < ViewBuffer::kMaxBytes; ++p) {
        std::ifstream in(DiskPath(root, list.RecordAt(p)), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (scanner.Scan(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
            continue;
        text += bytes;
    }
    text.resize(ViewBuffer::kMaxBytes, ' ');
    return text;
}

// ---- printing -------------------------------------------------------------

std::string Ms(const Stats& s) {
    char text[96];
    std::snprintf(text, sizeof(text), "%8.2f ms  %7.2f..%-7.2f", s.median * 1e3, s.min * 1e3,
                  s.max * 1e3);
    return text;
}

std::string Us(const Stats& s) {
    char text[96];
    std::snprintf(text, sizeof(text), "%8.2f us  %7.2f..%-7.2f", s.median * 1e6, s.min * 1e6,
                  s.max * 1e6);
    return text;
}

void Row(const char* line, const std::string& what, const std::string& time,
         const std::string& besideWhat, const std::string& besideTime, const std::string& ratio) {
    std::printf("%-4s %-46s %-30s | %-34s %-30s | %s\n", line, what.c_str(), time.c_str(),
                besideWhat.c_str(), besideTime.c_str(), ratio.c_str());
}

std::string Ratio(const char* name, double value, const char* target) {
    char text[96];
    std::snprintf(text, sizeof(text), "%s %.2f (target %s)", name, value, target);
    return text;
}

double SafeRatio(double a, double b) {
    return b > 0 ? a / b : 0;
}

int MemoryChild(const std::string& root) {
    PassPools pools;
    const PassOutcome outcome = pools.Run(Request(root, CurrentFilter{}, true));
    std::printf("%ld %d\n", PeakResidentKb(), pools.spare.Used);
    return outcome.stopped ? 1 : 0;
}

int Main(int argc, char** argv) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line)) return 2;
    if (!line.memoryChildRoot.empty()) return MemoryChild(line.memoryChildRoot);

    std::string error;
    // A month of ordinary traffic with the group's keywords in a few messages
    // (B1 and B3 to B5), and a year of heavy traffic (B2).
    const ArchivePlan monthArchivePlan{"small", 30, 150, 7, GroupKeywords(), 0.02};
    const ArchivePlan yearArchivePlan{"big", 365, 1000, 7, {}, 0};
    const std::string small = PrepareArchive(line.dataFolder, monthArchivePlan, error);
    const std::string big =
        small.empty() ? std::string() : PrepareArchive(line.dataFolder, yearArchivePlan, error);
    // The cold pass: as many files as the list holds, so that both sides read the same.
    const ArchivePlan coldArchivePlan{"cold", 25, 160, 11, GroupKeywords(), 0.02};
    const std::string cold =
        big.empty() ? std::string() : PrepareArchive(line.dataFolder, coldArchivePlan, error);
    if (small.empty() || big.empty() || cold.empty()) {
        std::fprintf(stderr, "varnot-bench: %s\n", error.c_str());
        return 1;
    }
    const int runs = line.runs;
    const CurrentFilter noKeywords;
    const CurrentFilter group = GroupFilter();
    auto pools = std::make_unique<PassPools>();

    // B1: a whole first pass over the small archive, beside find over the
    // same tree; B2: the newest day of the big archive, where the walk stops
    // once the pool is full. Timed in turns.
    const PassRequest firstPass = Request(small, noKeywords, true);
    const PassRequest bigPass = Request(big, noKeywords, true);
    const std::vector<std::string> find = {"find", WithoutSlash(small), "-type",
                                           "f",    "-printf",           "%T@ %s %p\n"};
    int findExit = 0, b1Kept = 0, b2Kept = 0;
    const std::vector<Stats> firstGroup =
        TimeInterleaved(runs, {[&] {
                                   pools->previous.Used = 0;
                                   pools->Run(firstPass);
                                   b1Kept = pools->spare.Used;
                               },
                               [&] { findExit = RunDiscardingOutput(find); },
                               [&] {
                                   pools->previous.Used = 0;
                                   pools->Run(bigPass);
                                   b2Kept = pools->spare.Used;
                               }});
    const Stats& b1 = firstGroup[0];
    const Stats& b1Find = firstGroup[1];
    const Stats& b2 = firstGroup[2];
    const long smallFiles = static_cast<long>(monthArchivePlan.days) * monthArchivePlan.perDay;

    // B3: a full refilter of the list with the group's keywords, beside grep
    // reading the same files. The list on display is the one the first pass made.
    pools->previous.Used = 0;
    pools->Run(Request(small, group, true));
    CopyKeys(pools->spare, pools->previous);
    std::vector<std::string> grep = {
        "grep", "-l", "-i", "-F", "-f", line.dataFolder + "/keywords.txt", "--"};
    {
        std::ofstream keywords(line.dataFolder + "/keywords.txt", std::ios::binary);
        for (const std::string& k : GroupKeywords()) keywords << k << "\n";
    }
    for (int p = 0; p < pools->spare.Used; ++p)
        grep.push_back(DiskPath(small, pools->spare.RecordAt(p)));
    const PassRequest refilterPass = Request(small, group, true);
    PassOutcome b3Outcome;
    int grepExit = 0;
    const std::vector<Stats> refilterGroup =
        TimeInterleaved(runs, {[&] { b3Outcome = pools->Run(refilterPass); },
                               [&] { grepExit = RunDiscardingOutput(grep, {"LC_ALL=C"}); }});
    const Stats& b3 = refilterGroup[0];
    const Stats& b3Grep = refilterGroup[1];
    int shown = 0;
    for (int p = 0; p < pools->spare.Used; ++p)
        if (pools->spare.RecordAt(p).Has(TFileInfo::Shown)) ++shown;

    // B5: the steady state: a pass that finds nothing new reads no message.
    CopyKeys(pools->spare, pools->previous);
    const PassRequest steadyPass = Request(small, group, false);
    pools->Run(steadyPass);
    const long opensBefore = MessageFile::OpenCount();
    const Stats b5 = TimeRuns(runs, [&] { pools->Run(steadyPass); });
    const long steadyOpens = MessageFile::OpenCount() - opensBefore;

    // B4: the scanner alone on one buffer of text.
    const KeywordScanner scanner(group.keywords);
    const std::string text = ScanText(pools->spare, small, scanner);
    // In the buffer a pass scans, as a pass would have loaded it.
    std::copy(text.begin(), text.end(), pools->buffer.Data());
    pools->buffer.SetLength(text.size());
    const bool textHits =
        ScanKeywordsPlain(pools->buffer.Data(), pools->buffer.Length(), group.keywords);
    const ScanPathResults b4Paths = RunScanPathBenchmarks(pools->buffer, scanner, runs);
    const Stats& b4Scan = b4Paths.paths.front().scan;
    const Stats& b4Memchr = b4Paths.memchrStats;

    // Peak memory of a fresh process that makes only the first pass.
    int childExit = 0;
    const std::string child =
        RunCapturingOutput({SelfPath("varnot-bench"), "--memory-child", small}, childExit);
    const long peakKb = childExit == 0 ? std::atol(child.c_str()) : -1;

    // B7: the search walk through the list of a first pass, every message shown.
    pools->previous.Used = 0;
    pools->Run(firstPass);
    const WalkResults b7 = RunWalkBench(small, pools->spare, runs);

    // B8: the first pass of the morning, the archive no longer in memory.
    const ColdPassResults b8 = RunColdPassBench(cold, line.dataFolder + "/keywords.txt", runs);

    const double passFind = SafeRatio(b1.median, b1Find.median);
    const double bigSmall = SafeRatio(b2.median, b1.median);
    const double refilterGrep = SafeRatio(b3.median, b3Grep.median);
    const double scanMemchr = SafeRatio(b4Scan.median, b4Memchr.median);
    const double walkGrep = SafeRatio(b7.walk.median, b7.grep.median);

    std::printf("\nVARNOT benchmarks: %ld online cores, %d timed runs per line after one warm-up;"
                " median and min..max\n",
                sysconf(_SC_NPROCESSORS_ONLN), runs);
    Row("line", "core", "median       min..max", "beside it", "median       min..max", "ratio");
    Row("B1", "first pass 30x150, cap 4000: " + std::to_string(b1Kept) + " kept", Ms(b1),
        "find -printf, " + std::to_string(smallFiles) + " files" +
            (findExit == 0 ? "" : " (FAILED)"),
        Ms(b1Find), Ratio("pass/find", passFind, "<= 1.5"));
    Row("B2", "newest day of 365x1000: " + std::to_string(b2Kept) + " kept", Ms(b2),
        "B1 first pass", Ms(b1), Ratio("big/small", bigSmall, "<= 1.2"));
    Row("B3",
        "refilter pass, 13 keywords: " + std::to_string(b3Outcome.filesRead) + " read, " +
            std::to_string(shown) + " shown",
        Ms(b3),
        "grep -l -i -F, " + std::to_string(grep.size() - 7) + " files" +
            (grepExit == 0 || grepExit == 1 ? "" : " (FAILED)"),
        Ms(b3Grep), Ratio("refilter/grep", refilterGrep, "<= 1.0"));
    char rate[64];
    std::snprintf(rate, sizeof(rate), "%.1f GB/s",
                  b4Scan.median > 0 ? static_cast<double>(text.size()) / b4Scan.median / 1e9 : 0);
    char memchrRate[64];
    std::snprintf(memchrRate, sizeof(memchrRate), "%.1f GB/s",
                  b4Memchr.median > 0 ? static_cast<double>(text.size()) / b4Memchr.median / 1e9
                                      : 0);
    Row("B4", std::string("ScanKeywords 32767 B, 13 kw: ") + rate + (textHits ? " (HIT!)" : ""),
        Us(b4Scan), std::string("memchr, absent byte: ") + memchrRate, Us(b4Memchr),
        Ratio("scan/memchr", scanMemchr, "<= 4"));
    std::string pathRatios;
    for (const ScanPath& path : b4Paths.paths) {
        if (&path == &b4Paths.paths.front()) continue; // B4 itself
        if (!path.supported) {
            Row("", "  " + path.label + " path", "n/a", "", "", "");
            continue;
        }
        const double ratio = SafeRatio(path.scan.median, b4Paths.memchrStats.median);
        const std::string name = (path.key.empty() ? "scan" : path.key) + "/memchr";
        char target[32];
        std::snprintf(target, sizeof(target), "<= %g", path.target);
        char plain[64];
        std::snprintf(plain, sizeof(plain), "%s %.2f", name.c_str(), ratio);
        Row("", "  " + path.label + " path", Us(path.scan), "memchr, absent byte",
            Us(b4Paths.memchrStats),
            path.target > 0 ? Ratio(name.c_str(), ratio, target) : std::string(plain));
        if (path.key.empty()) continue;
        char entry[64];
        std::snprintf(entry, sizeof(entry), " %s/memchr=%.2f", path.key.c_str(), ratio);
        pathRatios += entry;
    }
    Row("B5", "steady pass: " + std::to_string(steadyOpens) + " message files opened", Ms(b5),
        "B1 first pass", Ms(b1), "steady-opens " + std::to_string(steadyOpens) + " (target 0)");
    char memory[64];
    std::snprintf(memory, sizeof(memory), "%.1f MB", static_cast<double>(peakKb) / 1024.0);
    Row("MEM", "peak resident after B1, fresh process", memory, "", "", "target < 32 MB");
    const char* b7GrepNote = b7.grepExit == 1 ? "" : b7.grepExit == 0 ? " (HIT!)" : " (FAILED)";
    Row("B7",
        "search walk, no hit: " + std::to_string(b7.messages) + " messages" +
            (b7.walkFound ? " (HIT!)" : ""),
        Ms(b7.walk), std::string("grep -l -i -F -e, same files") + b7GrepNote, Ms(b7.grep),
        Ratio("walk/grep", walkGrep, "<= 2"));
    char typicalTick[64];
    std::snprintf(typicalTick, sizeof(typicalTick), ", median %.3f ms", b7.typicalTick * 1e3);
    Row("", "longest of " + std::to_string(b7.ticks) + " ticks" + typicalTick, Ms(b7.longestTick),
        "", "", Ratio("walk-tick-ms", b7.longestTick.median * 1e3, "<= 16"));
    const double coldFindGrep = SafeRatio(b8.pass.median, b8.findGrep.median);
    Row("B8",
        "cold first pass, 13 kw: " + std::to_string(b8.filesRead) + " read" +
            (b8.evictFailures == 0 ? "" : " (NOT EVICTED)"),
        Ms(b8.pass),
        std::string("find | grep -l -i -F, cold") +
            (b8.findGrepExit == 0 || b8.findGrepExit == 123 ? "" : " (FAILED)"),
        Ms(b8.findGrep), Ratio("cold/find+grep", coldFindGrep, "<= 1.0"));
    std::printf("ratios: pass/find=%.2f big/small=%.2f refilter/grep=%.2f scan/memchr=%.2f "
                "steady-opens=%ld walk/grep=%.2f walk-tick-ms=%.2f cold/find+grep=%.2f%s\n",
                passFind, bigSmall, refilterGrep, scanMemchr, steadyOpens, walkGrep,
                b7.longestTick.median * 1e3, coldFindGrep, pathRatios.c_str());
    return 0;
}

} // namespace

} // namespace varnot::bench

int main(int argc, char** argv) {
    return varnot::bench::Main(argc, argv);
}
