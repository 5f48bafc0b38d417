#pragma once

#include "core/main/text_search.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varnot {

// The editor's non-modal find and replace dialogs: the text to look for
// (and in the replace dialog its replacement), whole word, match case and
// the direction. The dialog only asks; the editor does the work when a
// button signals.
class TFindReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Find, Replace };

    TFindReplaceDialog(Mode mode, QWidget* parent);

    Mode DialogMode() const { return mode_; }
    QString FindText() const;
    QString ReplaceText() const;
    SearchFlags Flags() const;

    void ApplyCaptions();

  signals:
    void FindNextClicked();
    void ReplaceClicked();
    void ReplaceAllClicked();

  private:
    void EditChange();

    Mode mode_;
    QLabel* FindLabel = nullptr;
    QLineEdit* FindEdit = nullptr;
    QLabel* ReplaceLabel = nullptr;
    QLineEdit* ReplaceEdit = nullptr;
    QCheckBox* WholeWordCheckBox = nullptr;
    QCheckBox* MatchCaseCheckBox = nullptr;
    QGroupBox* DirectionGroup = nullptr;
    QRadioButton* UpRadioButton = nullptr;
    QRadioButton* DownRadioButton = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* ReplaceButton = nullptr;
    QPushButton* ReplaceAllButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace varnot
