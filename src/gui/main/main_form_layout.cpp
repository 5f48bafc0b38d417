// The division of the window between the list and the view: the pane ratio,
// the splitter bar and its menus, and zooming the view in and out.
#include "gui/main/main_form.h"

#include "core/archive/file_info.h"
#include "core/archive/file_panel.h"
#include "core/archive/message_text.h"
#include "gui/app/text_bytes.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <algorithm>

namespace varnot {

namespace {

// The top of the area below the menu bar, in window coordinates: the layout
// measures from there.
int AreaTop(const QMainWindow& window) {
    const QWidget* menu = window.menuWidget();
    return menu && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
}

} // namespace

PaneGeometry TMainform::CurrentPaneGeometry() const {
    const int areaTop = AreaTop(*this);
    const QRect central = centralWidget()->geometry();
    PaneGeometry geometry;
    geometry.top = central.top() - areaTop;
    geometry.splitter = frame_->RxSplitter->handleWidth();
    // The status panel and whatever lies below the central area.
    geometry.bottom = frame_->StatusPanel->height() + (height() - central.bottom() - 1);
    geometry.client = height() - areaTop;
    return geometry;
}

void TMainform::FormResize() {
    ApplyRatio(paneRatio_);
}

void TMainform::ApplyRatio(int percent) {
    // The ratio is taken as it is: going through a splitter position would
    // add up to 200 / shared height percent, so that every resize, every
    // start and every zoom-out of a small window would let it creep upwards.
    paneRatio_ = std::clamp(percent, MinPaneRatio, MaxPaneRatio);
    LayoutPanes();
}

void TMainform::Layout(int y) {
    paneRatio_ = RatioForSplitterY(CurrentPaneGeometry(), y, paneRatio_);
    LayoutPanes();
}

void TMainform::LayoutPanes() {
    const PaneGeometry geometry = CurrentPaneGeometry();
    if (frame_->RxSplitterHandle)
        frame_->RxSplitterHandle->setToolTip(QString::number(paneRatio_) + " %");
    const int list = ListHeightForRatio(geometry, paneRatio_);
    const int shared = std::max(0, geometry.Available());
    frame_->RxSplitter->setSizes({list, std::max(0, shared - list)});
    LayoutList();
}

void TMainform::RxSplitterMouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::LeftButton) {
        const int top = frame_->RxSplitterHandle->mapTo(this, QPoint(0, 0)).y() - AreaTop(*this);
        Layout(top + CurrentPaneGeometry().HalfSplitter());
    } else if (button == Qt::RightButton) {
        (zoomed_ ? frame_->ZoomPopupMenu : frame_->NormalPopupMenu)->popup(globalPos);
    }
}

void TMainform::ZoomInViewWindow() {
    const QModelIndex current = frame_->FileGrid->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    if (ShownCount() > 0) {
        if (const TFileInfo* record = panel_->RecordAtRow(row)) {
            const std::string path = DiskPath(settings_.archiveRoot, *record);
            if (!IsTextMessage(path)) {
                if (openWithAssociatedProgram_) openWithAssociatedProgram_(FromPathBytes(path));
                return;
            }
        }
    }
    // Zooming in twice keeps the ratio from before the first time.
    if (!zoomed_) savedRatio_ = paneRatio_;
    Layout(frame_->FileGrid->mapTo(this, QPoint(0, 0)).y() - AreaTop(*this));
    // The small list keeps the current message in sight.
    frame_->FileGrid->SetTopRow(row);
    zoomed_ = true;
    CheckButtons();
    frame_->View->FocusView();
}

void TMainform::ZoomOutViewWindow() {
    if (!zoomed_) return;
    zoomed_ = false;
    ApplyRatio(savedRatio_);
    CheckButtons();
    frame_->FileGrid->setFocus();
}

void TMainform::ViewMemoFocus(bool focused) {
    if (!frame_->RxSplitterHandle) return;
    QPalette palette = frame_->RxSplitterHandle->palette();
    const QColor colour = focused ? palette.color(QPalette::Active, QPalette::Highlight)
                                  : palette.color(QPalette::Active, QPalette::Button);
    palette.setColor(QPalette::Window, colour);
    frame_->RxSplitterHandle->setPalette(palette);
}

} // namespace varnot
