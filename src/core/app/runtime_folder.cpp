#include "core/app/runtime_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace varnot {

std::string RuntimeFilePath(std::string_view name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        std::string folder = runtime;
        if (folder.back() != '/') folder += '/';
        return folder + std::string(name);
    }
    std::error_code ec;
    std::string folder = std::filesystem::temp_directory_path(ec).string();
    if (ec || folder.empty()) folder = "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder + std::string(name) + "-" + std::to_string(getuid());
}

} // namespace varnot
