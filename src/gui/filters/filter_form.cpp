#include "gui/filters/filter_form.h"

#include "core/app/ini_file.h"
#include "core/text/code_pages.h"
#include "gui/app/dialogs.h"
#include "gui/app/input_dlg.h"
#include "gui/app/lang.h"
#include "gui/app/named_widget.h"
#include "gui/app/text_bytes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace varnot {

namespace {

TFilterFormDriver& Driver() {
    static TFilterFormDriver driver;
    return driver;
}

// The text without the characters the mask field ignores when typed.
QString WithoutIgnoredMaskKeys(const QString& text) {
    QString clean;
    for (const char32_t c : text.toUcs4())
        if (!IgnoredMaskKey(c)) clean += QString::fromUcs4(&c, 1);
    return clean;
}

// The one character a key press types, or 0.
char32_t TypedCharacter(const QKeyEvent& event) {
    const QList<uint> typed = event.text().toUcs4();
    return typed.size() == 1 ? static_cast<char32_t>(typed.front()) : 0;
}

} // namespace

TFilterForm::TFilterForm(std::string settingsFile, int selectedGroup, QWidget* parent)
    : QDialog(parent), settingsFile_(std::move(settingsFile)),
      groups_(TFilterGroupEditor::Load(IniFile(settingsFile_), selectedGroup)),
      GroupLabel(Named(new QLabel(this), "GroupLabel")),
      FilterListBox(Named(new QListWidget(this), "FilterListBox")),
      NewButton(Named(new QPushButton(this), "NewButton")),
      DelButton(Named(new QPushButton(this), "DelButton")),
      RenameButton(Named(new QPushButton(this), "RenameButton")),
      KeyWordLabel(Named(new QLabel(this), "KeyWordLabel")),
      KeyWordMemo(Named(new QPlainTextEdit(this), "KeyWordMemo")),
      KeywordLimitLabel(Named(new QLabel(this), "KeywordLimitLabel")),
      MaskLabel(Named(new QLabel(this), "MaskLabel")),
      MaskEdit(Named(new QLineEdit(this), "MaskEdit")),
      OkButton(Named(new QPushButton("OK", this), "OkButton")),
      CancelButton(Named(new QPushButton("Cancel", this), "CancelButton")) {
    resize(426, 311);
    GroupLabel->setBuddy(FilterListBox);
    KeyWordLabel->setBuddy(KeyWordMemo);
    MaskLabel->setBuddy(MaskEdit);
    KeyWordMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    KeywordLimitLabel->setWordWrap(true);
    KeywordLimitLabel->hide();
    OkButton->setDefault(true);

    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(NewButton);
    groupButtons->addWidget(DelButton);
    groupButtons->addWidget(RenameButton);
    auto* grid = new QGridLayout;
    grid->addWidget(GroupLabel, 0, 0);
    grid->addWidget(FilterListBox, 1, 0, 3, 1);
    grid->addLayout(groupButtons, 4, 0);
    grid->addWidget(KeyWordLabel, 0, 1);
    grid->addWidget(KeyWordMemo, 1, 1);
    grid->addWidget(KeywordLimitLabel, 2, 1);
    grid->addWidget(MaskLabel, 3, 1, Qt::AlignBottom);
    grid->addWidget(MaskEdit, 4, 1);
    grid->setRowStretch(1, 1);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addStretch();
    closeButtons->addWidget(OkButton);
    closeButtons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(closeButtons);

    KeyWordMemo->installEventFilter(this);
    MaskEdit->installEventFilter(this);
    connect(FilterListBox, &QListWidget::currentRowChanged, this, &TFilterForm::FilterListBoxClick);
    connect(FilterListBox, &QListWidget::itemDoubleClicked, this, &TFilterForm::RenameButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TFilterForm::NewButtonClick);
    connect(DelButton, &QPushButton::clicked, this, &TFilterForm::DelButtonClick);
    connect(RenameButton, &QPushButton::clicked, this, &TFilterForm::RenameButtonClick);
    connect(KeyWordMemo, &QPlainTextEdit::textChanged, this, &TFilterForm::StoreCurrent);
    connect(MaskEdit, &QLineEdit::textChanged, this, &TFilterForm::StoreCurrent);
    connect(OkButton, &QPushButton::clicked, this, &TFilterForm::accept);
    connect(CancelButton, &QPushButton::clicked, this, &TFilterForm::reject);

    ApplyCaptions();
    FillGroupList();
}

void TFilterForm::ApplyCaptions() {
    setWindowTitle(Lang("Редактирование групп ключевых слов для поиска",
                        "Editing of groups of keywords for search"));
    GroupLabel->setText(Lang("Группы", "Groups"));
    NewButton->setText(Lang("&Новая", "&New"));
    DelButton->setText(Lang("&Удалить", "&Erase"));
    RenameButton->setText(Lang("&Пререименовать", "&Rename"));
    KeyWordLabel->setText(Lang("Ключевые слова", "Keywords"));
    KeywordLimitLabel->setText(
        Lang("Используются только первые 13 ключевых слов", "Only the first 13 keywords are used"));
    MaskLabel->setText(Lang("Маски поиска", "Masks of search"));
    MaskEdit->setToolTip(Lang("Пример: FOA*.TXT;FSTA*.TXT", "Example: FOA*.TXT;FSTA*.TXT"));
}

