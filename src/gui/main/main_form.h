#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/archive/scan_control.h"
#include "core/filters/filter_groups.h"

#include <QMainWindow>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QSplitter;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace varnot {

// Milliseconds of a monotonic clock. Idle tests take plain differences of
// these, so a start value before the clock's zero causes no trouble.
using TTickSource = std::function<qint64()>;
qint64 MonotonicTick();

// The main window. Construction reads the settings and builds every shared
// object; closing it saves what must survive the run.
class TMessageListModel;

class TMainform : public QMainWindow, public ScanHost {
    Q_OBJECT
  public:
    // `ticks` replaces the monotonic clock (tests); empty uses MonotonicTick.
    explicit TMainform(TTickSource ticks = {}, QWidget* parent = nullptr);
    ~TMainform() override;

    // Writes "row+1:ShownCount" into the rescan button.
    void ShowPosition(int row);
    // The number of messages the list on display shows; 0 without a list.
    virtual int ShownCount() const;

    qint64 TickNow() const { return ticks_(); }

    // Program-wide values read at start-up.
    std::string ServiceName; // the announce service's name, already reduced
    std::string ArchiveRoot; // always ends with "/"
    bool AutoShow = true;
    bool InDOS = false;
    bool InZEV = false;
    bool AutoPrint = false;
    bool ShowFileName = false;
    int CaptionColor = 32768;
    int KeyWordColor = 16711680;
    int HighLightColor = 255;
    bool WordWrap = false; // only read when InZEV is on
    bool DeleteAutomaticly = true;
    bool InsertDataTimeWhenPrinting = true;
    bool InsertDataTimeWhenExporting = true;
    int AutoShowDelay = 5; // minutes
    std::string WordExe;
    std::string NotePadExe;
    int RereadDelay = 10; // minutes
    int MarkDelay = 500;  // milliseconds
    int ViewBufferSize = 1000;
    int RightDragAnchor = -1;

    // The words coloured in every message.
    std::vector<std::string> HighLightWordList;

    // The message panel (the list on display, the spare list, the day list)
    // and the scanner logic around it; the current filter lives there too.
    std::unique_ptr<TFilePanel> Panel;
    std::unique_ptr<TScanControl> Scan;
    const CurrentFilter& Filter() const { return Scan->Filter; }
    std::vector<FilterGroup> FilterGroups; // the groups the filter box lists

    // Share of the height given to the list, in percent; the one from before
    // zooming in is what is stored while zoomed.
    int PaneRatio = 20;
    int SavedRatio = 20;
    bool Zoomed = false;


    // Controls.
    QTimer* SearchTimer = nullptr;
    QTimer* Timer = nullptr;
    QSplitter* RxSplitter = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QComboBox* FilterComboBox = nullptr;
    QTableView* FileGrid = nullptr;
    TMessageListModel* ListModel = nullptr;
    QWidget* ViewMemo = nullptr; // the message view goes here
    QWidget* StatusPanel = nullptr;
    QLabel* HintLabel = nullptr;
    QToolButton* RereadButton = nullptr;

    // Filter choice.
    void FillFilterChoices();
    void ApplyFilter();
    void FilterComboBoxChange(int index);

    // ScanHost: what the scanner logic does to the window.
    int CurrentRow() const override;
    void SetRowCount(int rows) override;
    void SetCurrentRow(int row) override;
    void FileClick() override;
    void RepaintList() override;
    void SetRescanEnabled(bool enabled) override;
    void SetBusy(bool busy) override;
    void UpdateStatusLine() override;
    bool Searching() const override;
    void PostPassComplete() override;
    void PostPendingRescan(int argument) override;
    void PrintArrived(const std::string& path) override;
    std::int64_t Now() const override { return TickNow(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildFrame();
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void ApplyCaptions();
    void ApplyRatio(int percent);
    void LoadFormSize();
    void SaveFormSize();
    void TimerTimer();

    void RefreshScanSettings();

    TTickSource ticks_;
    ArchiveOptions options_; // the archive settings, shared with the list model
    bool destroyed_ = false;
    bool busy_ = false;
};

} // namespace varnot
