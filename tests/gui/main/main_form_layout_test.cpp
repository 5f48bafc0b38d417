// The pane ratio, the splitter bar and its menus, zooming, and the status
// line's three forms.
#include "core/text/code_pages.h"
#include "gui/main/message_view.h"
#include "main_form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSplitter>
#include <QTextEdit>
#include <QToolButton>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::WriteFile;

namespace {

class LayoutTest : public MainFormFixture {
  protected:
    static QWidget* Handle(TMainform& form) { return form.Frame().RxSplitter->handle(1); }

    static void ReleaseOnSplitter(TMainform& form, Qt::MouseButton button) {
        QWidget* handle = Handle(form);
        const QPointF local(handle->width() / 2.0, handle->height() / 2.0);
        QMouseEvent release(QEvent::MouseButtonRelease, local, handle->mapToGlobal(local), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &release);
    }

    // The list's height must be what the ratio gives.
    static void ExpectListHeight(TMainform& form) {
        EXPECT_EQ(form.Frame().FileGrid->height(),
                  std::max(1, ListHeightForRatio(TestAccess(form).CurrentPaneGeometry(),
                                                 TestAccess(form).PaneRatio())));
    }

    static void Activate(TMainform& form) {
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
};

TEST_F(LayoutTest, TheRatioItemsOfBothMenusSetTheRatioAndTheHint) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 70); // the stored Split
    const std::vector<std::pair<std::string, int>> items{{"1090", 12}, {"2080", 20}, {"3070", 30},
                                                         {"4060", 40}, {"5050", 50}, {"6040", 60},
                                                         {"7030", 70}, {"8020", 80}, {"9010", 90}};
    for (const auto& [suffix, percent] : items) {
        for (const char* menu : {"1", "2"}) {
            auto* item = form->findChild<QAction*>(QString::fromStdString("N" + suffix + menu));
            ASSERT_NE(item, nullptr) << suffix << menu;
            TestAccess(*form).PaneRatio() = 33;
            item->trigger();
            EXPECT_EQ(TestAccess(*form).PaneRatio(), percent) << suffix << menu;
            EXPECT_EQ(Handle(*form)->toolTip(), QString::number(percent) + " %");
            ExpectListHeight(*form);
        }
    }
    // The View menu's items carry an accelerator, the pop-up menu's do not.
    EXPECT_EQ(form->findChild<QAction*>("N10901")->text(), "&10:90");
    EXPECT_EQ(form->findChild<QAction*>("N10902")->text(), "10:90");
}

TEST_F(LayoutTest, DroppingTheSplitterAtEitherEndGivesFiveOrNinetyFive) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    const int shared = TestAccess(*form).CurrentPaneGeometry().Available();
    ASSERT_GT(shared, 300);

    form->Frame().RxSplitter->setSizes({0, shared});
    ReleaseOnSplitter(*form, Qt::LeftButton);
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 5);
    EXPECT_EQ(Handle(*form)->toolTip(), "5 %");
    ExpectListHeight(*form);

    form->Frame().RxSplitter->setSizes({shared, 0});
    ReleaseOnSplitter(*form, Qt::LeftButton);
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 95);
    ExpectListHeight(*form);

    // Dropped in the middle: the exact arithmetic of the splitter's position.
    form->Frame().RxSplitter->setSizes({shared / 2, shared - shared / 2});
    const int top = form->Frame().FileGrid->height() + TestAccess(*form).CurrentPaneGeometry().top;
    const int expected = RatioForSplitterY(TestAccess(*form).CurrentPaneGeometry(), top + 3, -1);
    ReleaseOnSplitter(*form, Qt::LeftButton);
    EXPECT_EQ(TestAccess(*form).PaneRatio(), expected);
    EXPECT_NEAR(TestAccess(*form).PaneRatio(), 50, 1);
}

TEST_F(LayoutTest, TheRightButtonOpensTheMenuOfTheZoomState) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    ReleaseOnSplitter(*form, Qt::RightButton);
    EXPECT_TRUE(form->Frame().NormalPopupMenu->isVisible());
    EXPECT_FALSE(form->Frame().ZoomPopupMenu->isVisible());
    form->Frame().NormalPopupMenu->hide();
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 70); // the right button does not measure

    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    ASSERT_TRUE(TestAccess(*form).Zoomed());
    ReleaseOnSplitter(*form, Qt::RightButton);
    EXPECT_TRUE(form->Frame().ZoomPopupMenu->isVisible());
    EXPECT_FALSE(form->Frame().NormalPopupMenu->isVisible());
    form->Frame().ZoomPopupMenu->hide();
    form->Frame().ZoomOutItem->trigger();
    EXPECT_FALSE(TestAccess(*form).Zoomed());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 70);
}

