#include "core/archive/file_info.h"

#include <gtest/gtest.h>

#include <string>

namespace varnot {
namespace {

TEST(FileInfoTest, NameIsUpperCasedLatinAndTheDiskNameKept) {
    TFileInfo record;
    ASSERT_TRUE(record.SetName("03_12_25\\", "msg-\xE0\xE1.txt"));
    EXPECT_EQ(record.Name(), "03_12_25\\MSG-\xE0\xE1.TXT"); // Cyrillic bytes stay
    EXPECT_EQ(record.DayFolder(), "03_12_25");
    EXPECT_EQ(record.FileName(), "MSG-\xE0\xE1.TXT");
    EXPECT_EQ(record.DiskName(), "msg-\xE0\xE1.txt");
    EXPECT_EQ(DiskPath("/arc/", record), "/arc/03_12_25/msg-\xE0\xE1.txt");
    EXPECT_EQ(DiskPath("/arc", record), "/arc/03_12_25/msg-\xE0\xE1.txt");
}

TEST(FileInfoTest, LongestFileNameFits) {
    TFileInfo record;
    const std::string name(MaxFileNameLength, 'a');
    ASSERT_TRUE(record.SetName("03_12_25\\", name));
    EXPECT_EQ(record.Name().size(), MaxArchiveNameLength);
    EXPECT_EQ(record.DiskName(), name);
    EXPECT_FALSE(record.SetName("03_12_25\\", name + "a"));
    EXPECT_TRUE(record.Name().empty());
    EXPECT_TRUE(record.DiskName().empty());
}

TEST(FileInfoTest, OnlyArchiveNamesAreAccepted) {
    TFileInfo record;
    for (const char* prefix : {"", "03_12_25", "03_12_25/", "2003_12_25\\", "..\\", "03-12-25\\"})
        EXPECT_FALSE(record.SetName(prefix, "A.TXT")) << prefix;
    // The marks file would split these names differently.
    for (const char* name :
         {"", ".", "..", "A/B", "A\\B", "A,B.TXT", "A\rB", "A\nB", "A\x01", "\x7F"})
        EXPECT_FALSE(record.SetName("03_12_25\\", name)) << name;
    EXPECT_FALSE(record.SetName("03_12_25\\", std::string("A\0B", 3)));

    EXPECT_TRUE(IsArchiveName("03_12_25\\A1234567.TXT"));
    EXPECT_TRUE(IsArchiveName("03_12_25\\...")); // an odd but harmless name
    for (const char* name : {"A.TXT", "03_12_25\\", "03_12_25\\..", "03_12_25\\a/b",
                             "03_12_25/A.TXT", "..\\..\\X", "03_12_25\\A\\B"})
        EXPECT_FALSE(IsArchiveName(name)) << name;
}

TEST(FileInfoTest, StoredNamesStandInForTheDiskName) {
    TFileInfo record;
    ASSERT_TRUE(record.SetStoredName("03_12_25\\A1.TXT"));
    EXPECT_EQ(record.DiskName(), "A1.TXT");
    EXPECT_EQ(DiskPath("/r/", record), "/r/03_12_25/A1.TXT");
    EXPECT_FALSE(record.SetStoredName("03_12_25\\a/b"));
    EXPECT_TRUE(record.Name().empty());
}

TEST(FileInfoTest, ClearGivesAFreshSpare) {
    TFileInfo record;
    record.SetName("03_12_25\\", "A");
    record.Head = "brief";
    record.Flags = 40;
    record.Time = 5;
    record.Size = 6;
    record.Clear();
    EXPECT_TRUE(record.Name().empty());
    EXPECT_FALSE(record.Head.has_value());
    EXPECT_EQ(record.Flags, 0);
    EXPECT_EQ(record.Time, 0);
    EXPECT_EQ(record.Size, 0);
}

TEST(FileInfoTest, CopyKeysTakesNoBrief) {
    TFileInfo from;
    from.SetName("03_12_25\\", "Mixed.txt");
    from.Time = 7;
    from.Size = 8;
    from.Flags = 40;
    from.Head = "their brief";
    TFileInfo to;
    to.SetName("03_12_24\\", std::string(200, 'x'));
    to.Head = "own brief";
    to.CopyKeysFrom(from);
    EXPECT_EQ(to.Name(), "03_12_25\\MIXED.TXT");
    EXPECT_EQ(to.DiskName(), "Mixed.txt");
    EXPECT_EQ(to.DayFolder(), "03_12_25");
    EXPECT_EQ(to.Time, 7);
    EXPECT_EQ(to.Size, 8);
    EXPECT_EQ(to.Flags, 40);
    EXPECT_FALSE(to.Head.has_value());
    EXPECT_EQ(to.MatchIndex, -1);
}

TEST(FileInfoTest, ArchivePathsOfNewFiles) {
    EXPECT_EQ(ArchiveFilePath("/arc/", "03_12_25\\", "x.txt"), "/arc/03_12_25/x.txt");
    EXPECT_EQ(ArchiveFilePath("/arc/", "03_12_25", "x.txt"), "/arc/03_12_25/x.txt");
    EXPECT_EQ(ArchiveNameOf("03_12_25\\", "x.txt"), "03_12_25\\X.TXT");
}

} // namespace
} // namespace varnot
