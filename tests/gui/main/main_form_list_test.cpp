// The message list: cells, layout, briefs, keys, mouse marking and the
// select dialog.
#include "main_form_fixture.h"

#include "core/main/list_cells.h"
#include "gui/main/date_mask_dlg.h"
#include "gui/support/scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::ScriptedDialogs;
using testing_support::WriteFile;

namespace {

class ZoomCounting : public TMainform {
  public:
    void ZoomInViewWindow() override { ++zooms; }
    int zooms = 0;
};

QVariant Cell(TMainform& form, int row, int column, int role = Qt::DisplayRole) {
    return TestAccess(form).ListModel().index(row, column).data(role);
}

QPoint RowPoint(TMainform& form, int row) {
    return {20, form.Frame().FileGrid->rowViewportPosition(row) +
                    form.Frame().FileGrid->RowHeight() / 2};
}

void Mouse(TMainform& form, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
           int row) {
    QWidget* viewport = form.Frame().FileGrid->viewport();
    const QPointF at = RowPoint(form, row);
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

// Runs `answer` on the select dialog once it is open; it must close the dialog.
void WhenDialogOpens(std::function<void(TDateMaskDlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<TDateMaskDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no select dialog";
            return;
        }
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

void Choose(TDateMaskDlg& dialog, const QString& mask, const QString& from, const QString& to) {
    dialog.PatternControl->setText(mask);
    dialog.FromComboBox->setEditText(from);
    dialog.ToComboBox->setEditText(to);
    dialog.OKBtn->click();
}

using ListCellsTest = MainFormFixture;

TEST_F(ListCellsTest, TimeNameAndBriefColumnsWithTheirStyles) {
    WriteFile(archive / "26_12_05/ALERT.TXT", "\r\n   Storm warning\r\nbody\r\n",
              LocalTime(2026, 12, 5, 9, 7));
    WriteFile(archive / "26_12_04/REPORT.DOC", "binary", LocalTime(2026, 12, 4, 8, 0));
    Settings();
    auto form = OpenAndScan();
    ASSERT_EQ(form->ShownCount(), 2);
    EXPECT_EQ(Cell(*form, 0, 0).toString(), "09:07  05.12");
    EXPECT_EQ(Cell(*form, 0, 1).toString(), "ALERT.TXT");
    EXPECT_EQ(Cell(*form, 0, 2).toString(), "Storm warning");
    // A file that is not text shows a description of its type.
    const QString type = Cell(*form, 1, 2).toString();
    EXPECT_FALSE(type.isEmpty());
    EXPECT_NE(type, "REPORT.DOC");

    TFileInfo& record = *form->Panel().RecordAtRow(1);
    record.Flags &= static_cast<std::uint16_t>(~TFileInfo::Read);
    for (int column = 0; column < 3; ++column)
        EXPECT_TRUE(Cell(*form, 1, column, Qt::FontRole).value<QFont>().bold()) << column;
    EXPECT_FALSE(Cell(*form, 1, 2, Qt::ForegroundRole).isValid());

    record.Flags |= TFileInfo::Read | TFileInfo::Selected;
    EXPECT_TRUE(Cell(*form, 1, 0, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(Cell(*form, 1, 1, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(Cell(*form, 1, 2, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(Cell(*form, 1, 0, Qt::ForegroundRole).isValid());
    EXPECT_EQ(Cell(*form, 1, 1, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(Cell(*form, 1, 2, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
}

TEST_F(ListCellsTest, AnEmptyListHasOneEmptyRow) {
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(TestAccess(*form).ListModel().rowCount(), 1);
    EXPECT_FALSE(Cell(*form, 0, 0).isValid());
    EXPECT_FALSE(Cell(*form, 0, 2).isValid());
    // Commands that need rows do nothing.
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Space);
    Mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 0);
    Mouse(*form, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 0);
    EXPECT_EQ(form->Panel().Current().SelCount, 0);
}

TEST_F(ListCellsTest, SectionedMessagesTakeTheirTimeFromTheFile) {
    WriteFile(
        archive / "26_12_05/Z1.TXT",
        "[head]\r\nhead=Zev brief\r\n[datetime]\r\nDate=261201\r\nTime=0930\r\n[body]\r\ntext\r\n",
        LocalTime(2026, 12, 5, 23, 59));
    Settings("InZEV=YES\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(Cell(*form, 0, 0).toString(), "09:30  01.12");
    EXPECT_EQ(Cell(*form, 0, 2).toString(), "Zev brief");
    // The time was read with the brief and is kept with it, not read at each paint.
    WriteFile(archive / "26_12_05/Z1.TXT", "[datetime]\r\nDate=261202\r\nTime=1111\r\n",
              LocalTime(2026, 12, 5, 23, 59));
    EXPECT_EQ(Cell(*form, 0, 0).toString(), "09:30  01.12");
}

TEST_F(ListCellsTest, RowHeightAndColumnsFollowTheListFont) {
    Messages(2);
    Settings("[List]\r\nFont=System\r\nSize=11\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().FileGrid->RowHeight(), 19);
    // "System" is no font here: the application's font stands in.
    EXPECT_EQ(form->Frame().FileGrid->font().family(), QApplication::font().family());
    EXPECT_EQ(form->Frame().FileGrid->font().pointSize(), 11);
    const QFontMetrics bold(TestAccess(*form).ListModel().BoldListFont());
    EXPECT_EQ(form->Frame().FileGrid->columnWidth(0), bold.horizontalAdvance("00:00 0 00.00"));
    EXPECT_TRUE(form->Frame().FileGrid->isColumnHidden(1));

    form->Frame().ShowFileNameItem->trigger();
    EXPECT_FALSE(form->Frame().FileGrid->isColumnHidden(1));
    EXPECT_EQ(form->Frame().FileGrid->columnWidth(1), bold.horizontalAdvance("AAAAAAAA.AAA"));
}

TEST_F(ListCellsTest, BriefsAreKeptOnlyAroundTheVisibleRows) {
    Messages(2000);
    Settings();
    auto form = OpenAndScan();
    ASSERT_EQ(form->ShownCount(), 2000);
    TFileGrid& grid = *form->Frame().FileGrid;
    auto briefs = [&] {
        std::vector<int> rows;
        for (int row = 0; row < 2000; ++row)
            if (TestAccess(*form).ListModel().HasBrief(row)) rows.push_back(row);
        return rows;
    };
    auto expectWindow = [&] {
        const int top = grid.TopRow();
        const int visible = grid.VisibleRows();
        ASSERT_GT(visible, 5);
        for (int row : briefs()) {
            EXPECT_GE(row, top - visible);
            EXPECT_LE(row, top + 2 * visible);
        }
        for (int row = std::max(0, top - visible); row <= top + 2 * visible; ++row)
            EXPECT_TRUE(TestAccess(*form).ListModel().HasBrief(row)) << row;
    };

    grid.setCurrentIndex(TestAccess(*form).ListModel().index(1000, 0));
    QApplication::processEvents();
    EXPECT_EQ(Row(*form), 1000);
    EXPECT_GT(grid.TopRow(), 900);
    expectWindow();
    EXPECT_EQ(TestAccess(*form).List().BriefWindowRows().first, grid.TopRow() - grid.VisibleRows());

    // Far back: the old rows let their briefs go.
    grid.setCurrentIndex(TestAccess(*form).ListModel().index(3, 0));
    QApplication::processEvents();
    expectWindow();
    EXPECT_FALSE(TestAccess(*form).ListModel().HasBrief(1000));

    // Scrolling alone paints, and so loads, only the rows it shows.
    grid.verticalScrollBar()->setValue(1500);
    grid.viewport()->repaint();
    EXPECT_TRUE(TestAccess(*form).ListModel().HasBrief(1500));
    EXPECT_FALSE(TestAccess(*form).ListModel().HasBrief(1200));
    EXPECT_LE(briefs().size(),
              static_cast<std::size_t>(3 * grid.VisibleRows() + 1 + grid.VisibleRows() + 2));
}

class ListKeysTest : public MainFormFixture {};

TEST_F(ListKeysTest, SpaceTogglesAndAdvancesButStaysOnTheLastRow) {
    Messages(3);
    Settings();
    auto form = OpenAndScan();
    TestAccess(*form).Scan().LastActionTick = 0;
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Space);
    EXPECT_GT(TestAccess(*form).Scan().LastActionTick, 0);
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{0});
    EXPECT_EQ(Row(*form), 1);
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Space);
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Space);
    EXPECT_EQ(Row(*form), 2);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 1, 2}));
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Space);
    EXPECT_EQ(Row(*form), 2);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 1}));
    EXPECT_EQ(form->Panel().Current().SelCount, 2);
    EXPECT_TRUE(form->Frame().HintLabel->text().endsWith("Kb in 2 selected files"));
}

TEST_F(ListKeysTest, HomeAndEndGoToTheFirstAndTheLastRowAndShowIt) {
    Messages(5);
    Settings();
    auto form = OpenAndScan();
    form->Frame().FileGrid->setFocus();
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_End);
    EXPECT_EQ(Row(*form), 4);
    EXPECT_EQ(TestAccess(*form).LastShownPath(), archive / "26_12_05/M0000.TXT");
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Home);
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(TestAccess(*form).LastShownPath(), archive / "26_12_05/M0004.TXT");
}

