#include "core/app/program_paths.h"

#include <utility>

namespace varnot {

namespace {
ProgramPaths& CurrentPaths() {
    static ProgramPaths paths;
    return paths;
}
} // namespace

ProgramPaths ProgramPathsFor(std::string_view executablePath) {
    ProgramPaths paths;
    const std::size_t slash = executablePath.rfind('/');
    std::string_view fileName = executablePath;
    if (slash == std::string_view::npos) {
        // A bare name runs from the current folder.
        paths.folder = "./";
    } else {
        paths.folder = std::string(executablePath.substr(0, slash + 1));
        fileName = executablePath.substr(slash + 1);
    }
    const std::size_t dot = fileName.find('.');
    if (dot != std::string_view::npos) fileName = fileName.substr(0, dot);
    paths.settingsFile = paths.folder + std::string(fileName) + ".INI";
    return paths;
}

void SetProgramPaths(ProgramPaths paths) {
    CurrentPaths() = std::move(paths);
}

const std::string& ProgramFolder() {
    return CurrentPaths().folder;
}

const std::string& SettingsFile() {
    return CurrentPaths().settingsFile;
}

} // namespace varnot
