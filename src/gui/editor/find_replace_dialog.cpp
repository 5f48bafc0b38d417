#include "gui/editor/find_replace_dialog.h"

#include "gui/app/lang.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varnot {

namespace {

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

TFindReplaceDialog::TFindReplaceDialog(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
    const bool replacing = mode == Mode::Replace;
    setObjectName(replacing ? "ReplaceDialog" : "FindDialog");
    setModal(false);

    FindLabel = Named(new QLabel(this), "FindLabel");
    FindEdit = Named(new QLineEdit(this), "FindEdit");
    FindLabel->setBuddy(FindEdit);
    WholeWordCheckBox = Named(new QCheckBox(this), "WholeWordCheckBox");
    MatchCaseCheckBox = Named(new QCheckBox(this), "MatchCaseCheckBox");
    DirectionGroup = Named(new QGroupBox(this), "DirectionGroup");
    UpRadioButton = Named(new QRadioButton(DirectionGroup), "UpRadioButton");
    DownRadioButton = Named(new QRadioButton(DirectionGroup), "DownRadioButton");
    DownRadioButton->setChecked(true);
    auto* directions = new QHBoxLayout(DirectionGroup);
    directions->addWidget(UpRadioButton);
    directions->addWidget(DownRadioButton);

    FindNextButton = Named(new QPushButton(this), "FindNextButton");
    FindNextButton->setDefault(true);
    CancelButton = Named(new QPushButton(this), "CancelButton");

    auto* fields = new QGridLayout;
    fields->addWidget(FindLabel, 0, 0);
    fields->addWidget(FindEdit, 0, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    if (replacing) {
        ReplaceLabel = Named(new QLabel(this), "ReplaceLabel");
        ReplaceEdit = Named(new QLineEdit(this), "ReplaceEdit");
        ReplaceLabel->setBuddy(ReplaceEdit);
        fields->addWidget(ReplaceLabel, 1, 0);
        fields->addWidget(ReplaceEdit, 1, 1);
        ReplaceButton = Named(new QPushButton(this), "ReplaceButton");
        ReplaceAllButton = Named(new QPushButton(this), "ReplaceAllButton");
        buttons->addWidget(ReplaceButton);
        buttons->addWidget(ReplaceAllButton);
        connect(ReplaceButton, &QPushButton::clicked, this, &TFindReplaceDialog::ReplaceClicked);
        connect(ReplaceAllButton, &QPushButton::clicked, this,
                &TFindReplaceDialog::ReplaceAllClicked);
    }
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);

    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(WholeWordCheckBox);
    checks->addWidget(MatchCaseCheckBox);
    options->addLayout(checks);
    options->addWidget(DirectionGroup);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(FindNextButton, &QPushButton::clicked, this, &TFindReplaceDialog::FindNextClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FindEdit, &QLineEdit::textChanged, this, &TFindReplaceDialog::EditChange);
    ApplyCaptions();
    EditChange();
}

QString TFindReplaceDialog::FindText() const {
    return FindEdit->text();
}

QString TFindReplaceDialog::ReplaceText() const {
    return ReplaceEdit != nullptr ? ReplaceEdit->text() : QString();
}

SearchFlags TFindReplaceDialog::Flags() const {
    return {WholeWordCheckBox->isChecked(), MatchCaseCheckBox->isChecked(),
            UpRadioButton->isChecked() ? SearchDirection::Up : SearchDirection::Down};
}

void TFindReplaceDialog::EditChange() {
    // Nothing to look for: the buttons that look wait for a text.
    const bool hasText = !FindEdit->text().isEmpty();
    for (QPushButton* button : {FindNextButton, ReplaceButton, ReplaceAllButton})
        if (button != nullptr) button->setEnabled(hasText);
}

void TFindReplaceDialog::ApplyCaptions() {
    const bool replacing = mode_ == Mode::Replace;
    setWindowTitle(replacing ? Lang("Заменить", "Replace") : Lang("Найти", "Find"));
    FindLabel->setText(Lang("&Образец:", "Fi&nd what:"));
    WholeWordCheckBox->setText(Lang("Только &слово целиком", "Match &whole word only"));
    MatchCaseCheckBox->setText(Lang("С учётом &регистра", "Match &case"));
    DirectionGroup->setTitle(Lang("Направление", "Direction"));
    UpRadioButton->setText(Lang("&Вверх", "&Up"));
    DownRadioButton->setText(Lang("В&низ", "&Down"));
    FindNextButton->setText(Lang("Найти &далее", "&Find Next"));
    CancelButton->setText(Lang("Отмена", "Cancel"));
    if (replacing) {
        ReplaceLabel->setText(Lang("&Заменить на:", "Re&place with:"));
        ReplaceButton->setText(Lang("За&менить", "&Replace"));
        ReplaceAllButton->setText(Lang("Заменить &все", "Replace &All"));
    }
}

} // namespace varnot