TEST_F(ListKeysTest, KeypadKeysInvertSelectAllAndUnselectAll) {
    Messages(4);
    Settings();
    auto form = OpenAndScan();
    form->Panel().Current().ToggleRow(1);
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 2, 3}));
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(form->Frame().HintLabel->text().endsWith("Kb in 4 selected files"));
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_TRUE(SelectedRows(*form).empty());
    // The keys of the main keyboard are not these commands.
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Plus);
    EXPECT_TRUE(SelectedRows(*form).empty());
}

TEST_F(ListKeysTest, CtrlWithKeypadPlusOrMinusOpensTheSelectDialog) {
    Messages(2);
    Settings("English=NO\r\n");
    auto form = OpenAndScan();
    QString caption;
    WhenDialogOpens([&](TDateMaskDlg& dialog) { caption = dialog.windowTitle(); });
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Plus, Qt::KeypadModifier | Qt::ControlModifier);
    EXPECT_EQ(caption, QString::fromUtf8("Выделить файлы"));
    WhenDialogOpens([&](TDateMaskDlg& dialog) {
        caption = dialog.windowTitle();
        EXPECT_EQ(dialog.PatternLabel->text(), QString::fromUtf8("&Образец"));
    });
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Minus,
                    Qt::KeypadModifier | Qt::ControlModifier);
    EXPECT_EQ(caption, QString::fromUtf8("Снять выделение с файлов"));
}

