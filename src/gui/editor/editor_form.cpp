// The editor window's frame: menus, button bar, text, status bar, captions,
// font, geometry and closing.
#include "gui/editor/editor_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/editor/editor_capacity.h"
#include "core/text/code_pages.h"
#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/editor/editor_texts.h"
#include "gui/editor/find_replace_dialog.h"
#include "gui/editor/utf16_view.h"
#include "gui/main/captions.h"
#include "gui/main/message_view.h"
#include "gui/main/tool_icons.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <array>

namespace varnot {

namespace {

using P = TCaptionProperty;

enum class TEditorMenu { File, Edit, Search, Operations };

// One command of the editor: its menu item, shortcut, button and hint.
struct TEditorCommand {
    TEditorMenu menu;
    const char* item;
    const char* russian;
    const char* english;
    const char* shortcut; // empty: none
    const char* button;   // nullptr: no button
    const char* hintRussian;
    const char* hintEnglish;
    TToolIcon icon;
    void (TEditorForm::*handler)();
    bool separatorBefore; // in the menu and the button bar
};

using M = TEditorMenu;
using I = TToolIcon;
using F = TEditorForm;

const std::array<TEditorCommand, 17> kCommands{{
    {M::File, "ClearItem", "О&чистить", "&Clear", "Ctrl+Del", "ClearButton", "Очистить", "Clear",
     I::Clear, &F::ClearItemClick, false},
    {M::File, "OpenItem", "&Открыть", "&Open ...", "", "OpenButton", "Открыть", "Open ...", I::Open,
     &F::OpenItemClick, false},
    {M::File, "SaveAsItem", "&Сохранить как", "&Save as ...", "", "SaveAsButton", "Сохранить как",
     "Save as ...", I::SaveAs, &F::SaveAsItemClick, false},
    {M::File, "ExportItem", "&Экспорт", "&Export", "F4", "ExportButton", "Экспорт", "Export",
     I::Export, &F::ExportItemClick, true},
    {M::File, "ExportWordItem", "Э&кспорт в Word", "Export to &Word", "Ctrl+F4", "WordButton",
     "Экспорт в Word", "Export to Word", I::Word, &F::ExportWordItemClick, false},
    {M::File, "PrintItem", "&Печать", "&Print", "Ctrl+P", "PrintButton", "Печать", "Print",
     I::Print, &F::PrintItemClick, true},
    {M::File, "PrinterSetupItem", "&Настройка принтера", "Printer &Setup", "Ctrl+S", nullptr,
     nullptr, nullptr, I::Print, &F::PrinterSetupItemClick, false},
    {M::Edit, "UndoItem", "&Отмена", "&Undo", "Ctrl+Z", "UndoButton", "Отмена", "Undo", I::Undo,
     &F::UndoItemClick, true},
    {M::Edit, "CutItem", "&Вырезать", "Cu&t", "Ctrl+X", "CutButton", "Вырезать", "Cut", I::Cut,
     &F::CutItemClick, true},
    {M::Edit, "CopyItem", "&Копировать", "&Copy", "Ctrl+C", "CopyButton", "Копировать", "Copy",
     I::Copy, &F::CopyItemClick, false},
    {M::Edit, "PasteItem", "&Вставить", "&Paste", "Ctrl+V", "PasteButton", "Вставить", "Paste",
     I::Paste, &F::PasteItemClick, false},
    {M::Edit, "SelectAllItem", "&Выделить все", "&Select all", "Ctrl+A", "SelectAllButton",
     "Выделить все", "Select all", I::SelectAll, &F::SelectAllItemClick, true},
    {M::Search, "FindItem", "&Искать", "&Find", "F7", "FindButton", "Искать", "Find", I::Find,
     &F::FindItemClick, true},
    {M::Search, "FindNextItem", "&Повторить поиск", "Find &Next", "F3", "FindNextButton",
     "Повторить поиск", "Find Next", I::FindNext, &F::FindNextItemClick, false},
    {M::Search, "ReplaceItem", "&Заменить", "&Replace", "Ctrl+R", "ReplaceButton", "Заменить",
     "Replace", I::Replace, &F::ReplaceItemClick, false},
    {M::Operations, "OptionsItem", "&Настройка", "&Options", "", nullptr, nullptr, nullptr,
     I::Options, &F::OptionsItemClick, false},
    {M::Operations, "MainWindowItem", "&Главное окно", "&Main Window", "F12", "MainWindowButton",
     "Главное окно", "&Main window", I::MainWindow, &F::MainWindowItemClick, true},
}};

constexpr std::array kMenuCaptions{
    TCaption{"FileItem", P::Caption, "&Файл", "&File"},
    TCaption{"EditItem", P::Caption, "&Редактирование", "&Edit"},
    TCaption{"SearchItem", P::Caption, "&Поиск", "&Search"},
    TCaption{"OperationsItem", P::Caption, "&Действия", "&Operations"},
    TCaption{"TEditorForm", P::WindowTitle, "Встроенный редактор", "Build in editor"},
};

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

} // namespace

TEditorForm::TEditorForm(TEditorLinks links) : links_(std::move(links)) {
    setObjectName("TEditorForm");
    setWindowIcon(TowerIcon());
    // The main window's closing ends the program, never this window's.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (!links_.readProgram || !links_.keepProgram) {
        const IniFile ini(SettingsFile());
        notePadExe_ = Read(ini, keys::NotePadExe);
        wordExe_ = Read(ini, keys::WordExe);
    }

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selection stays visible while a dialog or the main window has the focus.
    QPalette palette = Memo->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    Memo->setPalette(palette);
    setCentralWidget(Memo);

