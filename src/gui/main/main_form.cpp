// The main window's life: creation with every setting and shared object,
// the orderly shutdown, and what the scanner logic asks of the window.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/day_folders.h"
#include "core/archive/file_panel.h"
#include "core/main/frame_bounds.h"
#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/app/service_name.h"
#include "gui/app/text_bytes.h"
#include "gui/app/unix_signals.h"
#include "gui/main/announce_service.h"
#include "gui/main/editor_commands.h"
#include "gui/main/file_op_commands.h"
#include "gui/main/filter_commands.h"
#include "gui/main/list_controller.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"
#include "gui/main/notify_commands.h"
#include "gui/main/output_commands.h"
#include "gui/main/search_commands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <utility>

namespace varnot {

qint64 MonotonicTick() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TMainform::TMainform(TTickSource ticks, QWidget* parent)
    : QMainWindow(parent), ticks_(ticks ? std::move(ticks) : TTickSource(MonotonicTick)),
      frame_(std::make_unique<TMainFrame>()) {
    // The first pass walks the archive while the widgets are made.
    StartFirstPass();
    BuildMainFrame(*this, *frame_, [this] { DropDateCombo(); });
    ConnectFrame();
    output_ = std::make_unique<TOutputCommands>(*this);
    editorCommands_ = std::make_unique<TEditorCommands>(*this);
    FormCreate();
    filterCommands_ = std::make_unique<TFilterCommands>(*this);
    search_ = std::make_unique<TSearchCommands>(*this);
    notify_ = std::make_unique<TNotifyCommands>(*this);
}

TMainform::~TMainform() {
    // A window that goes without being closed (the application quits under
    // it) still saves what must survive the run.
    FormDestroy();
    // The view outlives this part of the window: its focus leaving as it is
    // destroyed must not reach the window's handlers.
    frame_->View->disconnect(this);
}

void TMainform::StartFirstPass() {
    // One read of the file for the whole start-up; nothing stays open after it.
    const IniFile ini(SettingsFile());
    settings_ = ReadSettingsValues(ini);

    // The message panel, its list starting from the newest day. Creating it
    // loads the marks of a cleanly ended run and sets main/LastExitIsGood to
    // NO for this one. A larger list only takes effect at the next start.
    panel_ =
        std::make_unique<TFilePanel>(settings_.viewBufferSize, SettingsFile(), ProgramFolder());
    scan_ = std::make_unique<TScanControl>(*panel_, *this);
    scan_->DateIndex = 0;
    RefreshScanSettings();

    // The stored filter choice (an index outside the groups means All); the
    // filter box shows it once it exists.
    filterGroups_ = LoadFilterGroups(ini);
    scan_->Filter = FilterForChoice(
        filterGroups_,
        StartupFilterIndex(settings_.filterIndex, static_cast<int>(filterGroups_.size()) + 1));

    // The day list, read before the pass that may remove an empty day folder.
    panel_->Dates = LoadDateList(settings_.archiveRoot);

    // The operator counts as idle from the start (set before the first pass,
    // so that its result sees him idle): the first new message shows at once.
    scan_->LastActionTick = TickNow() - static_cast<qint64>(settings_.autoShowDelay) * 60000;

    // The first pass matches every message and announces nothing.
    scan_->ReRead(TReReadMode::AnnounceNew);
}

void TMainform::FormCreate() {
    // The settings, the message panel and the first pass came before the
    // widgets (StartFirstPass).
    // Critical-error boxes do not exist here: file calls fail with an error code.
    // The search walk (SearchTimer) starts only when a search does.

    // The announce service's name; the service itself starts with the window.
    serviceName_ = ReduceServiceName(settings_.service);

    frame_->ShowFileNameItem->setChecked(settings_.showFileName);
    // Word wrap belongs to the sectioned message format.
    ApplyWordWrapState();

    // The periodic timer: rescans every RereadDelay minutes and read marking.
    frame_->Timer->start();

    English = settings_.english;
    ApplyCaptions();

    // The rescan command waits for the first pass, which began before it existed.
    SetRescanEnabled(!scan_->Scanning());
    listModel_ = new TMessageListModel(*panel_, archive_, this);
    frame_->FileGrid->setModel(listModel_);
    connect(frame_->FileGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TMainform::FileGridClick);
    TListController::Hooks hooks;
    hooks.operatorActed = [this] { RecordAction(); };
    hooks.marksChanged = [this] { UpdateStatusLine(); };
    hooks.zoomIn = [this] { ZoomInViewWindow(); };
    list_ = new TListController(*frame_->FileGrid, *listModel_, *panel_, std::move(hooks), this);
    fileOps_ = std::make_unique<TFileOpCommands>(*this);

    // Fonts of the list and the view, and the view on display. The
    // character set has no effect on this platform: fonts are Unicode.
    LoadFonts();
    frame_->RichView_Check->setChecked(settings_.richView);
    frame_->View->SetRichView(settings_.richView);
    RefreshViewWords();

    // The application icon is the picture of AppImage (set with the frame).

    LoadFormSize();

    // One empty row until the first pass has landed.
    SetRowCount(1);
    SetCurrentRow(0);
    zoomed_ = false;

    // The stored filter choice, the one the first pass matches with.
    FillFilterChoices();
    frame_->FilterComboBox->setCurrentIndex(
        StartupFilterIndex(settings_.filterIndex, frame_->FilterComboBox->count()));
    ApplyFilter();

    // The day chooser, on the newest day of the list read before the pass.
    FillDateCombo();
    frame_->DateComboBox->setCurrentIndex(0);

    // The announce service under the name read above. Pokes arrive through
    // the event loop, so none can come before the list exists. Without the
    // service (another program holds a file where its socket goes) the viewer
    // works on, and the periodic passes find the new files.
    announceService_ = new TAnnounceService(this);
    connect(announceService_, &TAnnounceService::FILENAMEPokeData, this,
            [this](const QByteArray& line) {
                scan_->AddArrivedFile(
                    std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
            });
    announceService_->Start(serviceName_);
}

void TMainform::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    // A search closed with the window gives the cursor back.
    StopSearch();
    frame_->Timer->stop();
    frame_->SearchTimer->stop();

    // A running pass stops between two files; its list is never shown.
    // No poke may arrive once the list is being saved.
    if (announceService_) announceService_->Stop();
    scan_->Shutdown();
    panel_->SaveMarks();
    // The clean exit: the next start loads the marks just saved.
    panel_->Close();
    SaveFormSize();
}

void TMainform::closeEvent(QCloseEvent* event) {
    // A changed editor text may keep the program running; a shutdown signal asks nothing.
    if (!editorCommands_->CloseForShutdown(!ShutdownSignalArrived())) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

void TMainform::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainform::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // FormActivate and FormDeactivate: the menu commands need an active window.
    if (event->type() == QEvent::ActivationChange && listModel_) CheckButtons();
}

void TMainform::LoadFormSize() {
    const IniFile ini(SettingsFile());
    paneRatio_ = NormalizeFrameSplit(Read(ini, keys::FrameSplit));
    savedRatio_ = paneRatio_;
    // X and Y place the window's frame, W and H size its inside, the same
    // way SaveFormSize reads them back. A hand-edited or foreign geometry is
    // brought onto the screen it would mostly lie on.
    ScreenRect frame{Read(ini, keys::FrameX), Read(ini, keys::FrameY), Read(ini, keys::FrameW),
                     Read(ini, keys::FrameH)};
    const QPoint middle(static_cast<int>(frame.x + frame.w / 2LL),
                        static_cast<int>(frame.y + frame.h / 2LL));
    QScreen* screen = QGuiApplication::screenAt(middle);
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        frame = BoundFrameToScreen(frame, {area.x(), area.y(), area.width(), area.height()});
    }
    resize(frame.w, frame.h);
    move(frame.x, frame.y);
}

