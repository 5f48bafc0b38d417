// Program entry: one copy per user, the main window, and exit code 0 always
// once the window has been asked for.
#include "core/app/atomic_file.h"
#include "core/app/program_arguments.h"
#include "core/app/program_paths.h"
#include "core/archive/marks_file.h"
#include "gui/app/application.h"
#include "gui/app/single_instance.h"
#include "gui/app/unix_signals.h"
#include "gui/main/first_paint_hook.h"
#include "gui/main/main_form.h"
#include "gui/main/screenshot_hook.h"
#include "gui/main/tool_icons.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int ExitUsage = 2;

// --help and --version answer before anything else: without a display and
// while another copy runs. Empty when the window is to start.
std::optional<int> AnswerCommandLine(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const varnot::StartRequest request = varnot::ReadProgramArguments(args);
    switch (request.action) {
    case varnot::TStartAction::Run:
        return std::nullopt;
    case varnot::TStartAction::ShowHelp:
        std::fputs(varnot::ProgramUsage().c_str(), stdout);
        return 0;
    case varnot::TStartAction::ShowVersion:
        std::puts("varnot " VARNOT_VERSION);
        return 0;
    case varnot::TStartAction::Refuse:
        std::fprintf(stderr, "varnot: %s\n%s", request.error.c_str(),
                     varnot::ProgramUsage().c_str());
        return ExitUsage;
    }
    return ExitUsage;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return {};
}

// The program's files beside the executable, or in the user's configuration
// folder when the program is installed (created on its first start).
void FixProgramPaths() {
    varnot::ProgramEnvironment env;
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME")) env.configHome = configHome;
    env.home = HomeFolder();
    const std::string executable =
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    varnot::SetProgramPaths(varnot::ProgramPathsFor(executable, env, [](const std::string& folder) {
        std::error_code ec;
        return std::filesystem::is_directory(folder, ec);
    }));
    // A folder that cannot be made leaves every setting at its default.
    varnot::CreateProgramFolder(varnot::ProgramFolder());
}

int Run(int argc, char** argv) {
    // The shutdown signals are caught before anything else, so a SIGTERM that
    // arrives during start-up still ends the run the orderly way.
    varnot::InstallShutdownSignals();

    // Before the toolkit starts: a second copy ends silently, without a window.
    varnot::TSingleInstance instance;
    if (!instance.tryAcquire()) return 0;

    varnot::TApplication app(argc, argv);
    // Ties the windows to the desktop entry, whose icon the desktop shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("varnot"));
    QApplication::setWindowIcon(varnot::TowerIcon());
    FixProgramPaths();
    // A run killed while writing its settings or marks left a temporary file.
    const std::string& settings = varnot::SettingsFile();
    varnot::RemoveStaleTemporaryFiles(
        varnot::ProgramFolder(),
        {settings.substr(settings.rfind('/') + 1), std::string(varnot::MarksFileName)});
    {
        varnot::TMainform form;
        varnot::InstallScreenshotHook(form);
        varnot::InstallFirstPaintHook(form);
        varnot::TSignalCloser closer(&form);
        form.show();
        app.exec();
    }
    instance.release();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> code = AnswerCommandLine(argc, argv)) return *code;
    try {
        Run(argc, argv);
    } catch (...) {
        // Nothing may change the exit code.
    }
    return 0;
}
