#include "core/app/program_arguments.h"

namespace varnot {

StartRequest ReadProgramArguments(const std::vector<std::string_view>& args) {
    for (const std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") return {TStartAction::ShowHelp, {}};
        if (arg == "--version") return {TStartAction::ShowVersion, {}};
        if (arg.starts_with('-'))
            return {TStartAction::Refuse, "unknown option " + std::string(arg)};
        return {TStartAction::Refuse, "unexpected argument \"" + std::string(arg) + "\""};
    }
    return {};
}

std::string ProgramUsage() {
    return "usage: varnot [--help | --version]\n"
           "Shows the archive of incoming messages. The settings file, the marks and the\n"
           "export file live beside the program, or in $XDG_CONFIG_HOME/varnot/\n"
           "(~/.config/varnot/) when it is installed. Only one copy runs per user.\n";
}

} // namespace varnot
