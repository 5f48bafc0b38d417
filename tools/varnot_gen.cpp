// varnot-gen: writes a realistic message archive for demonstrations, tests and
// benchmarks, and points the viewer's settings file at it.
#include "archive_gen/archive_generator.h"
#include "archive_gen/command_line.h"
#include "archive_gen/settings_path.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace varnot::gen;
    std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "varnot-gen: %s\n%s", parsed.error.c_str(), UsageText().c_str());
        return 2;
    }
    const CommandLine& cmd = parsed.command;
    if (cmd.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (cmd.version) {
        std::puts("varnot-gen " VARNOT_VERSION);
        return 0;
    }
    if (cmd.generate) {
        GeneratorResult result = GenerateArchive(cmd.options);
        if (!result.ok) {
            std::fprintf(stderr, "varnot-gen: %s\n", result.error.c_str());
            return 1;
        }
        std::printf("varnot-gen: %zu files (%llu bytes) in %d day folders below %s\n", result.files,
                    static_cast<unsigned long long>(result.bytes), result.dayFolders,
                    cmd.options.outDir.c_str());
    }
    std::string error;
    if (!cmd.setPath.empty() && !SetArchivePath(cmd.settingsFile, cmd.setPath, error)) {
        std::fprintf(stderr, "varnot-gen: %s\n", error.c_str());
        return 1;
    }
    if (cmd.window &&
        !SetWindowSize(cmd.settingsFile, cmd.window->width, cmd.window->height, error)) {
        std::fprintf(stderr, "varnot-gen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