void TMainform::SaveFormSize() {
    IniFile ini(SettingsFile());
    Write(ini, keys::FrameW, width());
    Write(ini, keys::FrameH, height());
    Write(ini, keys::FrameX, x());
    Write(ini, keys::FrameY, y());
    Write(ini, keys::FrameSplit, zoomed_ ? savedRatio_ : paneRatio_);
    // A failed write is not reported: the geometry is a convenience.
    ini.Save();
}

int TMainform::ShownCount() const {
    return panel_ ? panel_->ShownCount() : 0;
}

const CurrentFilter& TMainform::Filter() const {
    return scan_->Filter;
}

void TMainform::MoveToRow(int row) {
    list_->MoveToRow(row);
}

void TMainform::Rescan(TReReadMode mode) {
    scan_->ReRead(mode);
}

bool TMainform::Scanning() const {
    return scan_->Scanning();
}

void TMainform::RecordAction() {
    scan_->RecordAction();
}

void TMainform::SetLastSearch(std::vector<std::string> keys, std::string text) {
    searchKeys_ = std::move(keys);
    searchText_ = std::move(text);
}

void TMainform::TimerTimer() {
    scan_->TimerTimer();
}

void TMainform::RefreshScanSettings() {
    archive_ = ArchiveOptionsOf(settings_);
    scan_->Options = archive_;
    scan_->Settings = ScanSettingsOf(settings_);
}

