#include "gui/main/date_mask_dlg.h"

#include "core/main/date_entry.h"
#include "core/text/code_pages.h"
#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/app/text_bytes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <tuple>
#include <utility>

namespace varnot {

namespace {

QComboBox* DateBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(10);
    return box;
}

std::optional<DateTime> DateOf(const QString& text) {
    return ParseEnteredDate(ToCp1251(text));
}

bool Later(const DateTime& a, const DateTime& b) {
    return std::tie(a.year, a.month, a.day) > std::tie(b.year, b.month, b.day);
}

} // namespace

TDateMaskDlg::TDateMaskDlg(bool select, QWidget* parent) : QDialog(parent) {
    setObjectName("TDateMaskDlg");
    setWindowTitle(select ? Lang("Выделить файлы", "Select files")
                          : Lang("Снять выделение с файлов", "Select files"));

    PatternLabel = new QLabel(Lang("&Образец", "&Pattern"), this);
    PatternLabel->setObjectName("PatternLabel");
    PatternControl = new QLineEdit(this);
    PatternControl->setObjectName("PatternControl");
    PatternLabel->setBuddy(PatternControl);
    FromLabel = new QLabel(Lang("&От", "&From"), this);
    FromLabel->setObjectName("FromLabel");
    FromComboBox = DateBox("FromComboBox", this);
    FromLabel->setBuddy(FromComboBox);
    ToLabel = new QLabel(Lang("&До", "&To"), this);
    ToLabel->setObjectName("ToLabel");
    ToComboBox = DateBox("ToComboBox", this);
    ToLabel->setBuddy(ToComboBox);

    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QDialogButtonBox::Ok);
    OKBtn->setObjectName("OKBtn");
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    CancelBtn->setObjectName("CancelBtn");
    HelpBtn = buttons->addButton(QDialogButtonBox::Help);
    HelpBtn->setObjectName("HelpBtn");
    // The program has no help file; the button is there but does nothing.
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TDateMaskDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(PatternLabel, 0, 0);
    grid->addWidget(PatternControl, 0, 1);
    grid->addWidget(FromLabel, 1, 0);
    grid->addWidget(FromComboBox, 1, 1);
    grid->addWidget(ToLabel, 2, 0);
    grid->addWidget(ToComboBox, 2, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(buttons);
    PatternControl->setFocus();
}

void TDateMaskDlg::SetTexts(const QString& mask, const QString& from, const QString& to) {
    PatternControl->setText(mask);
    FromComboBox->setEditText(from);
    ToComboBox->setEditText(to);
}

void TDateMaskDlg::SetDateChoices(const QStringList& fromItems, const QStringList& toItems,
                                  const QString& fromText, const QString& toText) {
    FromComboBox->clear();
    FromComboBox->addItems(fromItems);
    FromComboBox->setEditText(fromText);
    ToComboBox->clear();
    ToComboBox->addItems(toItems);
    ToComboBox->setEditText(toText);
}

QString TDateMaskDlg::MaskText() const {
    return PatternControl->text();
}

QString TDateMaskDlg::FromText() const {
    return FromComboBox->currentText();
}

QString TDateMaskDlg::ToText() const {
    return ToComboBox->currentText();
}

void TDateMaskDlg::OKBtnClick() {
    std::optional<DateTime> dates[2];
    QComboBox* boxes[2] = {FromComboBox, ToComboBox};
    for (int i = 0; i < 2; ++i) {
        dates[i] = DateOf(boxes[i]->currentText());
        if (!dates[i]) {
            Dialogs().MessageBox(this, TMsgKind::Error,
                                 Lang("Неправильая дата ", "Wrong date ") + boxes[i]->currentText(),
                                 TMsgButtons::Yes);
            boxes[i]->setFocus();
            return;
        }
    }
    // Whichever box holds the later day, the range is the same.
    earlier_ = *dates[0];
    later_ = *dates[1];
    if (Later(earlier_, later_)) std::swap(earlier_, later_);
    accept();
}

} // namespace varnot
