#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// What the viewer's command line asks for. The viewer reads no arguments of
// its own; it only answers --help and --version, which work without a
// display and while another copy runs.
enum class TStartAction {
    Run,
    ShowHelp,
    ShowVersion,
    Refuse, // a bad argument: the usage goes to standard error, exit code 2
};

struct StartRequest {
    TStartAction action = TStartAction::Run;
    std::string error; // one line, when refused
};

// The arguments after the program name, read left to right: --help or
// --version answers at once; anything else is refused.
StartRequest ReadProgramArguments(const std::vector<std::string_view>& args);

std::string ProgramUsage();

} // namespace varnot
