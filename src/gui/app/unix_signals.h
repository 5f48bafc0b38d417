#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

namespace varnot {

// SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C in a terminal) end the program
// the orderly way: the handler only writes a byte into a pipe, and the event
// loop closes the main window, which runs the normal shutdown.
//
// InstallShutdownSignals is called once, as early as possible; a signal that
// arrives before a TSignalCloser exists waits in the pipe and is acted on as
// soon as the event loop runs. False when the pipe could not be made (the
// signals then keep their default action).
bool InstallShutdownSignals();
// Gives the three signals back their previous actions and closes the pipe.
// Every TSignalCloser must be gone by then.
void RestoreShutdownSignals();

// True once a shutdown signal has been taken from the pipe: the window
// closing now closes for a logout or a kill request, and must not stop to
// ask the operator anything. Cleared by RestoreShutdownSignals.
bool ShutdownSignalArrived();

// Closes a window from the event loop once a shutdown signal has arrived.
class TSignalCloser : public QObject {
    Q_OBJECT
  public:
    explicit TSignalCloser(QWidget* window, QObject* parent = nullptr);

  private:
    void SignalArrived();
    void CloseWindow();

    QPointer<QWidget> window_;
    QSocketNotifier* notifier_ = nullptr;
    int dialogRounds_ = 0; // dialogs closed for the current request
};

} // namespace varnot
