#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include "core/output/merge.h"
#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class MergeTest : public ::testing::Test {
  protected:
    std::string Message(const std::string& name, std::string_view bytes, int minute = 0) {
        const std::string path = dir / name;
        WriteFile(path, bytes, LocalTime(2003, 12, 25, 10, minute));
        return path;
    }
    // Nothing but the export file may stay in the folder.
    std::size_t FilesInFolder() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
            ++count;
        return count;
    }

    TempDir dir;
    std::string folder = dir / "program/";
    std::string expo = folder + "expo.txt";
    void SetUp() override { testing_support::MakeDirs(folder); }
};

TEST_F(MergeTest, DateLinesTextsAndOneLineBreakAfterEach) {
    // "Привет" in 1251 becomes UTF-8; a file without a final line break gets
    // one, a file with one gets an empty line after it.
    const std::string first = Message("a.txt", "first \xCF\xF0\xE8\xE2\xE5\xF2", 5);
    const std::string second = Message("b.txt", "second\r\n", 6);
    ASSERT_TRUE(WriteExportFile(expo, {first, second}, true, false));
    EXPECT_EQ(ReadFile(expo), "10:05 25.12.2003\r\nfirst Привет\r\n"
                              "10:06 25.12.2003\r\nsecond\r\n\r\n");

    ASSERT_TRUE(WriteExportFile(expo, {second}, false, false));
    EXPECT_EQ(ReadFile(expo), "second\r\n\r\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MergeTest, DosTextAcrossManyBlocks) {
    // 866 "Пар" repeated well past one 32000-byte block.
    std::string dos;
    std::string expected;
    while (dos.size() < 3 * TMerge::BufferSize) {
        dos += "\x8F\xA0\xE0";
        expected += "Пар";
    }
    ASSERT_TRUE(WriteExportFile(expo, {Message("dos.txt", dos)}, false, true));
    EXPECT_EQ(ReadFile(expo), expected + "\r\n");
}

TEST_F(MergeTest, VanishedMessageIsLeftOut) {
    const std::string kept = Message("kept.txt", "kept");
    ASSERT_TRUE(WriteExportFile(expo, {dir / "gone.txt", kept, dir.path()}, true, false));
    EXPECT_EQ(ReadFile(expo), "10:00 25.12.2003\r\nkept\r\n");
}

TEST_F(MergeTest, EditorLinesAsTheyStand) {
    ASSERT_TRUE(WriteExportLines(expo, {"one", "", "два"}));
    EXPECT_EQ(ReadFile(expo), "one\r\n\r\nдва\r\n");
}

TEST_F(MergeTest, FailedWriteKeepsThePreviousExport) {
    WriteFile(expo, "previous");
    const std::string big = Message("big.txt", std::string(100000, 'x'));
    // A file size limit makes writes fail for everyone, root included.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 50000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const MergeResult result = WriteExportFile(expo, {big}, false, false);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.status, MergeResult::Status::CannotWrite);
    EXPECT_EQ(result.file, expo);
    EXPECT_EQ(ReadFile(expo), "previous");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MergeTest, ReadErrorNamesTheMessageAndKeepsThePreviousExport) {
    WriteFile(expo, "previous");
    // A regular file whose first read fails: address 0 of this process is unmapped.
    const std::string unreadable = "/proc/self/mem";
    const MergeResult result =
        WriteExportFile(expo, {Message("a.txt", "a"), unreadable}, true, false);
    EXPECT_EQ(result.status, MergeResult::Status::ReadFailed);
    EXPECT_EQ(result.file, unreadable);
    EXPECT_EQ(ReadFile(expo), "previous");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MergeTest, UnwritableFolderFailsAtOpen) {
    const MergeResult result = WriteExportFile(dir / "missing/expo.txt", {}, false, false);
    EXPECT_EQ(result.status, MergeResult::Status::CannotWrite);
    EXPECT_EQ(result.file, dir / "missing/expo.txt");
}

} // namespace
} // namespace varnot
