#include "archive_gen/archive_generator.h"

#include "archive_gen/file_names.h"
#include "archive_gen/message_composer.h"
#include "archive_gen/prng.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace varnot::gen {

namespace {

constexpr int kMaxDays = 100000;
constexpr int kMaxFilesPerDay = 100000; // the name space of one prefix would run short beyond

bool IsRealDate(const Date& d) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12 || d.day < 1) return false;
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    int last = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= last;
}

bool SameDate(const Date& a, const Date& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::time_t LocalMidnight(const Date& d) {
    std::tm t{};
    t.tm_year = d.year - 1900;
    t.tm_mon = d.month - 1;
    t.tm_mday = d.day;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::string ErrnoText() {
    return std::strerror(errno);
}

// Sizes of news feeds: mostly short items, some long reports, and a few that
// exceed what the viewer shows (32767 bytes).
std::size_t PickTextSize(Prng& rng, uint32_t largePerMillion) {
    uint32_t kind = rng.Below(1000000);
    uint32_t a = rng.Below(16000);
    uint64_t u = rng.Below(4096);
    if (kind < largePerMillion) return 32768 + a;
    if (kind % 1000 < 80) return 4000 + (a * 3) / 4;
    return 250 + static_cast<std::size_t>((u * u * u * 4000) >> 36);
}

void FillBinary(Prng& rng, std::string_view extension, std::string& out) {
    out.clear();
    if (extension == "DOC") out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    std::size_t size = 200 + rng.Below(8000);
    while (out.size() < size) {
        uint64_t bits = rng.Next();
        for (int i = 0; i < 8 && out.size() < size; ++i, bits >>= 8)
            out.push_back(static_cast<char>(bits & 0xFF));
    }
}

bool WriteAll(int fd, const std::string& data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

uint32_t PerMillion(double share) {
    if (!(share > 0)) return 0;
    if (share >= 1) return 1000000;
    return static_cast<uint32_t>(std::llround(share * 1000000.0));
}

std::string Validate(const GeneratorOptions& o, const Date& end) {
    if (o.outDir.empty()) return "no output folder given";
    if (o.days < 1 || o.days > kMaxDays)
        return "the number of days must be 1.." + std::to_string(kMaxDays);
    if (o.perDay < 0 || o.perDay > kMaxFilesPerDay || o.nonTextPerDay < 0 ||
        o.nonTextPerDay > kMaxFilesPerDay)
        return "the number of files per day must be 0.." + std::to_string(kMaxFilesPerDay);
    if (!IsRealDate(end)) return "the end date is not a real date";
    Date first = AddDays(end, -(o.days - 1));
    if (first.year < kFirstArchiveYear || end.year > kLastArchiveYear)
        return "day folders must lie within " + std::to_string(kFirstArchiveYear) + ".." +
               std::to_string(kLastArchiveYear);
    if (!(o.largeShare >= 0 && o.largeShare <= 1) || !(o.plantShare >= 0 && o.plantShare <= 1))
        return "shares must lie within 0..1";
    for (const std::string& k : o.plantKeywords)
        if (k.empty()) return "a keyword to plant is empty";
    return {};
}

// Writes one day folder; false with `error` set when the disk refused.
class DayWriter {
  public:
    DayWriter(const GeneratorOptions& o, GeneratorResult& result) : o_(o), result_(result) {
        buffer_.reserve(64 * 1024);
        names_.reserve(static_cast<std::size_t>(o.perDay + o.nonTextPerDay) * 2);
        largePerMillion_ = PerMillion(o.largeShare);
        plantPerMillion_ = o.plantKeywords.empty() ? 0 : PerMillion(o.plantShare);
    }

    bool Write(const std::string& root, const Date& date, std::time_t now, const Date& today) {
        std::string folder = DayFolderName(date);
        std::string path = root + folder;
        if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            return Fail("cannot create folder " + path + ": " + ErrnoText());
        int dir = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) return Fail("cannot open folder " + path + ": " + ErrnoText());
        ++result_.dayFolders;

        std::time_t start = LocalMidnight(date);
        std::time_t span = LocalMidnight(AddDays(date, 1)) - start;
        if (SameDate(date, today)) span = std::min(span, now - start + 1);
        if (span < 1) span = 1;

        Prng day(MixSeed(o_.seed,
                         static_cast<uint64_t>(date.year * 10000 + date.month * 100 + date.day)));
        names_.clear();
        bool ok = true;
        int total = o_.perDay + o_.nonTextPerDay;
        for (int i = 0; i < total && ok; ++i)
            ok = WriteFile(dir, folder, day, i < o_.perDay, start, span);
        ::close(dir);
        return ok;
    }

  private:
    bool Fail(std::string message) {
        result_.error = std::move(message);
        return false;
    }

    bool WriteFile(int dir, const std::string& folder, Prng& day, bool text, std::time_t start,
                   std::time_t span) {
        static constexpr std::array<std::string_view, 3> kOther = {"DAT", "BIN", "DOC"};
        std::string_view extension = text ? "TXT" : kOther[day.Below(kOther.size())];
        do {
            MakeMessageName(day, extension, name_);
        } while (!names_.insert(name_).second);

        std::time_t mtime =
            start + static_cast<std::time_t>(day.Next() % static_cast<uint64_t>(span));
        uint64_t contentSeed = day.Next();
        std::size_t size = PickTextSize(day, largePerMillion_);
        bool planted = day.Below(1000000) < plantPerMillion_;
        uint32_t keyword = day.Below(
            o_.plantKeywords.empty() ? 1 : static_cast<uint32_t>(o_.plantKeywords.size()));

        if (text) {
            std::tm local{};
            localtime_r(&mtime, &local);
            MessagePlan plan;
            plan.seed = contentSeed;
            plan.targetSize = size;
            plan.time = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min};
            plan.zev = o_.zev;
            plan.dos = o_.dos;
            if (planted)
                plan.plant = &o_.plantKeywords[keyword];
            else if (!o_.plantKeywords.empty())
                plan.avoid = &o_.plantKeywords;
            ComposeMessage(plan, buffer_);
        } else {
            Prng content(contentSeed);
            FillBinary(content, extension, buffer_);
            planted = false;
        }

        int fd = ::openat(dir, name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return Fail("cannot write " + folder + "/" + name_ + ": " + ErrnoText());
        bool written = WriteAll(fd, buffer_);
        int writeErrno = errno;
        if (::close(fd) != 0 && written) {
            written = false;
            writeErrno = errno;
        }
        if (!written) {
            errno = writeErrno;
            return Fail("cannot write " + folder + "/" + name_ + ": " + ErrnoText());
        }
        // Set after closing: nothing may touch the file afterwards.
        timespec times[2] = {{mtime, 0}, {mtime, 0}};
        if (::utimensat(dir, name_.c_str(), times, 0) != 0)
            return Fail("cannot set the time of " + folder + "/" + name_ + ": " + ErrnoText());

        ++result_.files;
        result_.bytes += buffer_.size();
        if (planted) ++result_.plantedFiles;
        if (o_.keepManifest)
            result_.manifest.push_back({folder, name_, mtime, buffer_.size(), text, planted});
        return true;
    }

    const GeneratorOptions& o_;
    GeneratorResult& result_;
    std::string buffer_;
    std::string name_;
    std::unordered_set<std::string> names_;
    uint32_t largePerMillion_ = 0;
    uint32_t plantPerMillion_ = 0;
};

} // namespace

std::string DayFolderName(const Date& date) {
    std::string s(8, '_');
    auto two = [&s](std::size_t at, int v) {
        s[at] = static_cast<char>('0' + (v / 10) % 10);
        s[at + 1] = static_cast<char>('0' + v % 10);
    };
    two(0, date.year % 100);
    two(3, date.month);
    two(6, date.day);
    return s;
}

Date AddDays(const Date& date, int delta) {
    // Noon keeps daylight-saving changes from moving the result to another day.
    std::tm t{};
    t.tm_year = date.year - 1900;
    t.tm_mon = date.month - 1;
    t.tm_mday = date.day + delta;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    std::mktime(&t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

Date LocalDate(std::time_t now) {
    if (now == 0) now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

GeneratorResult GenerateArchive(const GeneratorOptions& options) {
    GeneratorResult result;
    std::time_t now = options.now != 0 ? options.now : std::time(nullptr);
    Date today = LocalDate(now);
    Date end = options.end.value_or(today);
    result.error = Validate(options, end);
    if (!result.error.empty()) return result;

    std::error_code made;
    std::filesystem::create_directories(options.outDir, made);
    std::error_code ec;
    if (!std::filesystem::is_directory(options.outDir, ec)) {
        result.error = "cannot create folder " + options.outDir;
        if (made) result.error += ": " + made.message();
        return result;
    }
    std::string root = options.outDir;
    if (root.back() != '/') root.push_back('/');

    DayWriter writer(options, result);
    for (int i = options.days - 1; i >= 0; --i)
        if (!writer.Write(root, AddDays(end, -i), now, today)) return result;
    result.ok = true;
    return result;
}

} // namespace varnot::gen
