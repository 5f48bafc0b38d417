#include "core/archive/marks_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "core/archive/archive_tree.h"
#include "support/temp_dir.h"

namespace varnot {
namespace {

using archive_test::Dos;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class MarksFileTest : public ::testing::Test {
  protected:
    void Add(CList& list, std::string_view name, std::uint16_t flags, std::int32_t time,
             std::int32_t size) {
        ASSERT_TRUE(list.AddFound("03_12_25\\", name, size, time, options));
        list.RecordAt(list.Used - 1).Flags = flags;
    }

    TempDir dir;
    std::string path = dir / "attr.sav";
    ArchiveOptions options;
};

TEST_F(MarksFileTest, SavedLinesRoundTrip) {
    CList list(5);
    Add(list, "A1234567.TXT", TFileInfo::Shown | TFileInfo::Read, 798584992, 1532);
    Add(list, "B.TXT", TFileInfo::Selected | TFileInfo::Shown, Dos(2003, 12, 24), 7);
    Add(list, "\xC0\xC1.TXT", 0xFFFF, -5, 0);
    ASSERT_TRUE(SaveMarks(list, path));
    EXPECT_EQ(ReadFile(path), std::string("03_12_25\\A1234567.TXT,40,798584992,1532\r\n"
                                          "03_12_25\\B.TXT,12,") +
                                  std::to_string(Dos(2003, 12, 24)) +
                                  ",7\r\n"
                                  "03_12_25\\\xC0\xC1.TXT,65535,-5,0\r\n");
    CList loaded(5);
    EXPECT_EQ(LoadMarks(loaded, path), 3);
    EXPECT_EQ(loaded.Used, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.RecordAt(i).Name(), list.RecordAt(i).Name());
        EXPECT_EQ(loaded.RecordAt(i).Flags, list.RecordAt(i).Flags);
        EXPECT_EQ(loaded.RecordAt(i).Time, list.RecordAt(i).Time);
        EXPECT_EQ(loaded.RecordAt(i).Size, 0); // the size is not read back
    }
}

TEST_F(MarksFileTest, EmptyListGivesAnEmptyFileAndSaveReplacesAtomically) {
    WriteFile(path, "03_12_25\\OLD.TXT,32,1,1\r\n");
    CList list(3);
    ASSERT_TRUE(SaveMarks(list, path));
    EXPECT_EQ(ReadFile(path), "");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1); // no temporary file stays behind
    EXPECT_FALSE(SaveMarks(list, dir / "missing/attr.sav"));
    // A folder in the way: the save fails and the folder is left as it was.
    testing_support::MakeDirs(dir / "blocked/attr.sav/inner");
    EXPECT_FALSE(SaveMarks(list, dir / "blocked/attr.sav"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked/attr.sav/inner"));
}

TEST_F(MarksFileTest, AReadOnlyFileIsLeftAloneLikeTheSettingsFile) {
    WriteFile(path, "03_12_25\\OLD.TXT,32,1,1\r\n");
    ::chmod(path.c_str(), 0444);
    CList list(3);
    Add(list, "NEW.TXT", TFileInfo::Shown, 5, 5);
    EXPECT_FALSE(SaveMarks(list, path));
    EXPECT_EQ(ReadFile(path), "03_12_25\\OLD.TXT,32,1,1\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

TEST_F(MarksFileTest, MissingOrNonRegularFileLoadsNothing) {
    CList list(3);
    list.Used = 2;
    EXPECT_EQ(LoadMarks(list, dir / "none.sav"), 0);
    EXPECT_EQ(list.Used, 0);
    EXPECT_EQ(LoadMarks(list, dir.path()), 0);
    const std::string fifo = dir / "fifo.sav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadMarks(list, fifo), 0); // and does not hang
}

TEST_F(MarksFileTest, LinesBeyondCapacityAndAfterAnEmptyLineAreIgnored) {
    WriteFile(path, "03_12_25\\A.TXT,1,1,1\r\n03_12_25\\B.TXT,2,2,2\r\n03_12_25\\C.TXT,3,3,3\r\n");
    CList two(2);
    EXPECT_EQ(LoadMarks(two, path), 2);
    EXPECT_EQ(two.RecordAt(1).Name(), "03_12_25\\B.TXT");

    WriteFile(path, "03_12_25\\A.TXT,1,1,1\r\n\r\n03_12_25\\C.TXT,3,3,3\r\n");
    CList list(5);
    EXPECT_EQ(LoadMarks(list, path), 1);

    // Plain LF line ends and a last line without an end are read too.
    WriteFile(path, "03_12_25\\A.TXT,1,1,1\n03_12_25\\C.TXT,3,3");
    EXPECT_EQ(LoadMarks(list, path), 2);
    EXPECT_EQ(list.RecordAt(1).Time, 3);
}

TEST_F(MarksFileTest, FieldsAreSplitAndReadLikeStoredNumbers) {
    WriteFile(path, ",,03_12_25\\A.TXT,,40,, -12,9\r\n"
                    "03_12_25\\B.TXT,12abc,7x,\r\n"
                    "03_12_25\\C.TXT,+8,junk\r\n");
    CList list(5);
    ASSERT_EQ(LoadMarks(list, path), 3);
    EXPECT_EQ(list.RecordAt(0).Flags, 40);
    EXPECT_EQ(list.RecordAt(0).Time, -12);
    EXPECT_EQ(list.RecordAt(1).Flags, 12);
    EXPECT_EQ(list.RecordAt(1).Time, 7);
    EXPECT_EQ(list.RecordAt(2).Flags, 8);
    EXPECT_EQ(list.RecordAt(2).Time, 0);
}

TEST_F(MarksFileTest, LinesThatCannotBeMarksAreSkipped) {
    const std::string huge(200000, 'Z');
    WriteFile(path, std::string("03_12_25\\GOOD1.TXT,32,100,1\r\n") +
                        "03_12_25\\FLAGS.TXT,65536,100,1\r\n"   // Flags above 16 bits
                        "03_12_25\\NEGATIVE.TXT,-1,100,1\r\n"   // no negative Flags
                        "03_12_25\\TIME.TXT,1,2147483648,1\r\n" // Time beyond 32 bits
                        "03_12_25\\BIG.TXT,1,99999999999999999999999,1\r\n" +
                        "03_12_25\\" + huge + ",1,1,1\r\n" + // overlong line
                        "03_12_25\\SHORT.TXT,1\r\n" +        // missing Time
                        "NOBACKSLASH.TXT,1,1,1\r\n"
                        "03_12_25\\..,1,1,1\r\n"
                        "03_12_25\\A/B.TXT,1,1,1\r\n"
                        "03_12_25\\A\\B.TXT,1,1,1\r\n"
                        "../../etc\\X,1,1,1\r\n"
                        "03_12_25\\" +
                        std::string(256, 'L') + ",1,1,1\r\n" +
                        std::string("03_12_25\\NUL\0.TXT,1,1,1\r\n", 26) +
                        "\x01\x02\xFF\xFE,\x80,\x90\r\n"
                        "03_12_25\\GOOD2.TXT,8,-2147483648,1\r\n");
    CList list(20);
    ASSERT_EQ(LoadMarks(list, path), 2);
    EXPECT_EQ(list.RecordAt(0).Name(), "03_12_25\\GOOD1.TXT");
    EXPECT_EQ(list.RecordAt(1).Name(), "03_12_25\\GOOD2.TXT");
    EXPECT_EQ(list.RecordAt(1).Time, -2147483647 - 1);
    for (int i = list.Used; i < list.Capacity(); ++i)
        EXPECT_TRUE(list.RecordAt(i).Name().empty()) << i;
}

TEST_F(MarksFileTest, BinaryGarbageNeverCrashes) {
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(state >> 16));
    }
    WriteFile(path, garbage);
    CList list(50);
    const int loaded = LoadMarks(list, path);
    EXPECT_GE(loaded, 0);
    EXPECT_EQ(loaded, list.Used);
    for (int i = 0; i < list.Used; ++i) EXPECT_TRUE(IsArchiveName(list.RecordAt(i).Name()));
}

} // namespace
} // namespace varnot
