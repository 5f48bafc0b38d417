// The start-up aid of the benchmarks: one report, at the first paint once ready.
#include "gui/main/first_paint_hook.h"

#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using namespace varnot;

TEST(FirstPaintHook, ReportsTheFirstPaintOnceReadyThenClosesTheWindow) {
    QWidget window;
    auto* list = new QWidget(&window);
    list->resize(100, 50);
    bool ready = false;
    std::vector<std::int64_t> reports;
    new TFirstPaintHook(
        &window, list, [&] { return ready; },
        [&](std::int64_t nanoseconds) { reports.push_back(nanoseconds); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Paints before the window is ready count for nothing.
    list->repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(window.isVisible());

    ready = true;
    const auto before = std::chrono::steady_clock::now().time_since_epoch();
    list->repaint();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reports.empty(); }));
    EXPECT_GE(reports.front(), std::chrono::nanoseconds(before).count());
    EXPECT_FALSE(window.isVisible());

    window.show();
    list->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 1u);
}
