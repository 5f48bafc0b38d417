#include "window_stalls.h"

#include "announced_messages.h"

#include "announce_client/announce_client.h"

#include "core/announce/announce_protocol.h"
#include "core/app/program_paths.h"
#include "core/archive/day_folders.h"
#include "core/archive/file_panel.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace varnot::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kAnnouncements = 1000;
constexpr auto kGiveUp = std::chrono::seconds(120);

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A zero-interval timer on the window thread: it fires at every turn of the
// event loop, so the longest time between two firings is the longest time
// the window could not answer. The thread's CPU time between the same
// firings tells its own work from the time slices other processes took.
class StallProbe : public QObject {
  public:
    StallProbe() {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] { Fire(); });
    }
    void Start() {
        gap_ = {};
        last_ = Clock::now();
        lastCpu_ = ThreadCpuSeconds();
        timer_.start();
    }
    // The gaps up to now included.
    StallGap Stop() {
        Fire();
        timer_.stop();
        return gap_;
    }

  private:
    void Fire() {
        const Clock::time_point now = Clock::now();
        const double cpu = ThreadCpuSeconds();
        const double wall = std::chrono::duration<double>(now - last_).count();
        if (wall > gap_.wall) {
            gap_.wall = wall;
            gap_.cpuInWall = cpu - lastCpu_;
        }
        gap_.cpu = std::max(gap_.cpu, cpu - lastCpu_);
        last_ = now;
        lastCpu_ = cpu;
    }

    QTimer timer_;
    Clock::time_point last_;
    double lastCpu_ = 0;
    StallGap gap_;
};

// Counts the paints of the message list that find the window in the state
// waited for: the paint that follows the change is the one counted.
class ListPaints : public QObject {
  public:
    explicit ListPaints(QWidget* viewport) { viewport->installEventFilter(this); }
    // Counts from zero the paints that come while `state` holds.
    void Await(std::function<bool()> state) {
        state_ = std::move(state);
        count_ = 0;
    }
    int Count() const { return count_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && state_ && state_()) ++count_;
        return false;
    }

  private:
    std::function<bool()> state_;
    int count_ = 0;
};

