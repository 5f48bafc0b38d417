#pragma once

#include "core/app/options_values.h"
#include "core/archive/archive_options.h"
#include "core/archive/file_panel.h"
#include "core/filters/filter_groups.h"
#include "core/main/pane_layout.h"
#include "core/scan/scan_control.h"
#include "gui/app/options_dlg.h"
#include "gui/main/message_list_view.h"

#include <QMainWindow>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;

namespace varnot {

// Milliseconds of a monotonic clock. Idle tests take plain differences of
// these, so a start value before the clock's zero causes no trouble.
using TTickSource = std::function<qint64()>;
qint64 MonotonicTick();

class TAnnounceService;
class TFilterCommands;
class TFileOpCommands;
class TEditorCommands;
class TFilePanel;
class TListController;
class TMessageListModel;
class TNotifyCommands;
class TOutputCommands;
class TSearchCommands;
struct TMainFrame;

// The main window. Construction reads the settings and builds every shared
// object; closing it saves what must survive the run.
//
// Its widgets and commands live in a TMainFrame (main_frame.h); the grid's
// input and the selection commands in a TListController (list_controller.h).
// The window's own work is spread over files by concern: main_form.cpp
// (creation, shutdown, the scanner's side), main_form_frame.cpp (which
// command does what), main_form_captions.cpp (language, command states,
// status line), main_form_list.cpp (the grid's layout and its clicks),
// main_form_view.cpp (showing a message, view settings), main_form_layout.cpp
// (pane ratio, splitter, zoom), main_form_navigation.cpp (arrows, rescan, the
// status line's click, the day chooser) and main_form_options.cpp (the
// options dialog and what its OK changes).
//
// A feature beside the window (search, filters, output, file operations,
// the editor) connects to the frame's commands and works through the
// services below. Tests reach further through TMainformTestAccess.
class TMainform : public QMainWindow, public ScanHost {
    Q_OBJECT
  public:
    // `ticks` replaces the monotonic clock (tests); empty uses MonotonicTick.
    explicit TMainform(TTickSource ticks = {}, QWidget* parent = nullptr);
    ~TMainform() override;

    // The widgets and commands, to connect to.
    const TMainFrame& Frame() const { return *frame_; }
    // The message panel: the list on display, the spare list, the day list.
    TFilePanel& Panel() { return *panel_; }
    const TFilePanel& Panel() const { return *panel_; }
    // The settings in effect and the current filter.
    const TOptionsValues& SettingsInEffect() const { return settings_; }
    const CurrentFilter& Filter() const;

    // The grid's current row (0 without one) and the number of messages the
    // list on display shows (0 without a list).
    int CurrentRow() const override;
    virtual int ShownCount() const;
    // Moves the current row the way the grid does: the message is shown.
    void MoveToRow(int row);
    // Shows the message of the current row.
    void FileClick();
    // Asks for a pass over the archive (one runs at a time; a request made
    // meanwhile runs after it).
    void Rescan(TReReadMode mode);
    // A pass is running.
    bool Scanning() const;
    // The operator did something (the measure of idleness).
    void RecordAction();
    // Enables the commands for the list as it is, and refreshes the
    // position and the status line.
    void CheckButtons();
    void UpdateStatusLine() override;
    // Writes "row+1:ShownCount" into the rescan button.
    void ShowPosition(int row);
    // The search Find next repeats: its keys and the text searched for (1251 bytes).
    void SetLastSearch(std::vector<std::string> keys, std::string text);
    // The filter groups were edited: refills the filter box, chooses `group`
    // (-1, or one no longer listed: All) unstored, and filters and colours with it.
    void ReloadFilterChoices(int group);
    // A command changed the list: the grid takes its row count and current
    // row without showing the message.
    void ShowRows(int rowCount, int currentRow);
    // The operator removed this message (archive name) from the archive.
    void MessageRemoved(const std::string& name);

    qint64 TickNow() const { return ticks_(); }

    // The printer of every print job of the window and its editor.
    QPrinter& Printer();
    // The text editor's and word processor's paths in effect; an export that
    // names a new program updates them.
    std::string& NotePadExe() { return settings_.notePadExe; }
    std::string& WordExe() { return settings_.wordExe; }
    // Opens the options dialog at the page and field of `mode`.
    void ShowOptions(TOptionsMode mode);
    // Desktop notifications and the tray icon, on or off; their View menu
    // items switch them.
    bool& NotifyInEffect() { return settings_.notify; }
    bool& TrayIconInEffect() { return settings_.trayIcon; }
    // Goes to a newly arrived message as a click on the status line's notice
    // does, except that a filter under which it is listed stays chosen.
    void ShowArrivedMessage(const std::string& name);

  protected:
    // Enter or a double-click in the list.
    virtual void ZoomInViewWindow();

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class TMainformTestAccess;

    // Life. The settings, the message panel and the first pass come before
    // the widgets, so that the pass walks the archive while they are made.
    void StartFirstPass();
    void FormCreate();
    void FormDestroy();
    void ConnectFrame();
    void LoadFormSize();
    void SaveFormSize();
    void TimerTimer();
    // The scanner and the list model take the settings in effect.
    void RefreshScanSettings();

