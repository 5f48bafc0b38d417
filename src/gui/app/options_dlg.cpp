#include "gui/app/options_dlg.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/text/code_pages.h"
#include "gui/app/archive_root_dialog.h"
#include "gui/app/colour_box.h"
#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/app/refill_combo_box.h"
#include "gui/app/spin_edit.h"
#include "gui/app/text_bytes.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace varnot {

namespace {

// Fonts, captions and highlight words are code page 1251 in the settings
// file; paths are kept as the file system's own bytes: the archive scanner
// and the program starter hand them to the system unchanged.

QStringList ScreenFonts() {
    return FontFamilyNames(QFontDatabase::families());
}

QStringList SortedScreenFonts() {
    QStringList fonts = ScreenFonts();
    fonts.sort(Qt::CaseInsensitive);
    return fonts;
}

QStringList CharSetList() {
    QStringList names;
    for (const auto& entry : CharSetNames)
        names << QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
    return names;
}

QString CharSetText(int value) {
    const std::string_view name = CharSetNameOf(value);
    if (name.empty()) return QString::number(value);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

TOptionsDriver& Driver() {
    static TOptionsDriver driver;
    return driver;
}

} // namespace

QStringList FontFamilyNames(const QStringList& families) {
    QStringList names;
    for (QString family : families) {
        // "C059 [urw]": the part in brackets names the foundry, not a font.
        const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
        if (bracket > 0 && family.endsWith(QLatin1Char(']'))) family.truncate(bracket);
        if (!names.contains(family)) names << family;
    }
    return names;
}

TOptionsDlg::TOptionsDlg(const TOptionsValues& inEffect, QWidget* parent)
    : QDialog(parent), inEffect_(MendOptionsValues(inEffect)) {
    // The fonts and the external programs are shown as the settings file holds them.
    const TOptionsValues stored = ReadOptionsValues(IniFile(SettingsFile()));
    inEffect_.printer = stored.printer;
    inEffect_.list = stored.list;
    inEffect_.view = stored.view;
    inEffect_.editor = stored.editor;
    inEffect_.wordExe = stored.wordExe;
    inEffect_.notePadExe = stored.notePadExe;
    look_ = LookOf(inEffect_);
    result_.look = look_;

    PageControl = new QTabWidget(this);
    BuildMainPage();
    BuildFontsPage();
    BuildExportPage();
    BuildColoursPage();

    buttons_ =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    OKBtn = buttons_->button(QDialogButtonBox::Ok);
    CancelBtn = buttons_->button(QDialogButtonBox::Cancel);
    OKBtn->setDefault(true);
    connect(buttons_, &QDialogButtonBox::accepted, this, &TOptionsDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &TOptionsDlg::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(buttons_);

    FillControls();
    SelectMode(TOptionsMode::Fonts);
    ApplyCaptions();
}

void TOptionsDlg::BuildMainPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    SaveLabel = new QLabel;
    // The capacity in effect may be below the spin minimum; it is shown as it is.
    BufferSizeEdit = new TSpinEdit(spin::BufferSize, 1);
    MessagesLabel = new QLabel;
    DeleteCheckBox = new QCheckBox;
    CheckEveryLabel = new QLabel;
    RereadDelayEdit = new TSpinEdit(spin::RereadDelay);
    MinuteLabel = new QLabel;
    MarkLabel = new QLabel;
    MarkDelayEdit = new TSpinEdit(spin::MarkDelay);
    MiliSecondLabel = new QLabel;
    AutoEnableCheckBox = new QCheckBox;
    AfterLabel = new QLabel;
    AutoShowDelayEdit = new TSpinEdit(spin::AutoShowDelay);
    MinutesLabel = new QLabel;
    DOSCodeCheckPageBox = new QCheckBox;
    PathLabel = new QLabel;
    PathEdit = new QLineEdit;
    PathButton = new QPushButton(QStringLiteral("..."));

    int row = 0;
    grid->addWidget(SaveLabel, row, 0);
    grid->addWidget(BufferSizeEdit, row, 1);
    grid->addWidget(MessagesLabel, row++, 2);
    grid->addWidget(DeleteCheckBox, row++, 0, 1, 4);
    grid->addWidget(CheckEveryLabel, row, 0);
    grid->addWidget(RereadDelayEdit, row, 1);
    grid->addWidget(MinuteLabel, row++, 2);
    grid->addWidget(MarkLabel, row, 0);
    grid->addWidget(MarkDelayEdit, row, 1);
    grid->addWidget(MiliSecondLabel, row++, 2);
    grid->addWidget(AutoEnableCheckBox, row++, 0, 1, 4);
    grid->addWidget(AfterLabel, row, 0, Qt::AlignRight);
    grid->addWidget(AutoShowDelayEdit, row, 1);
    grid->addWidget(MinutesLabel, row++, 2);
    grid->addWidget(DOSCodeCheckPageBox, row++, 0, 1, 4);
    grid->addWidget(PathLabel, row++, 0, 1, 4);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(PathEdit, 1);
    pathRow->addWidget(PathButton);
    grid->addLayout(pathRow, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    PageControl->addTab(page, QString());
    // Hidden with AutoShow off, the delay keeps its place: nothing below moves.
    for (QWidget* widget :
         {static_cast<QWidget*>(AfterLabel), static_cast<QWidget*>(AutoShowDelayEdit),
          static_cast<QWidget*>(MinutesLabel)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    connect(AutoEnableCheckBox, &QCheckBox::toggled, this, &TOptionsDlg::AutoEnableCheckBoxClick);
    connect(PathButton, &QPushButton::clicked, this, &TOptionsDlg::PathButtonClick);
}

void TOptionsDlg::BuildFontsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    FontLabel = new QLabel;
    SizeLabel = new QLabel;
    grid->addWidget(FontLabel, 0, 1);
    grid->addWidget(SizeLabel, 0, 2);

    const auto addRow = [grid](int row, QLabel*& label, TRefillComboBox*& box,
                               TRefillComboBox::Source source, TSpinEdit*& size) {
        label = new QLabel;
        box = new TRefillComboBox(std::move(source));
        size = new TSpinEdit(spin::FontSize);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(size, row, 2);
    };
    // The printer offers the same families as the screen on this platform.
    addRow(1, PrinterLabel, PrinterComboBox, SortedScreenFonts, PrinterSizeEdit);
    addRow(2, ListLabel, ListComboBox, SortedScreenFonts, ListSizeEdit);
    addRow(3, ViewLabel, ViewComboBox, SortedScreenFonts, ViewSizeEdit);
    addRow(4, EditorLabel, EditorComboBox, ScreenFonts, EditorSizeEdit);

    DataTimePrintingCheckBox = new QCheckBox;
    grid->addWidget(DataTimePrintingCheckBox, 5, 0, 1, 3);
    ComboBox_Charset = new TRefillComboBox(CharSetList);
    grid->addWidget(ComboBox_Charset, 6, 0, 1, 2);
    ApplyButton = new QPushButton(QStringLiteral("Apply"));
    grid->addWidget(ApplyButton, 6, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    PageControl->addTab(page, QString());

    connect(ApplyButton, &QPushButton::clicked, this, &TOptionsDlg::ApplyButtonClick);
}

void TOptionsDlg::BuildExportPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    PathEditorLabel = new QLabel;
    WordPathEdit = new QLineEdit;
    WordButton = new QPushButton(QStringLiteral("..."));
    NotePadLabel = new QLabel;
    NotepadPathEdit = new QLineEdit;
    NotePadButton = new QPushButton(QStringLiteral("..."));
    DataTimeExportingCheckBox = new QCheckBox;
    grid->addWidget(PathEditorLabel, 0, 0);
    grid->addWidget(WordPathEdit, 0, 1);
    grid->addWidget(WordButton, 0, 2);
    grid->addWidget(NotePadLabel, 1, 0);
    grid->addWidget(NotepadPathEdit, 1, 1);
    grid->addWidget(NotePadButton, 1, 2);
    grid->addWidget(DataTimeExportingCheckBox, 2, 0, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    PageControl->addTab(page, QString());

    connect(WordButton, &QPushButton::clicked, this, [this] { ProgramButtonClick(WordPathEdit); });
    connect(NotePadButton, &QPushButton::clicked, this,
            [this] { ProgramButtonClick(NotepadPathEdit); });
}

void TOptionsDlg::BuildColoursPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    HighLightLabel = new QLabel;
    HighLightColorComboBox = new TColourBox;
    HighLightMemo = new QPlainTextEdit;
    HighLightMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    HighLightMemo->installEventFilter(this);
    CaptionLabel = new QLabel;
    CaptionColorComboBox = new TColourBox;
    KeyWordLabel = new QLabel;
    KeyWordColorComboBox = new TColourBox;
    ApplyColorButton = new QPushButton(QStringLiteral("Applay"));
    grid->addWidget(HighLightLabel, 0, 0);
    grid->addWidget(HighLightColorComboBox, 0, 1);
    grid->addWidget(HighLightMemo, 1, 0, 1, 2);
    grid->addWidget(CaptionLabel, 2, 0);
    grid->addWidget(CaptionColorComboBox, 2, 1);
    grid->addWidget(KeyWordLabel, 3, 0);
    grid->addWidget(KeyWordColorComboBox, 3, 1);
    grid->addWidget(ApplyColorButton, 4, 1, Qt::AlignRight);
    grid->setRowStretch(1, 1);
    PageControl->addTab(page, QString());

    connect(ApplyColorButton, &QPushButton::clicked, this, &TOptionsDlg::ApplyButtonClick);
}

void TOptionsDlg::FillControls() {
    const TOptionsValues& v = inEffect_;
    BufferSizeEdit->Fill(v.viewBufferSize);
    DeleteCheckBox->setChecked(v.deleteAutomatically);
    AutoEnableCheckBox->setChecked(v.autoShow);
    AutoShowDelayEdit->Fill(v.autoShowDelay);
    DOSCodeCheckPageBox->setChecked(v.inDOS);
    ComboBox_Charset->setEditText(CharSetText(v.charSet));
    const auto fillFont = [](TRefillComboBox* box, TSpinEdit* size, const TFontSetting& font) {
        box->setEditText(FromCp1251(font.font));
        size->Fill(font.size);
    };
    fillFont(PrinterComboBox, PrinterSizeEdit, v.printer);
    fillFont(ListComboBox, ListSizeEdit, v.list);
    fillFont(ViewComboBox, ViewSizeEdit, v.view);
    fillFont(EditorComboBox, EditorSizeEdit, v.editor);
    DataTimePrintingCheckBox->setChecked(v.insertDataTimeWhenPrinting);
    DataTimeExportingCheckBox->setChecked(v.insertDataTimeWhenExporting);
    MarkDelayEdit->Fill(v.markDelay);
    RereadDelayEdit->Fill(v.rereadDelay);
    WordPathEdit->setText(FromPathBytes(v.wordExe));
    NotepadPathEdit->setText(FromPathBytes(v.notePadExe));
    PathEdit->setText(FromPathBytes(v.archiveRoot));
    AutoEnableCheckBoxClick();
}

void TOptionsDlg::SelectMode(TOptionsMode mode) {
    switch (mode) {
    case TOptionsMode::WordExport:
        PageControl->setCurrentIndex(ExportPage);
        focusTarget_ = WordPathEdit;
        break;
    case TOptionsMode::NotePadExport:
        PageControl->setCurrentIndex(ExportPage);
        focusTarget_ = NotepadPathEdit;
        break;
    case TOptionsMode::EditorFont:
        PageControl->setCurrentIndex(FontsPage);
        focusTarget_ = EditorComboBox;
        break;
    case TOptionsMode::Fonts:
    default:
        PageControl->setCurrentIndex(FontsPage);
        focusTarget_ = nullptr;
        break;
    }
    if (focusTarget_) focusTarget_->setFocus();
}

void TOptionsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    if (focusTarget_) focusTarget_->setFocus();
}

// Runs when the dialog is shown. Unlike a handler on every activation, coming
// back from a file or folder browser keeps colour and word edits not yet applied.
void TOptionsDlg::FormActivate() {
    ApplyCaptions();
    CaptionColorComboBox->SetColourValue(look_.captionColour);
    KeyWordColorComboBox->SetColourValue(look_.keyWordColour);
    HighLightColorComboBox->SetColourValue(look_.highLightColour);
    QStringList lines;
    for (const std::string& word : look_.highLightWords) lines << FromCp1251(word);
    HighLightMemo->setPlainText(lines.join(QLatin1Char('\n')));
    AutoEnableCheckBoxClick();
}

void TOptionsDlg::ApplyCaptions() {
    setWindowTitle(Lang("Настройки", "Options"));
    PageControl->setTabText(MainPage, Lang("Главная", "Main"));
    PageControl->setTabText(FontsPage, Lang("Шрифты", "Fonts"));
    PageControl->setTabText(ExportPage, Lang("Экспорт", "Export"));
    PageControl->setTabText(ColoursPage, Lang("Цвета", "Colors"));

    SaveLabel->setText(Lang("Показывать", "Display"));
    MessagesLabel->setText(Lang("сообщений", "messages"));
    DeleteCheckBox->setText(
        Lang("Удалять старые сообщения автоматически", "Delete old messages automaticly"));
    CheckEveryLabel->setText(Lang("Проверять каждые", "Check every"));
    MinuteLabel->setText(Lang("минут", "minutes"));
    MarkLabel->setText(Lang("Отмечать прочитанное после", "Mark the readed messages after"));
    MiliSecondLabel->setText(Lang("миллисекунд", "ms"));
    AutoEnableCheckBox->setText(Lang("Разрешить автопоказ", "Enable AutoShow"));
    AfterLabel->setText(Lang("после", "after"));
    MinutesLabel->setText(Lang("минут", "minutes"));
    DOSCodeCheckPageBox->setText(
        Lang("Сообщения в DOS кодировке", "DOS Code Page of source texts"));
    PathLabel->setText(Lang("Путь к корню архивов", "Path to root of archives"));

    FontLabel->setText(Lang("Шрифт", "Font"));
    SizeLabel->setText(Lang("Размер", "Size"));
    PrinterLabel->setText(Lang("Принтер", "Printer"));
    ListLabel->setText(Lang("Заголовки", "Captions"));
    ViewLabel->setText(Lang("Текст", "Text"));
    EditorLabel->setText(Lang("Редактор", "Editor"));
    DataTimePrintingCheckBox->setText(
        Lang("Вставлять Дату и Время при печати", "Insert Data and Time when printing"));

    PathEditorLabel->setText(Lang("Редактор", "Editor"));
    NotePadLabel->setText(QStringLiteral("NotePad"));
    DataTimeExportingCheckBox->setText(
        Lang("Вставлять Дату и Время при экспорте", "Insert Data and Time when export"));

    HighLightLabel->setText(Lang("Выделенные слова", "Highlighted words"));
    CaptionLabel->setText(Lang("Заголовки", "Captions"));
    KeyWordLabel->setText(Lang("Слова поиска", "Key words"));
}

void TOptionsDlg::AutoEnableCheckBoxClick() {
    const bool on = AutoEnableCheckBox->isChecked();
    AutoShowDelayEdit->setVisible(on);
    AfterLabel->setVisible(on);
    MinutesLabel->setVisible(on);
}

bool TOptionsDlg::eventFilter(QObject* watched, QEvent* event) {
    // A highlight word never holds a blank.
    if (watched == HighLightMemo && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        return true;
    return QDialog::eventFilter(watched, event);
}

void TOptionsDlg::PathButtonClick() {
    if (const auto folder = ChooseArchiveRoot(this, PathEdit->text())) PathEdit->setText(*folder);
}

void TOptionsDlg::ProgramButtonClick(QLineEdit* edit) {
    // "*" is this platform's pattern for every file (programs have no extension).
    const QString start = edit->text().trimmed().isEmpty()
                              ? QString()
                              : ExistingFolderAtOrAbove(QFileInfo(edit->text()).path());
    const QString file = Dialogs().OpenFileName(this, QString(), start, QStringLiteral("*"));
    if (!file.isEmpty()) edit->setText(file);
}

TOptionsLook TOptionsDlg::ControlLook() const {
    return LookOf(ControlValues());
}

void TOptionsDlg::ApplyButtonClick() {
    look_ = ControlLook();
    result_.applied = true;
    result_.look = look_;
    emit LookApplied(look_);
}

TOptionsValues TOptionsDlg::ControlValues() const {
    // A field the operator left alone gives the value it was filled with,
    // also one it cannot show (a hand-edited MarkDelay of a minute).
    const auto number = [](const TSpinEdit* edit, int given) {
        return edit->Edited() ? edit->value() : given;
    };
    const TOptionsValues& given = inEffect_;
    // The settings the dialog does not show stay as they are in effect.
    TOptionsValues v = given;
    v.viewBufferSize = number(BufferSizeEdit, given.viewBufferSize);
    v.deleteAutomatically = DeleteCheckBox->isChecked();
    v.rereadDelay = number(RereadDelayEdit, given.rereadDelay);
    v.markDelay = number(MarkDelayEdit, given.markDelay);
    v.inDOS = DOSCodeCheckPageBox->isChecked();
    v.autoShow = AutoEnableCheckBox->isChecked();
    v.autoShowDelay = number(AutoShowDelayEdit, given.autoShowDelay);
    const auto font = [&number](const TRefillComboBox* box, const TSpinEdit* size,
                                const TFontSetting& was) {
        return TFontSetting{ToCp1251(box->currentText().trimmed()), number(size, was.size)};
    };
    v.printer = font(PrinterComboBox, PrinterSizeEdit, given.printer);
    v.list = font(ListComboBox, ListSizeEdit, given.list);
    v.view = font(ViewComboBox, ViewSizeEdit, given.view);
    v.editor = font(EditorComboBox, EditorSizeEdit, given.editor);
    v.charSet = CharSetValue(ToCp1251(ComboBox_Charset->currentText().trimmed()));
    v.insertDataTimeWhenPrinting = DataTimePrintingCheckBox->isChecked();
    v.insertDataTimeWhenExporting = DataTimeExportingCheckBox->isChecked();
    v.wordExe = ToPathBytes(WordPathEdit->text().trimmed());
    v.notePadExe = ToPathBytes(NotepadPathEdit->text().trimmed());
    v.archiveRoot = ToPathBytes(PathEdit->text().trimmed());
    v.captionColour = CaptionColorComboBox->ColourValue();
    v.keyWordColour = KeyWordColorComboBox->ColourValue();
    v.highLightColour = HighLightColorComboBox->ColourValue();
    std::vector<std::string> lines;
    for (const QString& line : HighLightMemo->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(ToCp1251(line));
    v.highLightWords = HighLightWordsFromLines(lines);
    return MendOptionsValues(std::move(v));
}

void TOptionsDlg::accept() {
    const TOptionsValues shown = ControlValues();

    // A mistyped archive root would silently empty the list, but a folder
    // may also be missing for a while (a share not yet mounted): the operator
    // decides. No keeps the dialog open with every edit. The root already in
    // effect is not asked about.
    if (shown.archiveRoot != inEffect_.archiveRoot &&
        !QFileInfo(FromPathBytes(shown.archiveRoot)).isDir()) {
        const QString folder = FromPathBytes(shown.archiveRoot);
        const TMsgResult answer = Dialogs().MessageBox(
            this, TMsgKind::Warning,
            Lang("Папка ", "The folder ") + folder +
                Lang(" не существует. Использовать её?", " does not exist. Use it anyway?"),
            TMsgButtons::YesNo);
        if (answer != TMsgResult::Yes) {
            PageControl->setCurrentIndex(MainPage);
            PathEdit->setFocus();
            return;
        }
    }

    std::vector<TOptionsEffect> effects;
    if (shown.viewBufferSize != inEffect_.viewBufferSize) {
        Dialogs().MessageBox(this, TMsgKind::Information,
                             Lang("Перезапустите VARNOT", "Restart VARNOT to have effect"),
                             TMsgButtons::Yes);
        effects.push_back(TOptionsEffect::RestartNotice);
    }

    const TOptionsValues stored = BoundForStoring(shown);
    IniFile ini(SettingsFile());
    WriteOptionsValues(ini, stored);
    result_.saved = ini.Save();

    effects.push_back(TOptionsEffect::KeepValues);
    if (stored.inDOS != inEffect_.inDOS) effects.push_back(TOptionsEffect::ReloadBriefs);
    effects.push_back(TOptionsEffect::RematchAll);
    effects.push_back(TOptionsEffect::ApplyLook);
    effects.push_back(TOptionsEffect::Rescan);

    result_.accepted = true;
    result_.values = stored;
    result_.look = LookOf(stored);
    result_.effects = std::move(effects);
    QDialog::accept();
}

TOptionsResult ShowOptions(QWidget* owner, TOptionsMode mode, const TOptionsValues& inEffect,
                           const TApplyHandler& onApply) {
    TOptionsDlg dialog(inEffect, owner);
    if (onApply) QObject::connect(&dialog, &TOptionsDlg::LookApplied, &dialog, onApply);
    dialog.SelectMode(mode);
    if (const TOptionsDriver driver = Driver()) {
        dialog.show();
        driver(dialog);
        if (dialog.isVisible()) dialog.reject();
    } else {
        dialog.exec();
    }
    return dialog.Result();
}

TOptionsDriver SetOptionsDriver(TOptionsDriver driver) {
    TOptionsDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

} // namespace varnot
