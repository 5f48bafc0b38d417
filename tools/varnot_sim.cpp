// varnot-sim: stands in for the receiving program. Writes a new message
// (code page 1251) into today's day folder of the archive at a steady rate
// and announces each one to the viewer, as the real program does. The viewer
// need not be running: the files are written all the same, and the viewer's
// next pass finds them.
//
// Exit codes: 0 after --count messages or a SIGINT/SIGTERM; 1 when a message
// cannot be written; 2 bad arguments.
#include "announce_client/announce_client.h"
#include "archive_gen/file_names.h"
#include "archive_gen/message_composer.h"
#include "archive_gen/prng.h"
#include "core/announce/announce_protocol.h"
#include "core/archive/day_folders.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <time.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr int ExitWriteFailed = 1;
constexpr int ExitUsage = 2;

constexpr const char* Usage =
    "usage: varnot-sim --archive ROOT [--service NAME] [--interval SECONDS] [--count N] "
    "[--seed S]\n"
    "       varnot-sim --help | --version\n"
    "Writes a new message into today's folder of ROOT every SECONDS (default 5) and "
    "announces it\n"
    "to the viewer (service ZEVA by default); N messages (default: until stopped).\n";

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
}

void InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the pause between messages ends at once.
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

struct Options {
    std::string archive;
    std::string service = "ZEVA";
    double interval = 5;
    long long count = 0; // 0: until stopped
    uint64_t seed = 0;
    bool seeded = false;
};

template <typename T> bool ParseNumber(std::string_view text, T& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// A decimal number of seconds, fractions allowed ("0.5").
bool ParseSeconds(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !(value >= 0) || value > 86400)
        return false;
    out = value;
    return true;
}

enum class TParseResult { Run, ShowHelp, ShowVersion, Refuse };

// Reads the options left to right; --help and --version answer at once.
TParseResult ParseArguments(int argc, char** argv, Options& options, std::string& error) {
    const auto refuse = [&error](std::string message) {
        error = std::move(message);
        return TParseResult::Refuse;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return TParseResult::ShowHelp;
        if (arg == "--version") return TParseResult::ShowVersion;
        if (arg != "--archive" && arg != "--service" && arg != "--interval" && arg != "--count" &&
            arg != "--seed")
            return refuse(arg.starts_with('-') ? "unknown option " + arg
                                               : "unexpected argument \"" + arg + "\"");
        if (i + 1 >= argc) return refuse(arg + " needs a value");
        const std::string value = argv[++i];
        if (arg == "--archive") {
            options.archive = value;
        } else if (arg == "--service") {
            options.service = value;
        } else if (arg == "--interval") {
            if (!ParseSeconds(value, options.interval)) return refuse("bad --interval " + value);
        } else if (arg == "--count") {
            if (!ParseNumber(value, options.count) || options.count < 0)
                return refuse("bad --count " + value);
        } else {
            if (!ParseNumber(value, options.seed)) return refuse("bad --seed " + value);
            options.seeded = true;
        }
    }
    if (options.archive.empty()) return refuse("--archive is required");
    return TParseResult::Run;
}

// Sleeps, in small steps so that a stop signal is seen at once.
void Pause(double seconds) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const long long nanos = static_cast<long long>(seconds * 1e9);
    deadline.tv_sec += static_cast<time_t>(nanos / 1000000000);
    deadline.tv_nsec += static_cast<long>(nanos % 1000000000);
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000;
    }
    while (!stopRequested &&
           clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

varnot::gen::MessageTime TimeOf(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

// Writes one message under a fresh name; the file appears complete or not at
// all (written under a hidden name first, which no pass lists). Empty on failure.
std::string WriteMessage(const fs::path& folder, varnot::gen::Prng& rng, std::string& text,
                         std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot make " + folder.string() + ": " + ec.message();
        return {};
    }
    std::string name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        varnot::gen::MakeMessageName(rng, "TXT", name);
        if (!fs::exists(folder / name, ec)) break;
        name.clear();
    }
    if (name.empty()) {
        error = "no free file name in " + folder.string();
        return {};
    }
    varnot::gen::MessagePlan plan;
    plan.seed = rng.Next();
    plan.targetSize = static_cast<std::size_t>(rng.Between(300, 4000));
    plan.time = TimeOf(std::time(nullptr));
    varnot::gen::ComposeMessage(plan, text);

    const fs::path part = folder / ("." + name + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            error = "cannot write " + part.string();
            fs::remove(part, ec);
            return {};
        }
    }
    fs::rename(part, folder / name, ec);
    if (ec) {
        error = "cannot write " + (folder / name).string() + ": " + ec.message();
        fs::remove(part, ec);
        return {};
    }
    return name;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string usageError;
    switch (ParseArguments(argc, argv, options, usageError)) {
    case TParseResult::Run:
        break;
    case TParseResult::ShowHelp:
        std::fputs(Usage, stdout);
        return 0;
    case TParseResult::ShowVersion:
        std::puts("varnot-sim " VARNOT_VERSION);
        return 0;
    case TParseResult::Refuse:
        std::fprintf(stderr, "varnot-sim: %s\n%s", usageError.c_str(), Usage);
        return ExitUsage;
    }
    const std::optional<std::string> socketPath = varnot::AnnounceSocketPath(options.service);
    if (!socketPath) {
        std::fprintf(stderr, "varnot-sim: \"%s\" cannot be a service name\n",
                     options.service.c_str());
        return ExitUsage;
    }
    if (!options.seeded) options.seed = static_cast<uint64_t>(std::time(nullptr));

    InstallStopSignals();
    varnot::gen::Prng rng(varnot::gen::MixSeed(options.seed, 0x51D));
    varnot::announce::TAnnounceClient client(*socketPath);
    std::string text;
    bool viewerAway = false;
    for (long long written = 0; !stopRequested && (options.count == 0 || written < options.count);
         ++written) {
        if (written > 0) {
            Pause(options.interval);
            if (stopRequested) break;
        }
        // Today's folder is looked up for every message: a run may cross midnight.
        const std::string day = varnot::TodayFolderName();
        std::string error;
        const std::string name = WriteMessage(fs::path(options.archive) / day, rng, text, error);
        if (name.empty()) {
            std::fprintf(stderr, "varnot-sim: %s\n", error.c_str());
            return ExitWriteFailed;
        }
        const std::string path = (fs::path(options.archive) / day / name).string();
        const varnot::announce::PokeResult result = client.Poke(path);
        using varnot::announce::PokeStatus;
        if (result.status == PokeStatus::Ok) {
            if (viewerAway) std::printf("varnot-sim: the viewer is back\n");
            viewerAway = false;
            std::printf("%s/%s announced\n", day.c_str(), name.c_str());
        } else if (result.status == PokeStatus::NotRunning) {
            if (!viewerAway)
                std::printf("varnot-sim: the viewer is not running; messages are written "
                            "all the same and its next pass finds them\n");
            viewerAway = true;
            std::printf("%s/%s written\n", day.c_str(), name.c_str());
        } else {
            std::printf("%s/%s written, not announced: %s\n", day.c_str(), name.c_str(),
                        varnot::announce::Describe(result).c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}
