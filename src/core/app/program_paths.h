#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace varnot {

// The program's own folder (with a trailing "/") and its settings file: the
// executable's name up to its first dot, then ".INI", in that folder.
struct ProgramPaths {
    std::string folder;
    std::string settingsFile;
};

// The settings file, marks and export file beside the executable.
ProgramPaths ProgramPathsFor(std::string_view executablePath);

// What the start-up knows of the user: $XDG_CONFIG_HOME (empty when unset) and
// the home folder.
struct ProgramEnvironment {
    std::string configHome;
    std::string home;
};

// Tells whether a folder exists; the start-up asks the file system.
using FolderTest = std::function<bool(const std::string& folder)>;

// Where the program keeps its files. An installed program, "<prefix>/bin/NAME"
// with its data folder "<prefix>/share/varnot/" beside it, must never write
// into that system folder: it keeps them in "$XDG_CONFIG_HOME/varnot/", by
// default "~/.config/varnot/". Anywhere else (the build folder, a copy in a
// folder of its own) they stay beside the executable. A relative
// $XDG_CONFIG_HOME counts as unset; with no home folder either, the files stay
// beside the executable.
ProgramPaths ProgramPathsFor(std::string_view executablePath, const ProgramEnvironment& env,
                             const FolderTest& isFolder);

// Creates the program folder and any missing parent, new ones readable by the
// user only. True when the folder exists afterwards.
bool CreateProgramFolder(const std::string& folder);

// Fixed once at start-up (tests point them at a temporary folder).
void SetProgramPaths(ProgramPaths paths);
const std::string& ProgramFolder();
const std::string& SettingsFile();

} // namespace varnot