TEST_F(ListKeysTest, EnterAndDoubleClickAskForTheZoom) {
    Messages(3);
    Settings();
    auto form = OpenAndScan<ZoomCounting>();
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Return);
    EXPECT_EQ(form->zooms, 1);
    Mouse(*form, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, 1);
    EXPECT_EQ(form->zooms, 2);
    // Ctrl+Left only beeps.
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_TRUE(SelectedRows(*form).empty());
}

TEST_F(ListKeysTest, RightDragPaintsFromTheAnchorAndReleaseRecounts) {
    Messages(12);
    Settings();
    auto form = OpenAndScan();
    TestAccess(*form).Scan().LastActionTick = 0;
    Mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 3);
    EXPECT_GT(TestAccess(*form).Scan().LastActionTick, 0);
    EXPECT_EQ(TestAccess(*form).List().RightDragAnchor(), 3);
    EXPECT_TRUE(TestAccess(*form).List().RightDragState());
    // The right button never moves the current row.
    EXPECT_EQ(Row(*form), 0);
    for (int row : {4, 5, 6, 7})
        Mouse(*form, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, row);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{3, 4, 5, 6, 7}));
    for (int row : {6, 5}) Mouse(*form, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, row);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{3, 4, 5, 6, 7}));
    // Until the release the totals count only the anchor.
    EXPECT_EQ(form->Panel().Current().SelCount, 1);
    Mouse(*form, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 5);
    EXPECT_EQ(TestAccess(*form).List().RightDragAnchor(), -1);
    EXPECT_EQ(form->Panel().Current().SelCount, 5);
    EXPECT_TRUE(form->Frame().HintLabel->text().endsWith("Kb in 5 selected files"));

    // A drag that starts on a marked row clears.
    Mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 4);
    EXPECT_FALSE(TestAccess(*form).List().RightDragState());
    Mouse(*form, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, 2);
    Mouse(*form, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 2);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(form->Panel().Current().SelCount, 3);
}

TEST_F(ListKeysTest, DraggingOnTheBottomRowScrollsTheList) {
    Messages(200);
    Settings();
    auto form = OpenAndScan();
    TFileGrid& grid = *form->Frame().FileGrid;
    const int bottom = grid.VisibleRows() - 1;
    Mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, bottom - 1);
    Mouse(*form, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, bottom);
    EXPECT_EQ(grid.TopRow(), 1);
    Mouse(*form, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, bottom);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{bottom - 1, bottom}));
}

