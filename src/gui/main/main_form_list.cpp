// The message list seen from the window: the grid's layout, the file-name
// column, a click that moves the current row, and the clicks on the splitter
// bar and the status line. The grid's keys, its mouse marking and the
// selection commands are the list controller's.
#include "gui/main/main_form.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/dos_time.h"
#include "core/main/list_cells.h"
#include "core/text/code_pages.h"
#include "gui/main/date_mask_dlg.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>

namespace varnot {

void TMainform::LayoutList() {
    if (!listModel_) return;
    const QFont bold = listModel_->BoldListFont();
    const QFontMetrics metrics(bold);
    // The size in points; a font sized in pixels reports its points through QFontInfo.
    int points = bold.pointSize();
    if (points <= 0) points = QFontInfo(bold).pointSize();
    TFileGrid& grid = *frame_->FileGrid;
    grid.SetRowHeight(points * 18 / 10);
    grid.setColumnWidth(TimeColumn, metrics.horizontalAdvance("00:00 0 00.00"));
    grid.setColumnHidden(NameColumn, !settings_.showFileName);
    if (settings_.showFileName)
        grid.setColumnWidth(NameColumn, metrics.horizontalAdvance("AAAAAAAA.AAA"));
}

void TMainform::ShowFileNameItemClick() {
    settings_.showFileName = !settings_.showFileName;
    frame_->ShowFileNameItem->setChecked(settings_.showFileName);
    ApplyRatio(paneRatio_);
    WriteSetting(SettingsFile(), keys::ShowFileName, settings_.showFileName);
    UpdateStatusLine();
}

void TMainform::FileGridClick() {
    if (ShownCount() > 0) FileClick();
}

bool TMainform::eventFilter(QObject* watched, QEvent* event) {
    if (!scan_ || event->type() != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == frame_->RxSplitterHandle) {
        RxSplitterMouseUp(mouse->button(), mouse->globalPosition().toPoint());
        return false;
    }
    if (watched == frame_->HintLabel) {
        if (mouse->button() == Qt::LeftButton) HintLabelClick();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnot
