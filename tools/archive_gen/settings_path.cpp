#include "archive_gen/settings_path.h"

#include "core/app/ini_file.h"
#include "core/app/settings_keys.h"

#include <filesystem>

namespace varnot::gen {

std::string ArchivePathValue(std::string_view dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path(dir.empty() ? std::string_view(".") : dir);
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    std::string value = absolute.lexically_normal().string();
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    if (value.empty() || value.back() != '/') value.push_back('/');
    return value;
}

bool SetArchivePath(const std::string& settingsFile, std::string_view dir, std::string& error) {
    if (settingsFile.empty()) {
        error = "no settings file given";
        return false;
    }
    if (!varnot::WriteSetting(settingsFile, "main", "Path", ArchivePathValue(dir))) {
        error = "cannot write the settings file " + settingsFile;
        return false;
    }
    return true;
}

bool SetWindowSize(const std::string& settingsFile, int width, int height, std::string& error) {
    if (settingsFile.empty()) {
        error = "no settings file given";
        return false;
    }
    if (!varnot::WriteSetting(settingsFile, varnot::keys::FrameW, width) ||
        !varnot::WriteSetting(settingsFile, varnot::keys::FrameH, height)) {
        error = "cannot write the settings file " + settingsFile;
        return false;
    }
    return true;
}

} // namespace varnot::gen
