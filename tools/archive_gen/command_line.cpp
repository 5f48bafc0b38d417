#include "archive_gen/command_line.h"

#include "core/text/code_pages.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace varnot::gen {

namespace {

template <typename T> std::optional<T> ParseNumber(std::string_view text, T low, T high) {
    T value{};
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

// "yyyy-mm-dd" of a real date.
std::optional<Date> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto year = ParseNumber<int>(text.substr(0, 4), 0, 9999);
    auto month = ParseNumber<int>(text.substr(5, 2), 1, 12);
    auto day = ParseNumber<int>(text.substr(8, 2), 1, 31);
    if (!year || !month || !day) return std::nullopt;
    Date date{*year, *month, *day};
    if (DayFolderName(AddDays(AddDays(date, 1), -1)) != DayFolderName(date))
        return std::nullopt; // 30 February and the like
    return date;
}

// "WIDTHxHEIGHT" of a window that fits on a screen.
std::optional<WindowSize> ParseWindowSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    auto width = ParseNumber<int>(text.substr(0, x), 100, 20000);
    auto height = ParseNumber<int>(text.substr(x + 1), 100, 20000);
    if (!width || !height) return std::nullopt;
    return WindowSize{*width, *height};
}

} // namespace

std::string UsageText() {
    return "usage: varnot-gen --out DIR --days N --per-day M [--seed S]\n"
           "                  [--end-today | --end yyyy-mm-dd] [--dos] [--zev] [--non-text K]\n"
           "                  [--plant WORD]... [--plant-percent P]\n"
           "       varnot-gen --settings FILE [--set-path DIR] [--window WIDTHxHEIGHT]\n"
           "       varnot-gen --help | --version\n"
           "Writes N day folders \"yy_mm_dd\" of M messages each (plus K files of other\n"
           "types), ending today or at the given date; the same seed gives the same\n"
           "archive. --dos writes code page 866, --zev sectioned files. --plant puts one\n"
           "of the words into P percent of the messages and none into the others.\n"
           "--set-path writes main/Path of the settings file, --window the size of\n"
           "the viewer's window (Frame/W and Frame/H).\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CommandLine& cmd = parsed.command;
    GeneratorOptions& o = cmd.options;
    bool haveDays = false, havePerDay = false, endToday = false, generationOption = false;
    double plantPercent = -1;

    auto fail = [&parsed](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = std::string(arg.substr(eq + 1));
            arg = arg.substr(0, eq);
        }
        auto takesValue = [&](std::string& value) {
            if (inlineValue) {
                value = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            value = args[++i];
            return true;
        };
        auto isFlag = [&](std::string_view name) { return arg == name && !inlineValue; };

        std::string value;
        if (isFlag("--help") || isFlag("-h") || isFlag("--version")) {
            cmd.help = arg != "--version";
            cmd.version = arg == "--version";
            parsed.ok = true;
            return parsed;
        } else if (isFlag("--end-today")) {
            endToday = generationOption = true;
        } else if (isFlag("--dos")) {
            o.dos = generationOption = true;
        } else if (isFlag("--zev")) {
            o.zev = generationOption = true;
        } else if (arg == "--out" || arg == "--days" || arg == "--per-day" || arg == "--seed" ||
                   arg == "--end" || arg == "--non-text" || arg == "--plant" ||
                   arg == "--plant-percent" || arg == "--settings" || arg == "--set-path" ||
                   arg == "--window") {
            if (!takesValue(value)) return fail(std::string(arg) + " needs a value");
            if (arg == "--out") {
                if (value.empty()) return fail("--out needs a folder");
                o.outDir = value;
                cmd.generate = true;
            } else if (arg == "--days") {
                auto n = ParseNumber<int>(value, 1, 100000);
                if (!n) return fail("--days needs a number 1..100000, not \"" + value + "\"");
                o.days = *n;
                haveDays = generationOption = true;
            } else if (arg == "--per-day") {
                auto n = ParseNumber<int>(value, 0, 100000);
                if (!n) return fail("--per-day needs a number 0..100000, not \"" + value + "\"");
                o.perDay = *n;
                havePerDay = generationOption = true;
            } else if (arg == "--non-text") {
                auto n = ParseNumber<int>(value, 0, 100000);
                if (!n) return fail("--non-text needs a number 0..100000, not \"" + value + "\"");
                o.nonTextPerDay = *n;
                generationOption = true;
            } else if (arg == "--seed") {
                auto n = ParseNumber<uint64_t>(value, 0, UINT64_MAX);
                if (!n) return fail("--seed needs a non-negative number, not \"" + value + "\"");
                o.seed = *n;
                generationOption = true;
            } else if (arg == "--end") {
                auto date = ParseDate(value);
                if (!date) return fail("--end needs a date yyyy-mm-dd, not \"" + value + "\"");
                o.end = *date;
                generationOption = true;
            } else if (arg == "--plant") {
                if (value.empty()) return fail("--plant needs a word");
                o.plantKeywords.push_back(Utf8ToCp1251(value));
                generationOption = true;
            } else if (arg == "--plant-percent") {
                auto p = ParseNumber<double>(value, 0.0, 100.0);
                if (!p) return fail("--plant-percent needs a number 0..100, not \"" + value + "\"");
                plantPercent = *p;
                generationOption = true;
            } else if (arg == "--settings") {
                if (value.empty()) return fail("--settings needs a file");
                cmd.settingsFile = value;
            } else if (arg == "--window") {
                cmd.window = ParseWindowSize(value);
                if (!cmd.window)
                    return fail("--window needs WIDTHxHEIGHT (100..20000), not \"" + value + "\"");
            } else {
                if (value.empty()) return fail("--set-path needs a folder");
                cmd.setPath = value;
            }
        } else if (arg.starts_with("-")) {
            return fail("unknown option " + std::string(arg));
        } else {
            return fail("unexpected argument \"" + std::string(arg) + "\"");
        }
    }

    if (endToday && o.end) return fail("use either --end-today or --end, not both");
    const bool settingsWrite = !cmd.setPath.empty() || cmd.window;
    if (cmd.settingsFile.empty() && settingsWrite)
        return fail("--set-path and --window need --settings");
    if (!cmd.settingsFile.empty() && !settingsWrite)
        return fail("--settings needs --set-path or --window");
    if (generationOption && !cmd.generate) return fail("--out is missing");
    if (cmd.generate && (!haveDays || !havePerDay))
        return fail("--days and --per-day are required");
    if (plantPercent >= 0 && o.plantKeywords.empty()) return fail("--plant-percent needs --plant");
    if (!o.plantKeywords.empty()) {
        if (plantPercent < 0) return fail("--plant needs --plant-percent");
        o.plantShare = plantPercent / 100.0;
    }
    if (!cmd.generate && cmd.settingsFile.empty()) return fail("nothing to do (try --help)");
    parsed.ok = true;
    return parsed;
}

} // namespace varnot::gen