TEST_F(LayoutTest, ZoomInResizeZoomOutReturnsToTheRatio) {
    Messages(30);
    Settings();
    auto form = OpenAndScan();
    Activate(*form);
    form->findChild<QAction*>("N40601")->trigger();
    ASSERT_EQ(TestAccess(*form).PaneRatio(), 40);
    form->Frame().PrevButton->click();
    form->Frame().PrevButton->click();
    ASSERT_EQ(Row(*form), 2);

    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    EXPECT_TRUE(TestAccess(*form).Zoomed());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 5);
    EXPECT_EQ(TestAccess(*form).SavedRatio(), 40);
    EXPECT_EQ(form->Frame().FileGrid->TopRow(), 2); // the current message stays in sight
    EXPECT_TRUE(form->Frame().View->HasFocus());
    // The splitter shows that the view has the focus.
    EXPECT_EQ(Handle(*form)->palette().color(QPalette::Window),
              Handle(*form)->palette().color(QPalette::Active, QPalette::Highlight));

    // Zooming in again keeps the ratio from before the first time.
    form->Frame().FileGrid->setFocus();
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    EXPECT_EQ(TestAccess(*form).SavedRatio(), 40);

    form->resize(700, 480);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->height() == 480; }));
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 5);

    // Enter in the view zooms out while zoomed.
    QTest::keyClick(form->Frame().View->ViewMemo, Qt::Key_Return);
    EXPECT_FALSE(TestAccess(*form).Zoomed());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 40);
    ExpectListHeight(*form);
    EXPECT_TRUE(form->Frame().FileGrid->hasFocus());
    EXPECT_EQ(Handle(*form)->palette().color(QPalette::Window),
              Handle(*form)->palette().color(QPalette::Active, QPalette::Button));

    // Enter in the view when not zoomed gives the list the focus.
    form->Frame().View->FocusView();
    QTest::keyClick(form->Frame().View->ViewMemo, Qt::Key_Return);
    EXPECT_TRUE(form->Frame().FileGrid->hasFocus());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 40);

    // A double-click in the view zooms out too.
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    ASSERT_TRUE(TestAccess(*form).Zoomed());
    QTest::mouseDClick(form->Frame().View->ViewMemo->viewport(), Qt::LeftButton);
    EXPECT_FALSE(TestAccess(*form).Zoomed());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 40);
}

TEST_F(LayoutTest, EnterOnAFileThatIsNotTextOpensItAndDoesNotZoom) {
    WriteFile(archive / "26_12_05/LETTER.DOC", "doc", LocalTime(2026, 12, 5, 10, 0));
    WriteFile(archive / "26_12_05/NOTE.TXT", "text\r\n", LocalTime(2026, 12, 5, 9, 0));
    Settings();
    auto form = OpenAndScan();
    std::vector<QString> opened;
    TestAccess(*form).SetOpenWithAssociatedProgram(
        [&](const QString& path) { opened.push_back(path); });
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QString::fromStdString(archive / "26_12_05/LETTER.DOC"));
    EXPECT_FALSE(TestAccess(*form).Zoomed());
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 70);

    form->Frame().PrevButton->click();
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(TestAccess(*form).Zoomed());
}

TEST_F(LayoutTest, AWindowTooSmallForItsPanesStillLaysOut) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    form->setMinimumSize(0, 0);
    form->resize(300, 90);
    QTest::qWait(20);
    EXPECT_GE(TestAccess(*form).PaneRatio(), 5);
    EXPECT_LE(TestAccess(*form).PaneRatio(), 95);
    EXPECT_GE(form->Frame().FileGrid->height(), 0);
    form->findChild<QAction*>("N20801")->trigger();
    EXPECT_EQ(TestAccess(*form).PaneRatio(), 20);
    ReleaseOnSplitter(*form, Qt::LeftButton);
    EXPECT_GE(TestAccess(*form).PaneRatio(), 5);
    EXPECT_LE(TestAccess(*form).PaneRatio(), 95);
    // Back to a normal size, the ratio is still in force.
    form->resize(760, 560);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->height() == 560; }));
    EXPECT_GE(TestAccess(*form).PaneRatio(), 5);
    ExpectListHeight(*form);
}

TEST_F(LayoutTest, TheStatusLineInRussian) {
    StatusLineMessages();
    Settings("English=NO\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().HintLabel->text(),
              QString::fromUtf8("MSG001.TXT     2  строк  57 байт"));

    for (int row = 1; row <= 3; ++row) form->Panel().Current().ToggleRow(row);
    form->UpdateStatusLine();
    EXPECT_EQ(form->Frame().HintLabel->text(),
              QString::fromUtf8("     5.1 Кб в 3 выбранных файлах"));
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // An announcement comes after the totals, in red too.
    TestAccess(*form).Scan().SetAnnouncement("26_12_05\\A.TXT",
                                             "09:00  05.12   " + Utf16ToCp1251(u"Тревога"));
    form->UpdateStatusLine();
    EXPECT_EQ(form->Frame().HintLabel->text(),
              QString::fromUtf8("     5.1 Кб в 3 выбранных файлах"));
    form->Panel().Current().UnselectAll();
    form->UpdateStatusLine();
    EXPECT_EQ(form->Frame().HintLabel->text(), QString::fromUtf8("09:00  05.12   Тревога"));
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form->Frame().HintLabel->font().pointSize(), 10);
}

} // namespace
