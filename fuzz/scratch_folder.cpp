#include "fuzz_input.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace varnot::fuzzing {

namespace {

// Removed when the process ends normally; a crashed run leaves it for the
// system's cleaning of temporary files.
struct ScratchFolder {
    std::filesystem::path path;

    ScratchFolder() {
        std::error_code error;
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base = std::filesystem::is_directory(shm, error)
                                               ? shm
                                               : std::filesystem::temp_directory_path();
        path = base / ("varnot-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path, error);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};

} // namespace

std::string ScratchPath(std::string_view name) {
    static ScratchFolder folder;
    return (folder.path / name).string();
}

} // namespace varnot::fuzzing
