#pragma once

#include "core/filters/filter_group_editor.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnot {

// A one-line input box for one word, such as the name of a keyword group: the
// blank key does nothing, and OK refuses an empty text and a text holding a
// blank (a pasted one can) with a message, leaving the box open. Cancel and
// Escape always close it. Controls are named InputLabel, Edit, OKBtn and CancelBtn.
class TInputDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TInputDlg(QWidget* parent = nullptr);

    // An empty caption shows as a single blank.
    void SetCaption(const QString& caption);
    void SetPrompt(const QString& prompt);
    void SetText(const QString& text);
    QString Text() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OKBtnClick();

    QLabel* InputLabel;
    QLineEdit* Edit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

// Why a text was refused, in the current language; empty for TNameFault::None.
QString NameFaultText(TNameFault fault);
// Refuses an unfit name with its message box; true when the name is fit.
bool AcceptName(QWidget* parent, const QString& name);

} // namespace varnot
