#include "core/archive/copy_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

int EntriesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

class CopyMessageFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        source = dir / "src/MSG.TXT";
        // Larger than one copy block, and not a multiple of it.
        body.assign(100001, 'x');
        for (std::size_t i = 0; i < body.size(); i += 7) body[i] = static_cast<char>(i % 251);
        WriteFile(source, body, LocalTime(2003, 12, 25, 14, 5, 0));
        ::chmod(source.c_str(), 0640);
        testing_support::MakeDirs(dir / "dst");
    }

    TempDir dir;
    std::string source;
    std::string body;
};

TEST_F(CopyMessageFileTest, CopyKeepsContentTimeAndPermissions) {
    const std::string target = dir / "dst/MSG.TXT";
    ASSERT_EQ(CopyMessageFile(source, target).result, CopyResult::Copied);
    EXPECT_EQ(ReadFile(target), body);
    EXPECT_EQ(StatOf(target).st_mtime, LocalTime(2003, 12, 25, 14, 5, 0));
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);
    EXPECT_EQ(EntriesIn(dir / "dst"), 1); // no temporary file left behind
}

TEST_F(CopyMessageFileTest, ExistingDestinationIsReplaced) {
    const std::string target = dir / "dst/MSG.TXT";
    WriteFile(target, std::string(300000, 'o'));
    ASSERT_EQ(CopyMessageFile(source, target).result, CopyResult::Copied);
    EXPECT_EQ(ReadFile(target), body);
}

TEST_F(CopyMessageFileTest, CopyOntoItselfLeavesTheSourceWhole) {
    EXPECT_EQ(CopyMessageFile(source, source).result, CopyResult::SameFile);
    EXPECT_EQ(ReadFile(source), body);
    // Through a link to the message's own folder.
    std::filesystem::create_directory_symlink(dir / "src", dir / "alias");
    EXPECT_EQ(CopyMessageFile(source, dir / "alias/MSG.TXT").result, CopyResult::SameFile);
    // Through a hard link.
    ASSERT_EQ(::link(source.c_str(), (dir / "dst/HARD.TXT").c_str()), 0);
    EXPECT_EQ(CopyMessageFile(source, dir / "dst/HARD.TXT").result, CopyResult::SameFile);
    EXPECT_EQ(ReadFile(source), body);
    EXPECT_EQ(StatOf(source).st_mtime, LocalTime(2003, 12, 25, 14, 5, 0));
}

TEST_F(CopyMessageFileTest, NonRegularSourcesAreRefused) {
    const std::string fifo = dir / "src/FIFO.TXT";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(CopyMessageFile(fifo, dir / "dst/FIFO.TXT").result, CopyResult::SourceUnavailable);
    const std::string link = dir / "src/LINK.TXT";
    std::filesystem::create_symlink(source, link);
    EXPECT_EQ(CopyMessageFile(link, dir / "dst/LINK.TXT").result, CopyResult::SourceUnavailable);
    EXPECT_EQ(CopyMessageFile(dir / "src", dir / "dst/X").result, CopyResult::SourceUnavailable);
    EXPECT_EQ(CopyMessageFile(dir / "src/NONE.TXT", dir / "dst/NONE.TXT").result,
              CopyResult::SourceUnavailable);
    EXPECT_EQ(EntriesIn(dir / "dst"), 0);
}

TEST_F(CopyMessageFileTest, NonRegularDestinationsAreLeftAlone) {
    const std::string other = dir / "other.txt";
    WriteFile(other, "keep");
    const std::string link = dir / "dst/MSG.TXT";
    std::filesystem::create_symlink(other, link);
    EXPECT_EQ(CopyMessageFile(source, link).result, CopyResult::DestinationUnavailable);
    EXPECT_EQ(ReadFile(other), "keep");
    testing_support::MakeDirs(dir / "dst/SUB");
    EXPECT_EQ(CopyMessageFile(source, dir / "dst/SUB").result, CopyResult::DestinationUnavailable);
    EXPECT_EQ(CopyMessageFile(source, dir / "missing/MSG.TXT").result,
              CopyResult::DestinationUnavailable);
    EXPECT_EQ(EntriesIn(dir / "dst"), 2);
}

} // namespace
} // namespace varnot
