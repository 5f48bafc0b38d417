#include "gui/main/list_controller.h"

#include "core/archive/dos_time.h"
#include "core/archive/file_panel.h"
#include "gui/app/text_bytes.h"
#include "gui/main/date_mask_dlg.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace varnot {

TListController::TListController(TFileGrid& grid, TMessageListModel& model, TFilePanel& panel,
                                 Hooks hooks, QWidget* dialogParent)
    : QObject(&grid), grid_(grid), model_(model), panel_(panel), hooks_(std::move(hooks)),
      dialogParent_(dialogParent), viewport_(grid.viewport()) {
    grid_.installEventFilter(this);
    viewport_->installEventFilter(this);
}

int TListController::ShownCount() const {
    return panel_.ShownCount();
}

int TListController::CurrentRow() const {
    const QModelIndex current = grid_.currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TListController::MoveToRow(int row) {
    const QModelIndex index = model_.index(row, 0);
    if (!index.isValid()) return;
    grid_.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    grid_.scrollTo(index);
}

void TListController::ViewPort() {
    const BriefWindow next = BriefWindowFor(grid_.TopRow(), grid_.VisibleRows(), ShownCount());
    MoveBriefWindow(
        briefWindowRows_, next, [this](int row) { model_.LoadBrief(row); },
        [this](int row) { model_.FreeBrief(row); });
    briefWindowRows_ = next;
}

void TListController::AfterMarksChanged() {
    model_.Repaint();
    if (hooks_.marksChanged) hooks_.marksChanged();
}

void TListController::ToggleAndAdvance() {
    if (ShownCount() <= 0) return;
    const int row = CurrentRow();
    panel_.Current().ToggleRow(row);
    model_.Repaint();
    if (row < model_.rowCount() - 1) MoveToRow(row + 1);
    if (hooks_.marksChanged) hooks_.marksChanged();
}

void TListController::SelectAll() {
    panel_.Current().SelectAll();
    AfterMarksChanged();
}

void TListController::UnselectAll() {
    panel_.Current().UnselectAll();
    AfterMarksChanged();
}

void TListController::InvertSelection() {
    if (ShownCount() <= 0) return;
    panel_.Current().InvertSelection();
    AfterMarksChanged();
}

void TListController::SelectFilesDialog(bool select) {
    TDateMaskDlg dialog(select, dialogParent_);
    const DateChoices choices = panel_.Current().FillDateChoices(
        ToCp1251(selectFromText_), ToCp1251(selectToText_), varnot::Now());
    dialog.SetTexts(selectMaskText_, {}, {});
    dialog.SetDateChoices(FromCp1251(choices.firstItems), FromCp1251(choices.secondItems),
                          FromCp1251(choices.first), FromCp1251(choices.second));
    if (dialog.exec() != QDialog::Accepted) return;
    selectMaskText_ = dialog.MaskText();
    selectFromText_ = dialog.FromText();
    selectToText_ = dialog.ToText();
    panel_.Current().SelectByDateAndMask(ToCp1251(selectMaskText_), select, dialog.EarlierDate(),
                                         dialog.LaterDate());
    AfterMarksChanged();
}

bool TListController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &grid_ && event->type() == QEvent::KeyPress) {
        if (hooks_.operatorActed) hooks_.operatorActed();
        return FileGridKeyDown(static_cast<QKeyEvent*>(event));
    }
    // The viewport is compared by the pointer kept at construction: while the
    // grid is being destroyed its viewport still sends events, and the grid
    // can no longer be asked for it.
    if (watched != viewport_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (hooks_.operatorActed) hooks_.operatorActed();
        return FileGridMouseDown(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return FileGridMouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        FileGridMouseUp();
        // The grid never sees the right button: it would move the current row.
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    default:
        return false;
    }
}

bool TListController::FileGridKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool keypad = modifiers & Qt::KeypadModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Asterisk:
        if (!keypad) return false;
        panel_.Current().InvertSelection();
        AfterMarksChanged();
        return true;
    case Qt::Key_Plus:
        if (!keypad) return false;
        if (ctrl)
            SelectFilesDialog(true);
        else
            SelectAll();
        return true;
    case Qt::Key_Minus:
        if (!keypad) return false;
        if (ctrl)
            SelectFilesDialog(false);
        else
            UnselectAll();
        return true;
    case Qt::Key_Space:
        ToggleAndAdvance();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (hooks_.zoomIn) hooks_.zoomIn();
        return true;
    case Qt::Key_Left:
        if (!ctrl) return false;
        QApplication::beep();
        return true;
    default:
        return false;
    }
}

bool TListController::FileGridMouseDown(QMouseEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && event->button() == Qt::LeftButton) {
        if (hooks_.zoomIn) hooks_.zoomIn();
        return true;
    }
    if (event->button() != Qt::RightButton) return false;
    const int row = grid_.rowAt(event->position().toPoint().y());
    // The single empty row of an empty list has no message to mark.
    if (row >= 0 && ShownCount() > 0) {
        panel_.Current().ToggleRow(row);
        if (hooks_.marksChanged) hooks_.marksChanged();
        rightDragAnchor_ = row;
        rightDragState_ = panel_.IsRowSelected(row);
    }
    model_.Repaint();
    return true;
}

bool TListController::FileGridMouseMove(QMouseEvent* event) {
    if (!(event->buttons() & Qt::RightButton)) return false;
    const int row = grid_.rowAt(event->position().toPoint().y());
    if (row < 0 || rightDragAnchor_ == -1 || ShownCount() <= rightDragAnchor_) return true;
    // The bits are set directly; the release recounts the totals.
    auto paint = [this](int at) {
        if (TFileInfo* record = panel_.RecordAtRow(at))
            record->SetFlag(TRecordFlag::Selected, rightDragState_);
    };
    paint(rightDragAnchor_);
    int step = 0;
    if (row != rightDragAnchor_) {
        step = row > rightDragAnchor_ ? 1 : -1;
        for (int at = rightDragAnchor_ + step; at != row + step; at += step) paint(at);
    }
    model_.Repaint();
    // At the top or bottom visible row the list scrolls on by one row.
    const int top = grid_.TopRow();
    const int bottom = top + grid_.VisibleRows() - 1;
    if (step != 0 && (row == top || row == bottom) && top != bottom && top + step >= 0 &&
        bottom + step < model_.rowCount())
        grid_.SetTopRow(top + step);
    return true;
}

void TListController::FileGridMouseUp() {
    rightDragAnchor_ = -1;
    panel_.Current().BuildRows(0);
    if (hooks_.marksChanged) hooks_.marksChanged();
}

} // namespace varnot
