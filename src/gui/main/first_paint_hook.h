#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QWidget;

namespace varnot {

class TMainform;

// Watches the paints of a list and, at the end of the first one that comes
// once the window is ready, reports the moment (nanoseconds of the steady
// clock) and closes the window the orderly way.
class TFirstPaintHook : public QObject {
    Q_OBJECT
  public:
    TFirstPaintHook(QWidget* window, QWidget* list, std::function<bool()> ready,
                    std::function<void(std::int64_t nanoseconds)> report);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PaintEnded();

    QWidget* window_;
    QWidget* list_;
    std::function<bool()> ready_;
    std::function<void(std::int64_t)> report_;
    bool seen_ = false;
};

// A hidden aid for the benchmarks: with VARNOT_FIRST_PAINT in the environment
// the program writes "first-paint-ns N" to standard output, N being the
// steady clock (CLOCK_MONOTONIC) in nanoseconds when the message list has
// first been painted after the first pass has landed, and then closes the
// window. Without the variable nothing happens.
void InstallFirstPaintHook(TMainform& form);

} // namespace varnot
