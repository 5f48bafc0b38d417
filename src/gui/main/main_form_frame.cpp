// The main window's frame: menu bar, tool bar, list and view, status panel
// and the pop-up menus. Commands that later work builds are present, named
// and captioned, and do nothing yet.
#include "gui/main/main_form.h"

#include "gui/main/message_list_delegate.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"
#include "gui/main/tool_icons.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

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

} // namespace

void TMainform::BuildFrame() {
    setObjectName("TMainform");
    setWindowIcon(TowerIcon());
    BuildMenus();
    BuildPopupMenus();
    BuildToolBar();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    RxSplitter = new QSplitter(Qt::Vertical, central);
    RxSplitter->setObjectName("RxSplitter");
    RxSplitter->setChildrenCollapsible(false);
    RxSplitter->setHandleWidth(6);
    FileGrid = new TFileGrid(RxSplitter);
    FileGrid->setItemDelegate(new TMessageListDelegate(FileGrid));
    FileGrid->installEventFilter(this);
    FileGrid->viewport()->installEventFilter(this);
    View = new TMessageView(RxSplitter);
    View->setObjectName("MessageView");
    RxSplitter->addWidget(FileGrid);
    RxSplitter->addWidget(View);
    // The panes may become small: the window keeps the size it is given.
    FileGrid->setMinimumHeight(1);
    View->setMinimumHeight(1);
    column->addWidget(RxSplitter, 1);
    connect(View, &TMessageView::ViewActivity, this, [this] {
        if (Scan) Scan->RecordAction();
    });

    BuildStatusPanel();
    column->addWidget(StatusPanel);
    setCentralWidget(central);
    ConnectLayoutSignals();
}

void TMainform::BuildMenus() {
    MainMenu = menuBar();
    MainMenu->setObjectName("MainMenu");

    FileItem = Menu(this, "FileItem");
    CopyItem = Item(this, FileItem, "CopyItem", Qt::Key_F5);
    MoveItem = Item(this, FileItem, "MoveItem", Qt::Key_F6);
    DeleteItem = Item(this, FileItem, "DeleteItem", Qt::Key_F8);
    FileItem->addSeparator();
    ExportItem = Item(this, FileItem, "ExportItem", Qt::Key_F4);
    ExportWordItem = Item(this, FileItem, "ExportWordItem", Qt::CTRL | Qt::Key_F4);
    FileItem->addSeparator();
    PrintItem = Item(this, FileItem, "PrintItem", Qt::CTRL | Qt::Key_P);
    PrinterSetupItem = Item(this, FileItem, "PrinterSetupItem", Qt::CTRL | Qt::Key_S);
    MainMenu->addMenu(FileItem);

    ViewItem = Menu(this, "ViewItem");
    for (const RatioChoice& ratio : kRatios) {
        QAction* item = Item(this, ViewItem, "");
        item->setObjectName(QString("N") + ratio.suffix + "1");
        item->setText(QString("&") + ratio.caption);
        connect(item, &QAction::triggered, this, [this, ratio] { ApplyRatio(ratio.percent); });
        RatioItems.push_back(item);
    }
    ShowFileNameItem = Item(this, ViewItem, "ShowFileNameItem");
    ShowFileNameItem->setCheckable(true);
    connect(ShowFileNameItem, &QAction::triggered, this, &TMainform::ShowFileNameItemClick);
    MainMenu->addMenu(ViewItem);

    OperationsItem = Menu(this, "OperationsItem");
    WordWrapItem = Item(this, OperationsItem, "WordWrapItem", Qt::Key_F2);
    WordWrapItem->setCheckable(true);
    connect(WordWrapItem, &QAction::triggered, this, &TMainform::ToggleWordWrap);
    WordWrapSeparator = OperationsItem->addSeparator();
    WordWrapSeparator->setObjectName("WordWrapSeparator");
    FindItem = Item(this, OperationsItem, "FindItem", Qt::Key_F7);
    FindNextItem = Item(this, OperationsItem, "FindNextItem", Qt::Key_F3);
    OperationsItem->addSeparator();
    SelectUnselectItem = Item(this, OperationsItem, "SelectUnselectItem", Qt::Key_Insert);
    connect(SelectUnselectItem, &QAction::triggered, this, &TMainform::ToggleAndAdvance);
    InvertItem = Item(this, OperationsItem, "InvertItem");
    connect(InvertItem, &QAction::triggered, this, &TMainform::InvertItemClick);
    OperationsItem->addSeparator();
    SelectallItem = Item(this, OperationsItem, "SelectallItem");
    connect(SelectallItem, &QAction::triggered, this, &TMainform::SelectallItemClick);
    UnSelectAllItem = Item(this, OperationsItem, "UnSelectAllItem");
    connect(UnSelectAllItem, &QAction::triggered, this, &TMainform::UnSelectAllItemClick);
    SelectItem = Item(this, OperationsItem, "SelectItem");
    connect(SelectItem, &QAction::triggered, this, [this] { SelectFilesDialog(true); });
    UnselectItem = Item(this, OperationsItem, "UnselectItem");
    connect(UnselectItem, &QAction::triggered, this, [this] { SelectFilesDialog(false); });
    OperationsItem->addSeparator();
    AddItem = Item(this, OperationsItem, "AddItem", Qt::CTRL | Qt::SHIFT | Qt::Key_Insert);
    ShowEditorItem = Item(this, OperationsItem, "ShowEditorItem", Qt::Key_F12);
    OperationsItem->addSeparator();
    RereadItem = Item(this, OperationsItem, "RereadItem", Qt::Key_F9);
    connect(RereadItem, &QAction::triggered, this, &TMainform::RereadButtonClick);
    MainMenu->addMenu(OperationsItem);

    SetupItem = Menu(this, "SetupItem");
    OptionsItem = Item(this, SetupItem, "OptionsItem");
    connect(OptionsItem, &QAction::triggered, this, [this] { ShowOptions(TOptionsMode::Fonts); });
    FiltersItem = Item(this, SetupItem, "FiltersItem");
    LanguageItem = Item(this, SetupItem, "LanguageItem");
    connect(LanguageItem, &QAction::triggered, this, &TMainform::LanguageItemClick);
    RichView_Check = Item(this, SetupItem, "RichView_Check");
    RichView_Check->setText("RichView");
    RichView_Check->setCheckable(true);
    RichView_Check->setChecked(true);
    connect(RichView_Check, &QAction::triggered, this, &TMainform::RichView_CheckClick);
    AboutItem = Item(this, SetupItem, "AboutItem");
    MainMenu->addMenu(SetupItem);
}

