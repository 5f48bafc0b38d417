#include "gui/main/find_dialog.h"

#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/app/named_widget.h"
#include "gui/app/text_bytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

namespace varnot {

namespace {

TFindDialogDriver& Driver() {
    static TFindDialogDriver driver;
    return driver;
}

} // namespace

TFindDialogBox::TFindDialogBox(const FindSettings& values, QWidget* parent)
    : QDialog(parent), values_(values) {
    setObjectName("TFindDialogBox");

    PatternLabel = Named(new QLabel(this), "PatternLabel");
    Edit = Named(new QComboBox(this), "Edit");
    Edit->setEditable(true);
    Edit->setInsertPolicy(QComboBox::NoInsert);
    Edit->setMinimumContentsLength(24);
    // What the operator types is what is searched for: no completion from
    // the history that could add letters to it.
    Edit->setCompleter(nullptr);
    PatternLabel->setBuddy(Edit);
    WordCheckBox = Named(new QCheckBox(this), "WordCheckBox");
    CaseCheckBox = Named(new QCheckBox(this), "CaseCheckBox");
    RadioGroup = Named(new QGroupBox(this), "RadioGroup");
    UpRadioButton = Named(new QRadioButton(RadioGroup), "UpRadioButton");
    DownRadioButton = Named(new QRadioButton(RadioGroup), "DownRadioButton");

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    FindButton = Named(buttons->addButton(QString(), QDialogButtonBox::AcceptRole), "FindButton");
    CancelBtn = Named(buttons->addButton(QDialogButtonBox::Cancel), "CancelBtn");
    FindButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* directions = new QHBoxLayout(RadioGroup);
    directions->addWidget(UpRadioButton);
    directions->addWidget(DownRadioButton);
    auto* grid = new QGridLayout;
    grid->addWidget(PatternLabel, 0, 0);
    grid->addWidget(Edit, 0, 1, 1, 2);
    auto* checks = new QVBoxLayout;
    checks->addWidget(WordCheckBox);
    checks->addWidget(CaseCheckBox);
    checks->addStretch();
    grid->addLayout(checks, 1, 0, 1, 2);
    grid->addWidget(RadioGroup, 1, 2);
    auto* row = new QHBoxLayout(this);
    row->addLayout(grid);
    row->addWidget(buttons);

    for (const std::string& text : values_.history) Edit->addItem(FromCp1251(text));
    Edit->setEditText(FromCp1251(values_.pattern));
    WordCheckBox->setChecked(values_.flags.wholeWord);
    CaseCheckBox->setChecked(values_.flags.caseSensitive);
    (values_.flags.direction == SearchDirection::Up ? UpRadioButton : DownRadioButton)
        ->setChecked(true);
    connect(Edit, &QComboBox::editTextChanged, this, &TFindDialogBox::EditChange);
    // An editable combo box keeps Enter to itself; here it means Find.
    connect(Edit->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (FindButton->isEnabled()) FindButton->click();
    });
    EditChange();

    ApplyCaptions();
    move(values_.x, values_.y);
    Edit->setFocus();
}

void TFindDialogBox::ApplyCaptions() {
    setWindowTitle(Lang("Поиск", "Find"));
    PatternLabel->setText(Lang("&Образец", "&Pattern"));
    WordCheckBox->setText(Lang("&Только слово целиком", "&Word only"));
    CaseCheckBox->setText(Lang("С &учетом регистра", "&Case sensitive"));
    RadioGroup->setTitle(Lang("Направление", "Direction"));
    UpRadioButton->setText(Lang("В&верх", "&Up"));
    DownRadioButton->setText(Lang("Вн&из", "&Down"));
    FindButton->setText(Lang("&Найти", "&Find"));
    CancelBtn->setText(Lang("Отмена", "Cancel"));
}

void TFindDialogBox::EditChange() {
    FindButton->setEnabled(!Edit->currentText().isEmpty());
}

FindSettings TFindDialogBox::Chosen() const {
    FindSettings chosen = values_;
    chosen.pattern = ToCp1251(Edit->currentText());
    chosen.flags.wholeWord = WordCheckBox->isChecked();
    chosen.flags.caseSensitive = CaseCheckBox->isChecked();
    chosen.flags.direction =
        UpRadioButton->isChecked() ? SearchDirection::Up : SearchDirection::Down;
    chosen.history = AddToFindHistory(values_.history, chosen.pattern);
    chosen.x = pos().x();
    chosen.y = pos().y();
    return chosen;
}

TFindDialogBox::Controls TFindDialogBox::TestControls() const {
    return {Edit,       WordCheckBox, CaseCheckBox, UpRadioButton, DownRadioButton,
            FindButton, CancelBtn};
}

std::optional<FindSettings> RunFindDialog(QWidget* owner, const FindSettings& values) {
    TFindDialogBox dialog(values, owner);
    if (const TFindDialogDriver driver = Driver()) {
        dialog.show();
        driver(dialog);
        if (dialog.isVisible()) dialog.reject();
    } else {
        dialog.exec();
    }
    if (dialog.result() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

TFindDialogDriver SetFindDialogDriver(TFindDialogDriver driver) {
    TFindDialogDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

} // namespace varnot
