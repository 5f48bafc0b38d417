#pragma once

#include "core/app/options_values.h"
#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/archive/scan_control.h"
#include "core/filters/filter_groups.h"
#include "core/main/brief_window.h"
#include "core/main/pane_layout.h"
#include "gui/app/options_dlg.h"
#include "gui/main/message_list_view.h"

#include <QMainWindow>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace varnot {

// Milliseconds of a monotonic clock. Idle tests take plain differences of
// these, so a start value before the clock's zero causes no trouble.
using TTickSource = std::function<qint64()>;
qint64 MonotonicTick();

class TMessageListModel;
class TMessageView;
class TAnnounceService;
class TScreenshotHook;

// The main window. Construction reads the settings and builds every shared
// object; closing it saves what must survive the run.
//
// Its work is spread over files by concern: main_form.cpp (creation,
// shutdown, the scanner's callbacks), main_form_frame.cpp (menus, tool bar,
// status panel), main_form_captions.cpp (language, command states, status
// line), main_form_list.cpp (the grid's keys, mouse and selection commands,
// briefs), main_form_view.cpp (showing a message, view settings),
// main_form_layout.cpp (pane ratio, splitter, zoom), main_form_navigation.cpp
// (arrows, rescan, the status line's click, the day chooser) and
// main_form_options.cpp (the options dialog and what its OK changes).
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

    // The settings in effect, read once at start-up and kept up to date.
    const TOptionsValues& SettingsInEffect() const { return settings_; }
    // The announce service's name, reduced from the setting.
    const std::string& ServiceName() const { return serviceName_; }

    // The right-button drag over the list: the row it started on (-1: none)
    // and the mark it paints.
    int RightDragAnchor = -1;
    bool RightDragState = false;
    // The rows whose briefs were last kept (see ViewPort).
    BriefWindow BriefWindowRows;
    // The select dialog's texts, remembered until the program ends.
    QString SelectMaskText;
    QString SelectFromText;
    QString SelectToText;
    // The message shown last and the code page it was read with.
    std::string LastShownPath;
    bool LastShownInDOS = false;
    // The last search: its keys and the text searched for (1251 bytes).
    std::vector<std::string> SearchKeys;
    std::string SearchText;

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

    // Timers.
    QTimer* SearchTimer = nullptr;
    QTimer* Timer = nullptr;

    // Menu bar.
    QMenuBar* MainMenu = nullptr;
    QMenu* FileItem = nullptr;
    QAction* CopyItem = nullptr;
    QAction* MoveItem = nullptr;
    QAction* DeleteItem = nullptr;
    QAction* ExportItem = nullptr;
    QAction* ExportWordItem = nullptr;
    QAction* PrintItem = nullptr;
    QAction* PrinterSetupItem = nullptr;
    QMenu* ViewItem = nullptr;
    std::vector<QAction*> RatioItems; // N10901 .. N90101
    QAction* ShowFileNameItem = nullptr;
    QMenu* OperationsItem = nullptr;
    QAction* WordWrapItem = nullptr;
    QAction* WordWrapSeparator = nullptr;
    QAction* FindItem = nullptr;
    QAction* FindNextItem = nullptr;
    QAction* SelectUnselectItem = nullptr;
    QAction* InvertItem = nullptr;
    QAction* SelectallItem = nullptr;
    QAction* UnSelectAllItem = nullptr;
    QAction* SelectItem = nullptr;
    QAction* UnselectItem = nullptr;
    QAction* AddItem = nullptr;
    QAction* ShowEditorItem = nullptr;
    QAction* RereadItem = nullptr;
    QMenu* SetupItem = nullptr;
    QAction* OptionsItem = nullptr;
    QAction* FiltersItem = nullptr;
    QAction* LanguageItem = nullptr;
    QAction* RichView_Check = nullptr;
    QAction* AboutItem = nullptr;

    // Pop-up menus.
    QMenu* NormalPopupMenu = nullptr; // the splitter's ratio items N10902 .. N90102
    QMenu* ZoomPopupMenu = nullptr;
    QAction* ZoomOutItem = nullptr;
    QMenu* FilterPopupMenu = nullptr;
    QAction* FilterSetupPopupItem = nullptr;
    QMenu* PrintPopupMenu = nullptr;
    QAction* PrintersSetupItem = nullptr;
    QMenu* ExportPopupMenu = nullptr;
    QAction* NotePadSetupItem = nullptr;
    QMenu* WordPopupMenu = nullptr;
    QAction* WordSetupItem = nullptr;
    QMenu* ShinePopupMenu = nullptr;
    QAction* SelectPopupItem = nullptr;
    QMenu* UnshinePopupMenu = nullptr;
    QAction* UnselectPopupItem = nullptr;

    // Tool bar.
    QToolBar* ToolBar1 = nullptr;
    QToolButton* CopyButton = nullptr;
    QToolButton* MoveButton = nullptr;
    QToolButton* DeleteButton = nullptr;
    QToolButton* FindButton = nullptr;
    QToolButton* FindNextButton = nullptr;
    QComboBox* FilterComboBox = nullptr;
    QToolButton* PrintButton = nullptr;
    QToolButton* ShineButton = nullptr;
    QToolButton* UnshineButton = nullptr;
    QToolButton* ExportButton = nullptr;
    QToolButton* WordButton = nullptr;
    QToolButton* OptionsButton = nullptr;
    QToolButton* FilterButton = nullptr;
    QToolButton* AddButton = nullptr;
    QToolButton* ShowEditorButton = nullptr;
    QLabel* AppImage = nullptr;

    // List and view.
    QSplitter* RxSplitter = nullptr;
    TFileGrid* FileGrid = nullptr;
    TMessageListModel* ListModel = nullptr;
    TMessageView* View = nullptr;
    // Takes the files the receiving program announces.
    TAnnounceService* AnnounceService = nullptr;

    // Status panel.
    QWidget* StatusPanel = nullptr;
    QLabel* HintLabel = nullptr;
    QToolButton* WrapButton = nullptr;
    QToolButton* LastButton = nullptr;
    QToolButton* NextButton = nullptr;
    QToolButton* RereadButton = nullptr;
    QToolButton* PrevButton = nullptr;
    QToolButton* FirstButton = nullptr;
    QComboBox* DateComboBox = nullptr;

    // Interface language and command states.
    void ApplyCaptions();
    void LanguageItemClick();
    void CheckButtons();

    // Filter choice.
    void FillFilterChoices();
    void ApplyFilter();
    void FilterComboBoxChange(int index);

    // The message list.
    void FileGridClick();
    // Shows the message of the current row.
    void FileClick();
    QString LoadBrief(int row);
    void FreeBrief(int row);
    void ViewPort();
    void ToggleAndAdvance();
    // Selects (true) or unselects by mask and date range.
    void SelectFilesDialog(bool select);
    void SelectallItemClick();
    void UnSelectAllItemClick();
    void InvertItemClick();
    // Lays out the grid: row height and column widths from the list font.
    void LayoutList();
    // Shows or hides the file-name column and stores the choice.
    void ShowFileNameItemClick();

    // Pane layout and zoom.
    // Lays the panes out with `percent` (kept within 5..95) of the shared
    // height for the list.
    void ApplyRatio(int percent);
    // Lays the panes out for a splitter whose middle is at `y` (pixels from
    // the top of the area below the menu bar); PaneRatio follows, 5..95.
    void Layout(int y);
    // The heights the layout works with, as the window is now.
    PaneGeometry CurrentPaneGeometry() const;
    // A mouse button released on the splitter bar.
    void RxSplitterMouseUp(Qt::MouseButton button, const QPoint& globalPos);
    // Enter or a double-click in the list.
    virtual void ZoomInViewWindow();
    void ZoomOutViewWindow();
    // Either view gained or lost the focus: the splitter shows which pane has it.
    void ViewMemoFocus(bool focused);
    // Opens a file with the program the desktop associates with it; tests
    // replace it.
    std::function<void(const QString& path)> OpenWithAssociatedProgram;

    // Navigation.
    void LastButtonClick();
    void NextButtonClick();
    void PrevButtonClick();
    void FirstButtonClick();
    void RereadButtonClick();
    void HintLabelClick();
    // Rebuilds the day list from the archive and then the day chooser's items.
    void DropDateCombo();
    void DateComboBoxChange(int index);
    // The day chooser shows the day of the message on display.
    void ShowDayOfCurrentRow();
    // Ends a running search through the messages (the rescan command does
    // that instead of rescanning while one runs).
    virtual void StopSearch() {}

    // Options.
    // Opens the options dialog at the page and field of `mode`.
    void ShowOptions(TOptionsMode mode);
    // The values the dialog is opened with: those in effect.
    TOptionsValues OptionsInEffect() const;
    // Puts fonts, character set, colours and highlight words into effect.
    void ApplyLook(const TOptionsLook& look);
    // ArchiveRoot names another archive: empties what is on display.
    void ArchiveRootChanged();

    // The message view.
    void RichView_CheckClick();
    void ToggleWordWrap();
    // Hands the current keywords, highlight words and colours to the view
    // and colours the message on display again.
    void RefreshViewWords();

    // ScanHost: what the scanner logic does to the window.
    int CurrentRow() const override;
    void ApplyListUpdate(const ListUpdate& update) override;
    void RepaintList() override;
    void SetRescanEnabled(bool enabled) override;
    void SetBusy(bool busy) override;
    void UpdateStatusLine() override;
    bool Searching() const override;
    void PostPassComplete() override;
    void PostPendingRescan(TReReadMode mode) override;
    void PrintArrived(const std::string& path) override;
    std::int64_t Now() const override { return TickNow(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Frame.
    void BuildFrame();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusPanel();
    void BuildPopupMenus();

    void FormCreate();
    void FormDestroy();
    // The grid takes a new row count; the current row stays where it was
    // when it still exists.
    void SetRowCount(int rows);
    // Moves the grid's current row without showing the message.
    void SetCurrentRow(int row);
    void FormResize();
    // The day chooser, which rebuilds its items each time it drops down.
    QComboBox* NewDateChooser(QWidget* parent);
    void ConnectLayoutSignals();
    // Sizes the panes for PaneRatio.
    void LayoutPanes();
    void LoadFormSize();
    void SaveFormSize();
    void TimerTimer();
    void RefreshScanSettings();

    // Fonts and view settings of start-up.
    void LoadFonts();
    void ApplyWordWrapState();

    // The grid's input.
    bool FileGridKeyDown(QKeyEvent* event);
    bool FileGridMouseDown(QMouseEvent* event);
    bool FileGridMouseMove(QMouseEvent* event);
    void FileGridMouseUp();
    // Moves the current row the way the grid does (the message is shown).
    void MoveToRow(int row);
    void AfterMarksChanged();

    TTickSource ticks_;
    TOptionsValues settings_;
    std::string serviceName_;
    // The archive settings derived from settings_, shared with the list model.
    ArchiveOptions archive_;
    bool destroyed_ = false;
    bool busy_ = false;
    // The last states CheckButtons gave its two groups of commands.
    bool commandsEnabled_ = true;
    bool menuEnabled_ = true;
    TScreenshotHook* screenshot_ = nullptr;
    // The splitter bar between the list and the view.
    QWidget* splitterHandle_ = nullptr;
};

} // namespace varnot
