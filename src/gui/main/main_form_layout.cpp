// The division of the window between the list and the view: the pane ratio,
// the splitter bar and its menus, and zooming the view in and out.
#include "gui/main/main_form.h"

#include "core/archive/file_info.h"
#include "core/archive/message_text.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QUrl>
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

void TMainform::ConnectLayoutSignals() {
    RxSplitter->setOpaqueResize(true); // the panes follow the drag; the release only measures
    splitterHandle_ = RxSplitter->handle(1);
    splitterHandle_->setObjectName("RxSplitterHandle");
    splitterHandle_->setAutoFillBackground(true);
    splitterHandle_->installEventFilter(this);
    ViewMemoFocus(false);

    connect(ZoomOutItem, &QAction::triggered, this, &TMainform::ZoomOutViewWindow);
    connect(View, &TMessageView::ViewEnterPressed, this, [this] {
        if (Zoomed)
            ZoomOutViewWindow();
        else
            FileGrid->setFocus();
    });
    connect(View, &TMessageView::ViewDoubleClicked, this, &TMainform::ZoomOutViewWindow);
    connect(View, &TMessageView::ViewFocusChanged, this, &TMainform::ViewMemoFocus);
    OpenWithAssociatedProgram = [](const QString& path) {
        // What the program does with the file is not examined.
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
}

PaneGeometry TMainform::CurrentPaneGeometry() const {
    const int areaTop = AreaTop(*this);
    const QRect central = centralWidget()->geometry();
    PaneGeometry geometry;
    geometry.top = central.top() - areaTop;
    geometry.splitter = RxSplitter->handleWidth();
    // The status panel and whatever lies below the central area.
    geometry.bottom = StatusPanel->height() + (height() - central.bottom() - 1);
    geometry.client = height() - areaTop;
    return geometry;
}

void TMainform::FormResize() {
    ApplyRatio(PaneRatio);
}

void TMainform::ApplyRatio(int percent) {
    // The ratio is taken as it is: going through a splitter position would
    // add up to 200 / shared height percent, so that every resize, every
    // start and every zoom-out of a small window would let it creep upwards.
    PaneRatio = std::clamp(percent, MinPaneRatio, MaxPaneRatio);
    LayoutPanes();
}

void TMainform::Layout(int y) {
    PaneRatio = RatioForSplitterY(CurrentPaneGeometry(), y, PaneRatio);
    LayoutPanes();
}

void TMainform::LayoutPanes() {
    const PaneGeometry geometry = CurrentPaneGeometry();
    if (splitterHandle_) splitterHandle_->setToolTip(QString::number(PaneRatio) + " %");
    const int list = ListHeightForRatio(geometry, PaneRatio);
    const int shared = std::max(0, geometry.Available());
    RxSplitter->setSizes({list, std::max(0, shared - list)});
    LayoutList();
}

void TMainform::RxSplitterMouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::LeftButton) {
        const int top = splitterHandle_->mapTo(this, QPoint(0, 0)).y() - AreaTop(*this);
        Layout(top + CurrentPaneGeometry().HalfSplitter());
    } else if (button == Qt::RightButton) {
        (Zoomed ? ZoomPopupMenu : NormalPopupMenu)->popup(globalPos);
    }
}

void TMainform::ZoomInViewWindow() {
    const QModelIndex current = FileGrid->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    if (ShownCount() > 0) {
        if (const TFileInfo* record = Panel->RecordAtRow(row)) {
            const std::string path = DiskPath(settings_.archiveRoot, *record);
            if (!IsTextMessage(path)) {
                if (OpenWithAssociatedProgram)
                    OpenWithAssociatedProgram(QFile::decodeName(QByteArray::fromStdString(path)));
                return;
            }
        }
    }
    // Zooming in twice keeps the ratio from before the first time.
    if (!Zoomed) SavedRatio = PaneRatio;
    Layout(FileGrid->mapTo(this, QPoint(0, 0)).y() - AreaTop(*this));
    // The small list keeps the current message in sight.
    FileGrid->SetTopRow(row);
    Zoomed = true;
    CheckButtons();
    View->FocusView();
}

void TMainform::ZoomOutViewWindow() {
    if (!Zoomed) return;
    Zoomed = false;
    ApplyRatio(SavedRatio);
    CheckButtons();
    FileGrid->setFocus();
}

void TMainform::ViewMemoFocus(bool focused) {
    if (!splitterHandle_) return;
    QPalette palette = splitterHandle_->palette();
    const QColor colour = focused ? palette.color(QPalette::Active, QPalette::Highlight)
                                  : palette.color(QPalette::Active, QPalette::Button);
    palette.setColor(QPalette::Window, colour);
    splitterHandle_->setPalette(palette);
}

} // namespace varnot
