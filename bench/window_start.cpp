#include "window_start.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

namespace varnot::bench {

namespace fs = std::filesystem;

namespace {

// The headless platform warns at every window that it cannot pass size hints on.
constexpr const char* kQuietToolkit = "QT_LOGGING_RULES=default.warning=false";

// The program finds its settings beside its executable (the real file, not a
// symbolic link to it), so each archive gets a copy in a folder of its own.
std::string InstallCopy(const std::string& varnot, const std::string& folder,
                        const std::string& archiveRoot, std::string& failure) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string exe = folder + "/varnot";
    if (!ec) fs::copy_file(varnot, exe, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        failure = "cannot copy " + varnot + ": " + ec.message();
        return {};
    }
    if (!WriteViewerSettings(folder + "/varnot.INI", archiveRoot)) {
        failure = "cannot write the settings in " + folder;
        return {};
    }
    return exe;
}

// One start: seconds from just before the start to the reported paint; -1 on failure.
double StartToFirstPaint(const std::string& exe, const std::string& runtime, std::string& failure) {
    int exitCode = -1;
    std::chrono::steady_clock::time_point spawned;
    const std::string output =
        RunCapturingOutput({exe},
                           {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime,
                            "VARNOT_FIRST_PAINT=1", kQuietToolkit},
                           exitCode, spawned);
    std::istringstream in(output);
    std::string word;
    long long painted = -1;
    while (in >> word)
        if (word == "first-paint-ns") in >> painted;
    if (exitCode != 0 || painted < 0) {
        if (failure.empty())
            failure = exe + " exited with " + std::to_string(exitCode) +
                      (painted < 0 ? ", no paint reported" : "");
        return -1;
    }
    const long long started =
        std::chrono::duration_cast<std::chrono::nanoseconds>(spawned.time_since_epoch()).count();
    return static_cast<double>(painted - started) * 1e-9;
}

} // namespace

StartResults RunStartBench(const std::string& varnot, const WindowFolders& folders, int runs) {
    StartResults results;
    const std::string listExe =
        InstallCopy(varnot, folders.base + "/start-list", folders.archive, results.failure);
    const std::string emptyExe =
        InstallCopy(varnot, folders.base + "/start-empty", folders.empty, results.failure);
    if (listExe.empty() || emptyExe.empty()) return results;
    const std::vector<Stats> stats = MeasureInterleaved(
        runs, {[&] { return StartToFirstPaint(listExe, folders.runtime, results.failure); },
               [&] { return StartToFirstPaint(emptyExe, folders.runtime, results.failure); }});
    results.list = stats[0];
    results.empty = stats[1];
    return results;
}

} // namespace varnot::bench
