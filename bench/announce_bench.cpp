// Times the announce service end to end: a client thread pokes 1000 new files
// of today's folder back to back, as a swamped receiving program would, and
// the window thread takes each into the list on display. Prints the latency
// from the poke to the row being in the list and the window thread's CPU time
// per announcement, as one line of the benchmark table. `make bench` runs it
// through scripts/bench.sh.
//
// Everything lives in a fresh temporary folder, the runtime folder of the
// socket included, so that a viewer running on the same machine is never
// disturbed and never answers in its place.

#include "announced_messages.h"

#include "announce_client/announce_client.h"

#include "core/announce/announce_protocol.h"
#include "core/archive/c_list.h"
#include "core/archive/day_folders.h"
#include "core/archive/file_panel.h"
#include "core/scan/scan_control.h"
#include "gui/main/announce_service.h"

#include <QApplication>
#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace varnot::bench {

namespace {

constexpr int kFiles = 1000;
constexpr int kCapacity = 4000;
constexpr int kGiveUpMs = 120000; // a hung service ends the run instead of the benchmark
constexpr const char* kService = "VARNOTBENCH";

using Clock = std::chrono::steady_clock;

// The rows are plain numbers: nothing is drawn, so the window's share is the
// service and the list work alone.
class BenchHost : public ScanHost {
  public:
    int CurrentRow() const override { return row_; }
    void ApplyListUpdate(const ListUpdate& update) override {
        rows_ = update.rowCount;
        row_ = update.currentRow;
    }
    void RepaintList() override {}
    void SetRescanEnabled(bool) override {}
    void SetBusy(bool) override {}
    void UpdateStatusLine() override {}
    bool Searching() const override { return false; }
    void PostPassComplete() override {}
    void PostPendingRescan(TReReadMode) override {}
    void PrintArrived(const std::string&) override {}
    std::int64_t Now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   Clock::now().time_since_epoch())
            .count();
    }

  private:
    int row_ = 0;
    int rows_ = 1;
};

