#pragma once

#include "archive_gen/archive_generator.h"

#include <optional>
#include <string>
#include <vector>

namespace varnot::gen {

// The viewer's window size in pixels, as Frame/W and Frame/H store it.
struct WindowSize {
    int width = 0;
    int height = 0;
};

// What one run of varnot-gen does: generate an archive, write settings for
// the viewer (point it at a folder, size its window), or both (generation first).
struct CommandLine {
    bool help = false;
    bool version = false;
    bool generate = false;
    GeneratorOptions options;
    std::string settingsFile;
    std::string setPath;
    std::optional<WindowSize> window;
};

struct ParsedCommandLine {
    bool ok = false;
    std::string error; // one line, when not ok
    CommandLine command;
};

// The arguments after the program name, read left to right; --help and
// --version answer at once.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

} // namespace varnot::gen
