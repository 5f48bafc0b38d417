#include "core/app/program_paths.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace varnot {
namespace {

// A file system holding exactly these folders.
FolderTest Folders(std::set<std::string> folders) {
    return [folders](const std::string& folder) { return folders.contains(folder); };
}

const ProgramEnvironment User{"", "/home/op"};

TEST(InstalledProgramPathsTest, AnInstalledProgramKeepsItsFilesInTheUsersConfigFolder) {
    auto paths = ProgramPathsFor("/usr/bin/varnot", User, Folders({"/usr/share/varnot"}));
    EXPECT_EQ(paths.folder, "/home/op/.config/varnot/");
    EXPECT_EQ(paths.settingsFile, "/home/op/.config/varnot/varnot.INI");

    // Also below a staging folder, and under another name (two dots).
    paths = ProgramPathsFor("/tmp/stage/usr/local/bin/varnot.new.x", {"/cfg/", "/home/op"},
                            Folders({"/tmp/stage/usr/local/share/varnot"}));
    EXPECT_EQ(paths.folder, "/cfg/varnot/");
    EXPECT_EQ(paths.settingsFile, "/cfg/varnot/varnot.INI");
}

TEST(InstalledProgramPathsTest, AnyOtherFolderKeepsThemBesideTheExecutable) {
    const FolderTest all = [](const std::string&) { return true; };
    // The build folder, a folder of its own, a bin folder without the data folder.
    EXPECT_EQ(ProgramPathsFor("/src/build/bin/varnot", User, Folders({})).folder,
              "/src/build/bin/");
    EXPECT_EQ(ProgramPathsFor("/opt/varnot/varnot", User, all).folder, "/opt/varnot/");
    EXPECT_EQ(ProgramPathsFor("/usr/sbin/varnot", User, all).folder, "/usr/sbin/");
    EXPECT_EQ(ProgramPathsFor("varnot", User, all).folder, "./");
}

TEST(InstalledProgramPathsTest, ConfigFolderFollowsTheXdgRule) {
    const FolderTest installed = Folders({"/usr/share/varnot"});
    // A relative $XDG_CONFIG_HOME is no folder at all.
    EXPECT_EQ(ProgramPathsFor("/usr/bin/varnot", {"cfg", "/home/op/"}, installed).folder,
              "/home/op/.config/varnot/");
    EXPECT_EQ(ProgramPathsFor("/usr/bin/varnot", {"", "/"}, installed).folder, "/.config/varnot/");
    // Nowhere to go: the files stay where they were (and writing there fails).
    EXPECT_EQ(ProgramPathsFor("/usr/bin/varnot", {"", ""}, installed).folder, "/usr/bin/");
}

TEST(InstalledProgramPathsTest, FirstStartCreatesTheFolderForItsUserOnly) {
    testing_support::TempDir home;
    const std::string folder = home / ".config/varnot/";
    ASSERT_TRUE(CreateProgramFolder(folder));
    struct stat st {};
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(CreateProgramFolder(folder)); // and finds it the next time

    testing_support::WriteFile(home / "file", "x");
    EXPECT_FALSE(CreateProgramFolder(home / "file/varnot/"));
}

} // namespace
} // namespace varnot
