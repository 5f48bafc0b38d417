#pragma once

#include <string>
#include <string_view>

namespace varnot {

// The program's own folder (with a trailing "/") and its settings file: the
// executable's name up to its first dot, then ".INI", beside it.
struct ProgramPaths {
    std::string folder;
    std::string settingsFile;
};

ProgramPaths ProgramPathsFor(std::string_view executablePath);

// Fixed once at start-up (tests point them at a temporary folder).
void SetProgramPaths(ProgramPaths paths);
const std::string& ProgramFolder();
const std::string& SettingsFile();

} // namespace varnot
