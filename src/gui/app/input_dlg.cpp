#include "gui/app/input_dlg.h"

#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/app/text_bytes.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnot {

QString NameFaultText(TNameFault fault) {
    switch (fault) {
    case TNameFault::None:
        return {};
    case TNameFault::Empty:
        return Lang("Поле не может быть пустым", "The field cannot be empty");
    case TNameFault::HasBlank:
        return Lang("Поле не может содержать пробелы", "The field cannot contains a spaces");
    }
    return {};
}

bool AcceptName(QWidget* parent, const QString& name) {
    const TNameFault fault = CheckGroupName(ToCp1251(name));
    if (fault == TNameFault::None) return true;
    Dialogs().MessageBox(parent, TMsgKind::Error, NameFaultText(fault), TMsgButtons::Yes);
    return false;
}

TInputDlg::TInputDlg(QWidget* parent)
    : QDialog(parent), InputLabel(new QLabel("Label:", this)), Edit(new QLineEdit(this)),
      OKBtn(new QPushButton("OK", this)), CancelBtn(new QPushButton("Cancel", this)) {
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(8);
    setFont(bold);
    SetCaption({});

    InputLabel->setObjectName("InputLabel");
    Edit->setObjectName("Edit");
    OKBtn->setObjectName("OKBtn");
    CancelBtn->setObjectName("CancelBtn");
    InputLabel->setBuddy(Edit);
    OKBtn->setDefault(true);
    Edit->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(InputLabel);
    layout->addWidget(Edit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Edit->setMinimumWidth(240);

    connect(OKBtn, &QPushButton::clicked, this, &TInputDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Edit->setFocus();
}

void TInputDlg::SetCaption(const QString& caption) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
}

void TInputDlg::SetPrompt(const QString& prompt) {
    InputLabel->setText(prompt);
}

void TInputDlg::SetText(const QString& text) {
    Edit->setText(text);
    Edit->selectAll();
}

QString TInputDlg::Text() const {
    return Edit->text();
}

bool TInputDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        return true;
    return QDialog::eventFilter(watched, event);
}

void TInputDlg::OKBtnClick() {
    if (AcceptName(this, Edit->text())) accept();
}

} // namespace varnot
