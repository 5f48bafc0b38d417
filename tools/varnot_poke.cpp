// varnot-poke: announces new message files to the running viewer, as the
// receiving program does after writing each file into the archive.
//
// Exit codes: 0 every file was taken; 1 the viewer refused a file or did not
// answer; 2 bad arguments; 3 the viewer is not running.
#include "announce_client/announce_client.h"
#include "core/announce/announce_protocol.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNotRunning = 3;

constexpr const char* Usage = "usage: varnot-poke [--service NAME] FILE...\n"
                              "       varnot-poke --help | --version\n"
                              "Announces each FILE to the running viewer (service ZEVA by "
                              "default).\n";

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "varnot-poke: %s\n", message.c_str());
    return code;
}

// A bad command line: what was wrong, then the usage.
int FailUsage(const std::string& message) {
    std::fprintf(stderr, "varnot-poke: %s\n%s", message.c_str(), Usage);
    return ExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::string service = "ZEVA";
    std::vector<std::string> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            std::fputs(Usage, stdout);
            return 0;
        } else if (options && arg == "--version") {
            std::puts("varnot-poke " VARNOT_VERSION);
            return 0;
        } else if (options && arg == "--service") {
            if (i + 1 >= argc) return FailUsage("--service needs a name");
            service = argv[++i];
        } else if (options && arg.rfind("--service=", 0) == 0) {
            service = std::string(arg.substr(10));
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            return FailUsage("unknown option " + std::string(arg));
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) return FailUsage("no FILE given");
    const std::optional<std::string> path = varnot::AnnounceSocketPath(service);
    if (!path) return Fail(ExitUsage, "\"" + service + "\" cannot be a service name");

    varnot::announce::TAnnounceClient client(*path);
    int code = 0;
    for (const std::string& file : files) {
        const varnot::announce::PokeResult result = client.Poke(file);
        using varnot::announce::PokeStatus;
        if (result.status == PokeStatus::Ok) continue;
        if (result.status == PokeStatus::NotRunning)
            return Fail(ExitNotRunning, "the viewer is not running (nothing serves " + service +
                                            " at " + *path + ")");
        Fail(ExitRefused, file + ": " + varnot::announce::Describe(result));
        code = ExitRefused;
    }
    return code;
}
