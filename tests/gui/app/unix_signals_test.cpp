#include "gui/app/unix_signals.h"

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <gtest/gtest.h>

using namespace varnot;

namespace {

// The handlers belong to the test only while it runs.
class UnixSignalsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(InstallShutdownSignals()); }
    void TearDown() override { RestoreShutdownSignals(); }
};

} // namespace

TEST_F(UnixSignalsTest, EachShutdownSignalClosesTheWindowThroughTheEventLoop) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QWidget window;
        TSignalCloser closer(&window);
        window.show();
        EXPECT_FALSE(ShutdownSignalArrived());
        ASSERT_EQ(raise(signal), 0);
        // The handler itself touches nothing: the window is still open.
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 20000))
            << "signal " << signal;
        // The window's shutdown can tell that nobody is there to answer.
        EXPECT_TRUE(ShutdownSignalArrived());
        RestoreShutdownSignals();
        ASSERT_TRUE(InstallShutdownSignals());
    }
}

TEST_F(UnixSignalsTest, ASignalBeforeTheWindowExistsWaitsForIt) {
    ASSERT_EQ(raise(SIGTERM), 0);
    QWidget window;
    window.show();
    TSignalCloser closer(&window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 20000));
}

TEST_F(UnixSignalsTest, AGoneWindowIsNotTouched) {
    auto* window = new QWidget;
    TSignalCloser closer(window);
    delete window;
    ASSERT_EQ(raise(SIGHUP), 0);
    QTest::qWait(50); // lets the notifier run; nothing may crash
    SUCCEED();
}

TEST_F(UnixSignalsTest, AnOpenDialogIsClosedFirstSoTheWindowGoesAtOnce) {
    QWidget window;
    TSignalCloser closer(&window);
    window.show();
    bool windowOpenAfterDialog = false;
    // The dialog's own loop is running when the signal comes.
    QTimer::singleShot(0, [] { raise(SIGTERM); });
    QDialog dialog(&window);
    const int result = dialog.exec();
    windowOpenAfterDialog = window.isVisible();
    EXPECT_EQ(result, QDialog::Rejected);
    // The window goes after the dialog's loop has returned, not inside it.
    EXPECT_TRUE(windowOpenAfterDialog);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 20000));
}
