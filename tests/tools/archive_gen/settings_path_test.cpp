#include "archive_gen/settings_path.h"
#include "core/app/ini_file.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace varnot::gen;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(ArchivePathValue, IsAbsoluteWithOneTrailingSlash) {
    EXPECT_EQ(ArchivePathValue("/srv/archive"), "/srv/archive/");
    EXPECT_EQ(ArchivePathValue("/srv/archive/"), "/srv/archive/");
    EXPECT_EQ(ArchivePathValue("/srv/./news/../archive//"), "/srv/archive/");
    EXPECT_EQ(ArchivePathValue("/"), "/");
    std::string cwd = std::filesystem::current_path().string();
    if (cwd.back() != '/') cwd.push_back('/');
    EXPECT_EQ(ArchivePathValue("demo/archive"), cwd + "demo/archive/");
}

TEST(SetArchivePath, WritesPathAndKeepsEveryOtherLine) {
    TempDir dir;
    const std::string file = dir / "varnot.INI";
    const std::vector<std::string> kept = {
        "; operator's notes",
        "[Colors]",
        "Back=16777215",
        "[main]",
        "English=YES",
        "RereadDelay=10",
        "\xCA\xEB\xFE\xF7=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5", // 1251 text
        "[Filters]",
        "Group=NEWS",
    };
    std::string text;
    for (const std::string& line : kept) text += line + "\r\n";
    WriteFile(file, text);

    std::string error;
    ASSERT_TRUE(SetArchivePath(file, dir / "archive", error)) << error;
    EXPECT_EQ(varnot::ReadSetting(file, "main", "Path", ""), dir / "archive/");

    std::string after = ReadFile(file);
    std::size_t at = 0;
    for (const std::string& line : kept) {
        std::size_t found = after.find(line + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + line.size();
    }

    // A second call replaces the value instead of adding a line.
    ASSERT_TRUE(SetArchivePath(file, dir / "other/", error)) << error;
    EXPECT_EQ(varnot::ReadSetting(file, "main", "Path", ""), dir / "other/");
    std::string again = ReadFile(file);
    EXPECT_EQ(again.find("archive/"), std::string::npos);
}

TEST(SetWindowSize, WritesTheFrameSizeBesideThePath) {
    TempDir dir;
    const std::string file = dir / "varnot.INI";
    std::string error;
    ASSERT_TRUE(SetArchivePath(file, "/srv/archive", error)) << error;
    ASSERT_TRUE(SetWindowSize(file, 1100, 750, error)) << error;
    EXPECT_EQ(varnot::ReadSetting(file, "Frame", "W", ""), "1100");
    EXPECT_EQ(varnot::ReadSetting(file, "Frame", "H", ""), "750");
    EXPECT_EQ(varnot::ReadSetting(file, "main", "Path", ""), "/srv/archive/");
}

TEST(SetArchivePath, CreatesAMissingSettingsFileAndReportsAnUnwritableOne) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(SetArchivePath(dir / "new.INI", "/srv/archive", error)) << error;
    EXPECT_EQ(varnot::ReadSetting(dir / "new.INI", "main", "Path", ""), "/srv/archive/");

    WriteFile(dir / "blocker", "x");
    EXPECT_FALSE(SetArchivePath(dir / "blocker/varnot.INI", "/srv/archive", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
