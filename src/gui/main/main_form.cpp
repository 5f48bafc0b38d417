#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "gui/app/lang.h"
#include "gui/app/service_name.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>
#include <utility>

namespace varnot {

qint64 MonotonicTick() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TMainform::TMainform(TTickSource ticks, QWidget* parent)
    : QMainWindow(parent), ticks_(ticks ? std::move(ticks) : TTickSource(MonotonicTick)) {
    BuildFrame();
    FormCreate();
}

TMainform::~TMainform() {
    // A window that goes without being closed (the application quits under
    // it) still saves what must survive the run.
    FormDestroy();
}

void TMainform::BuildFrame() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    RxSplitter = new QSplitter(Qt::Vertical, central);
    RxSplitter->setChildrenCollapsible(false);
    RxSplitter->setHandleWidth(6);
    FileGrid = new QWidget(RxSplitter);
    FileGrid->setObjectName("FileGrid");
    ViewMemo = new QWidget(RxSplitter);
    ViewMemo->setObjectName("ViewMemo");
    RxSplitter->addWidget(FileGrid);
    RxSplitter->addWidget(ViewMemo);
    column->addWidget(RxSplitter, 1);

    StatusPanel = new QWidget(central);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setFixedHeight(30);
    auto* row = new QHBoxLayout(StatusPanel);
    row->setContentsMargins(2, 2, 2, 2);
    HintLabel = new QLabel(StatusPanel);
    HintLabel->setObjectName("HintLabel");
    row->addWidget(HintLabel, 1);
    RereadButton = new QToolButton(StatusPanel);
    RereadButton->setObjectName("RereadButton");
    RereadButton->setFixedWidth(73);
    row->addWidget(RereadButton);
    column->addWidget(StatusPanel);

    setCentralWidget(central);
}

void TMainform::FormCreate() {
    // One read of the file for the whole start-up; nothing stays open after it.
    const IniFile ini(SettingsFile());

    // 1. Critical-error boxes do not exist here: file calls fail with an error code.

    // 2. The search walk (steps of 1 ms) starts only when a search does.
    SearchTimer = new QTimer(this);
    SearchTimer->setInterval(1);

    // 3. The announce service's name; the service itself starts with the window.
    ServiceName = ReduceServiceName(Read(ini, keys::Service));

    // 4.
    ArchiveRoot = ArchiveRootFrom(Read(ini, keys::Path));

    // 5. RightDragAnchor is -1 from its declaration.
    // TODO(view buffer): allocate ViewBuffer with the message loader.

    // 6.
    AutoShow = Read(ini, keys::AutoShow);
    InDOS = Read(ini, keys::InDOS);
    InZEV = Read(ini, keys::InZEV);
    AutoPrint = Read(ini, keys::AutoPrint);
    ShowFileName = Read(ini, keys::ShowFileName);
    // TODO(menus): tick ShowFileNameItem to match ShowFileName.
    CaptionColor = Read(ini, keys::CaptionColor);
    KeyWordColor = Read(ini, keys::KeyWordColor);
    HighLightColor = Read(ini, keys::HighLightColor);

    // 7. Word wrap belongs to the sectioned message format.
    if (InZEV) WordWrap = Read(ini, keys::WordWrap);
    // TODO(view): show WrapButton, WordWrapItem and WordWrapSeparator only when
    // InZEV is on; apply WordWrap to ViewMemo, its tick and the button's hint.

    // 8.
    DeleteAutomaticly = Read(ini, keys::DeleteAutomaticly);
    InsertDataTimeWhenPrinting = Read(ini, keys::InsertDataTimeWhenPrinting);
    InsertDataTimeWhenExporting = Read(ini, keys::InsertDataTimeWhenExporting);
    AutoShowDelay = Read(ini, keys::AutoShowDelay);
    WordExe = Read(ini, keys::WordExe);
    NotePadExe = Read(ini, keys::NotePadExe);
    RereadDelay = Read(ini, keys::RereadDelay);
    MarkDelay = Read(ini, keys::MarkDelay);

    // 9. The periodic timer: rescans every RereadDelay minutes and read marking.
    Timer = new QTimer(this);
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, &TMainform::TimerTimer);
    Timer->start();

    // 10.
    English = Read(ini, keys::English);
    ApplyCaptions();

    // 11. A larger list only takes effect at the next start.
    ViewBufferSize = ReadClamped(ini, keys::ViewBufferSize, keys::ViewBufferSizeAtStart);

    // 12.
    Keywords.clear();
    Masks = {"*.*"};
    HighLightWordList = SplitWordList(Read(ini, keys::HighLightWords));

    // 13. The list starts from the newest day.
    DateIndex = 0;
    // TODO(panel): create the message panel on FileGrid with two pools of
    // ViewBufferSize records; it loads the marks of a cleanly ended run and
    // sets main/LastExitIsGood to NO for this one.

    // 14.-16. TODO(fonts and views): List/Font and List/Size for the grid (bold
    // drawing font, row height size x 1.8), View/Font and View/Size for both
    // views, Main/CharSet, Main/RichView choosing the rich or the plain view.

    // 17. TODO(icon): the application icon.

    // 18.
    LoadFormSize();

    // 19. TODO(list): reset the grid to one row, row 0 current.
    Zoomed = false;

    // 20. TODO(filters): fill FilterComboBox from Filters, select
    // Main/FilterIndex ("All" when outside the list) and apply it.

    // 21. TODO(dates): rebuild the date list (DropDateCombo), newest day first.

    // 22. TODO(scanner): ask for the first pass, ReRead(1).

    // 23. Idle from the start.
    ClampSetting(AutoShowDelay, keys::AutoShowDelayAtStart.lower, keys::AutoShowDelayAtStart.upper);
    LastActionTick = TickNow() - static_cast<qint64>(AutoShowDelay) * 60000;
}

