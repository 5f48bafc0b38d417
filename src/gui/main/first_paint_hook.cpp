#include "gui/main/first_paint_hook.h"

#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <utility>

namespace varnot {

TFirstPaintHook::TFirstPaintHook(QWidget* window, QWidget* list, std::function<bool()> ready,
                                 std::function<void(std::int64_t)> report)
    : QObject(window), window_(window), list_(list), ready_(std::move(ready)),
      report_(std::move(report)) {
    list_->installEventFilter(this);
}

bool TFirstPaintHook::eventFilter(QObject* watched, QEvent* event) {
    // The filter runs before the paint; the moment taken is the first one
    // after it, when the whole window has been drawn.
    if (!seen_ && watched == list_ && event->type() == QEvent::Paint && ready_()) {
        seen_ = true;
        QMetaObject::invokeMethod(this, &TFirstPaintHook::PaintEnded, Qt::QueuedConnection);
    }
    return false;
}

void TFirstPaintHook::PaintEnded() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    report_(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    list_->removeEventFilter(this);
    window_->close();
}

void InstallFirstPaintHook(TMainform& form) {
    if (qEnvironmentVariableIsEmpty("VARNOT_FIRST_PAINT")) return;
    new TFirstPaintHook(
        &form, form.Frame().FileGrid->viewport(), [&form] { return !form.Scanning(); },
        [](std::int64_t nanoseconds) {
            std::printf("first-paint-ns %lld\n", static_cast<long long>(nanoseconds));
            std::fflush(stdout);
        });
}

} // namespace varnot