    BuildMenus();
    BuildButtons();
    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName("StatusPanel");
    ByteLabel = new QLabel(this);
    ByteLabel->setObjectName("ByteLabel");
    statusBar()->addWidget(StatusPanel, 1);
    statusBar()->addWidget(ByteLabel, 1);

    connect(Memo, &QPlainTextEdit::textChanged, this, &TEditorForm::UpdateEditorStatus);
    connect(Memo, &QPlainTextEdit::selectionChanged, this, &TEditorForm::UpdateEditorStatus);

    LoadGeometry();
    ApplyCaptions();
    ApplyEditorFont();
    UpdateEditorStatus();
}

TEditorForm::~TEditorForm() = default;

void TEditorForm::BuildMenus() {
    std::array<QMenu*, 4> menus{};
    const std::array<const char*, 4> names{"FileItem", "EditItem", "SearchItem", "OperationsItem"};
    for (std::size_t i = 0; i < menus.size(); ++i) {
        menus[i] = menuBar()->addMenu(QString());
        menus[i]->setObjectName(names[i]);
    }
    for (const TEditorCommand& command : kCommands) {
        QMenu* menu = menus[static_cast<std::size_t>(command.menu)];
        if (command.separatorBefore && !menu->isEmpty()) menu->addSeparator();
        auto* action = new QAction(this);
        action->setObjectName(command.item);
        if (*command.shortcut != '\0') action->setShortcut(QKeySequence(command.shortcut));
        menu->addAction(action);
        connect(action, &QAction::triggered, this, command.handler);
    }
    CutItem = findChild<QAction*>("CutItem");
    CopyItem = findChild<QAction*>("CopyItem");
}

void TEditorForm::BuildButtons() {
    ButtonBar = addToolBar(QString());
    ButtonBar->setObjectName("ButtonBar");
    ButtonBar->setMovable(false);
    ButtonBar->setFloatable(false);
    ButtonBar->toggleViewAction()->setEnabled(false);
    for (const TEditorCommand& command : kCommands) {
        if (command.button == nullptr) continue;
        if (command.separatorBefore && !ButtonBar->actions().isEmpty()) ButtonBar->addSeparator();
        auto* button = new QToolButton(ButtonBar);
        button->setObjectName(command.button);
        button->setIcon(ToolIcon(command.icon));
        button->setAutoRaise(true);
        // The text keeps the focus when a button is pressed.
        button->setFocusPolicy(Qt::NoFocus);
        ButtonBar->addWidget(button);
        connect(button, &QToolButton::clicked, this, command.handler);
    }
    CutButton = findChild<QToolButton*>("CutButton");
    CopyButton = findChild<QToolButton*>("CopyButton");
}

