#include "announced_messages.h"

#include "archive_gen/message_composer.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace varnot::bench {

std::string AnnouncedName(int index) {
    char name[32];
    std::snprintf(name, sizeof(name), "N%07d.TXT", index);
    return name;
}

bool WriteAnnouncedMessages(const std::string& folder, int count, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        error = "cannot create " + folder + ": " + code.message();
        return false;
    }
    const std::time_t first = std::time(nullptr) - 2 * count - 60;
    std::string text;
    for (int i = 0; i < count; ++i) {
        gen::MessagePlan plan;
        plan.seed = static_cast<std::uint64_t>(i) + 1;
        plan.targetSize = 600;
        gen::ComposeMessage(plan, text);
        const std::string path = folder + "/" + AnnouncedName(i);
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        const timespec times[2] = {{first + 2 * i, 0}, {first + 2 * i, 0}};
        if (!out || utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

} // namespace varnot::bench
