#include "core/app/program_paths.h"

#include <cerrno>
#include <sys/stat.h>
#include <utility>

namespace varnot {

namespace {

ProgramPaths& CurrentPaths() {
    static ProgramPaths paths;
    return paths;
}

// The executable's folder with its trailing "/" ("./" for a bare name) and
// its file name.
std::pair<std::string, std::string_view> SplitExecutablePath(std::string_view executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    if (slash == std::string_view::npos) return {"./", executablePath};
    return {std::string(executablePath.substr(0, slash + 1)), executablePath.substr(slash + 1)};
}

std::string SettingsFileIn(const std::string& folder, std::string_view fileName) {
    const std::size_t dot = fileName.find('.');
    if (dot != std::string_view::npos) fileName = fileName.substr(0, dot);
    return folder + std::string(fileName) + ".INI";
}

// "<prefix>/share/varnot" when the executable's folder is "<prefix>/bin/".
std::string DataFolderBeside(const std::string& executableFolder) {
    constexpr std::string_view bin = "bin/";
    if (executableFolder.size() < bin.size() || !executableFolder.ends_with(bin)) return {};
    const std::string prefix = executableFolder.substr(0, executableFolder.size() - bin.size());
    if (!prefix.empty() && prefix.back() != '/') return {}; // ".../sbin/", ".../mybin/"
    return prefix + "share/varnot";
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// "$XDG_CONFIG_HOME/varnot/" or "~/.config/varnot/"; empty when neither is known.
std::string UserConfigFolder(const ProgramEnvironment& env) {
    std::string base;
    if (env.configHome.starts_with('/'))
        base = WithoutTrailingSlashes(env.configHome);
    else if (env.home.starts_with('/'))
        base = WithoutTrailingSlashes(env.home) + (env.home == "/" ? ".config" : "/.config");
    else
        return {};
    if (base != "/") base += '/';
    return base + "varnot/";
}

} // namespace

ProgramPaths ProgramPathsFor(std::string_view executablePath) {
    auto [folder, fileName] = SplitExecutablePath(executablePath);
    ProgramPaths paths;
    paths.settingsFile = SettingsFileIn(folder, fileName);
    paths.folder = std::move(folder);
    return paths;
}

ProgramPaths ProgramPathsFor(std::string_view executablePath, const ProgramEnvironment& env,
                             const FolderTest& isFolder) {
    auto [folder, fileName] = SplitExecutablePath(executablePath);
    const std::string dataFolder = DataFolderBeside(folder);
    if (!dataFolder.empty() && isFolder(dataFolder)) {
        std::string configFolder = UserConfigFolder(env);
        if (!configFolder.empty()) folder = std::move(configFolder);
    }
    ProgramPaths paths;
    paths.settingsFile = SettingsFileIn(folder, fileName);
    paths.folder = std::move(folder);
    return paths;
}

bool CreateProgramFolder(const std::string& folder) {
    // Parents first, so every missing level is made with the same mode.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string level = folder.substr(0, slash);
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 &&
        errno != EEXIST)
        return false;
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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
