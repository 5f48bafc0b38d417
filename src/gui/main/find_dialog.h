#pragma once

#include "core/main/find_settings.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace varnot {

// The search dialog: the text to search for (with the texts searched for
// before to choose from), whole words, letter case and the direction. It
// stores nothing; the window writes what OK chose.
class TFindDialogBox : public QDialog {
    Q_OBJECT
  public:
    // Shows the pattern and options of `values` (the window's last search),
    // offers its history, and is placed at its x and y on the screen.
    explicit TFindDialogBox(const FindSettings& values, QWidget* parent = nullptr);

    // What OK takes: the typed text as pattern, the ticked options, the
    // history with the text added (AddToFindHistory) and the dialog's
    // position now.
    FindSettings Chosen() const;

    // The controls, for tests.
    struct Controls {
        QComboBox* edit;
        QCheckBox* wordCheckBox;
        QCheckBox* caseCheckBox;
        QRadioButton* upRadioButton;
        QRadioButton* downRadioButton;
        QPushButton* findButton;
        QPushButton* cancelBtn;
    };
    Controls TestControls() const;

  private:
    void ApplyCaptions();
    void EditChange();

    FindSettings values_;
    QLabel* PatternLabel = nullptr;
    QComboBox* Edit = nullptr;
    QCheckBox* WordCheckBox = nullptr;
    QCheckBox* CaseCheckBox = nullptr;
    QGroupBox* RadioGroup = nullptr;
    QRadioButton* UpRadioButton = nullptr;
    QRadioButton* DownRadioButton = nullptr;
    QPushButton* FindButton = nullptr;
    QPushButton* CancelBtn = nullptr;
};

// One search dialog from opening to closing, modal on `owner`: what OK chose,
// or nothing when the operator cancelled.
std::optional<FindSettings> RunFindDialog(QWidget* owner, const FindSettings& values);

// Tests drive the dialog through this instead of a modal loop: RunFindDialog
// shows the dialog, calls the driver, and counts a dialog the driver left
// open as cancelled. Returns the driver installed before; an empty one
// restores the modal loop.
using TFindDialogDriver = std::function<void(TFindDialogBox&)>;
TFindDialogDriver SetFindDialogDriver(TFindDialogDriver driver);

} // namespace varnot
