#include "archive_gen/archive_generator.h"
#include "core/text/code_pages.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace {

using namespace varnot::gen;
using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::TempDir;

struct FileOnDisk {
    std::string bytes;
    std::time_t mtime = 0;
    bool operator==(const FileOnDisk&) const = default;
};

// "yy_mm_dd/NAME" -> contents and time of every file below the root.
std::map<std::string, FileOnDisk> ReadArchive(const std::string& root) {
    std::map<std::string, FileOnDisk> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        struct stat st {};
        stat(entry.path().c_str(), &st);
        std::string relative = entry.path().lexically_relative(root).string();
        files[relative] = {ReadFile(entry.path().string()), st.st_mtime};
    }
    return files;
}

std::vector<std::string> DayFolders(const std::string& root) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

GeneratorOptions Options(const std::string& out, int days, int perDay) {
    GeneratorOptions o;
    o.outDir = out;
    o.days = days;
    o.perDay = perDay;
    o.seed = 42;
    o.end = Date{2003, 12, 25};
    return o;
}

std::string Cyrillic866To1251(std::string bytes) {
    for (char& ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0xAF)
            c = static_cast<unsigned char>(c + 0x40);
        else if (c >= 0xE0 && c <= 0xEF)
            c = static_cast<unsigned char>(c + 0x10);
        else if (c == 0xF0)
            c = 0xA8;
        else if (c == 0xF1)
            c = 0xB8;
        else if (c == 0xFC)
            c = 0xB9;
        ch = static_cast<char>(c);
    }
    return bytes;
}

TEST(ArchiveGenerator, SameSeedGivesTheSameFilesBytesAndTimes) {
    TempDir a, b, c;
    GeneratorOptions o = Options(a.path(), 3, 40);
    o.nonTextPerDay = 3;
    ASSERT_TRUE(GenerateArchive(o).ok);
    o.outDir = b.path();
    ASSERT_TRUE(GenerateArchive(o).ok);
    auto first = ReadArchive(a.path());
    EXPECT_EQ(first.size(), 3u * 43u);
    EXPECT_EQ(first, ReadArchive(b.path()));

    o.outDir = c.path();
    o.seed = 43;
    ASSERT_TRUE(GenerateArchive(o).ok);
    EXPECT_NE(first, ReadArchive(c.path()));
}

TEST(ArchiveGenerator, ADaysContentsDependOnlyOnSeedAndDate) {
    TempDir shortRun, longRun;
    ASSERT_TRUE(GenerateArchive(Options(shortRun.path(), 2, 20)).ok);
    ASSERT_TRUE(GenerateArchive(Options(longRun.path(), 5, 20)).ok);
    auto few = ReadArchive(shortRun.path());
    auto many = ReadArchive(longRun.path());
    EXPECT_EQ(many.size(), 100u);
    for (const auto& [name, file] : few) {
        ASSERT_TRUE(many.count(name)) << name;
        EXPECT_EQ(file, many[name]) << name;
    }
}

TEST(ArchiveGenerator, WritesConsecutiveDayFoldersEndingAtTheEndDate) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 4, 5);
    o.end = Date{2004, 3, 1}; // across a leap day
    o.nonTextPerDay = 2;
    GeneratorResult result = GenerateArchive(o);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.dayFolders, 4);
    EXPECT_EQ(result.files, 28u);
    EXPECT_EQ(DayFolders(dir.path()),
              (std::vector<std::string>{"04_02_27", "04_02_28", "04_02_29", "04_03_01"}));

    for (const std::string& day : DayFolders(dir.path())) {
        int texts = 0, others = 0;
        std::time_t start = LocalTime(2000 + std::stoi(day.substr(0, 2)),
                                      std::stoi(day.substr(3, 2)), std::stoi(day.substr(6, 2)));
        for (const auto& entry : std::filesystem::directory_iterator(dir / day)) {
            std::string name = entry.path().filename().string();
            ASSERT_EQ(name.size(), 12u) << name;
            EXPECT_EQ(name[8], '.');
            for (char ch : name) EXPECT_FALSE(ch >= 'a' && ch <= 'z') << name;
            std::string ext = name.substr(9);
            if (ext == "TXT")
                ++texts;
            else {
                EXPECT_TRUE(ext == "DAT" || ext == "BIN" || ext == "DOC") << name;
                ++others;
            }
            struct stat st {};
            ASSERT_EQ(stat(entry.path().c_str(), &st), 0);
            EXPECT_GE(st.st_mtime, start) << day << "/" << name;
            EXPECT_LT(st.st_mtime, start + 25 * 3600) << day << "/" << name;
        }
        EXPECT_EQ(texts, 5) << day;
        EXPECT_EQ(others, 2) << day;
    }
}

