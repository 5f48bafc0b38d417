#include "gui/app/dialogs.h"

#include "gui/app/about_box.h"
#include "gui/app/input_dlg.h"
#include "gui/app/lang.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace varnot {

namespace {

TDialogs*& Installed() {
    static TDialogs* dialogs = nullptr;
    return dialogs;
}

QMessageBox::Icon IconOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Information:
        return QMessageBox::Information;
    case TMsgKind::Warning:
        return QMessageBox::Warning;
    case TMsgKind::Error:
        return QMessageBox::Critical;
    case TMsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString MessageTitle(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Information:
        return Lang("Информация", "Information");
    case TMsgKind::Warning:
        return Lang("Предупреждение", "Warning");
    case TMsgKind::Error:
        return Lang("Ошибка", "Error");
    case TMsgKind::Confirmation:
        return Lang("Подтверждение", "Confirm");
    }
    return {};
}

TMsgResult TQtDialogs::MessageBox(QWidget* parent, TMsgKind kind, const QString& text,
                                  TMsgButtons buttons, const QString& title) {
    QMessageBox::StandardButtons set = QMessageBox::Yes;
    QMessageBox::StandardButton escape = QMessageBox::Yes;
    if (buttons == TMsgButtons::YesNo) {
        set |= QMessageBox::No;
        escape = QMessageBox::No;
    } else if (buttons == TMsgButtons::YesNoCancel) {
        set |= QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    }
    QMessageBox box(IconOf(kind), title.isEmpty() ? MessageTitle(kind) : title, text, set, parent);
    box.setEscapeButton(escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton pressed =
        clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    switch (pressed == QMessageBox::NoButton ? escape : pressed) {
    case QMessageBox::Yes:
        return TMsgResult::Yes;
    case QMessageBox::No:
        return TMsgResult::No;
    default:
        return TMsgResult::Cancel;
    }
}

QString TQtDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString TQtDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

QString TQtDialogs::BrowseFolder(QWidget* parent, const QString& title,
                                 const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

std::optional<QString> TQtDialogs::InputBox(QWidget* parent, const QString& title,
                                            const QString& prompt, const QString& defaultText) {
    TInputDlg dlg(parent);
    dlg.SetCaption(title);
    dlg.SetPrompt(prompt);
    dlg.SetText(defaultText);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.Text();
}

void TQtDialogs::AboutBox(QWidget* parent) {
    TAboutBox box(parent);
    box.exec();
}

bool TQtDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

TDialogs& Dialogs() {
    static TQtDialogs toolkit;
    TDialogs* installed = Installed();
    return installed ? *installed : toolkit;
}

TDialogs* SetDialogs(TDialogs* dialogs) {
    TDialogs* previous = Installed();
    Installed() = dialogs;
    return previous;
}

} // namespace varnot
