#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

int FileCount(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

class IniFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string file = dir / "varnot.INI";
};

// --- Reading ---

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanks) {
    WriteFile(file, "[MAIN]\r\n  englISH = no \r\n[ Colors ]\r\nCaption=255\r\n");
    IniFile ini(file);
    EXPECT_FALSE(ini.ReadBool("main", "English", true));
    EXPECT_TRUE(ini.HasKey("Main", "ENGLISH"));
    EXPECT_EQ(ini.ReadString("main", "English", "x"), "no");
    EXPECT_EQ(ini.ReadInteger("colors", "caption", 0), 255);
    EXPECT_FALSE(ini.HasKey("Colors", "English"));
}

TEST_F(IniFileTest, BooleanRule) {
    WriteFile(file, "[main]\na=yes\nb=Yes\nc=yEs\nd=TRUE\ne=1\nf=\ng=YES \n");
    IniFile ini(file);
    EXPECT_TRUE(ini.ReadBool("main", "a", false));
    EXPECT_TRUE(ini.ReadBool("main", "b", false));
    EXPECT_TRUE(ini.ReadBool("main", "c", false));
    // Present but unrecognised is false even with a true default.
    EXPECT_FALSE(ini.ReadBool("main", "d", true));
    EXPECT_FALSE(ini.ReadBool("main", "e", true));
    EXPECT_FALSE(ini.ReadBool("main", "f", true));
    EXPECT_TRUE(ini.ReadBool("main", "g", false));
    EXPECT_TRUE(ini.ReadBool("main", "missing", true));
    EXPECT_FALSE(ini.ReadBool("main", "missing", false));
}

TEST_F(IniFileTest, IntegersFallBackToTheDefault) {
    WriteFile(file, "[main]\na=12\nb=$10\nc=0x1F\nd=12abc\ne=\nf=99999999999\ng= -7\n");
    IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("main", "a", 1), 12);
    EXPECT_EQ(ini.ReadInteger("main", "b", 1), 16);
    EXPECT_EQ(ini.ReadInteger("main", "c", 1), 31);
    EXPECT_EQ(ini.ReadInteger("main", "d", 1), 1);
    EXPECT_EQ(ini.ReadInteger("main", "e", 1), 1);
    EXPECT_EQ(ini.ReadInteger("main", "f", 1), 1);
    EXPECT_EQ(ini.ReadInteger("main", "g", 1), -7);
    EXPECT_EQ(ini.ReadInteger("main", "none", 42), 42);
}

TEST_F(IniFileTest, MissingAndEmptyFilesReadDefaults) {
    IniFile missing(dir / "nothere.INI");
    EXPECT_EQ(missing.ReadString("main", "Path", "def"), "def");
    EXPECT_EQ(missing.ReadInteger("main", "X", 3), 3);

    WriteFile(file, "");
    IniFile empty(file);
    EXPECT_EQ(empty.ReadString("main", "Path", "def"), "def");
    EXPECT_TRUE(empty.ReadBool("main", "English", true));
}

TEST_F(IniFileTest, CrlfLfAndBomFilesAllRead) {
    for (const std::string& text :
         {std::string("[main]\r\nPath=/a\r\n"), std::string("[main]\nPath=/a\n"),
          std::string("\xEF\xBB\xBF[main]\r\nPath=/a"),
          std::string("\xEF\xBB\xBF[main]\nPath=/a\r")}) {
        WriteFile(file, text);
        EXPECT_EQ(IniFile(file).ReadString("main", "Path", ""), "/a");
    }
}

TEST_F(IniFileTest, ALoneCrEndingTheLastLineStaysWhenAKeyFollows) {
    WriteFile(file, "[main]\nA=1\r");
    EXPECT_TRUE(WriteIntSetting(file, "main", "B", 2));
    EXPECT_EQ(ReadFile(file), "[main]\nA=1\r\nB=2\n");
}

TEST_F(IniFileTest, JunkCommentsAndDuplicatesDoNotConfuseReading) {
    WriteFile(file, "junk line\n;English=NO\n[main]\nno equals sign here\n=orphan\n# x=1\n"
                    "English=YES\nEnglish=NO\n[other]\nEnglish=NO\n[main]\nPath=/second\n");
    IniFile ini(file);
    EXPECT_TRUE(ini.ReadBool("main", "English", false)); // the first of duplicates wins
    EXPECT_EQ(ini.ReadString("main", "Path", ""), "/second");
    EXPECT_FALSE(ini.HasKey("main", "# x"));
    EXPECT_FALSE(ini.HasKey("main", ";English"));
}

TEST_F(IniFileTest, KeysOfAnUnclosedSectionBelongToIt) {
    WriteFile(file, "[main]\nA=1\n[broken\nB=2\n");
    IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("main", "A", 0), 1);
    EXPECT_FALSE(ini.HasKey("main", "B"));
    EXPECT_EQ(ini.ReadInteger("broken", "B", 0), 2);
}