class SelectDialogTest : public MainFormFixture {
  protected:
    void Days() {
        for (int day = 1; day <= 6; ++day)
            WriteFile(archive /
                          ("26_12_0" + std::to_string(day) + "/D" + std::to_string(day) + ".TXT"),
                      "day\r\n", LocalTime(2026, 12, day, 12, 0));
        WriteFile(archive / "26_12_03/X.DOC", "doc", LocalTime(2026, 12, 3, 13, 0));
    }

    std::vector<std::string> SelectedNames(TMainform& form) {
        std::vector<std::string> names;
        for (int row : SelectedRows(form))
            names.emplace_back(form.Panel().RecordAtRow(row)->FileName());
        return names;
    }
};

TEST_F(SelectDialogTest, EitherOrderOfTheDatesSelectsTheSameMessages) {
    Days();
    Settings();
    auto form = OpenAndScan();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    WhenDialogOpens([](TDateMaskDlg& dialog) {
        // Empty boxes offer the newest and the oldest day of the list.
        EXPECT_EQ(dialog.FromText(), "06.12.2026");
        EXPECT_EQ(dialog.ToText(), "01.12.2026");
        EXPECT_EQ(dialog.FromComboBox->count(), 6);
        Choose(dialog, "*.TXT", "01.12.2026", "05.12.2026");
    });
    form->Frame().SelectItem->trigger();
    const std::vector<std::string> forward = SelectedNames(*form);
    EXPECT_EQ(forward,
              (std::vector<std::string>{"D5.TXT", "D4.TXT", "D3.TXT", "D2.TXT", "D1.TXT"}));

    // The menu needs the window active again, which closing the dialog
    // brings about only later; the commands themselves are called here.
    TestAccess(*form).List().UnselectAll();
    WhenDialogOpens([](TDateMaskDlg& dialog) {
        // The texts of the last OK come back.
        EXPECT_EQ(dialog.MaskText(), "*.TXT");
        EXPECT_EQ(dialog.FromText(), "01.12.2026");
        EXPECT_EQ(dialog.ToText(), "05.12.2026");
        Choose(dialog, "*.TXT", "05.12.26", "1.12.2026");
    });
    TestAccess(*form).List().SelectFilesDialog(true);
    EXPECT_EQ(SelectedNames(*form), forward);
    EXPECT_EQ(TestAccess(*form).List().SelectFromText(), "05.12.26");
    EXPECT_TRUE(form->Frame().HintLabel->text().endsWith("Kb in 5 selected files"));
}

TEST_F(SelectDialogTest, AWrongDateKeepsTheDialogOpenWithTheFocusOnIt) {
    Days();
    Settings();
    auto form = OpenAndScan();
    ScriptedDialogs dialogs;
    bool stayedOpen = false;
    QWidget* focused = nullptr;
    QWidget* fromBox = nullptr;
    WhenDialogOpens([&](TDateMaskDlg& dialog) {
        fromBox = dialog.FromComboBox;
        (void)QTest::qWaitForWindowActive(&dialog);
        Choose(dialog, "*.*", "31.02.2026", "01.12.2026");
        stayedOpen = dialog.isVisible();
        // The dialog's own focus, which holds even while no window is active.
        focused = dialog.focusWidget();
        if (focused == dialog.FromComboBox->lineEdit()) focused = dialog.FromComboBox;
        Choose(dialog, "*.*", "01.12.2026", "5.13.2026");
        EXPECT_TRUE(dialog.isVisible());
        dialog.CancelBtn->click();
    });
    TestAccess(*form).List().SelectFilesDialog(true);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(focused, fromBox);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0].text, "Wrong date 31.02.2026");
    EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.questions[0].buttons, TMsgButtons::Yes);
    EXPECT_EQ(dialogs.questions[1].text, "Wrong date 5.13.2026");
    EXPECT_TRUE(SelectedRows(*form).empty());
    // Cancel keeps the texts remembered before.
    EXPECT_TRUE(TestAccess(*form).List().SelectFromText().isEmpty());
}

TEST_F(SelectDialogTest, UnselectingTextFilesLeavesTheOthersMarked) {
    Days();
    Settings();
    auto form = OpenAndScan();
    TestAccess(*form).List().SelectAll();
    WhenDialogOpens([](TDateMaskDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select files");
        Choose(dialog, "*.TXT", "01.12.2026", "06.12.2026");
    });
    form->Frame().UnshineButton->click();
    EXPECT_EQ(SelectedNames(*form), std::vector<std::string>{"X.DOC"});
    EXPECT_EQ(form->Panel().Current().SelCount, 1);
}

} // namespace