TEST(ArchiveGenerator, FolderNamesCoverTheTurnOfTheCentury) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 2, 1);
    o.end = Date{2000, 1, 1};
    ASSERT_TRUE(GenerateArchive(o).ok);
    EXPECT_EQ(DayFolders(dir.path()), (std::vector<std::string>{"00_01_01", "99_12_31"}));
}

TEST(ArchiveGenerator, SizesRangeFromShortItemsToBeyondTheViewBuffer) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 2, 200);
    o.keepManifest = true;
    GeneratorResult result = GenerateArchive(o);
    ASSERT_TRUE(result.ok);
    std::size_t smallest = SIZE_MAX, large = 0;
    for (const GeneratedFile& f : result.manifest) {
        smallest = std::min(smallest, f.size);
        if (f.size > 32767) ++large;
    }
    EXPECT_LT(smallest, 1000u);
    EXPECT_GE(smallest, 200u);
    EXPECT_GE(large, 1u);
    EXPECT_LE(large, 40u); // a few percent, not a tenth
    EXPECT_EQ(result.bytes, [&] {
        uint64_t sum = 0;
        for (const auto& [name, file] : ReadArchive(dir.path())) sum += file.bytes.size();
        return sum;
    }());
}

TEST(ArchiveGenerator, TodaysFilesAreNeverInTheFuture) {
    TempDir fixed, clock;
    GeneratorOptions o = Options(fixed.path(), 2, 100);
    o.end.reset();
    o.now = LocalTime(2005, 6, 10, 0, 20, 0); // twenty minutes into the day
    ASSERT_TRUE(GenerateArchive(o).ok);
    EXPECT_EQ(DayFolders(fixed.path()), (std::vector<std::string>{"05_06_09", "05_06_10"}));
    for (const auto& [name, file] : ReadArchive(fixed.path())) {
        if (name.starts_with("05_06_10")) {
            EXPECT_LE(file.mtime, o.now) << name;
            EXPECT_GE(file.mtime, LocalTime(2005, 6, 10)) << name;
        }
    }

    GeneratorOptions real = Options(clock.path(), 1, 100);
    real.end.reset();
    ASSERT_TRUE(GenerateArchive(real).ok);
    std::time_t after = std::time(nullptr);
    for (const auto& [name, file] : ReadArchive(clock.path())) EXPECT_LE(file.mtime, after) << name;
}

TEST(ArchiveGenerator, TextIsCrLfCaptionedAndVaried) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 1, 300);
    ASSERT_TRUE(GenerateArchive(o).ok);
    int emptyFirstLine = 0, indentedLines = 0, zczc = 0, cyrillic = 0;
    for (const auto& [name, file] : ReadArchive(dir.path())) {
        const std::string& t = file.bytes;
        for (std::size_t i = 0; i < t.size(); ++i) {
            bool lineEnd = t[i] == '\n' || t[i] == '\r';
            bool crLf =
                t[i] == '\n' ? (i > 0 && t[i - 1] == '\r') : (i + 1 < t.size() && t[i + 1] == '\n');
            ASSERT_TRUE(!lineEnd || crLf) << name << " at " << i;
            ASSERT_NE(t[i], '\0') << name;
        }
        ASSERT_TRUE(t.ends_with("\r\n")) << name;
        if (t.starts_with("\r\n") || t.starts_with(" ")) ++emptyFirstLine;
        if (t.find("\r\n ") != std::string::npos) ++indentedLines;
        if (t.find("ZCZC ") != std::string::npos) ++zczc;
        if (std::any_of(t.begin(), t.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0xC0; }))
            ++cyrillic;
    }
    EXPECT_GT(emptyFirstLine, 0);
    EXPECT_LT(emptyFirstLine, 60);
    EXPECT_GT(indentedLines, 150);
    EXPECT_GT(zczc, 100);
    EXPECT_GT(cyrillic, 200);
}

TEST(ArchiveGenerator, DosTextIsTheSameMessageInCodePage866) {
    TempDir plain, dos;
    GeneratorOptions o = Options(plain.path(), 1, 60);
    ASSERT_TRUE(GenerateArchive(o).ok);
    o.outDir = dos.path();
    o.dos = true;
    ASSERT_TRUE(GenerateArchive(o).ok);
    auto windows = ReadArchive(plain.path());
    auto oem = ReadArchive(dos.path());
    ASSERT_EQ(windows.size(), oem.size());
    for (const auto& [name, file] : oem) {
        // 866 has box-drawing pieces where 1251 has its capital letters.
        for (char ch : file.bytes) {
            auto c = static_cast<unsigned char>(ch);
            ASSERT_FALSE(c >= 0xB0 && c <= 0xDF) << name;
        }
        EXPECT_EQ(Cyrillic866To1251(file.bytes), windows[name].bytes) << name;
        EXPECT_EQ(file.mtime, windows[name].mtime) << name;
    }
}

