#include "gui/app/service_name.h"
#include "gui/app/single_instance.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

using namespace varnot;
using testing_support::TempDir;

using testing_support::ScopedEnv;

namespace {

// Sets (or, with nullopt, removes) an environment variable for one scope.

} // namespace

TEST(SingleInstanceTest, OnlyOneHolderAtATime) {
    TempDir dir;
    const std::string path = dir / "lock";
    TSingleInstance first(path);
    TSingleInstance second(path);
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()); // asking again keeps it
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());

    first.release();
    EXPECT_TRUE(second.tryAcquire());
    EXPECT_FALSE(first.tryAcquire());
}

TEST(SingleInstanceTest, TheLockEndsWithItsHolder) {
    TempDir dir;
    const std::string path = dir / "lock";
    {
        TSingleInstance gone(path);
        ASSERT_TRUE(gone.tryAcquire());
    }
    TSingleInstance next(path);
    EXPECT_TRUE(next.tryAcquire());
}

TEST(SingleInstanceTest, AnUncreatableLockFileRefuses) {
    TempDir dir;
    TSingleInstance missingFolder(dir / "no/such/folder/lock");
    EXPECT_FALSE(missingFolder.tryAcquire());
}

TEST(SingleInstanceTest, APlantedSymbolicLinkIsNotFollowed) {
    TempDir dir;
    ASSERT_EQ(symlink((dir / "target").c_str(), (dir / "lock").c_str()), 0);
    TSingleInstance instance(dir / "lock");
    EXPECT_FALSE(instance.tryAcquire());
    EXPECT_FALSE(testing_support::Exists(dir / "target"));
}

TEST(SingleInstanceTest, LockLivesInTheRuntimeFolderOrElseTheTemporaryOne) {
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/77");
        EXPECT_EQ(TSingleInstance::DefaultLockPath(), "/run/user/77/PELLMAR_VARNOT_SHAREAD_MEMORY");
    }
    TempDir scratch; // temp_directory_path() needs an existing folder
    const std::string folder = scratch.path().substr(0, scratch.path().size() - 1);
    ScopedEnv tmp("TMPDIR", folder);
    const std::string expected =
        scratch.path() + "PELLMAR_VARNOT_SHAREAD_MEMORY-" + std::to_string(getuid());
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", std::string());
        EXPECT_EQ(TSingleInstance::DefaultLockPath(), expected);
    }
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(TSingleInstance::DefaultLockPath(), expected);
    }
}

TEST(ServiceNameTest, KeepsThePartAfterTheLastFolderCutAtTheFirstDot) {
    EXPECT_EQ(ReduceServiceName("ZEVA"), "ZEVA");
    EXPECT_EQ(ReduceServiceName("C:\\ZEV\\ZEVA.EXE"), "ZEVA");
    EXPECT_EQ(ReduceServiceName("D:ZEV2.A.B"), "ZEV2");
    EXPECT_EQ(ReduceServiceName("..\\..\\RADIO"), "RADIO");
    // A slash would lead the service's socket into another folder.
    EXPECT_EQ(ReduceServiceName("../../etc/passwd"), "passwd");
    EXPECT_EQ(ReduceServiceName("C:\\ZEV\\"), "");
    EXPECT_EQ(ReduceServiceName(".hidden"), "");
}