TEST_F(IniFileTest, GarbageNulBytesAndHugeLinesNeverCrash) {
    std::string garbage;
    for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    std::string text = "[main]\r\nA=1\r\n" + garbage + "\r\n" + std::string("B=x\0y", 5) +
                       "\r\nLong=" + std::string(1 << 20, 'z') + "\r\n[" +
                       std::string(1 << 20, '[') + "\r\n";
    WriteFile(file, text);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("main", "A", 0), 1);
    ini.WriteInteger("main", "A", 2);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file).size(), text.size());

    WriteFile(file, "[main]\r\nB=x" + std::string(1, '\0') +
                        "y\r\nLong=" + std::string(1 << 20, 'z') + "\r\n");
    IniFile clean(file);
    EXPECT_EQ(clean.ReadString("main", "B", ""), std::string("x\0y", 3));
    EXPECT_EQ(clean.ReadString("main", "Long", "").size(), std::size_t{1} << 20);
}

TEST_F(IniFileTest, UnreadableFileReadsDefaultsAndIsNotOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads any file";
    WriteFile(file, "[main]\nPath=/keep\n");
    ::chmod(file.c_str(), 0);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadString("main", "Path", "def"), "def");
    ini.WriteString("main", "Path", "/new");
    EXPECT_FALSE(ini.Save());
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(ReadFile(file), "[main]\nPath=/keep\n");
}

TEST_F(IniFileTest, FolderInThePlaceOfTheFileReadsDefaults) {
    testing_support::MakeDirs(file);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("main", "X", 5), 5);
    ini.WriteInteger("main", "X", 1);
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

// --- Values written read back ---

TEST_F(IniFileTest, WrittenValuesReadBackExactly) {
    const std::string values[] = {"",
                                  "plain",
                                  "  leading",
                                  "trailing\t",
                                  " both ",
                                  "\"quoted\"",
                                  "\"",
                                  "\"\"",
                                  "a=b=c",
                                  "; not a comment",
                                  "[not a section]",
                                  "\xC0\xEB\xFF\x80 1251 bytes",
                                  std::string("nul\0inside", 10),
                                  std::string(100000, 'v')};
    IniFile ini(file);
    for (std::size_t i = 0; i < std::size(values); ++i)
        ini.WriteString("main", "K" + std::to_string(i), values[i]);
    ASSERT_TRUE(ini.Save());
    IniFile back(file);
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(back.ReadString("main", "K" + std::to_string(i), "?"), values[i]) << i;
}

TEST_F(IniFileTest, LineBreaksInAValueCannotForgeLines) {
    IniFile ini(file);
    ini.WriteString("main", "find", "a\r\n[main]\nEnglish=NO");
    ASSERT_TRUE(ini.Save());
    IniFile back(file);
    EXPECT_EQ(back.ReadString("main", "find", ""), "a  [main] English=NO");
    EXPECT_FALSE(back.HasKey("main", "English"));
}

TEST_F(IniFileTest, NamesTheFormatCannotHoldAreRefused) {
    IniFile ini(file);
    ini.WriteString("ma]in", "A", "1");
    ini.WriteString("main", "A=B", "1");
    ini.WriteString("main", "", "1");
    ini.WriteString("main\n[x", "A", "1");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "");
}

TEST_F(IniFileTest, IntegersAndBooleansAreWrittenAsText) {
    IniFile ini(file);
    ini.WriteInteger("main", "A", -12);
    ini.WriteBool("main", "B", true);
    ini.WriteBool("main", "C", false);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "[main]\r\nA=-12\r\nB=YES\r\nC=NO\r\n");
}

// --- Writing keeps the other lines ---

TEST_F(IniFileTest, RewritingAKeyTouchesOnlyItsLine) {
    const std::string before = "; settings\r\njunk\r\n[MAIN]\r\n  englISH = no\r\n"
                               "English=NO\r\nother=1\r\n\r\n[Colors]\r\nCaption=5\r\n";
    WriteFile(file, before);
    IniFile ini(file);
    ini.WriteBool("main", "English", true);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "; settings\r\njunk\r\n[MAIN]\r\n  englISH = YES\r\n"
                              "English=NO\r\nother=1\r\n\r\n[Colors]\r\nCaption=5\r\n");
}

TEST_F(IniFileTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    WriteFile(file, "[main]\nA=1\n\n; colours follow\n[Colors]\nCaption=5\n");
    IniFile ini(file);
    ini.WriteString("Main", "B", "2");
    ini.WriteString("colors", "KeyWord", "7");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file),
              "[main]\nA=1\nB=2\n\n; colours follow\n[Colors]\nCaption=5\nKeyWord=7\n");
}

TEST_F(IniFileTest, ErasedKeysLeaveTheHeadingWhereNewKeysLand) {
    WriteFile(file, "[Filters]\n; groups\n0=A *.*\n7=B *.*\n[main]\nX=1\n[filters]\n3=C *.*\n");
    IniFile ini(file);
    ini.EraseKeys("FILTERS");
    ini.WriteString("Filters", "0", "D *.*");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "[Filters]\n0=D *.*\n; groups\n[main]\nX=1\n[filters]\n");
}

