#pragma once

#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace varnot {

class TFileGrid;
class TMessageView;

// The widgets, commands and timers of the main window, each under the name
// the operator's manual gives it. BuildMainFrame makes them and connects
// nothing: the window wires the commands it carries out itself, and a feature
// beside the window (search, filters, output, file operations, the editor)
// connects to the commands it serves. Qt's parents own everything here.
struct TMainFrame {
    // Timers; neither runs yet.
    QTimer* Timer = nullptr;       // 100 ms: periodic rescans and read marking
    QTimer* SearchTimer = nullptr; // 1 ms: the search walk through the list

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
    // N10901 .. N90101; each item's data() is the percentage it gives the list.
    std::vector<QAction*> RatioItems;
    QAction* ShowFileNameItem = nullptr;
    QAction* NotifyItem = nullptr;   // desktop notifications of new messages
    QAction* TrayIconItem = nullptr; // the tray icon with the unread count
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
    QMenu* NormalPopupMenu = nullptr;
    // N10902 .. N90102, the splitter's ratio items; data() as in RatioItems.
    std::vector<QAction*> PopupRatioItems;
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
    QWidget* RxSplitterHandle = nullptr; // the bar between the two panes
    TFileGrid* FileGrid = nullptr;
    TMessageView* View = nullptr;

    // Status panel.
    QWidget* StatusPanel = nullptr;
    QLabel* HintLabel = nullptr;
    QToolButton* WrapButton = nullptr;
    QToolButton* LastButton = nullptr;
    QToolButton* NextButton = nullptr;
    QToolButton* RereadButton = nullptr;
    QToolButton* PrevButton = nullptr;
    QToolButton* FirstButton = nullptr;
    // Rebuilt from the archive each time it drops down (see TMainform::DropDateCombo).
    QComboBox* DateComboBox = nullptr;
};

// Builds the frame into `window`: menu bar, tool bar, the list and the view
// in their splitter, the status panel, the pop-up menus and the timers.
// Controls with a right-button menu open it themselves; nothing else is
// connected. The day chooser calls `dropDateCombo` before it drops down.
void BuildMainFrame(QMainWindow& window, TMainFrame& frame, std::function<void()> dropDateCombo);

} // namespace varnot