void TMainform::BuildPopupMenus() {
    NormalPopupMenu = Menu(this, "NormalPopupMenu");
    for (const RatioChoice& ratio : kRatios) {
        QAction* item = Item(this, NormalPopupMenu, "");
        item->setObjectName(QString("N") + ratio.suffix + "2");
        item->setText(ratio.caption);
        connect(item, &QAction::triggered, this, [this, ratio] { ApplyRatio(ratio.percent); });
    }
    ZoomPopupMenu = Menu(this, "ZoomPopupMenu");
    ZoomOutItem = Item(this, ZoomPopupMenu, "ZoomOutItem");
    FilterPopupMenu = Menu(this, "FilterPopupMenu");
    FilterSetupPopupItem = Item(this, FilterPopupMenu, "FilterSetupPopupItem");
    PrintPopupMenu = Menu(this, "PrintPopupMenu");
    PrintersSetupItem = Item(this, PrintPopupMenu, "PrintersSetupItem");
    ExportPopupMenu = Menu(this, "ExportPopupMenu");
    NotePadSetupItem = Item(this, ExportPopupMenu, "NotePadSetupItem");
    connect(NotePadSetupItem, &QAction::triggered, this,
            [this] { ShowOptions(TOptionsMode::NotePadExport); });
    WordPopupMenu = Menu(this, "WordPopupMenu");
    WordSetupItem = Item(this, WordPopupMenu, "WordSetupItem");
    connect(WordSetupItem, &QAction::triggered, this,
            [this] { ShowOptions(TOptionsMode::WordExport); });
    ShinePopupMenu = Menu(this, "ShinePopupMenu");
    SelectPopupItem = Item(this, ShinePopupMenu, "SelectPopupItem");
    connect(SelectPopupItem, &QAction::triggered, this, &TMainform::SelectallItemClick);
    UnshinePopupMenu = Menu(this, "UnshinePopupMenu");
    UnselectPopupItem = Item(this, UnshinePopupMenu, "UnselectPopupItem");
    connect(UnselectPopupItem, &QAction::triggered, this, &TMainform::UnSelectAllItemClick);
}

