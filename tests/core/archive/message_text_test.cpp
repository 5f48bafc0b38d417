#include "core/archive/message_text.h"

#include "core/archive/message_file.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

ArchiveOptions Plain() {
    return ArchiveOptions{};
}
ArchiveOptions Dos() {
    ArchiveOptions o;
    o.inDos = true;
    return o;
}
ArchiveOptions Zev() {
    ArchiveOptions o;
    o.inZev = true;
    return o;
}

// --- Briefs ---------------------------------------------------------------

TEST(LoadHead, FirstLineWithVisibleTextWithoutLeadingBlanks) {
    TempDir dir;
    WriteFile(dir / "A.TXT", "\r\n   \t\r\n\t  Storm warning  \r\nsecond line\r\n");
    EXPECT_EQ(LoadHead(dir / "A.TXT", Plain()), "Storm warning  ");
    WriteFile(dir / "B.TXT", "\n\x01\x02\x1F ok\n");
    EXPECT_EQ(LoadHead(dir / "B.TXT", Plain()), "ok");
    WriteFile(dir / "C.TXT", "\r\r  old mac\rnext");
    EXPECT_EQ(LoadHead(dir / "C.TXT", Plain()), "old mac");
    WriteFile(dir / "D.TXT", "no line end");
    EXPECT_EQ(LoadHead(dir / "D.TXT", Plain()), "no line end");
}

TEST(LoadHead, BlankEmptyOrUnreadableFilesGiveTheFileName) {
    TempDir dir;
    WriteFile(dir / "03_12_25/A1234567.TXT", "");
    EXPECT_EQ(LoadHead(dir / "03_12_25/A1234567.TXT", Plain()), "A1234567.TXT");
    WriteFile(dir / "BLANK.TXT", " \r\n\t\r\n   ");
    EXPECT_EQ(LoadHead(dir / "BLANK.TXT", Dos()), "BLANK.TXT");
    EXPECT_EQ(LoadHead(dir / "MISSING.TXT", Plain()), "MISSING.TXT");
    EXPECT_EQ(LoadHead(dir / "MISSING.TXT", Zev()), "MISSING.TXT");
    testing_support::MakeDirs(dir / "DIR.TXT");
    EXPECT_EQ(LoadHead(dir / "DIR.TXT", Plain()), "DIR.TXT");
    // A FIFO is never opened for reading: that would wait for a writer.
    ASSERT_EQ(mkfifo((dir / "PIPE.TXT").c_str(), 0600), 0);
    EXPECT_EQ(LoadHead(dir / "PIPE.TXT", Plain()), "PIPE.TXT");
    EXPECT_EQ(LoadHead(dir / "PIPE.TXT", Zev()), "PIPE.TXT");
    WriteFile(dir / "REAL.TXT", "real text");
    ASSERT_EQ(symlink((dir / "REAL.TXT").c_str(), (dir / "LINK.TXT").c_str()), 0);
    EXPECT_EQ(LoadHead(dir / "LINK.TXT", Plain()), "LINK.TXT");
}

TEST(LoadHead, DosTextIsConverted) {
    TempDir dir;
    WriteFile(dir / "A.TXT", "  \x8F\xA0\xE0\r\n");
    EXPECT_EQ(LoadHead(dir / "A.TXT", Dos()), "\xCF\xE0\xF0");
    EXPECT_EQ(LoadHead(dir / "A.TXT", Plain()), "\x8F\xA0\xE0");
}

TEST(LoadHead, LongLinesAreCut) {
    TempDir dir;
    std::string line(1 << 20, 'w');
    WriteFile(dir / "LONG.TXT", "\n" + line + "\n");
    std::string brief = LoadHead(dir / "LONG.TXT", Plain());
    EXPECT_EQ(brief.size(), kMaxBriefLength);
    EXPECT_EQ(brief, line.substr(0, kMaxBriefLength));
    // Leading blanks do not count against the limit.
    WriteFile(dir / "INDENT.TXT", std::string(10000, ' ') + "text");
    EXPECT_EQ(LoadHead(dir / "INDENT.TXT", Plain()), "text");
    WriteFile(dir / "NUL.TXT", std::string("ab\0cd\n", 6));
    EXPECT_EQ(LoadHead(dir / "NUL.TXT", Plain()), "ab");
}

TEST(LoadHead, SectionedFileGivesTheHeadKey) {
    TempDir dir;
    WriteFile(dir / "Z.TXT", "[datetime]\r\nDate=031225\r\nTime=1405\r\n"
                             "[Head]\r\n  HEAD = Storm warning \r\n[body]\r\nhead=not this\r\n");
    EXPECT_EQ(LoadHead(dir / "Z.TXT", Zev()), "Storm warning");
    WriteFile(dir / "NOHEAD.TXT", "[body]\r\nhead=in the body\r\n");
    EXPECT_EQ(LoadHead(dir / "NOHEAD.TXT", Zev()), "");
    WriteFile(dir / "NOVALUE.TXT", "[head]\r\nhead=\r\n");
    EXPECT_EQ(LoadHead(dir / "NOVALUE.TXT", Zev()), "");
    // A blank file is blank in either format: its brief is its name.
    WriteFile(dir / "EMPTY.TXT", "");
    EXPECT_EQ(LoadHead(dir / "EMPTY.TXT", Zev()), "EMPTY.TXT");
    WriteFile(dir / "BLANK.TXT", " \r\n\t\r\n");
    EXPECT_EQ(LoadHead(dir / "BLANK.TXT", Zev()), "BLANK.TXT");
}