void TMainform::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    Timer->stop();
    SearchTimer->stop();

    // 1. TODO(scanner): set the stop flag of a running pass and wait for it.
    // 2. TODO(marks): save the marks of the list on display to "attr.sav".
    // 3. TODO(view buffer): release ViewBuffer.
    Masks.clear();
    HighLightWordList.clear();
    Keywords.clear();
    // 4. TODO(panel): destroy the message panel; that writes
    // main/LastExitIsGood = YES.

    // 5.
    SaveFormSize();
}

void TMainform::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
}

void TMainform::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainform::FormResize() {
    ApplyRatio(PaneRatio);
}

void TMainform::ApplyCaptions() {
    setWindowTitle(Lang("Пеллмар - Новости", "Pellmar NEWS"));
    RereadButton->setToolTip(Lang("Обновить", "Rescan"));
    // TODO(menus and tool bar): the other captions and hints.
}

void TMainform::ApplyRatio(int percent) {
    // TODO(layout): the full layout (splitter hint, bounds 5..95, columns).
    const int available = RxSplitter->height();
    if (available <= 0) return;
    const int list = available * percent / 100;
    RxSplitter->setSizes({list, available - list});
}

void TMainform::LoadFormSize() {
    const IniFile ini(SettingsFile());
    PaneRatio = NormalizeFrameSplit(Read(ini, keys::FrameSplit));
    SavedRatio = PaneRatio;
    // X and Y place the window's frame, W and H size its inside, the same
    // way SaveFormSize reads them back.
    resize(Read(ini, keys::FrameW), Read(ini, keys::FrameH));
    move(Read(ini, keys::FrameX), Read(ini, keys::FrameY));
}

void TMainform::SaveFormSize() {
    IniFile ini(SettingsFile());
    Write(ini, keys::FrameW, width());
    Write(ini, keys::FrameH, height());
    Write(ini, keys::FrameX, x());
    Write(ini, keys::FrameY, y());
    Write(ini, keys::FrameSplit, Zoomed ? SavedRatio : PaneRatio);
    // A failed write is not reported: the geometry is a convenience.
    ini.Save();
}

void TMainform::ShowPosition(int row) {
    RereadButton->setText(QString::number(row + 1) + ':' + QString::number(ShownCount()));
}

int TMainform::ShownCount() const {
    return 0;
}

void TMainform::TimerTimer() {
    // TODO(scanner): periodic rescan every RereadDelay minutes; read marking
    // after MarkDelay ms under the cursor.
}

} // namespace varnot