void TMainform::BuildToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    const QSize size(25, 24);
    auto add = [&](QToolButton*& button, const char* name, TToolIcon icon) {
        button = Button(ToolBar1, name, icon, size);
        ToolBar1->addWidget(button);
    };
    add(CopyButton, "CopyButton", TToolIcon::Copy);
    add(MoveButton, "MoveButton", TToolIcon::Move);
    add(DeleteButton, "DeleteButton", TToolIcon::Delete);
    ToolBar1->addSeparator();
    add(FindButton, "FindButton", TToolIcon::Find);
    add(FindNextButton, "FindNextButton", TToolIcon::FindNext);
    ToolBar1->addSeparator();
    FilterComboBox = new QComboBox(ToolBar1);
    FilterComboBox->setObjectName("FilterComboBox");
    FilterComboBox->setMinimumContentsLength(16);
    FilterComboBox->setFocusPolicy(Qt::ClickFocus);
    ToolBar1->addWidget(FilterComboBox);
    connect(FilterComboBox, &QComboBox::activated, this, &TMainform::FilterComboBoxChange);
    PopupOn(FilterComboBox, FilterPopupMenu);
    ToolBar1->addSeparator();
    add(PrintButton, "PrintButton", TToolIcon::Print);
    PopupOn(PrintButton, PrintPopupMenu);
    add(ShineButton, "ShineButton", TToolIcon::Shine);
    PopupOn(ShineButton, ShinePopupMenu);
    connect(ShineButton, &QToolButton::clicked, this, [this] {
        FileGrid->setFocus();
        SelectFilesDialog(true);
    });
    add(UnshineButton, "UnshineButton", TToolIcon::Unshine);
    PopupOn(UnshineButton, UnshinePopupMenu);
    connect(UnshineButton, &QToolButton::clicked, this, [this] {
        FileGrid->setFocus();
        SelectFilesDialog(false);
    });
    ToolBar1->addSeparator();
    add(ExportButton, "ExportButton", TToolIcon::Export);
    PopupOn(ExportButton, ExportPopupMenu);
    add(WordButton, "WordButton", TToolIcon::Word);
    PopupOn(WordButton, WordPopupMenu);
    ToolBar1->addSeparator();
    add(OptionsButton, "OptionsButton", TToolIcon::Options);
    connect(OptionsButton, &QToolButton::clicked, this,
            [this] { ShowOptions(TOptionsMode::Fonts); });
    add(FilterButton, "FilterButton", TToolIcon::Filter);
    ToolBar1->addSeparator();
    add(AddButton, "AddButton", TToolIcon::Add);
    add(ShowEditorButton, "ShowEditorButton", TToolIcon::ShowEditor);

    // The program's picture closes the bar at its right end.
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    AppImage = new QLabel(ToolBar1);
    AppImage->setObjectName("AppImage");
    AppImage->setPixmap(TowerIcon().pixmap(22, 22));
    ToolBar1->addWidget(AppImage);
}

void TMainform::BuildStatusPanel() {
    StatusPanel = new QWidget(this);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setFixedHeight(30);
    auto* row = new QHBoxLayout(StatusPanel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    HintLabel = new QLabel(StatusPanel);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setTextFormat(Qt::PlainText);
    HintLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    HintLabel->installEventFilter(this); // a click goes to the announced message
    row->addWidget(HintLabel, 1);

    const QSize size(25, 25);
    WrapButton = Button(StatusPanel, "WrapButton", TToolIcon::Wrap, size);
    WrapButton->setCheckable(true);
    WrapButton->setChecked(true); // pressed while the view does not wrap
    connect(WrapButton, &QToolButton::clicked, this, &TMainform::ToggleWordWrap);
    row->addWidget(WrapButton);
    row->addSpacing(5);
    LastButton = Button(StatusPanel, "LastButton", TToolIcon::Last, size);
    NextButton = Button(StatusPanel, "NextButton", TToolIcon::Next, size);
    RereadButton = new QToolButton(StatusPanel);
    RereadButton->setObjectName("RereadButton");
    RereadButton->setFixedSize(73, 25);
    RereadButton->setFocusPolicy(Qt::NoFocus);
    PrevButton = Button(StatusPanel, "PrevButton", TToolIcon::Prev, size);
    FirstButton = Button(StatusPanel, "FirstButton", TToolIcon::First, size);
    for (QWidget* control : {static_cast<QWidget*>(LastButton), static_cast<QWidget*>(NextButton),
                             static_cast<QWidget*>(RereadButton), static_cast<QWidget*>(PrevButton),
                             static_cast<QWidget*>(FirstButton)})
        row->addWidget(control);
    row->addSpacing(5);
    DateComboBox = NewDateChooser(StatusPanel);
    DateComboBox->setObjectName("DateComboBox");
    DateComboBox->setMinimumContentsLength(10);
    DateComboBox->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(DateComboBox);

    connect(LastButton, &QToolButton::clicked, this, &TMainform::LastButtonClick);
    connect(NextButton, &QToolButton::clicked, this, &TMainform::NextButtonClick);
    connect(PrevButton, &QToolButton::clicked, this, &TMainform::PrevButtonClick);
    connect(FirstButton, &QToolButton::clicked, this, &TMainform::FirstButtonClick);
    connect(RereadButton, &QToolButton::clicked, this, &TMainform::RereadButtonClick);
    connect(DateComboBox, &QComboBox::activated, this, &TMainform::DateComboBoxChange);
}

} // namespace varnot