TEST(IsTextMessage, ByUpperCasedExtension) {
    EXPECT_TRUE(IsTextMessage("/arc/03_12_25/A1234567.TXT"));
    EXPECT_TRUE(IsTextMessage("a.txt"));
    EXPECT_TRUE(IsTextMessage("a.b.TxT"));
    EXPECT_FALSE(IsTextMessage("a.txt.bak"));
    EXPECT_FALSE(IsTextMessage("README"));
    EXPECT_FALSE(IsTextMessage("/arc/dir.txt/FILE"));
    EXPECT_FALSE(IsTextMessage("a.tx"));
}

// --- The view buffer ------------------------------------------------------

TEST(LoadTextBuffer, LoadsAtMost32767BytesAndANul) {
    TempDir dir;
    std::string big(40000, 'x');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    WriteFile(dir / "BIG.TXT", big);
    ViewBuffer buffer;
    TextLoadResult r = LoadTextBuffer(dir / "BIG.TXT", Plain(), buffer);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.bytes, 32767u);
    EXPECT_EQ(buffer.Length(), 32767u);
    EXPECT_EQ(buffer.Data()[32767], 0);
    EXPECT_EQ(buffer.Bytes(), std::string_view(big).substr(0, 32767));
    EXPECT_EQ(buffer.Text().size(), 32767u);

    WriteFile(dir / "SMALL.TXT", "abc");
    r = LoadTextBuffer(dir / "SMALL.TXT", Plain(), buffer);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.bytes, 3u);
    EXPECT_EQ(buffer.Text(), "abc");
    EXPECT_EQ(buffer.Data()[3], 0);

    WriteFile(dir / "EMPTY.TXT", "");
    ASSERT_TRUE(LoadTextBuffer(dir / "EMPTY.TXT", Plain(), buffer));
    EXPECT_EQ(buffer.Text(), "");
}

TEST(LoadTextBuffer, OneOpenPerLoadIntoAnAlignedBuffer) {
    TempDir dir;
    const std::string text(5000, 'q');
    WriteFile(dir / "A.TXT", text);
    ViewBuffer buffer;
    // Vector reads of the keyword search start on a boundary.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.Data()) % ViewBuffer::kAlignment, 0u);
    const long before = MessageFile::OpenCount();
    ASSERT_TRUE(LoadTextBuffer(dir / "A.TXT", Plain(), buffer));
    EXPECT_EQ(buffer.Bytes(), text);
    EXPECT_FALSE(LoadTextBuffer(dir / "MISSING.TXT", Plain(), buffer));
    // Failed opens count too: the count is of attempts.
    EXPECT_EQ(MessageFile::OpenCount(), before + 2);
    EXPECT_EQ(MessageFile(dir / "A.TXT").Size(), 5000);
    EXPECT_EQ(MessageFile(dir / "MISSING.TXT").Size(), 0);
}

TEST(LoadTextBuffer, TextEndsAtTheFirstNulButBytesKeepTheRest) {
    TempDir dir;
    WriteFile(dir / "N.TXT", std::string("ab\0cd", 5));
    ViewBuffer buffer;
    ASSERT_TRUE(LoadTextBuffer(dir / "N.TXT", Plain(), buffer));
    EXPECT_EQ(buffer.Length(), 5u);
    EXPECT_EQ(buffer.Text(), "ab");
    EXPECT_EQ(buffer.Bytes(), std::string_view("ab\0cd", 5));
}

TEST(LoadTextBuffer, ConvertsDosText) {
    TempDir dir;
    WriteFile(dir / "D.TXT", "\x8F\xA0\xE0");
    ViewBuffer buffer;
    ASSERT_TRUE(LoadTextBuffer(dir / "D.TXT", Dos(), buffer));
    EXPECT_EQ(buffer.Text(), "\xCF\xE0\xF0");
}

TEST(LoadTextBuffer, FailureIsReportedAndKeepsThePreviousText) {
    TempDir dir;
    WriteFile(dir / "OK.TXT", "previous message");
    testing_support::MakeDirs(dir / "DIR.TXT");
    ASSERT_EQ(mkfifo((dir / "PIPE.TXT").c_str(), 0600), 0);
    ASSERT_EQ(symlink((dir / "OK.TXT").c_str(), (dir / "LINK.TXT").c_str()), 0);
    ViewBuffer buffer;
    ASSERT_TRUE(LoadTextBuffer(dir / "OK.TXT", Plain(), buffer));

    TextLoadResult r = LoadTextBuffer(dir / "MISSING.TXT", Plain(), buffer);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, ENOENT);
    for (const char* name : {"DIR.TXT", "PIPE.TXT", "LINK.TXT"}) {
        r = LoadTextBuffer(dir / name, Plain(), buffer);
        EXPECT_FALSE(r) << name;
        EXPECT_NE(r.error, 0) << name;
    }
    EXPECT_EQ(buffer.Text(), "previous message");
}

} // namespace
} // namespace varnot
