#include "core/archive/message_text.h"

#include "core/archive/code_pages.h"
#include "core/archive/date_time_printer.h"
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

// --- Keywords -------------------------------------------------------------

bool Scan(std::string_view text, const std::vector<std::string>& keywords) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    bool plain = ScanKeywordsPlain(bytes, text.size(), keywords);
    EXPECT_EQ(ScanKeywords(bytes, text.size(), keywords), plain) << text;
    return plain;
}

TEST(ScanKeywords, IgnoresLetterCaseOfLatinAndCyrillic) {
    const std::string privet = "\xEF\xF0\xE8\xE2\xE5\xF2";                  // привет
    const std::string upperPrivet = Upcase1251("\xCF\xD0\xC8\xC2\xC5\xD2"); // ПРИВЕТ
    EXPECT_TRUE(Scan("say " + privet + " to all", {upperPrivet}));
    EXPECT_TRUE(Scan("\xB8\xEB\xEA\xE0", {Upcase1251("\xA8\xCB\xCA\xC0")})); // ёлка / ЁЛКА
    EXPECT_TRUE(Scan("Storm Warning", {"WARNING"}));
    EXPECT_FALSE(Scan("Storm Warning", {"WARNINGS"}));
}

TEST(ScanKeywords, MatchesUpToTheVeryEndButNotPastIt) {
    EXPECT_TRUE(Scan("xyz abc", {"ABC"}));
    EXPECT_FALSE(Scan("xyz abc", {"ABCD"}));
    EXPECT_TRUE(Scan("abc", {"ABC"}));
    EXPECT_FALSE(Scan("ab", {"ABC"}));
    // The length counts, not a NUL: bytes beyond it are never looked at.
    std::string text = "abcd";
    EXPECT_FALSE(
        ScanKeywordsPlain(reinterpret_cast<const unsigned char*>(text.data()), 3, {"ABCD"}));
    EXPECT_TRUE(Scan(std::string_view("\0\0abc\0", 6), {"ABC"}));
}

TEST(ScanKeywords, AnyKeywordOfTheList) {
    EXPECT_TRUE(Scan("weather report", {"STORM", "REPORT"}));
    EXPECT_FALSE(Scan("weather report", {"STORM", "FLOOD"}));
    EXPECT_FALSE(Scan("weather report", {}));
    EXPECT_FALSE(Scan("", {"A"}));
    EXPECT_FALSE(Scan("anything", {""}));
}

// --- Sections -------------------------------------------------------------

std::vector<std::string> Kept(std::vector<std::string> lines, std::string_view name = "body") {
    KeepSection(lines, name);
    return lines;
}

TEST(KeepSection, KeepsOnlyTheLinesOfTheNamedSection) {
    EXPECT_EQ(Kept({"[head]", "head=Storm", "[body]", "line one", "line two"}),
              (std::vector<std::string>{"line one", "line two"}));
    EXPECT_EQ(Kept({"[head]", "head=Storm", "[datetime]", "[body]", "text"}),
              (std::vector<std::string>{"text"}));
    EXPECT_EQ(Kept({"before", "[body]", "a", "", "b", "[head]"}),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Kept({"[body]", "a", "[head]", "h", "[BODY]", "c"}),
              (std::vector<std::string>{"a", "c"}));
}

TEST(KeepSection, HeadersAreTrimmedAndMatchedWithoutCase) {
    EXPECT_EQ(Kept({" \t[ Body ]\r", "x\r"}), (std::vector<std::string>{"x\r"}));
    EXPECT_EQ(Kept({"[body]", "[", "]", "[]", "y"}), (std::vector<std::string>{"[", "]"}));
    EXPECT_EQ(Kept({"[bodyx]", "z"}), (std::vector<std::string>{}));
    EXPECT_EQ(Kept({"no sections at all"}), (std::vector<std::string>{}));
    EXPECT_EQ(Kept({}), (std::vector<std::string>{}));
}

// --- Dates and times of sectioned files -----------------------------------

const DateTime kNow{2011, 5, 6, 7, 8, 9};

TEST(ParseZev, Dates) {
    EXPECT_EQ(ParseZevDate("31224", kNow), (DateTime{2003, 12, 24, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("991231", kNow), (DateTime{1999, 12, 31, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("891231", kNow), (DateTime{2089, 12, 31, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("900101", kNow), (DateTime{1990, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("0312251405junk", kNow), (DateTime{2003, 12, 25, 0, 0, 0}));
    EXPECT_EQ(ParseZevDate("000229", kNow), (DateTime{2000, 2, 29, 0, 0, 0}));
}

TEST(ParseZev, ImpossibleOrGarbageDatesGiveNow) {
    for (std::string_view bad : {"", "031301", "030230", "031200", "010229", "abc", "-5", "-31224",
                                 "03 225", "+31224", "0x1234", "\xFF\xFE"})
        EXPECT_EQ(ParseZevDate(bad, kNow), kNow) << bad;
    EXPECT_EQ(ParseZevDate(std::string(100000, '9'), kNow), kNow); // month 99
    EXPECT_EQ(ParseZevDate(std::string_view("03\0"
                                            "1225",
                                            7),
                           kNow),
              kNow);
}

TEST(ParseZev, Times) {
    EXPECT_EQ(ParseZevTime("905", kNow).hour, 9);
    EXPECT_EQ(ParseZevTime("905", kNow).minute, 5);
    EXPECT_EQ(ParseZevTime("905", kNow).second, 0);
    EXPECT_EQ(FormatDateTime(ParseZevTime("2359", kNow), "hh:nn:ss"), "23:59:00");
    EXPECT_EQ(FormatDateTime(ParseZevTime("", kNow), "hh:nn"), "00:00");
    EXPECT_EQ(FormatDateTime(ParseZevTime("5", kNow), "hh:nn"), "00:05");
    EXPECT_EQ(FormatDateTime(ParseZevTime("140599", kNow), "hh:nn"), "14:05");
}

TEST(ParseZev, ImpossibleOrGarbageTimesGiveNow) {
    for (std::string_view bad : {"2400", "0960", "9999", "ab", "-905", "9 5", "12:30", "\x01"})
        EXPECT_EQ(ParseZevTime(bad, kNow), kNow) << bad;
    EXPECT_EQ(ParseZevTime(std::string(100000, '-'), kNow), kNow);
}

} // namespace
} // namespace varnot
