#pragma once

#include <string>

namespace varnot::bench {

// The window benchmarks' own temporary folder: the runtime folder of the
// sockets and the lock (never a running viewer's), a working archive that the
// viewer may change (hard links to the generated messages, or copies), an
// empty archive, and the program folders of the viewers started.
struct WindowFolders {
    std::string base;    // removed when the benchmark ends
    std::string runtime; // XDG_RUNTIME_DIR
    std::string archive; // the 4000 messages; ends with "/"
    std::string empty;   // an archive without messages; ends with "/"
};

// Makes the folders below a new temporary folder and fills the working
// archive from `generated` (an archive root). False, with `error`, when that fails.
bool MakeWindowFolders(const std::string& generated, WindowFolders& folders, std::string& error);
void RemoveWindowFolders(const WindowFolders& folders);

// The settings file of a viewer that ended cleanly on `archiveRoot`: a window
// that fits the headless screen, no automatic deletion (the benchmark's
// messages stay), a list of 4000, a private announce service, and one filter
// group with the thirteen keywords of the matching benchmarks.
bool WriteViewerSettings(const std::string& settingsFile, const std::string& archiveRoot);

// The announce service name of those settings.
inline constexpr const char* kWindowService = "VARNOTWINDOWBENCH";

} // namespace varnot::bench