void TEditorForm::ApplyCaptions() {
    for (const TCaption& caption : kMenuCaptions)
        ApplyCaption(caption.property == P::WindowTitle ? this
                                                        : findChild<QObject*>(caption.control),
                     caption);
    for (const TEditorCommand& command : kCommands) {
        ApplyCaption(findChild<QAction*>(command.item),
                     {command.item, P::Caption, command.russian, command.english});
        if (command.button != nullptr)
            ApplyCaption(findChild<QToolButton*>(command.button),
                         {command.button, P::Hint, command.hintRussian, command.hintEnglish});
    }
    for (TFindReplaceDialog* dialog : {FindDialog, ReplaceDialog})
        if (dialog != nullptr) dialog->ApplyCaptions();
    UpdateEditorStatus();
}

void TEditorForm::UpdateEditorStatus() {
    const bool selected = Memo->textCursor().hasSelection();
    CutItem->setEnabled(selected);
    CopyItem->setEnabled(selected);
    CutButton->setEnabled(selected);
    CopyButton->setEnabled(selected);
    const TEditorSize size = EditorSizeOf(Utf16View(Memo->toPlainText()));
    StatusPanel->setText("    " + QString::number(size.lines) + Lang("  строк", "  lines"));
    ByteLabel->setText(QString::number(size.characters) + Lang("  байт", "  bytes"));
}

void TEditorForm::ApplyEditorFont() {
    const IniFile ini(SettingsFile());
    ApplyEditorFont({Read(ini, keys::EditorFont), Read(ini, keys::EditorSize)});
}

void TEditorForm::ApplyEditorFont(const TFontSetting& font) {
    Memo->setFont(ViewFontFor(FromBytes(font.font), font.size));
}

void TEditorForm::SetWordWrap(bool wrap) {
    Memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TEditorForm::LoadGeometry() {
    const IniFile ini(SettingsFile());
    // X and Y place the frame, W and H size the inside, as SaveGeometry writes them.
    resize(Read(ini, keys::EditorW), Read(ini, keys::EditorH));
    move(Read(ini, keys::EditorX), Read(ini, keys::EditorY));
}

void TEditorForm::SaveGeometry() const {
    IniFile ini(SettingsFile());
    Write(ini, keys::EditorW, width());
    Write(ini, keys::EditorH, height());
    Write(ini, keys::EditorX, x());
    Write(ini, keys::EditorY, y());
    // A failed write is not reported: the geometry is a convenience.
    ini.Save();
}

QStringList TEditorForm::Lines() const {
    const QString text = Memo->toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool TEditorForm::MayDiscardText() {
    if (!Memo->document()->isModified() || Memo->document()->isEmpty()) return true;
    switch (Dialogs().MessageBox(this, TMsgKind::Confirmation, EditorSaveQuestionText(),
                                 TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes:
        return SaveTextAs();
    case TMsgResult::No:
        return true;
    case TMsgResult::Cancel:
        break;
    }
    return false;
}

void TEditorForm::CloseWithoutQuestion() {
    closingWithoutQuestion_ = true;
    close();
}

void TEditorForm::closeEvent(QCloseEvent* event) {
    if (!closingWithoutQuestion_ && !MayDiscardText()) {
        event->ignore();
        return;
    }
    closingWithoutQuestion_ = false;
    SaveGeometry();
    for (TFindReplaceDialog* dialog : {FindDialog, ReplaceDialog})
        if (dialog != nullptr) dialog->hide();
    event->accept();
    emit Closed();
}

} // namespace varnot
