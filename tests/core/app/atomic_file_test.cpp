#include "core/app/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::Exists;
using testing_support::TempDir;
using testing_support::WriteFile;

// The id of a process that has ended.
pid_t DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(StaleTemporaryFiles, OnlyOurOwnOfDeadProcessesAreRemoved) {
    TempDir dir;
    const std::string dead = std::to_string(DeadProcess());
    const std::string alive = std::to_string(::getpid());
    const std::vector<std::string> stale = {".varnot.INI." + dead + ".0.tmp",
                                            ".attr.sav." + dead + ".17.tmp"};
    const std::vector<std::string> kept = {
        ".varnot.INI." + alive + ".3.tmp", // its writer is still at work
        ".other.INI." + dead + ".0.tmp",   // not a file of ours
        ".varnot.INI." + dead + ".tmp",    // not our pattern
        ".varnot.INI.x" + dead + ".0.tmp",
        "varnot.INI." + dead + ".0.tmp",
        "varnot.INI",
        "attr.sav"};
    for (const auto& name : stale) WriteFile(dir / name, "x");
    for (const auto& name : kept) WriteFile(dir / name, "x");
    // A folder or a link of that name is never ours.
    std::filesystem::create_directory(dir / (".attr.sav." + dead + ".1.tmp"));
    std::filesystem::create_symlink("attr.sav", dir / (".attr.sav." + dead + ".2.tmp"));

    EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path(), {"varnot.INI", "attr.sav"}), 2);
    for (const auto& name : stale) EXPECT_FALSE(Exists(dir / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(Exists(dir / name)) << name;
    EXPECT_TRUE(Exists(dir / (".attr.sav." + dead + ".1.tmp")));
    EXPECT_TRUE(Exists(dir / (".attr.sav." + dead + ".2.tmp")));
}

} // namespace
} // namespace varnot
