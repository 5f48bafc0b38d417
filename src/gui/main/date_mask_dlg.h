#pragma once

#include "core/archive/dos_time.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnot {

// Selects or unselects the messages of a date range whose file names match a
// mask. The operator types the mask and the two days; OK checks both days and
// stays open on a wrong one. After OK, EarlierDate and LaterDate hold the range
// in order, whichever box held which end.
class TDateMaskDlg : public QDialog {
    Q_OBJECT
  public:
    // `select` chooses the caption: selecting or unselecting.
    explicit TDateMaskDlg(bool select, QWidget* parent = nullptr);

    // The boxes' lists and texts; an empty text stays empty.
    void SetTexts(const QString& mask, const QString& from, const QString& to);
    void SetDateChoices(const QStringList& fromItems, const QStringList& toItems,
                        const QString& fromText, const QString& toText);

    QString MaskText() const;
    QString FromText() const;
    QString ToText() const;
    const DateTime& EarlierDate() const { return earlier_; }
    const DateTime& LaterDate() const { return later_; }

    QLabel* PatternLabel = nullptr;
    QLineEdit* PatternControl = nullptr;
    QLabel* FromLabel = nullptr;
    QComboBox* FromComboBox = nullptr;
    QLabel* ToLabel = nullptr;
    QComboBox* ToComboBox = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    // Checks both days; closes the dialog with OK when they are good.
    void OKBtnClick();

  private:
    DateTime earlier_;
    DateTime later_;
};

} // namespace varnot