TEST(ArchiveGenerator, ZevFilesHaveHeadDatetimeAndBodySections) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 2, 30);
    ASSERT_TRUE(GenerateArchive(o).ok);
    o.zev = true;
    ASSERT_TRUE(GenerateArchive(o).ok); // the same names, overwritten
    for (const auto& [name, file] : ReadArchive(dir.path())) {
        const std::string& t = file.bytes;
        ASSERT_TRUE(t.starts_with("[head]\r\nhead=")) << name;
        std::size_t dt = t.find("\r\n[datetime]\r\nDate=");
        ASSERT_NE(dt, std::string::npos) << name;
        EXPECT_GT(dt, 13u) << name << ": empty brief";
        std::tm local{};
        localtime_r(&file.mtime, &local);
        char expected[64];
        std::snprintf(expected, sizeof expected, "Date=%02d%02d%02d\r\nTime=%02d%02d\r\n[body]\r\n",
                      local.tm_year % 100, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min);
        EXPECT_EQ(t.substr(dt + 14, std::strlen(expected)), expected) << name;
        EXPECT_GT(t.size(), dt + 14 + std::strlen(expected) + 100) << name << ": no body";
    }
}

TEST(ArchiveGenerator, PlantedKeywordsAppearInTheChosenShareOnly) {
    TempDir dir;
    GeneratorOptions o = Options(dir.path(), 2, 150);
    o.keepManifest = true;
    o.nonTextPerDay = 2;
    // A word of the vocabulary too: it must vanish from the other messages.
    o.plantKeywords = {varnot::Utf8ToCp1251("ЖЁЛУДЬ"), varnot::Utf8ToCp1251("правительство"),
                       "Quuxword"};
    o.plantShare = 0.1;
    GeneratorResult result = GenerateArchive(o);
    ASSERT_TRUE(result.ok);
    EXPECT_GE(result.plantedFiles, 15u);
    EXPECT_LE(result.plantedFiles, 50u);

    std::size_t planted = 0;
    for (const GeneratedFile& f : result.manifest) {
        if (!f.text) continue;
        std::string bytes = ReadFile(dir / (f.dayFolder + "/" + f.name));
        std::string searched = bytes.substr(0, 32767);
        auto holds = [&](const std::string& k, const std::string& text) {
            std::string upper = k, hay = text;
            for (char& ch : upper)
                ch = static_cast<char>(varnot::Upcase1251(static_cast<unsigned char>(ch)));
            for (char& ch : hay)
                ch = static_cast<char>(varnot::Upcase1251(static_cast<unsigned char>(ch)));
            return hay.find(upper) != std::string::npos;
        };
        bool inViewed = std::any_of(o.plantKeywords.begin(), o.plantKeywords.end(),
                                    [&](const std::string& k) { return holds(k, searched); });
        bool anywhere = std::any_of(o.plantKeywords.begin(), o.plantKeywords.end(),
                                    [&](const std::string& k) { return holds(k, bytes); });
        if (f.planted) {
            ++planted;
            EXPECT_TRUE(inViewed) << f.name;
        } else {
            EXPECT_FALSE(anywhere) << f.name;
        }
    }
    EXPECT_EQ(planted, result.plantedFiles);
}

TEST(ArchiveGenerator, RefusesBadOptionsAndUnwritableFolders) {
    TempDir dir;
    testing_support::WriteFile(dir / "plain-file", "x");
    GeneratorOptions o = Options(dir / "plain-file/archive", 1, 1);
    GeneratorResult blocked = GenerateArchive(o);
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.error.find("plain-file"), std::string::npos) << blocked.error;

    o.outDir = dir / "archive";
    o.days = 0;
    EXPECT_FALSE(GenerateArchive(o).ok);
    o.days = 2;
    o.end = Date{1995, 1, 1}; // the day before would read back as 2094
    EXPECT_FALSE(GenerateArchive(o).ok);
    o.end = Date{2003, 2, 30};
    EXPECT_FALSE(GenerateArchive(o).ok);
    o.end = Date{2003, 2, 28};
    o.plantKeywords = {""};
    o.plantShare = 0.5;
    EXPECT_FALSE(GenerateArchive(o).ok);
    EXPECT_FALSE(testing_support::Exists(dir / "archive/03_02_28"));
}

TEST(ArchiveGenerator, DayHelpers) {
    EXPECT_EQ(DayFolderName({1999, 12, 31}), "99_12_31");
    EXPECT_EQ(DayFolderName({2003, 1, 5}), "03_01_05");
    Date d = AddDays({2003, 12, 31}, 1);
    EXPECT_EQ(DayFolderName(d), "04_01_01");
    d = AddDays({2004, 3, 1}, -1);
    EXPECT_EQ(DayFolderName(d), "04_02_29");
}

} // namespace
