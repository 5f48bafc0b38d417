// The message list: its layout, briefs, keys, mouse marking and the
// selection commands.
#include "gui/main/main_form.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/code_pages.h"
#include "core/archive/dos_time.h"
#include "core/main/list_cells.h"
#include "gui/main/date_mask_dlg.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace varnot {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

std::string ToBytes(const QString& text) {
    return Utf16ToCp1251(text.toStdU16String());
}

QStringList FromBytes(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << FromBytes(item);
    return list;
}

} // namespace

void TMainform::LayoutList() {
    if (!ListModel) return;
    const QFont bold = ListModel->BoldListFont();
    const QFontMetrics metrics(bold);
    // The size in points; a font sized in pixels reports its points through QFontInfo.
    int points = bold.pointSize();
    if (points <= 0) points = QFontInfo(bold).pointSize();
    FileGrid->SetRowHeight(points * 18 / 10);
    FileGrid->setColumnWidth(TimeColumn, metrics.horizontalAdvance("00:00 0 00.00"));
    FileGrid->setColumnHidden(NameColumn, !settings_.showFileName);
    if (settings_.showFileName)
        FileGrid->setColumnWidth(NameColumn, metrics.horizontalAdvance("AAAAAAAA.AAA"));
}

void TMainform::ShowFileNameItemClick() {
    settings_.showFileName = !settings_.showFileName;
    ShowFileNameItem->setChecked(settings_.showFileName);
    ApplyRatio(PaneRatio);
    WriteSetting(SettingsFile(), keys::ShowFileName, settings_.showFileName);
    UpdateStatusLine();
}

QString TMainform::LoadBrief(int row) {
    return ListModel->LoadBrief(row);
}

void TMainform::FreeBrief(int row) {
    ListModel->FreeBrief(row);
}

void TMainform::ViewPort() {
    const BriefWindow next =
        BriefWindowFor(FileGrid->TopRow(), FileGrid->VisibleRows(), ShownCount());
    MoveBriefWindow(
        BriefWindowRows, next, [this](int row) { ListModel->LoadBrief(row); },
        [this](int row) { ListModel->FreeBrief(row); });
    BriefWindowRows = next;
}

void TMainform::FileGridClick() {
    if (ShownCount() > 0) FileClick();
}

void TMainform::MoveToRow(int row) {
    const QModelIndex index = ListModel->index(row, 0);
    if (!index.isValid()) return;
    FileGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    FileGrid->scrollTo(index);
}

void TMainform::AfterMarksChanged() {
    RepaintList();
    UpdateStatusLine();
}

void TMainform::ToggleAndAdvance() {
    if (ShownCount() <= 0) return;
    const int row = CurrentRow();
    Panel->Current().ToggleRow(row);
    RepaintList();
    if (row < ListModel->rowCount() - 1) MoveToRow(row + 1);
    UpdateStatusLine();
}

void TMainform::SelectallItemClick() {
    Panel->Current().SelectAll();
    AfterMarksChanged();
}

void TMainform::UnSelectAllItemClick() {
    Panel->Current().UnselectAll();
    AfterMarksChanged();
}

void TMainform::InvertItemClick() {
    if (ShownCount() <= 0) return;
    Panel->Current().InvertSelection();
    AfterMarksChanged();
}

void TMainform::SelectFilesDialog(bool select) {
    TDateMaskDlg dialog(select, this);
    const DateChoices choices = Panel->Current().FillDateChoices(
        ToBytes(SelectFromText), ToBytes(SelectToText), varnot::Now());
    dialog.SetTexts(SelectMaskText, {}, {});
    dialog.SetDateChoices(FromBytes(choices.firstItems), FromBytes(choices.secondItems),
                          FromBytes(choices.first), FromBytes(choices.second));
    if (dialog.exec() != QDialog::Accepted) return;
    SelectMaskText = dialog.MaskText();
    SelectFromText = dialog.FromText();
    SelectToText = dialog.ToText();
    Panel->Current().SelectByDateAndMask(ToBytes(SelectMaskText), select, dialog.EarlierDate(),
                                         dialog.LaterDate());
    AfterMarksChanged();
}

bool TMainform::eventFilter(QObject* watched, QEvent* event) {
    if (!Scan) return QMainWindow::eventFilter(watched, event);
    if (watched == splitterHandle_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        RxSplitterMouseUp(mouse->button(), mouse->globalPosition().toPoint());
        return false;
    }
    if (watched == HintLabel && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) HintLabelClick();
        return false;
    }
    if (watched == FileGrid && event->type() == QEvent::KeyPress) {
        Scan->RecordAction();
        return FileGridKeyDown(static_cast<QKeyEvent*>(event));
    }
    if (watched != FileGrid->viewport()) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Scan->RecordAction();
        return FileGridMouseDown(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return FileGridMouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: {
        FileGridMouseUp();
        // The grid never sees the right button: it would move the current row.
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

bool TMainform::FileGridKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool keypad = modifiers & Qt::KeypadModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Asterisk:
        if (!keypad) return false;
        Panel->Current().InvertSelection();
        AfterMarksChanged();
        return true;
    case Qt::Key_Plus:
        if (!keypad) return false;
        if (ctrl)
            SelectFilesDialog(true);
        else
            SelectallItemClick();
        return true;
    case Qt::Key_Minus:
        if (!keypad) return false;
        if (ctrl)
            SelectFilesDialog(false);
        else
            UnSelectAllItemClick();
        return true;
    case Qt::Key_Space:
        ToggleAndAdvance();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ZoomInViewWindow();
        return true;
    case Qt::Key_Left:
        if (!ctrl) return false;
        QApplication::beep();
        return true;
    default:
        return false;
    }
}

bool TMainform::FileGridMouseDown(QMouseEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && event->button() == Qt::LeftButton) {
        ZoomInViewWindow();
        return true;
    }
    if (event->button() != Qt::RightButton) return false;
    const int row = FileGrid->rowAt(event->position().toPoint().y());
    // The single empty row of an empty list has no message to mark.
    if (row >= 0 && ShownCount() > 0) {
        Panel->Current().ToggleRow(row);
        UpdateStatusLine();
        RightDragAnchor = row;
        RightDragState = Panel->IsRowSelected(row);
    }
    RepaintList();
    return true;
}

bool TMainform::FileGridMouseMove(QMouseEvent* event) {
    if (!(event->buttons() & Qt::RightButton)) return false;
    const int row = FileGrid->rowAt(event->position().toPoint().y());
    if (row < 0 || RightDragAnchor == -1 || ShownCount() <= RightDragAnchor) return true;
    // The bits are set directly; the release recounts the totals.
    auto paint = [this](int at) {
        if (TFileInfo* record = Panel->RecordAtRow(at))
            record->SetFlag(TRecordFlag::Selected, RightDragState);
    };
    paint(RightDragAnchor);
    int step = 0;
    if (row != RightDragAnchor) {
        step = row > RightDragAnchor ? 1 : -1;
        for (int at = RightDragAnchor + step; at != row + step; at += step) paint(at);
    }
    RepaintList();
    // At the top or bottom visible row the list scrolls on by one row.
    const int top = FileGrid->TopRow();
    const int bottom = top + FileGrid->VisibleRows() - 1;
    if (step != 0 && (row == top || row == bottom) && top != bottom && top + step >= 0 &&
        bottom + step < ListModel->rowCount())
        FileGrid->SetTopRow(top + step);
    return true;
}

void TMainform::FileGridMouseUp() {
    RightDragAnchor = -1;
    Panel->Current().BuildRows(0);
    UpdateStatusLine();
}

} // namespace varnot
