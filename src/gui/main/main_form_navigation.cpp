// Moving through the list: the arrow buttons, the rescan command, the
// status line's way to an announced message and the day chooser.
#include "gui/main/main_form.h"

#include "core/archive/day_folders.h"
#include "core/archive/day_jump.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"

#include <QComboBox>
#include <functional>
#include <utility>

namespace varnot {

namespace {

// A drop-down list that asks for fresh items each time it opens, so that the
// days written since the last look are offered.
class TDateChooser : public QComboBox {
  public:
    TDateChooser(QWidget* parent, std::function<void()> beforePopup)
        : QComboBox(parent), beforePopup_(std::move(beforePopup)) {}

    void showPopup() override {
        if (beforePopup_) beforePopup_();
        QComboBox::showPopup();
    }

  private:
    std::function<void()> beforePopup_;
};

} // namespace

QComboBox* TMainform::NewDateChooser(QWidget* parent) {
    return new TDateChooser(parent, [this] { DropDateCombo(); });
}

// Row 0 is the newest message: Last and Next go up the list, Prev and First down.
void TMainform::LastButtonClick() {
    if (CurrentRow() > 0) MoveToRow(0);
}

void TMainform::NextButtonClick() {
    if (CurrentRow() > 0) MoveToRow(CurrentRow() - 1);
}

void TMainform::PrevButtonClick() {
    if (CurrentRow() < ListModel->rowCount() - 1) MoveToRow(CurrentRow() + 1);
}

void TMainform::FirstButtonClick() {
    if (CurrentRow() < ListModel->rowCount() - 1) MoveToRow(ListModel->rowCount() - 1);
}

void TMainform::RereadButtonClick() {
    // During a search the button is the way to stop it.
    if (Searching()) {
        StopSearch();
        return;
    }
    // Back to the newest day; every record is matched again, since the list
    // that comes back is not the one the filter last saw.
    if (Scan->DateIndex != 0) {
        Scan->DateIndex = 0;
        DropDateCombo();
        DateComboBox->setCurrentIndex(0);
        Panel->Refilter = true;
    }
    Scan->ReRead(TReReadMode::AnnounceNew);
}

void TMainform::HintLabelClick() {
    if (Scan->LastNewFile().empty()) return;
    // Showing a message may end the announcement: keep the name.
    const std::string announced = Scan->LastNewFile();
    if (settings_.inZEV) {
        MoveToRow(0);
    } else if (FilterComboBox->currentIndex() > 0) {
        // The filter in use may hide the message: show everything. This is
        // the program's choice, not the operator's, so it is not stored.
        FilterComboBox->setCurrentIndex(0);
        ApplyFilter();
        Panel->Refilter = true;
    }
    if (Panel->Refilter || Scan->DateIndex != 0) {
        // Back to the newest day as the rescan command goes there.
        if (Scan->DateIndex != 0) Panel->Refilter = true;
        Scan->DateIndex = 0;
        DropDateCombo();
        DateComboBox->setCurrentIndex(0);
        // The rows on display are not those of that pass: the message is
        // looked for when it has landed.
        Scan->ShowAfterNextPass(announced);
        Scan->ReRead(TReReadMode::AnnounceNew);
    } else {
        for (int row = 0; row < ShownCount(); ++row) {
            const TFileInfo* record = Panel->RecordAtRow(row);
            if (record != nullptr && record->Name() == announced) {
                MoveToRow(row);
                break;
            }
        }
    }
    Scan->ClearAnnouncement();
    UpdateStatusLine();
}

void TMainform::ShowDayOfCurrentRow() {
    const TFileInfo* record = ShownCount() > 0 ? Panel->RecordAtRow(CurrentRow()) : nullptr;
    if (record == nullptr) return;
    std::string day(record->DayFolder());
    if (!IsDayName(day)) return;
    const int item = DateComboBox->findData(QString::fromStdString(day));
    if (item < 0 || item == DateComboBox->currentIndex()) return;
    // Following the list is not a choice of the operator: nothing is reported.
    const QSignalBlocker block(DateComboBox);
    DateComboBox->setCurrentIndex(item);
}

void TMainform::DropDateCombo() {
    Panel->Dates = LoadDateList(settings_.archiveRoot);
    // Rebuilding is not a choice of the operator: no change is reported, and
    // the day shown stays when it still exists.
    const QSignalBlocker block(DateComboBox);
    const QString shown = DateComboBox->currentText();
    DateComboBox->clear();
    for (auto day = Panel->Dates.rbegin(); day != Panel->Dates.rend(); ++day) {
        const std::vector<std::string> item = DateComboItems({*day});
        if (!item.empty())
            DateComboBox->addItem(QString::fromStdString(item.front()),
                                  QString::fromStdString(*day));
    }
    DateComboBox->setCurrentIndex(DateComboBox->findText(shown));
}

void TMainform::DateComboBoxChange(int index) {
    if (index < 0 || index >= DateComboBox->count()) return;
    Scan->RecordAction();
    if (!Panel->Current().Overflow && Scan->DateIndex == 0) {
        // The list holds every message from the newest day on: the day is in memory.
        const std::string day = DateComboBox->itemData(index).toString().toStdString();
        MoveToRow(JumpToDay(Panel->Current(), day, CurrentRow()));
    } else {
        Scan->DateIndex = index;
        Scan->ReRead(TReReadMode::Quiet);
    }
    FileGrid->setFocus();
}

} // namespace varnot
