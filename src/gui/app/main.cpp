// Program entry: one copy per user, the main window, and exit code 0 always.
#include "core/app/atomic_file.h"
#include "core/app/program_paths.h"
#include "core/archive/marks_file.h"
#include "gui/app/application.h"
#include "gui/app/single_instance.h"
#include "gui/app/unix_signals.h"
#include "gui/main/main_form.h"
#include "gui/main/screenshot_hook.h"

#include <QFile>

namespace {

int Run(int argc, char** argv) {
    // The shutdown signals are caught before anything else, so a SIGTERM that
    // arrives during start-up still ends the run the orderly way.
    varnot::InstallShutdownSignals();

    // Before the toolkit starts: a second copy ends silently, without a window.
    varnot::TSingleInstance instance;
    if (!instance.tryAcquire()) return 0;

    varnot::TApplication app(argc, argv);
    varnot::SetProgramPaths(varnot::ProgramPathsFor(
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
    // A run killed while writing its settings or marks left a temporary file.
    const std::string& settings = varnot::SettingsFile();
    varnot::RemoveStaleTemporaryFiles(
        varnot::ProgramFolder(),
        {settings.substr(settings.rfind('/') + 1), std::string(varnot::MarksFileName)});
    {
        varnot::TMainform form;
        varnot::InstallScreenshotHook(form);
        varnot::TSignalCloser closer(&form);
        form.show();
        app.exec();
    }
    instance.release();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        Run(argc, argv);
    } catch (...) {
        // Nothing may change the exit code.
    }
    return 0;
}