void TMainform::FillFilterChoices() {
    filterGroups_ = LoadFilterGroups(IniFile(SettingsFile()));
    frame_->FilterComboBox->clear();
    frame_->FilterComboBox->addItem(Lang("Всё", "All"));
    for (const FilterGroup& group : filterGroups_)
        frame_->FilterComboBox->addItem(FromCp1251(group.name));
    frame_->FilterComboBox->setCurrentIndex(0);
}

void TMainform::ApplyFilter() {
    scan_->Filter = FilterForChoice(filterGroups_, frame_->FilterComboBox->currentIndex());
    // The view colours the keywords of the filter in use.
    RefreshViewWords();
}

void TMainform::ReloadFilterChoices(int group) {
    FillFilterChoices();
    if (group >= 0 && frame_->FilterComboBox->count() > group + 1)
        frame_->FilterComboBox->setCurrentIndex(group + 1);
    ApplyFilter();
}

void TMainform::FilterComboBoxChange(int index) {
    panel_->Refilter = true;
    ApplyFilter();
    scan_->RecordAction();
    scan_->ReRead(TReReadMode::AnnounceNew);
    scan_->RecordAction();
    frame_->FileGrid->setFocus();
    // Only the operator's choice is stored; one the program makes is not.
    settings_.filterIndex = index;
    WriteSetting(SettingsFile(), keys::FilterIndex, index);
}

int TMainform::CurrentRow() const {
    const QModelIndex current = frame_->FileGrid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TMainform::ApplyListUpdate(const ListUpdate& update) {
    if (update.insertedRow && update.rowCount == listModel_->rowCount() + 1) {
        // The current index moves down with its row; nothing else changes.
        const QSignalBlocker block(frame_->FileGrid->selectionModel());
        listModel_->InsertRow(*update.insertedRow);
    } else {
        SetRowCount(update.rowCount);
    }
    SetCurrentRow(update.currentRow);
    if (update.showMessage) FileClick();
    RepaintList();
}

void TMainform::ShowRows(int rowCount, int currentRow) {
    ListUpdate update;
    update.rowCount = rowCount;
    update.currentRow = currentRow;
    update.showMessage = false;
    ApplyListUpdate(update);
}

void TMainform::MessageRemoved(const std::string& name) {
    scan_->NoteRemoved(name);
}

void TMainform::SetRowCount(int rows) {
    const int row = CurrentRow();
    listModel_->SetRowCount(rows);
    // A reset forgets the current index; the row stays where it was when it still exists.
    const QSignalBlocker block(frame_->FileGrid->selectionModel());
    const QModelIndex index = listModel_->index(std::min(row, listModel_->rowCount() - 1), 0);
    frame_->FileGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
}

void TMainform::SetCurrentRow(int row) {
    row = std::clamp(row, 0, listModel_->rowCount() - 1);
    const QSignalBlocker block(frame_->FileGrid->selectionModel());
    frame_->FileGrid->selectionModel()->setCurrentIndex(
        listModel_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    frame_->FileGrid->scrollTo(listModel_->index(row, 0));
    // The blocked signal does not repaint the rows whose highlight moved.
    frame_->FileGrid->viewport()->update();
}

void TMainform::RepaintList() {
    listModel_->Repaint();
}

void TMainform::SetRescanEnabled(bool enabled) {
    // The first pass starts before the button exists; FormCreate catches up.
    if (frame_->RereadButton) frame_->RereadButton->setEnabled(enabled);
}

void TMainform::SetBusy(bool busy) {
    // The hourglass is shown once however often it is asked for.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool TMainform::Searching() const {
    return search_ && search_->Searching();
}

void TMainform::StopSearch() {
    if (search_) search_->StopSearch();
}

void TMainform::PostPassComplete() {
    // Runs on the scanner thread: the window takes the result on its own thread.
    QMetaObject::invokeMethod(
        this, [this] { scan_->PassComplete(); }, Qt::QueuedConnection);
}

void TMainform::PostPendingRescan(TReReadMode mode) {
    QMetaObject::invokeMethod(
        this, [this, mode] { scan_->ReRead(mode); }, Qt::QueuedConnection);
}

void TMainform::PrintArrived(const std::string& path) {
    output_->PrintArrived(path);
}

void TMainform::NewMessagesShown(const TNewMessages& messages) {
    if (notify_) notify_->MessagesArrived(messages);
}

QPrinter& TMainform::Printer() {
    return output_->Printer();
}

} // namespace varnot