void TFilterForm::FillGroupList() {
    {
        const QSignalBlocker block(FilterListBox);
        FilterListBox->clear();
        for (int i = 0; i < groups_.Count(); ++i)
            FilterListBox->addItem(FromCp1251(groups_.Name(i)));
        FilterListBox->setCurrentRow(groups_.Current());
    }
    ShowGroup(groups_.Current());
    SetButtons();
}

void TFilterForm::ShowGroup(int position) {
    const TGroupView view = varnot::ShowGroup(groups_.Line(position));
    QStringList keywords;
    for (const std::string& keyword : view.keywords) keywords << FromCp1251(keyword);
    // Showing a group is no edit of it.
    const QSignalBlocker blockMemo(KeyWordMemo);
    const QSignalBlocker blockMask(MaskEdit);
    KeyWordMemo->setPlainText(keywords.join('\n'));
    MaskEdit->setText(FromCp1251(view.masks));
    KeywordLimitLabel->setVisible(HasUnreadKeywords(groups_.Line(position)));
}

void TFilterForm::StoreCurrent() {
    // A pasted mask text bypasses the ignored keys: the field shows what is stored.
    const QString masks = MaskEdit->text();
    const QString clean = WithoutIgnoredMaskKeys(masks);
    if (clean != masks) {
        const int cursor = MaskEdit->cursorPosition();
        const int removedBeforeCursor = static_cast<int>(
            masks.left(cursor).size() - WithoutIgnoredMaskKeys(masks.left(cursor)).size());
        const QSignalBlocker block(MaskEdit);
        MaskEdit->setText(clean);
        MaskEdit->setCursorPosition(cursor - removedBeforeCursor);
    }
    groups_.StoreCurrent(ToCp1251(clean), ToCp1251(KeyWordMemo->toPlainText()));
    KeywordLimitLabel->setVisible(HasUnreadKeywords(groups_.Line(groups_.Current())));
}

void TFilterForm::SetButtons() {
    DelButton->setEnabled(groups_.CanErase());
    NewButton->setEnabled(groups_.CanAdd());
}

void TFilterForm::FilterListBoxClick(int row) {
    groups_.Select(row);
    ShowGroup(groups_.Current());
}

void TFilterForm::NewButtonClick() {
    if (!groups_.CanAdd()) return;
    // These texts are Russian in both languages.
    const std::optional<QString> name =
        Dialogs().InputBox(this, QString::fromUtf8("Новая группа ключевых слов"),
                           QString::fromUtf8("Имя"), QStringLiteral("Group"));
    if (!name || !AcceptName(this, *name)) return;
    if (groups_.Insert(ToCp1251(*name)) != TGroupEdit::Done) return;
    FillGroupList();
    KeyWordMemo->setFocus();
}

void TFilterForm::DelButtonClick() {
    if (!groups_.CanErase()) return;
    if (Dialogs().MessageBox(this, TMsgKind::Confirmation,
                             Lang("Вы хотите удалить группу кючевых слов?",
                                  "Do you want to delete group of keywords?"),
                             TMsgButtons::YesNoCancel) != TMsgResult::Yes)
        return;
    if (groups_.Erase() == TGroupEdit::Done) FillGroupList();
}

void TFilterForm::RenameButtonClick() {
    const int position = groups_.Current();
    if (position < 0) return;
    const std::optional<QString> name = Dialogs().InputBox(
        this, {}, Lang("Новое имя группы ключевых слов", "Rename group of keywords"),
        FromCp1251(groups_.Name(position)));
    if (!name || !AcceptName(this, *name)) return;
    if (groups_.Rename(ToCp1251(*name)) != TGroupEdit::Done) return;
    if (QListWidgetItem* item = FilterListBox->item(position))
        item->setText(FromCp1251(groups_.Name(position)));
}

void TFilterForm::accept() {
    StoreCurrent();
    IniFile settings(settingsFile_);
    groups_.SaveGroups(settings);
    saved_ = settings.Save();
    if (!saved_) {
        // The edits stay: the operator may free the file and press OK again, or cancel.
        Dialogs().MessageBox(
            this, TMsgKind::Error,
            Lang("Не удаётся записать файл настроек\n", "Cannot write the settings file\n") +
                FromPathBytes(settingsFile_),
            TMsgButtons::Yes);
        return;
    }
    QDialog::accept();
}

bool TFilterForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == KeyWordMemo || watched == MaskEdit)) {
        const char32_t typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (typed != 0 &&
            (watched == KeyWordMemo ? IgnoredKeywordKey(typed) : IgnoredMaskKey(typed)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool EditFilterGroups(QWidget* parent, const std::string& settingsFile, int& selectedGroup) {
    TFilterForm form(settingsFile, selectedGroup, parent);
    if (const TFilterFormDriver driver = Driver()) {
        form.show();
        driver(form);
        if (form.isVisible()) form.reject();
    } else {
        form.exec();
    }
    if (form.result() != QDialog::Accepted || !form.Saved()) return false;
    selectedGroup = form.SelectedGroup();
    return true;
}

TFilterFormDriver SetFilterFormDriver(TFilterFormDriver driver) {
    TFilterFormDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

} // namespace varnot
