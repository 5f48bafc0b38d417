#pragma once

#include <QMainWindow>
#include <QtGlobal>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QSplitter;
class QTimer;
class QToolButton;
class QWidget;

namespace varnot {

// Milliseconds of a monotonic clock. Idle tests take plain differences of
// these, so a start value before the clock's zero causes no trouble.
using TTickSource = std::function<qint64()>;
qint64 MonotonicTick();

// The main window. Construction reads the settings and builds every shared
// object; closing it saves what must survive the run.
class TMainform : public QMainWindow {
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

    // The current filter and the words coloured in every message.
    std::vector<std::string> Keywords;
    std::vector<std::string> HighLightWordList;
    std::vector<std::string> Masks;

    int DateIndex = 0;

    // Share of the height given to the list, in percent; the one from before
    // zooming in is what is stored while zoomed.
    int PaneRatio = 20;
    int SavedRatio = 20;
    bool Zoomed = false;

    // The operator's last action. Starts AutoShowDelay minutes in the past so
    // that the first new message is shown at once.
    qint64 LastActionTick = 0;

    // Controls.
    QTimer* SearchTimer = nullptr;
    QTimer* Timer = nullptr;
    QSplitter* RxSplitter = nullptr;
    QWidget* FileGrid = nullptr; // the message list goes here
    QWidget* ViewMemo = nullptr; // the message view goes here
    QWidget* StatusPanel = nullptr;
    QLabel* HintLabel = nullptr;
    QToolButton* RereadButton = nullptr;

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

    TTickSource ticks_;
    bool destroyed_ = false;
};

} // namespace varnot
