#include "window_folders.h"

#include "bench_archives.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace varnot::bench {

namespace fs = std::filesystem;

namespace {

// Hard links leave the generated archive untouched whatever the viewer does
// to its names; a copy stands in where links cannot be made.
bool LinkTree(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(from, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path target = to / fs::relative(it->path(), from, ec);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else {
            fs::create_hard_link(it->path(), target, ec);
            if (ec) fs::copy_file(it->path(), target, ec);
        }
        if (ec) break;
    }
    if (ec) error = "cannot fill " + to.string() + ": " + ec.message();
    return !ec;
}

} // namespace

bool MakeWindowFolders(const std::string& generated, WindowFolders& folders, std::string& error) {
    char pattern[] = "/tmp/varnot-window-bench-XXXXXX";
    const char* base = mkdtemp(pattern);
    if (base == nullptr) {
        error = "cannot create a temporary folder";
        return false;
    }
    folders.base = base;
    folders.runtime = folders.base + "/run";
    folders.archive = folders.base + "/archive/";
    folders.empty = folders.base + "/empty/";
    std::error_code ec;
    for (const std::string& folder : {folders.runtime, folders.archive, folders.empty})
        fs::create_directories(folder, ec);
    // The runtime folder is the user's alone, as the desktop's is.
    fs::permissions(folders.runtime, fs::perms::owner_all, ec);
    if (ec) {
        error = "cannot create the folders below " + folders.base + ": " + ec.message();
        return false;
    }
    return LinkTree(generated, folders.archive, error);
}

void RemoveWindowFolders(const WindowFolders& folders) {
    std::error_code ignored;
    if (!folders.base.empty()) fs::remove_all(folders.base, ignored);
}

bool WriteViewerSettings(const std::string& settingsFile, const std::string& archiveRoot) {
    std::string group = "Alarms *.*";
    for (const std::string& keyword : GroupKeywords()) group += " " + keyword;
    std::ofstream out(settingsFile, std::ios::binary);
    out << "[Frame]\r\nX=0\r\nY=0\r\nW=760\r\nH=560\r\nSplit=70\r\n"
        << "[main]\r\nPath=" << archiveRoot
        << "\r\nDeleteAutomaticly=NO\r\nAutoPrint=NO\r\nViewBufferSize=4000\r\nFilterIndex=0\r\n"
        << "[DDE]\r\nService=" << kWindowService << "\r\n"
        << "[Filters]\r\n0=" << group << "\r\n";
    return static_cast<bool>(out.flush());
}

} // namespace varnot::bench
