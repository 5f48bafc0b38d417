#pragma once

#include "archive_gen/archive_generator.h"

#include <string>
#include <vector>

namespace varnot::gen {

// What one run of varnot-gen does: generate an archive, point a settings file
// at a folder, or both (generation first).
struct CommandLine {
    bool help = false;
    bool generate = false;
    GeneratorOptions options;
    std::string settingsFile;
    std::string setPath;
};

struct ParsedCommandLine {
    bool ok = false;
    std::string error; // one line, when not ok
    CommandLine command;
};

// The arguments after the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

} // namespace varnot::gen
