#include "gui/main/screenshot_hook.h"

#include "gui/main/main_form.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <utility>

namespace varnot {

namespace {
constexpr int kPollMs = 100;
constexpr int kSettlePolls = 5;   // paints after the window became ready
constexpr int kGiveUpPolls = 600; // a minute: grab whatever is there
} // namespace

TScreenshotHook::TScreenshotHook(QWidget* window, std::function<bool()> ready, QString path)
    : QObject(window), window_(window), ready_(std::move(ready)), path_(std::move(path)),
      timer_(new QTimer(this)) {
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TScreenshotHook::Poll);
    timer_->start();
}

void TScreenshotHook::Poll() {
    ++polls_;
    if (ready_()) ++readyPolls_;
    if (readyPolls_ < kSettlePolls && polls_ < kGiveUpPolls) return;
    timer_->stop();
    if (!window_->grab().save(path_, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", path_.toLocal8Bit().constData());
    window_->close();
}

void InstallScreenshotHook(TMainform& form) {
    const QString shot = qEnvironmentVariable("VARNOT_SCREENSHOT");
    if (shot.isEmpty()) return;
    new TScreenshotHook(
        &form, [&form] { return !form.Scanning(); }, shot);
}

} // namespace varnot
