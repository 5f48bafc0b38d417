// Times the main window: a fresh viewer's start until its list of 4000
// messages is painted (beside the start on an empty archive), and the longest
// time the window thread leaves its event loop unturned while a first pass
// lands, a filter group refilters, announcements pour in and the list is paged
// through. Prints its lines of the benchmark table and a closing "ratios:"
// line; `make bench` runs it through scripts/bench.sh.

#include "bench_archives.h"
#include "bench_timing.h"
#include "window_folders.h"
#include "window_stalls.h"
#include "window_start.h"

#include "gui/app/application.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace varnot::bench {

namespace {

struct CommandLine {
    std::string dataFolder = "bench-data";
    int runs = 11;
    std::string varnot; // the viewer; by default the one beside this program
    bool start = true;  // the start to first paint
    bool stalls = true; // the event-loop stalls
};

bool ParseCommandLine(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) {
            line.dataFolder = argv[++i];
        } else if (arg == "--runs" && hasValue) {
            line.runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--varnot" && hasValue) {
            line.varnot = argv[++i];
        } else if (arg == "--only" && hasValue &&
                   (argv[i + 1] == std::string("start") || argv[i + 1] == std::string("stalls"))) {
            line.start = argv[++i] == std::string("start");
            line.stalls = !line.start;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--data FOLDER] [--runs N] [--varnot PROGRAM] "
                         "[--only start|stalls]\n",
                         argv[0]);
            return false;
        }
    }
    if (line.varnot.empty()) {
        const std::string self = SelfPath(".");
        line.varnot = self.substr(0, self.rfind('/')) + "/varnot";
    }
    return true;
}

void Row(const char* line, const std::string& what, const std::string& time,
         const std::string& besideWhat, const std::string& besideTime, const std::string& ratio) {
    std::printf("%-4s %-46s %-30s | %-34s %-30s | %s\n", line, what.c_str(), time.c_str(),
                besideWhat.c_str(), besideTime.c_str(), ratio.c_str());
}

std::string Ms(const Stats& s) {
    char text[96];
    std::snprintf(text, sizeof(text), "%8.2f ms  %7.2f..%-7.2f", s.median * 1e3, s.min * 1e3,
                  s.max * 1e3);
    return text;
}

std::string Ratio(const char* name, double value, const char* target) {
    char text[96];
    std::snprintf(text, sizeof(text), "%s %.2f (target %s)", name, value, target);
    return text;
}

int Failed(const char* line, const std::string& what, const std::string& why) {
    Row(line, what + ": FAILED", why, "", "", "");
    std::fflush(stdout);
    return 1;
}

// A window archive: a month's worth of the list's capacity, the group's
// keywords planted in a few messages.
const ArchivePlan kWindowArchive{"window", 20, 200, 7, GroupKeywords(), 0.02};

// The headless platform warns at every window that it cannot pass size
// hints on; everything else the toolkit says goes through.
QtMessageHandler toolkitHandler = nullptr;

void QuietSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    if (toolkitHandler) toolkitHandler(type, context, message);
}

int Main(int argc, char** argv) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line)) return 2;
    std::string error;
    const std::string generated = PrepareArchive(line.dataFolder, kWindowArchive, error);
    WindowFolders folders;
    if (generated.empty() || !MakeWindowFolders(generated, folders, error)) {
        RemoveWindowFolders(folders);
        return Failed("W1", "window benchmarks", error);
    }
    // Every socket and lock below the private runtime folder, in this
    // process and in the viewers it starts.
    setenv("XDG_RUNTIME_DIR", folders.runtime.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    StartResults start;
    if (line.start) start = RunStartBench(line.varnot, folders, line.runs);
    StallResults stalls;
    if (line.stalls) {
        int appArgc = 1;
        char name[] = "varnot-window-bench";
        char* appArgv[] = {name, nullptr};
        toolkitHandler = qInstallMessageHandler(QuietSizeHints);
        TApplication app(appArgc, appArgv);
        stalls = RunStallBench(folders, line.runs);
    }
    RemoveWindowFolders(folders);

    int status = 0;
    std::string ratios;
    // A part that failed shows as such in the ratios, never as a figure.
    auto ratio = [&ratios](const char* name, bool ok, double value) {
        char text[96];
        std::snprintf(text, sizeof(text), " %s=%.2f", name, value);
        ratios += ok ? std::string(text) : " " + std::string(name) + "=failed";
    };
    if (line.start) {
        const bool ok = start.failure.empty();
        const double paintRatio =
            start.empty.median > 0 ? start.list.median / start.empty.median : 0;
        if (ok)
            Row("W1", "start to list of 4000 painted, fresh process", Ms(start.list),
                "start on an empty archive", Ms(start.empty),
                Ratio("first-paint/empty-start", paintRatio, "<= 1.5"));
        else
            status = Failed("W1", "start to first paint", start.failure);
        ratio("first-paint/empty-start", ok, paintRatio);
    }
    if (line.stalls) {
        const bool ok = stalls.failure.empty();
        auto stallRow = [](const std::string& what, const StallStats& s) {
            char cpu[96];
            std::snprintf(cpu, sizeof(cpu), "most CPU in a turn (in it %.2f)",
                          s.cpuInWall.median * 1e3);
            Row("W2", "stall: " + what, Ms(s.wall), cpu, Ms(s.cpu),
                Ratio("stall-ms", s.wall.median * 1e3, "<= 16"));
        };
        if (ok) {
            stallRow("first pass of " + std::to_string(stalls.rows) + " lands", stalls.firstPass);
            stallRow("refilter 13 kw, " + std::to_string(stalls.shownByGroup) + " shown",
                     stalls.refilter);
            stallRow("1000 announcements, operator idle", stalls.announcements);
            stallRow("Page Down to the end, " + std::to_string(stalls.pages) + " pages",
                     stalls.scroll);
        } else {
            status = Failed("W2", "window stalls", stalls.failure);
        }
        const double worst =
            std::max({stalls.firstPass.wall.median, stalls.refilter.wall.median,
                      stalls.announcements.wall.median, stalls.scroll.wall.median});
        ratio("stall-pass-ms", ok, stalls.firstPass.wall.median * 1e3);
        ratio("stall-refilter-ms", ok, stalls.refilter.wall.median * 1e3);
        ratio("stall-announce-ms", ok, stalls.announcements.wall.median * 1e3);
        ratio("stall-scroll-ms", ok, stalls.scroll.wall.median * 1e3);
        ratio("stall-ms", ok, worst * 1e3);
    }
    std::printf("ratios:%s\n", ratios.c_str());
    return status;
}

} // namespace

} // namespace varnot::bench

int main(int argc, char** argv) {
    return varnot::bench::Main(argc, argv);
}