TEST_F(IniFileTest, NewSectionIsAppendedInTheFilesLineEnd) {
    WriteFile(file, "[main]\nA=1"); // no line end after the last line
    IniFile ini(file);
    ini.WriteString("Frame", "X", "3");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "[main]\nA=1\n[Frame]\nX=3\n");
}

TEST_F(IniFileTest, BomAndUnrelatedBytesSurviveASave) {
    const std::string garbage("\x01\x02\xFF\xFE\0\x7F=\x80", 8);
    WriteFile(file, "\xEF\xBB\xBF[main]\r\n" + garbage + "\r\nA=1\r\nlone\rcr\r\n");
    IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("main", "A", 0), 1);
    ini.WriteInteger("main", "A", 2);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(file), "\xEF\xBB\xBF[main]\r\n" + garbage + "\r\nA=2\r\nlone\rcr\r\n");
}

TEST_F(IniFileTest, NewFileIsCreatedWithCrlf) {
    EXPECT_TRUE(WriteSetting(file, "main", "Path", "/arc/"));
    EXPECT_EQ(ReadFile(file), "[main]\r\nPath=/arc/\r\n");
}

TEST_F(IniFileTest, OneShotOperations) {
    EXPECT_TRUE(WriteIntSetting(file, "Frame", "W", 640));
    EXPECT_TRUE(WriteYesNo(file, "main", "AutoShow", false));
    EXPECT_TRUE(WriteSetting(file, "DDE", "Service", "ZEVA"));
    EXPECT_EQ(ReadIntSetting(file, "frame", "w", 0), 640);
    EXPECT_FALSE(ReadYesNo(file, "MAIN", "autoshow", true));
    EXPECT_EQ(ReadSetting(file, "dde", "SERVICE", ""), "ZEVA");
    EXPECT_EQ(ReadSetting(file, "dde", "none", "d"), "d");
}

TEST_F(IniFileTest, EachWriteSeesTheFileAsItIsNow) {
    // No cache: a change made by someone else between two writes survives.
    EXPECT_TRUE(WriteSetting(file, "main", "A", "1"));
    WriteFile(file, ReadFile(file) + "[Other]\r\nB=2\r\n");
    EXPECT_TRUE(WriteSetting(file, "main", "C", "3"));
    EXPECT_EQ(ReadSetting(file, "Other", "B", ""), "2");
    EXPECT_EQ(ReadSetting(file, "main", "A", ""), "1");
}

// --- Atomic replacement and failures ---

TEST_F(IniFileTest, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
    WriteFile(file, "[main]\nA=1\n");
    ::chmod(file.c_str(), 0640);
    const ino_t before = InodeOf(file);
    IniFile ini(file);
    ini.WriteInteger("main", "A", 2);
    ASSERT_TRUE(ini.Save());
    EXPECT_NE(InodeOf(file), before);
    EXPECT_EQ(ModeOf(file), mode_t{0640});
    EXPECT_EQ(FileCount(dir.path()), 1);
    EXPECT_EQ(ReadFile(file), "[main]\nA=2\n");
}

TEST_F(IniFileTest, ReadOnlyFileIsLeftIntact) {
    WriteFile(file, "[main]\nA=1\n");
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(WriteIntSetting(file, "main", "A", 2));
    EXPECT_EQ(ReadFile(file), "[main]\nA=1\n");
    EXPECT_EQ(ReadIntSetting(file, "main", "A", 0), 1);
    EXPECT_EQ(FileCount(dir.path()), 1);
}

TEST_F(IniFileTest, ReadOnlyFolderIsLeftIntact) {
    WriteFile(file, "[main]\nA=1\n");
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(WriteIntSetting(file, "main", "A", 2));
    EXPECT_FALSE(WriteIntSetting(dir / "new.INI", "main", "A", 2));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(ReadFile(file), "[main]\nA=1\n");
    EXPECT_EQ(FileCount(dir.path()), 1);
}

TEST_F(IniFileTest, MissingFolderFailsQuietly) {
    EXPECT_FALSE(WriteSetting(dir / "no/such/folder/x.INI", "main", "A", "1"));
    EXPECT_EQ(ReadSetting(dir / "no/such/folder/x.INI", "main", "A", "d"), "d");
}

TEST_F(IniFileTest, SaveThroughALinkReplacesTheTarget) {
    const std::string target = dir / "real.INI";
    WriteFile(target, "[main]\nA=1\n");
    std::filesystem::create_symlink(target, file);
    EXPECT_TRUE(WriteIntSetting(file, "main", "A", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ReadFile(target), "[main]\nA=2\n");
}

TEST_F(IniFileTest, WritesIntoGarbageKeepEveryLine) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 31 + 7) % 256);
    WriteFile(file, garbage);
    IniFile ini(file);
    ini.WriteString("main", "Path", "/p/");
    ASSERT_TRUE(ini.Save());
    const std::string after = ReadFile(file);
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(ReadSetting(file, "main", "Path", ""), "/p/");
}

} // namespace
} // namespace varnot
