#pragma once

#include "core/app/options_values.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace varnot {

class TColourBox;
class TRefillComboBox;
class TSpinEdit;

// Where the dialog opens: its page and the control with the focus.
enum class TOptionsMode {
    Fonts = 0,         // the Fonts page
    WordExport = 1,    // the Export page at the word processor's path
    NotePadExport = 2, // the Export page at the text editor's path
    EditorFont = 3,    // the Fonts page at the editor's font
};

// What the main window must do after the operator left the dialog with OK,
// in the order it must be done.
enum class TOptionsEffect {
    // The list capacity was changed; the dialog has already told the operator
    // to restart. Nothing is left to do: the new capacity counts from the next start.
    RestartNotice,
    // Take over TOptionsResult::values except the list capacity
    // (AcceptedValues): the delays, the switches, the program paths and the
    // archive root.
    KeepValues,
    // InDOS changed: drop the brief of every row of the list on display
    // (FreeBrief 0..Used-1) and redraw the grid, so briefs are read again in
    // the new code page.
    ReloadBriefs,
    // Mark the message panel to re-match every record against the filter on the next pass.
    RematchAll,
    // The apply step with TOptionsResult::look: fonts, character set,
    // colours and highlight words (as the Apply buttons do).
    ApplyLook,
    // Ask for a rescan with argument 1 (ReRead(1)).
    Rescan,
};

struct TOptionsResult {
    bool accepted = false; // left with OK
    bool applied = false;  // an Apply button was pressed (its look went to the apply handler)
    bool saved = false;    // OK wrote the settings file (a failed write is not reported)
    TOptionsValues values; // after OK: the values as stored, and those the dialog does not show
    TOptionsLook look;     // after OK, or after Apply and Cancel: the look last put into effect
    std::vector<TOptionsEffect> effects; // empty unless accepted
};

// The options dialog. It shows the values in effect it is given, except the
// four fonts and the two program paths, which it reads from the settings file.
// OK stores every value into the settings file and leaves the effects in
// Result(); the two Apply buttons emit LookApplied and store nothing. The
// dialog never touches the main window.
class TOptionsDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TOptionsDlg(const TOptionsValues& inEffect, QWidget* parent = nullptr);

    // Opens the page and focuses the control of an opening mode; a mode
    // outside the enumeration opens the Fonts page.
    void SelectMode(TOptionsMode mode);

    // The values as the controls hold them now (mended, not yet bounded for storing).
    TOptionsValues ControlValues() const;
    const TOptionsResult& Result() const { return result_; }

    // Page indices of PageControl.
    enum Page { MainPage = 0, FontsPage = 1, ExportPage = 2, ColoursPage = 3 };

    // Controls, named by role and kind. Each number field is a TSpinEdit: the
    // field and its spin button in one control.
    QTabWidget* PageControl = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    // Page 0.
    QLabel* SaveLabel = nullptr;
    TSpinEdit* BufferSizeEdit = nullptr;
    QLabel* MessagesLabel = nullptr;
    QCheckBox* DeleteCheckBox = nullptr;
    QLabel* CheckEveryLabel = nullptr;
    TSpinEdit* RereadDelayEdit = nullptr;
    QLabel* MinuteLabel = nullptr;
    QLabel* MarkLabel = nullptr;
    TSpinEdit* MarkDelayEdit = nullptr;
    QLabel* MiliSecondLabel = nullptr;
    QCheckBox* AutoEnableCheckBox = nullptr;
    QLabel* AfterLabel = nullptr;
    TSpinEdit* AutoShowDelayEdit = nullptr;
    QLabel* MinutesLabel = nullptr;
    QCheckBox* DOSCodeCheckPageBox = nullptr;
    QLabel* PathLabel = nullptr;
    QLineEdit* PathEdit = nullptr;
    QPushButton* PathButton = nullptr;
    // Page 1.
    QLabel* FontLabel = nullptr;
    QLabel* SizeLabel = nullptr;
    QLabel* PrinterLabel = nullptr;
    TRefillComboBox* PrinterComboBox = nullptr;
    TSpinEdit* PrinterSizeEdit = nullptr;
    QLabel* ListLabel = nullptr;
    TRefillComboBox* ListComboBox = nullptr;
    TSpinEdit* ListSizeEdit = nullptr;
    QLabel* ViewLabel = nullptr;
    TRefillComboBox* ViewComboBox = nullptr;
    TSpinEdit* ViewSizeEdit = nullptr;
    QLabel* EditorLabel = nullptr;
    TRefillComboBox* EditorComboBox = nullptr;
    TSpinEdit* EditorSizeEdit = nullptr;
    QCheckBox* DataTimePrintingCheckBox = nullptr;
    TRefillComboBox* ComboBox_Charset = nullptr;
    QPushButton* ApplyButton = nullptr;
    // Page 2.
    QLabel* PathEditorLabel = nullptr;
    QLineEdit* WordPathEdit = nullptr;
    QPushButton* WordButton = nullptr;
    QLabel* NotePadLabel = nullptr;
    QLineEdit* NotepadPathEdit = nullptr;
    QPushButton* NotePadButton = nullptr;
    QCheckBox* DataTimeExportingCheckBox = nullptr;
    // Page 3.
    QLabel* HighLightLabel = nullptr;
    TColourBox* HighLightColorComboBox = nullptr;
    QPlainTextEdit* HighLightMemo = nullptr;
    QLabel* CaptionLabel = nullptr;
    TColourBox* CaptionColorComboBox = nullptr;
    QLabel* KeyWordLabel = nullptr;
    TColourBox* KeyWordColorComboBox = nullptr;
    QPushButton* ApplyColorButton = nullptr;

  signals:
    // An Apply button was pressed: put this look into effect now.
    void LookApplied(const varnot::TOptionsLook& look);

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMainPage();
    void BuildFontsPage();
    void BuildExportPage();
    void BuildColoursPage();
    void FillControls();
    void FormActivate();
    void ApplyCaptions();
    void AutoEnableCheckBoxClick();
    void PathButtonClick();
    void ProgramButtonClick(QLineEdit* edit);
    void ApplyButtonClick();
    TOptionsLook ControlLook() const;

    TOptionsValues inEffect_;
    // The look in effect: what the dialog was given, then what Apply put into effect.
    TOptionsLook look_;
    QWidget* focusTarget_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    TOptionsResult result_;
};

// The font families of a font list, each once: a family the system offers
// from several foundries ("C059 [UKWN]", "C059 [urw]") is listed by its
// name alone, where it first appears.
QStringList FontFamilyNames(const QStringList& families);

// Puts a look into effect in the main window.
using TApplyHandler = std::function<void(const TOptionsLook&)>;

// The whole life of one options dialog: created on `owner`, filled from
// `inEffect` (fonts and program paths from the settings file), opened at the
// page of `mode`, shown modally, destroyed. Apply buttons call `onApply`.
TOptionsResult ShowOptions(QWidget* owner, TOptionsMode mode, const TOptionsValues& inEffect,
                           const TApplyHandler& onApply = {});

// Tests drive the dialog through this instead of a modal loop: ShowOptions
// shows the dialog, calls the driver, and counts a dialog the driver left open
// as cancelled. Returns the driver installed before; an empty one restores
// the modal loop.
using TOptionsDriver = std::function<void(TOptionsDlg&)>;
TOptionsDriver SetOptionsDriver(TOptionsDriver driver);

} // namespace varnot
