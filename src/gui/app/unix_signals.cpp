#include "gui/app/unix_signals.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace varnot {

namespace {

constexpr std::array<int, 3> ShutdownSignals = {SIGTERM, SIGINT, SIGHUP};

// Read end and write end of the pipe; -1 when not installed.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;
bool signalArrived = false;
struct sigaction previous[ShutdownSignals.size()];

extern "C" void OnShutdownSignal(int signal) {
    const int savedErrno = errno;
    const int fd = writeEnd;
    if (fd >= 0) {
        const char byte = static_cast<char>(signal);
        // A full pipe already holds a pending request; losing this byte is harmless.
        const ssize_t written = write(fd, &byte, 1);
        (void)written;
    }
    errno = savedErrno;
}

} // namespace

bool InstallShutdownSignals() {
    if (readEnd >= 0) return true;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    readEnd = fds[0];
    writeEnd = fds[1];
    struct sigaction action {};
    action.sa_handler = OnShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < ShutdownSignals.size(); ++i)
        sigaction(ShutdownSignals[i], &action, &previous[i]);
    return true;
}

bool ShutdownSignalArrived() {
    return signalArrived;
}

void RestoreShutdownSignals() {
    signalArrived = false;
    if (readEnd < 0) return;
    for (std::size_t i = 0; i < ShutdownSignals.size(); ++i)
        sigaction(ShutdownSignals[i], &previous[i], nullptr);
    const int fd = writeEnd;
    writeEnd = -1;
    close(fd);
    close(readEnd);
    readEnd = -1;
}

TSignalCloser::TSignalCloser(QWidget* window, QObject* parent) : QObject(parent), window_(window) {
    if (readEnd < 0) return;
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TSignalCloser::SignalArrived);
}

void TSignalCloser::SignalArrived() {
    char bytes[64];
    while (read(readEnd, bytes, sizeof bytes) > 0) {
    }
    signalArrived = true;
    dialogRounds_ = 0;
    CloseWindow();
}

void TSignalCloser::CloseWindow() {
    // An open dialog runs its own event loop; the window may only go once
    // that loop has returned, or the program would wait for the operator.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != window_ && dialogRounds_++ < 100) {
        modal->close();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        QTimer::singleShot(0, this, &TSignalCloser::CloseWindow);
        return;
    }
    if (window_) window_->close();
}

} // namespace varnot
