#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnot::bench {

// One generated archive the benchmarks walk. The same description always
// gives the same files, so a folder generated once is reused by later runs.
struct ArchivePlan {
    std::string label; // first part of the folder name: "small", "big"
    int days = 1;
    int perDay = 1;
    std::uint64_t seed = 7;
    std::vector<std::string> plantKeywords; // 1251 bytes
    double plantShare = 0;                  // 0..1
};

// The folder name of an archive below the data folder: every parameter that
// changes its contents is part of it.
std::string ArchiveKey(const ArchivePlan& plan);

// The archive root (ending with "/") below `dataFolder`, generated when it is
// missing or was left incomplete by an interrupted run. Empty, with `error`
// set, when it cannot be made.
std::string PrepareArchive(const std::string& dataFolder, const ArchivePlan& plan,
                           std::string& error);

// The thirteen keywords of the filter group that the matching benchmarks use
// (1251 bytes, as an operator would type them: mixed case).
const std::vector<std::string>& GroupKeywords();

} // namespace varnot::bench