    // ScanHost: what the scanner logic does to the window.
    void ApplyListUpdate(const ListUpdate& update) override;
    void RepaintList() override;
    void SetRescanEnabled(bool enabled) override;
    void SetBusy(bool busy) override;
    bool Searching() const override;
    void PostPassComplete() override;
    void PostPendingRescan(TReReadMode mode) override;
    void PrintArrived(const std::string& path) override;
    void NewMessagesShown(const TNewMessages& messages) override;
    std::int64_t Now() const override { return TickNow(); }
    // The grid takes a new row count; the current row stays where it was
    // when it still exists.
    void SetRowCount(int rows);
    // Moves the grid's current row without showing the message.
    void SetCurrentRow(int row);

    // Interface language and the status line.
    void ApplyCaptions();
    void LanguageItemClick();

    // Filter choice.
    void FillFilterChoices();
    void ApplyFilter();
    void FilterComboBoxChange(int index);

    // The message list.
    void FileGridClick();
    // Lays out the grid: row height and column widths from the list font.
    void LayoutList();
    // Shows or hides the file-name column and stores the choice.
    void ShowFileNameItemClick();

    // Pane layout and zoom.
    void FormResize();
    // Lays the panes out with `percent` (kept within 5..95) of the shared
    // height for the list.
    void ApplyRatio(int percent);
    // Lays the panes out for a splitter whose middle is at `y` (pixels from
    // the top of the area below the menu bar); the ratio follows, 5..95.
    void Layout(int y);
    // Sizes the panes for the ratio in effect.
    void LayoutPanes();
    // The heights the layout works with, as the window is now.
    PaneGeometry CurrentPaneGeometry() const;
    // A mouse button released on the splitter bar.
    void RxSplitterMouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void ZoomOutViewWindow();
    // Either view gained or lost the focus: the splitter shows which pane has it.
    void ViewMemoFocus(bool focused);

    // Navigation.
    void LastButtonClick();
    void NextButtonClick();
    void PrevButtonClick();
    void FirstButtonClick();
    void RereadButtonClick();
    void HintLabelClick();
    // Brings the list to the newest day with that message current; with
    // `keepListingFilter` a filter that lists it stays chosen.
    void GoToAnnounced(const std::string& announced, bool keepListingFilter);
    // Rebuilds the day list from the archive and then the day chooser's items.
    void DropDateCombo();
    // The day chooser's items from the day list as it is.
    void FillDateCombo();
    void DateComboBoxChange(int index);
    // The day chooser shows the day of the message on display.
    void ShowDayOfCurrentRow();
    // Ends a running search through the messages (the rescan command does
    // that instead of rescanning while one runs).
    void StopSearch();

    // Options.
    // The values the dialog is opened with: those in effect.
    TOptionsValues OptionsInEffect() const;
    // Puts fonts, character set, colours and highlight words into effect.
    void ApplyLook(const TOptionsLook& look);
    // ArchiveRoot names another archive: empties what is on display.
    void ArchiveRootChanged();

    // The message view.
    void LoadFonts();
    void ApplyWordWrapState();
    void RichView_CheckClick();
    void ToggleWordWrap();
    // Hands the current keywords, highlight words and colours to the view
    // and colours the message on display again.
    void RefreshViewWords();

    TTickSource ticks_;
    std::unique_ptr<TMainFrame> frame_;
    TOptionsValues settings_;
    std::string serviceName_; // the announce service's name, reduced from the setting
    // The archive settings derived from settings_, shared with the list model.
    ArchiveOptions archive_;

    // The message panel and the scanner logic around it; the current filter
    // lives there too.
    std::unique_ptr<TFilePanel> panel_;
    std::unique_ptr<TScanControl> scan_;
    std::vector<FilterGroup> filterGroups_; // the groups the filter box lists
    TMessageListModel* listModel_ = nullptr;
    TListController* list_ = nullptr;
    // Takes the files the receiving program announces.
    TAnnounceService* announceService_ = nullptr;
    // Export and printing.
    std::unique_ptr<TOutputCommands> output_;
    // The filter editor and the about box.
    std::unique_ptr<TFilterCommands> filterCommands_;
    // Copy, move and delete.
    std::unique_ptr<TFileOpCommands> fileOps_;
    // Show Editor and Add to Editor, and the editor while one is open.
    std::unique_ptr<TEditorCommands> editorCommands_;
    // Desktop notifications and the tray icon.
    std::unique_ptr<TNotifyCommands> notify_;

    // Share of the height given to the list, in percent; the one from before
    // zooming in is what is stored while zoomed.
    int paneRatio_ = 20;
    int savedRatio_ = 20;
    bool zoomed_ = false;

    // The message shown last and the code page it was read with.
    std::string lastShownPath_;
    bool lastShownInDOS_ = false;
    // The last search: its keys and the text searched for (1251 bytes).
    std::vector<std::string> searchKeys_;
    std::string searchText_;
    // Find, Find next and the search walk through the list.
    std::unique_ptr<TSearchCommands> search_;
    // Opens a file with the program the desktop associates with it.
    std::function<void(const QString& path)> openWithAssociatedProgram_;

    bool destroyed_ = false;
    bool busy_ = false;
    // The last states CheckButtons gave its two groups of commands.
    bool commandsEnabled_ = true;
    bool menuEnabled_ = true;
};

} // namespace varnot
