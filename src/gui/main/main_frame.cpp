// The main window's frame: menu bar, tool bar, list and view, status panel,
// pop-up menus and timers, made and named; the window and the features
// beside it connect them.
#include "gui/main/main_frame.h"

#include "gui/app/refill_combo_box.h"
#include "gui/main/message_list_delegate.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"
#include "gui/main/tool_icons.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

namespace varnot {

namespace {

// The ratio items of the View menu and of the splitter's pop-up menu: their
// captions and the percentage each gives to the list (10:90 gives 12).
struct RatioChoice {
    const char* suffix;
    const char* caption;
    int percent;
};
constexpr std::array<RatioChoice, 9> kRatios{{{"1090", "10:90", 12},
                                              {"2080", "20:80", 20},
                                              {"3070", "30:70", 30},
                                              {"4060", "40:60", 40},
                                              {"5050", "50:50", 50},
                                              {"6040", "60:40", 60},
                                              {"7030", "70:30", 70},
                                              {"8020", "80:20", 80},
                                              {"9010", "90:10", 90}}};

QAction* Item(QWidget* owner, QMenu* menu, const char* name, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(owner);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

QMenu* Menu(QWidget* owner, const char* name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    return menu;
}

QToolButton* Button(QWidget* parent, const char* name, TToolIcon icon, QSize size) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(ToolIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setFixedSize(size);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A control whose right-button menu is `menu`.
void PopupOn(QWidget* control, QMenu* menu) {
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(control, &QWidget::customContextMenuRequested, menu,
                     [control, menu](const QPoint& at) { menu->popup(control->mapToGlobal(at)); });
}

// The nine ratio items of a menu; `menu` "1" is the View menu, whose captions
// carry an accelerator, "2" the splitter's pop-up menu.
std::vector<QAction*> RatioItemsOf(QWidget* owner, QMenu* menu, const char* which) {
    std::vector<QAction*> items;
    const bool accelerator = QString(which) == "1";
    for (const RatioChoice& ratio : kRatios) {
        QAction* item = Item(owner, menu, "");
        item->setObjectName(QString("N") + ratio.suffix + which);
        item->setText((accelerator ? QString("&") : QString()) + ratio.caption);
        item->setData(ratio.percent);
        items.push_back(item);
    }
    return items;
}

void BuildMenus(QMainWindow& window, TMainFrame& f) {
    QWidget* owner = &window;
    f.MainMenu = window.menuBar();
    f.MainMenu->setObjectName("MainMenu");

    f.FileItem = Menu(owner, "FileItem");
    f.CopyItem = Item(owner, f.FileItem, "CopyItem", Qt::Key_F5);
    f.MoveItem = Item(owner, f.FileItem, "MoveItem", Qt::Key_F6);
    f.DeleteItem = Item(owner, f.FileItem, "DeleteItem", Qt::Key_F8);
    f.FileItem->addSeparator();
    f.ExportItem = Item(owner, f.FileItem, "ExportItem", Qt::Key_F4);
    f.ExportWordItem = Item(owner, f.FileItem, "ExportWordItem", Qt::CTRL | Qt::Key_F4);
    f.FileItem->addSeparator();
    f.PrintItem = Item(owner, f.FileItem, "PrintItem", Qt::CTRL | Qt::Key_P);
    f.PrinterSetupItem = Item(owner, f.FileItem, "PrinterSetupItem", Qt::CTRL | Qt::Key_S);
    f.MainMenu->addMenu(f.FileItem);

    f.ViewItem = Menu(owner, "ViewItem");
    f.RatioItems = RatioItemsOf(owner, f.ViewItem, "1");
    f.ShowFileNameItem = Item(owner, f.ViewItem, "ShowFileNameItem");
    f.ShowFileNameItem->setCheckable(true);
    f.ViewItem->addSeparator();
    f.NotifyItem = Item(owner, f.ViewItem, "NotifyItem");
    f.NotifyItem->setCheckable(true);
    f.TrayIconItem = Item(owner, f.ViewItem, "TrayIconItem");
    f.TrayIconItem->setCheckable(true);
    f.MainMenu->addMenu(f.ViewItem);

    f.OperationsItem = Menu(owner, "OperationsItem");
    f.WordWrapItem = Item(owner, f.OperationsItem, "WordWrapItem", Qt::Key_F2);
    f.WordWrapItem->setCheckable(true);
    f.WordWrapSeparator = f.OperationsItem->addSeparator();
    f.WordWrapSeparator->setObjectName("WordWrapSeparator");
    f.FindItem = Item(owner, f.OperationsItem, "FindItem", Qt::Key_F7);
    f.FindNextItem = Item(owner, f.OperationsItem, "FindNextItem", Qt::Key_F3);
    f.OperationsItem->addSeparator();
    f.SelectUnselectItem = Item(owner, f.OperationsItem, "SelectUnselectItem", Qt::Key_Insert);
    f.InvertItem = Item(owner, f.OperationsItem, "InvertItem");
    f.OperationsItem->addSeparator();
    f.SelectallItem = Item(owner, f.OperationsItem, "SelectallItem");
    f.UnSelectAllItem = Item(owner, f.OperationsItem, "UnSelectAllItem");
    f.SelectItem = Item(owner, f.OperationsItem, "SelectItem");
    f.UnselectItem = Item(owner, f.OperationsItem, "UnselectItem");
    f.OperationsItem->addSeparator();
    f.AddItem = Item(owner, f.OperationsItem, "AddItem", Qt::CTRL | Qt::SHIFT | Qt::Key_Insert);
    f.ShowEditorItem = Item(owner, f.OperationsItem, "ShowEditorItem", Qt::Key_F12);
    f.OperationsItem->addSeparator();
    f.RereadItem = Item(owner, f.OperationsItem, "RereadItem", Qt::Key_F9);
    f.MainMenu->addMenu(f.OperationsItem);

    f.SetupItem = Menu(owner, "SetupItem");
    f.OptionsItem = Item(owner, f.SetupItem, "OptionsItem");
    f.FiltersItem = Item(owner, f.SetupItem, "FiltersItem");
    f.LanguageItem = Item(owner, f.SetupItem, "LanguageItem");
    f.RichView_Check = Item(owner, f.SetupItem, "RichView_Check");
    f.RichView_Check->setText("RichView");
    f.RichView_Check->setCheckable(true);
    f.RichView_Check->setChecked(true);
    f.AboutItem = Item(owner, f.SetupItem, "AboutItem");
    f.MainMenu->addMenu(f.SetupItem);
}

void BuildPopupMenus(QWidget* owner, TMainFrame& f) {
    f.NormalPopupMenu = Menu(owner, "NormalPopupMenu");
    f.PopupRatioItems = RatioItemsOf(owner, f.NormalPopupMenu, "2");
    f.ZoomPopupMenu = Menu(owner, "ZoomPopupMenu");
    f.ZoomOutItem = Item(owner, f.ZoomPopupMenu, "ZoomOutItem");
    f.FilterPopupMenu = Menu(owner, "FilterPopupMenu");
    f.FilterSetupPopupItem = Item(owner, f.FilterPopupMenu, "FilterSetupPopupItem");
    f.PrintPopupMenu = Menu(owner, "PrintPopupMenu");
    f.PrintersSetupItem = Item(owner, f.PrintPopupMenu, "PrintersSetupItem");
    f.ExportPopupMenu = Menu(owner, "ExportPopupMenu");
    f.NotePadSetupItem = Item(owner, f.ExportPopupMenu, "NotePadSetupItem");
    f.WordPopupMenu = Menu(owner, "WordPopupMenu");
    f.WordSetupItem = Item(owner, f.WordPopupMenu, "WordSetupItem");
    f.ShinePopupMenu = Menu(owner, "ShinePopupMenu");
    f.SelectPopupItem = Item(owner, f.ShinePopupMenu, "SelectPopupItem");
    f.UnshinePopupMenu = Menu(owner, "UnshinePopupMenu");
    f.UnselectPopupItem = Item(owner, f.UnshinePopupMenu, "UnselectPopupItem");
}

void BuildToolBar(QMainWindow& window, TMainFrame& f) {
    f.ToolBar1 = window.addToolBar("ToolBar1");
    QToolBar* bar = f.ToolBar1;
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    window.setContextMenuPolicy(Qt::NoContextMenu);
    const QSize size(25, 24);
    auto add = [&](QToolButton*& button, const char* name, TToolIcon icon) {
        button = Button(bar, name, icon, size);
        bar->addWidget(button);
    };
    add(f.CopyButton, "CopyButton", TToolIcon::Copy);
    add(f.MoveButton, "MoveButton", TToolIcon::Move);
    add(f.DeleteButton, "DeleteButton", TToolIcon::Delete);
    bar->addSeparator();
    add(f.FindButton, "FindButton", TToolIcon::Find);
    add(f.FindNextButton, "FindNextButton", TToolIcon::FindNext);
    bar->addSeparator();
    f.FilterComboBox = new QComboBox(bar);
    f.FilterComboBox->setObjectName("FilterComboBox");
    f.FilterComboBox->setMinimumContentsLength(16);
    f.FilterComboBox->setFocusPolicy(Qt::ClickFocus);
    bar->addWidget(f.FilterComboBox);
    PopupOn(f.FilterComboBox, f.FilterPopupMenu);
    bar->addSeparator();
    add(f.PrintButton, "PrintButton", TToolIcon::Print);
    PopupOn(f.PrintButton, f.PrintPopupMenu);
    add(f.ShineButton, "ShineButton", TToolIcon::Shine);
    PopupOn(f.ShineButton, f.ShinePopupMenu);
    add(f.UnshineButton, "UnshineButton", TToolIcon::Unshine);
    PopupOn(f.UnshineButton, f.UnshinePopupMenu);
    bar->addSeparator();
    add(f.ExportButton, "ExportButton", TToolIcon::Export);
    PopupOn(f.ExportButton, f.ExportPopupMenu);
    add(f.WordButton, "WordButton", TToolIcon::Word);
    PopupOn(f.WordButton, f.WordPopupMenu);
    bar->addSeparator();
    add(f.OptionsButton, "OptionsButton", TToolIcon::Options);
    add(f.FilterButton, "FilterButton", TToolIcon::Filter);
    bar->addSeparator();
    add(f.AddButton, "AddButton", TToolIcon::Add);
    add(f.ShowEditorButton, "ShowEditorButton", TToolIcon::ShowEditor);

    // The program's picture closes the bar at its right end.
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    f.AppImage = new QLabel(bar);
    f.AppImage->setObjectName("AppImage");
    f.AppImage->setPixmap(TowerIcon().pixmap(22, 22));
    bar->addWidget(f.AppImage);
}

void BuildListAndView(QWidget* parent, TMainFrame& f) {
    f.RxSplitter = new QSplitter(Qt::Vertical, parent);
    f.RxSplitter->setObjectName("RxSplitter");
    f.RxSplitter->setChildrenCollapsible(false);
    f.RxSplitter->setHandleWidth(6);
    f.FileGrid = new TFileGrid(f.RxSplitter);
    f.FileGrid->setItemDelegate(new TMessageListDelegate(f.FileGrid));
    f.View = new TMessageView(f.RxSplitter);
    f.View->setObjectName("MessageView");
    f.RxSplitter->addWidget(f.FileGrid);
    f.RxSplitter->addWidget(f.View);
    // The panes may become small: the window keeps the size it is given.
    f.FileGrid->setMinimumHeight(1);
    f.View->setMinimumHeight(1);
    // The panes follow the drag; the release only measures.
    f.RxSplitter->setOpaqueResize(true);
    f.RxSplitterHandle = f.RxSplitter->handle(1);
    f.RxSplitterHandle->setObjectName("RxSplitterHandle");
    f.RxSplitterHandle->setAutoFillBackground(true);
}

void BuildStatusPanel(QWidget* parent, TMainFrame& f, std::function<void()> dropDateCombo) {
    f.StatusPanel = new QWidget(parent);
    f.StatusPanel->setObjectName("StatusPanel");
    f.StatusPanel->setFixedHeight(30);
    auto* row = new QHBoxLayout(f.StatusPanel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    f.HintLabel = new QLabel(f.StatusPanel);
    f.HintLabel->setObjectName("HintLabel");
    f.HintLabel->setTextFormat(Qt::PlainText);
    f.HintLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(f.HintLabel, 1);

    const QSize size(25, 25);
    f.WrapButton = Button(f.StatusPanel, "WrapButton", TToolIcon::Wrap, size);
    f.WrapButton->setCheckable(true);
    f.WrapButton->setChecked(true); // pressed while the view does not wrap
    row->addWidget(f.WrapButton);
    row->addSpacing(5);
    f.LastButton = Button(f.StatusPanel, "LastButton", TToolIcon::Last, size);
    f.NextButton = Button(f.StatusPanel, "NextButton", TToolIcon::Next, size);
    f.RereadButton = new QToolButton(f.StatusPanel);
    f.RereadButton->setObjectName("RereadButton");
    f.RereadButton->setFixedSize(73, 25);
    f.RereadButton->setFocusPolicy(Qt::NoFocus);
    f.PrevButton = Button(f.StatusPanel, "PrevButton", TToolIcon::Prev, size);
    f.FirstButton = Button(f.StatusPanel, "FirstButton", TToolIcon::First, size);
    for (QWidget* control :
         {static_cast<QWidget*>(f.LastButton), static_cast<QWidget*>(f.NextButton),
          static_cast<QWidget*>(f.RereadButton), static_cast<QWidget*>(f.PrevButton),
          static_cast<QWidget*>(f.FirstButton)})
        row->addWidget(control);
    row->addSpacing(5);
    f.DateComboBox = new TRefillComboBox(
        [drop = std::move(dropDateCombo)](QComboBox&) {
            if (drop) drop();
        },
        f.StatusPanel);
    f.DateComboBox->setObjectName("DateComboBox");
    f.DateComboBox->setMinimumContentsLength(10);
    f.DateComboBox->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(f.DateComboBox);
}

} // namespace

void BuildMainFrame(QMainWindow& window, TMainFrame& frame, std::function<void()> dropDateCombo) {
    window.setObjectName("TMainform");
    window.setWindowIcon(TowerIcon());
    BuildMenus(window, frame);
    BuildPopupMenus(&window, frame);
    BuildToolBar(window, frame);

    auto* central = new QWidget(&window);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildListAndView(central, frame);
    column->addWidget(frame.RxSplitter, 1);
    BuildStatusPanel(&window, frame, std::move(dropDateCombo));
    column->addWidget(frame.StatusPanel);
    window.setCentralWidget(central);

    frame.Timer = new QTimer(&window);
    frame.Timer->setInterval(100);
    // The search walk (steps of 1 ms) starts only when a search does.
    frame.SearchTimer = new QTimer(&window);
    frame.SearchTimer->setInterval(1);
}

} // namespace varnot
