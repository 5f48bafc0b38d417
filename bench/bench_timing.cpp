#include "bench_timing.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace varnot::bench {

namespace {

// Runs the program with its standard output on a pipe; `sink` gets every
// chunk read from it.
template <class Sink>
int RunWithOutput(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnvironment, Sink&& sink,
                  std::chrono::steady_clock::time_point* spawnedAt = nullptr) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);

    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    for (const std::string& extra : extraEnvironment) {
        const std::string name = extra.substr(0, extra.find('=') + 1);
        std::erase_if(environment, [&](const std::string& e) { return e.starts_with(name); });
        environment.push_back(extra);
    }
    std::vector<char*> args, envs;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : environment) envs.push_back(const_cast<char*>(e.c_str()));
    envs.push_back(nullptr);

    pid_t pid = 0;
    if (spawnedAt) *spawnedAt = std::chrono::steady_clock::now();
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envs.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    // Output goes to a pipe rather than /dev/null: some tools notice
    // /dev/null and stop at the first match, which would not be a fair race.
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(pipeFds[0], chunk, sizeof(chunk));
        if (got > 0) {
            sink(chunk, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        break;
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

Stats Summarize(std::vector<double> seconds) {
    Stats stats;
    if (seconds.empty()) return stats;
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    stats.runs = static_cast<int>(n);
    stats.min = seconds.front();
    stats.max = seconds.back();
    stats.median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
    return stats;
}

std::vector<Stats> TimeInterleaved(int runs, const std::vector<std::function<void()>>& bodies) {
    for (const auto& body : bodies) body();
    std::vector<std::vector<double>> seconds(bodies.size());
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < bodies.size(); ++k) {
            const std::size_t which = (k + static_cast<std::size_t>(round)) % bodies.size();
            const auto start = std::chrono::steady_clock::now();
            bodies[which]();
            const auto end = std::chrono::steady_clock::now();
            seconds[which].push_back(std::chrono::duration<double>(end - start).count());
        }
    }
    std::vector<Stats> stats;
    for (auto& s : seconds) stats.push_back(Summarize(std::move(s)));
    return stats;
}

std::vector<Stats> MeasureInterleaved(int runs,
                                      const std::vector<std::function<double()>>& bodies) {
    for (const auto& body : bodies) body();
    std::vector<std::vector<double>> seconds(bodies.size());
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < bodies.size(); ++k) {
            const std::size_t which = (k + static_cast<std::size_t>(round)) % bodies.size();
            seconds[which].push_back(bodies[which]());
        }
    }
    std::vector<Stats> stats;
    for (auto& s : seconds) stats.push_back(Summarize(std::move(s)));
    return stats;
}

std::string SelfPath(const std::string& fallback) {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return fallback;
    path[n] = '\0';
    return path;
}

int RunDiscardingOutput(const std::vector<std::string>& argv,
                        const std::vector<std::string>& extraEnvironment) {
    return RunWithOutput(argv, extraEnvironment, [](const char*, std::size_t) {});
}

std::string RunCapturingOutput(const std::vector<std::string>& argv, int& exitCode) {
    std::string output;
    exitCode = RunWithOutput(
        argv, {}, [&](const char* data, std::size_t size) { output.append(data, size); });
    return output;
}

std::string RunCapturingOutput(const std::vector<std::string>& argv,
                               const std::vector<std::string>& extraEnvironment, int& exitCode,
                               std::chrono::steady_clock::time_point& spawned) {
    std::string output;
    exitCode = RunWithOutput(
        argv, extraEnvironment,
        [&](const char* data, std::size_t size) { output.append(data, size); }, &spawned);
    return output;
}

} // namespace varnot::bench
