#include "cold_pass_bench.h"

#include "pass_pools.h"

#include <chrono>
#include <fcntl.h>
#include <ftw.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace varnot::bench {

namespace {

long evictFailures = 0;

int EvictEntry(const char* path, const struct stat*, int type, struct FTW*) {
    if (type != FTW_F && type != FTW_D) return 0;
    const int fd = open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) ++evictFailures;
    if (fd >= 0) close(fd);
    return 0;
}

// Drops the tree's pages from the page cache; no privileges are needed.
// What the kernel keeps of names and inodes stays, for both sides alike.
void Evict(const std::string& root) {
    nftw(root.c_str(), EvictEntry, 32, FTW_PHYS);
}

double SecondsOf(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

ColdPassResults RunColdPassBench(const std::string& root, const std::string& keywordsFile,
                                 int runs) {
    ColdPassResults results;
    auto pools = std::make_unique<PassPools>();
    const PassRequest firstPass = Request(root, GroupFilter(), false);
    std::string tree = root;
    while (tree.size() > 1 && tree.back() == '/') tree.pop_back();
    const std::vector<std::string> findGrep = {
        "sh", "-c", "find \"$1\" -type f -print0 | xargs -0 grep -l -i -F -f \"$2\" --",
        "sh", tree, keywordsFile};

    const std::function<void()> sides[2] = {
        [&] {
            pools->previous.Used = 0;
            const PassOutcome outcome = pools->Run(firstPass);
            results.kept = pools->spare.Used;
            results.filesRead = outcome.filesRead;
        },
        [&] { results.findGrepExit = RunDiscardingOutput(findGrep, {"LC_ALL=C"}); }};

    // Pages still dirty from generating the archive cannot be dropped.
    sync();
    evictFailures = 0;
    std::vector<double> seconds[2];
    // One untimed round first, then the sides in turns, each after an eviction.
    for (int round = -1; round < runs; ++round) {
        for (int k = 0; k < 2; ++k) {
            const int which = (k + (round < 0 ? 0 : round)) % 2;
            Evict(root);
            const double s = SecondsOf(sides[which]);
            if (round >= 0) seconds[which].push_back(s);
        }
    }
    results.pass = Summarize(std::move(seconds[0]));
    results.findGrep = Summarize(std::move(seconds[1]));
    results.evictFailures = evictFailures;
    return results;
}

} // namespace varnot::bench
