#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace varnot::gen {

struct Date {
    int year = 0, month = 0, day = 0;
};

// Day folders must read back as day names, whose two-digit years cover 1995..2094.
constexpr int kFirstArchiveYear = 1995;
constexpr int kLastArchiveYear = 2094;

struct GeneratorOptions {
    std::string outDir;       // the archive root; made when missing
    int days = 1;             // consecutive day folders, the last one `end`
    int perDay = 1;           // text messages (".TXT") in every day folder
    int nonTextPerDay = 0;    // further files per day: ".DAT", ".BIN", ".DOC"
    uint64_t seed = 1;        // same seed, same archive
    std::optional<Date> end;  // the newest day; none: today
    bool dos = false;         // texts in code page 866
    bool zev = false;         // sectioned files (head, datetime, body)
    double largeShare = 0.02; // share of text messages larger than 32767 bytes
    // Keyword control for benchmarks of filter matching: a share of the text
    // messages (`plantShare`, 0..1) holds one of these words (1251 bytes, one
    // picked per message, always within the first 32767 bytes); every other file
    // holds none of them, letter case ignored.
    std::vector<std::string> plantKeywords;
    double plantShare = 0;
    std::time_t now = 0;       // the present moment; 0: the clock. Nothing is dated after it
                               // in today's folder.
    bool keepManifest = false; // fill GeneratorResult::manifest
};

struct GeneratedFile {
    std::string dayFolder; // "yy_mm_dd"
    std::string name;      // "A1234567.TXT"
    std::time_t mtime = 0;
    std::size_t size = 0;
    bool text = false;
    bool planted = false;
};

struct GeneratorResult {
    bool ok = false;
    std::string error; // one line, when not ok
    int dayFolders = 0;
    std::size_t files = 0;
    uint64_t bytes = 0;
    std::size_t plantedFiles = 0;
    std::vector<GeneratedFile> manifest; // only with keepManifest, in writing order
};

// Writes the archive. The folders and files are the same for the same seed and
// day (a day's contents depend only on the seed and its date, not on how many
// days are made); the times in today's folder are spread only up to `now`.
// Existing files of the same names are overwritten; other files are left alone.
GeneratorResult GenerateArchive(const GeneratorOptions& options);

// "yy_mm_dd" of a date.
std::string DayFolderName(const Date& date);
// The date `delta` days after (negative: before) the given one.
Date AddDays(const Date& date, int delta);
// Today's local date at `now` (0: the clock).
Date LocalDate(std::time_t now);

} // namespace varnot::gen