// Turns the event loop until `done`; false when it gave up.
bool WaitFor(const std::function<bool()>& done) {
    const Clock::time_point deadline = Clock::now() + kGiveUp;
    while (!done()) {
        if (Clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void Press(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

struct RunFigures {
    StallGap firstPass, refilter, announcements, scroll;
};

// One window from construction to its orderly close.
bool RunOnce(const WindowFolders& folders, StallResults& results, RunFigures& figures) {
    // The operator's clock; it jumps ahead to make him idle.
    qint64 offset = 0;
    auto form = std::make_unique<TMainform>([&offset] { return MonotonicTick() + offset; });
    const TMainFrame& frame = form->Frame();
    TFileGrid* grid = frame.FileGrid;
    ListPaints paints(grid->viewport());
    const auto landed = [&form] { return !form->Scanning(); };
    const auto painted = [&paints] { return paints.Count() > 0; };
    StallProbe probe;
    auto fail = [&](const std::string& why) {
        if (results.failure.empty()) results.failure = why;
        if (form) form->close();
        return false;
    };

    // The first pass, from show() until its list is painted.
    paints.Await(landed);
    probe.Start();
    form->show();
    if (!WaitFor(painted)) return fail("the first pass never landed");
    figures.firstPass = probe.Stop();
    results.rows = form->ShownCount();
    if (results.rows != 4000)
        return fail(std::to_string(results.rows) + " rows after the first pass");

    // The filter group chosen in the filter box, until its list is painted.
    QComboBox* filters = frame.FilterComboBox;
    probe.Start();
    filters->setCurrentIndex(1);
    emit filters->activated(1);
    paints.Await(landed);
    if (!WaitFor(painted)) return fail("the refilter never landed");
    figures.refilter = probe.Stop();
    results.shownByGroup = form->ShownCount();
    // Back to every message, untimed.
    filters->setCurrentIndex(0);
    emit filters->activated(0);
    paints.Await(landed);
    if (!WaitFor(painted) || form->ShownCount() != results.rows)
        return fail("the way back to All failed");

    // Page Down from the first row to the last, each page painted before the next.
    grid->setFocus();
    form->MoveToRow(0);
    paints.Await([] { return true; });
    WaitFor(painted);
    int pages = 0;
    probe.Start();
    while (grid->currentIndex().row() < results.rows - 1) {
        if (++pages > results.rows) return fail("Page Down does not reach the last row");
        paints.Await([] { return true; });
        Press(grid, Qt::Key_PageDown);
        if (!WaitFor(painted)) return fail("a page was never painted");
    }
    figures.scroll = probe.Stop();
    results.pages = pages;

    // Announcements back to back, the operator idle (each new message shows
    // at once), until the last one is painted.
    const std::string today = TodayFolderPath(folders.archive);
    if (!WriteAnnouncedMessages(today, kAnnouncements, results.failure))
        return fail(results.failure);
    offset += 24LL * 60 * 60 * 1000;
    const std::optional<std::string> socket = AnnounceSocketPath(kWindowService);
    if (!socket) return fail("no socket path");
    std::atomic<bool> clientDone{false};
    int pokeFailures = 0;
    const std::string newest = AnnouncedName(kAnnouncements - 1);
    const auto newestOnTop = [&form, &newest] {
        const TFileInfo* top = form->Panel().RecordAtRow(0);
        return top != nullptr && top->Name().ends_with(newest);
    };
    paints.Await(newestOnTop);
    probe.Start();
    std::thread client([&] {
        announce::TAnnounceClient poker(*socket);
        for (int i = 0; i < kAnnouncements; ++i)
            if (poker.Poke(AnnouncedName(i)).status != announce::PokeStatus::Ok) ++pokeFailures;
        poker.Close();
        clientDone = true;
        // Wakes the waiting loop.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    const bool ended = WaitFor([&] { return clientDone.load() && paints.Count() > 0; });
    figures.announcements = probe.Stop();
    // A client still poking after a give-up meets the closed service and ends at once.
    form->close();
    client.join();
    form.reset();
    std::error_code ignored;
    std::filesystem::remove_all(today, ignored);
    if (pokeFailures > 0) return fail(std::to_string(pokeFailures) + " pokes failed");
    if (!ended) return fail("the last announcement never showed on top");
    return true;
}

StallStats SummarizeGaps(const std::vector<StallGap>& gaps) {
    std::vector<double> wall, cpuInWall, cpu;
    for (const StallGap& gap : gaps) {
        wall.push_back(gap.wall);
        cpuInWall.push_back(gap.cpuInWall);
        cpu.push_back(gap.cpu);
    }
    return {Summarize(wall), Summarize(cpuInWall), Summarize(cpu)};
}

} // namespace

StallResults RunStallBench(const WindowFolders& folders, int runs) {
    StallResults results;
    const std::string program = folders.base + "/stalls/";
    std::error_code ec;
    std::filesystem::create_directories(program, ec);
    SetProgramPaths({program, program + "varnot.INI"});
    if (ec || !WriteViewerSettings(program + "varnot.INI", folders.archive)) {
        results.failure = "cannot write the settings in " + program;
        return results;
    }
    std::vector<StallGap> firstPass, refilter, announcements, scroll;
    // One untimed window first: it leaves the settings and marks of a clean exit.
    for (int run = 0; run <= runs; ++run) {
        RunFigures figures;
        if (!RunOnce(folders, results, figures)) return results;
        if (run == 0) continue;
        firstPass.push_back(figures.firstPass);
        refilter.push_back(figures.refilter);
        announcements.push_back(figures.announcements);
        scroll.push_back(figures.scroll);
    }
    results.firstPass = SummarizeGaps(firstPass);
    results.refilter = SummarizeGaps(refilter);
    results.announcements = SummarizeGaps(announcements);
    results.scroll = SummarizeGaps(scroll);
    return results;
}

} // namespace varnot::bench
