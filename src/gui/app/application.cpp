#include "gui/app/application.h"

#include "gui/app/dialogs.h"
#include "gui/app/icon_theme.h"

#include <exception>

namespace varnot {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    UseDesktopIconTheme();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        Dialogs().MessageBox(activeWindow(), TMsgKind::Error,
                             QString::fromLocal8Bit(failure.what()), TMsgButtons::Yes);
    } catch (...) {
        Dialogs().MessageBox(activeWindow(), TMsgKind::Error, QStringLiteral("Unknown failure"),
                             TMsgButtons::Yes);
    }
    return false;
}

} // namespace varnot