// The index of a name made by AnnouncedName; -1 for anything else.
int IndexOf(const QByteArray& name) {
    if (name.size() != 12 || name[0] != 'N') return -1;
    int index = -1;
    const auto [end, error] = std::from_chars(name.constData() + 1, name.constData() + 8, index);
    if (error != std::errc() || end != name.constData() + 8 || index < 0 || index >= kFiles)
        return -1;
    return index;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Micro(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// The value below which `share` of the sorted values lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) return 0;
    std::size_t rank =
        static_cast<std::size_t>(share * static_cast<double>(sorted.size()) + 0.999999);
    rank = std::clamp<std::size_t>(rank, 1, sorted.size());
    return sorted[rank - 1];
}

void Row(const std::string& what, const std::string& time, const std::string& besideWhat,
         const std::string& besideTime, const std::string& ratio) {
    std::printf("%-4s %-46s %-30s | %-34s %-30s | %s\n", "B6", what.c_str(), time.c_str(),
                besideWhat.c_str(), besideTime.c_str(), ratio.c_str());
}

int Fail(const std::string& why) {
    Row(std::to_string(kFiles) + " announcements: FAILED", why, "", "", "");
    std::fflush(stdout);
    return 1;
}

struct Outcome {
    std::vector<Clock::time_point> sent;
    std::vector<Clock::time_point> listed;
    std::vector<bool> rowAdded;
    Clock::time_point start, end;
    double cpuSeconds = 0;
    int pokeFailures = 0;
    std::string firstFailure;
    bool gaveUp = false;
};

int Run(QApplication& app, const std::string& base) {
    const std::string root = base + "/archive/";
    std::string error;
    if (!WriteAnnouncedMessages(root + TodayFolderName(), kFiles, error)) return Fail(error);

    TFilePanel panel(kCapacity, base + "/varnot.ini", base + "/");
    BenchHost host;
    TScanControl control(panel, host);
    control.Options.root = root;
    control.Options.deleteAutomaticly = false;

    TAnnounceService service;
    if (!service.Start(kService)) return Fail("the service did not start");
    const std::optional<std::string> socket = AnnounceSocketPath(kService);
    if (!socket) return Fail("no socket path");

    Outcome out;
    out.sent.resize(kFiles);
    out.listed.resize(kFiles);
    out.rowAdded.assign(kFiles, false);

    QObject::connect(
        &service, &TAnnounceService::FILENAMEPokeData, &app, [&](const QByteArray& line) {
            const int before = panel.Current().Used;
            control.AddArrivedFile(std::string_view(line.constData(), std::size_t(line.size())));
            if (panel.Current().Used <= before) return;
            const Clock::time_point now = Clock::now();
            const int index = IndexOf(line);
            if (index < 0) return;
            out.listed[std::size_t(index)] = now;
            out.rowAdded[std::size_t(index)] = true;
        });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &app, [&] {
        out.gaveUp = true;
        app.quit();
    });

    // The client never touches the window thread's data: it only stamps its
    // own send times, and asks the loop to end once every poke was answered.
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i) names.push_back(AnnouncedName(i));
    const double cpuBefore = ThreadCpuSeconds();
    out.start = Clock::now();
    std::thread client([&] {
        announce::TAnnounceClient poker(*socket);
        for (int i = 0; i < kFiles; ++i) {
            out.sent[std::size_t(i)] = Clock::now();
            const announce::PokeResult result = poker.Poke(names[std::size_t(i)]);
            if (result.status != announce::PokeStatus::Ok && out.pokeFailures++ == 0)
                out.firstFailure = names[std::size_t(i)] + ": " + announce::Describe(result);
        }
        poker.Close();
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    giveUp.start(kGiveUpMs);
    app.exec();
    out.end = Clock::now();
    out.cpuSeconds = ThreadCpuSeconds() - cpuBefore;
    // After a give-up the closed service makes the client's remaining pokes fail at once.
    service.Stop();
    client.join();

    if (out.gaveUp) return Fail("no end after " + std::to_string(kGiveUpMs / 1000) + " s");
    if (out.pokeFailures > 0)
        return Fail(std::to_string(out.pokeFailures) + " pokes failed, first " + out.firstFailure);
    std::vector<double> latencies;
    for (int i = 0; i < kFiles; ++i)
        if (out.rowAdded[std::size_t(i)])
            latencies.push_back(Micro(out.listed[std::size_t(i)] - out.sent[std::size_t(i)]));
    if (static_cast<int>(latencies.size()) != kFiles)
        return Fail(std::to_string(kFiles - static_cast<int>(latencies.size())) +
                    " rows missing (midnight?)");
    std::sort(latencies.begin(), latencies.end());

    char time[96];
    std::snprintf(time, sizeof(time), "%8.1f us  p99 %7.1f us", Percentile(latencies, 0.5),
                  Percentile(latencies, 0.99));
    char beside[96];
    std::snprintf(beside, sizeof(beside), "%8.1f us  %7.1f ms", latencies.back(),
                  Micro(out.end - out.start) / 1e3);
    char cpu[96];
    std::snprintf(cpu, sizeof(cpu), "window CPU %.1f us per announcement",
                  out.cpuSeconds * 1e6 / kFiles);
    Row(std::to_string(kFiles) + " pokes back to back: poke -> row in list", time,
        "max latency, wall time of all", beside, cpu);
    std::fflush(stdout);
    return 0;
}

} // namespace

} // namespace varnot::bench

int main(int argc, char** argv) {
    // A private runtime folder: the socket never meets a real viewer's.
    char pattern[] = "/tmp/varnot-announce-bench-XXXXXX";
    const char* base = mkdtemp(pattern);
    if (base == nullptr) {
        std::fprintf(stderr, "varnot-announce-bench: cannot create a temporary folder\n");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", base, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int status = 1;
    {
        QApplication app(argc, argv);
        status = varnot::bench::Run(app, base);
    }
    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    return status;
}
