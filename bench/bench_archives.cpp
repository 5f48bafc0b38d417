#include "bench_archives.h"

#include "archive_gen/archive_generator.h"
#include "core/text/code_pages.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace varnot::bench {

namespace {

// Raised whenever the generator's output or these descriptions change, so
// that an old folder is never taken for a new one.
constexpr int kDataVersion = 1;

// The newest day of every benchmark archive, and a present moment after it.
constexpr gen::Date kEndDay{2003, 12, 25};

std::time_t PresentMoment() {
    std::tm t{};
    t.tm_year = 2004 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 10;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::string ReadMarker(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

const std::vector<std::string>& GroupKeywords() {
    static const std::vector<std::string> keywords = [] {
        std::vector<std::string> words;
        for (const char* utf8 : {"землетрясение", "Наводнение", "ТЕРАКТ", "взрыв", "заложники",
                                 "эвакуация", "Катастрофа", "крушение", "цунами", "Earthquake",
                                 "explosion", "HOSTAGES", "evacuation"})
            words.push_back(Utf8ToCp1251(utf8));
        return words;
    }();
    return keywords;
}

std::string ArchiveKey(const ArchivePlan& plan) {
    std::ostringstream key;
    key << plan.label << "-v" << kDataVersion << "-d" << plan.days << "-p" << plan.perDay << "-s"
        << plan.seed << "-k" << plan.plantKeywords.size() << "-pl"
        << static_cast<int>(plan.plantShare * 10000 + 0.5);
    return key.str();
}

std::string PrepareArchive(const std::string& dataFolder, const ArchivePlan& plan,
                           std::string& error) {
    namespace fs = std::filesystem;
    const std::string folder = dataFolder + "/" + ArchiveKey(plan);
    const std::string root = folder + "/archive/";
    const std::string marker = folder + "/complete";
    const std::string expected = std::to_string(static_cast<long long>(plan.days) * plan.perDay);
    if (ReadMarker(marker) == expected) return root;

    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(root, ec);
    if (ec) {
        error = "cannot make " + root + ": " + ec.message();
        return {};
    }
    std::fprintf(stderr, "generating %s (%d days x %d files)...\n", folder.c_str(), plan.days,
                 plan.perDay);
    gen::GeneratorOptions options;
    options.outDir = root;
    options.days = plan.days;
    options.perDay = plan.perDay;
    options.seed = plan.seed;
    options.end = kEndDay;
    options.now = PresentMoment();
    options.plantKeywords = plan.plantKeywords;
    options.plantShare = plan.plantShare;
    const gen::GeneratorResult result = gen::GenerateArchive(options);
    if (!result.ok) {
        error = "generating " + root + " failed: " + result.error;
        return {};
    }
    if (std::to_string(result.files) != expected) {
        error = "generating " + root + " made " + std::to_string(result.files) + " files";
        return {};
    }
    // Written last: a run cut short leaves no marker and is generated again.
    std::ofstream(marker) << expected << "\n";
    return root;
}

} // namespace varnot::bench
