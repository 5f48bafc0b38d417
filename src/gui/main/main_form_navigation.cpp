// Moving through the list: the arrow buttons, the rescan command, the
// status line's way to an announced message and the day chooser.
#include "gui/main/main_form.h"

#include "core/archive/day_folders.h"
#include "core/archive/day_jump.h"
#include "core/archive/file_panel.h"
#include "gui/app/text_bytes.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"

#include <QComboBox>

namespace varnot {

// Row 0 is the newest message: Last and Next go up the list, Prev and First down.
void TMainform::LastButtonClick() {
    if (CurrentRow() > 0) MoveToRow(0);
}

void TMainform::NextButtonClick() {
    if (CurrentRow() > 0) MoveToRow(CurrentRow() - 1);
}

void TMainform::PrevButtonClick() {
    if (CurrentRow() < listModel_->rowCount() - 1) MoveToRow(CurrentRow() + 1);
}

void TMainform::FirstButtonClick() {
    if (CurrentRow() < listModel_->rowCount() - 1) MoveToRow(listModel_->rowCount() - 1);
}

void TMainform::RereadButtonClick() {
    // During a search the button is the way to stop it.
    if (Searching()) {
        StopSearch();
        return;
    }
    // Back to the newest day; every record is matched again, since the list
    // that comes back is not the one the filter last saw.
    if (scan_->DateIndex != 0) {
        scan_->DateIndex = 0;
        DropDateCombo();
        frame_->DateComboBox->setCurrentIndex(0);
        panel_->Refilter = true;
    }
    scan_->ReRead(TReReadMode::AnnounceNew);
}

void TMainform::HintLabelClick() {
    if (scan_->LastNewFile().empty()) return;
    // Showing a message may end the announcement: keep the name.
    const std::string announced = scan_->LastNewFile();
    GoToAnnounced(announced, false);
    scan_->ClearAnnouncement();
    UpdateStatusLine();
}

void TMainform::ShowArrivedMessage(const std::string& name) {
    GoToAnnounced(name, true);
    UpdateStatusLine();
}

void TMainform::GoToAnnounced(const std::string& announced, bool keepListingFilter) {
    const auto rowOf = [this, &announced] {
        for (int row = 0; row < ShownCount(); ++row) {
            const TFileInfo* record = panel_->RecordAtRow(row);
            if (record != nullptr && record->Name() == announced) return row;
        }
        return -1;
    };
    const bool keepFilter =
        keepListingFilter && !panel_->Refilter && scan_->DateIndex == 0 && rowOf() >= 0;
    if (settings_.inZEV) {
        MoveToRow(0);
    } else if (frame_->FilterComboBox->currentIndex() > 0 && !keepFilter) {
        // The filter in use may hide the message: show everything. This is
        // the program's choice, not the operator's, so it is not stored.
        frame_->FilterComboBox->setCurrentIndex(0);
        ApplyFilter();
        panel_->Refilter = true;
    }
    if (panel_->Refilter || scan_->DateIndex != 0) {
        // Back to the newest day as the rescan command goes there.
        if (scan_->DateIndex != 0) panel_->Refilter = true;
        scan_->DateIndex = 0;
        DropDateCombo();
        frame_->DateComboBox->setCurrentIndex(0);
        // The rows on display are not those of that pass: the message is
        // looked for when it has landed.
        scan_->ShowAfterNextPass(announced);
        scan_->ReRead(TReReadMode::AnnounceNew);
    } else if (const int row = rowOf(); row >= 0) {
        MoveToRow(row);
    }
}

void TMainform::ShowDayOfCurrentRow() {
    const TFileInfo* record = ShownCount() > 0 ? panel_->RecordAtRow(CurrentRow()) : nullptr;
    if (record == nullptr) return;
    std::string day(record->DayFolder());
    if (!IsDayName(day)) return;
    const int item = frame_->DateComboBox->findData(FromCp1251(day));
    if (item < 0 || item == frame_->DateComboBox->currentIndex()) return;
    // Following the list is not a choice of the operator: nothing is reported.
    const QSignalBlocker block(frame_->DateComboBox);
    frame_->DateComboBox->setCurrentIndex(item);
}

void TMainform::DropDateCombo() {
    panel_->Dates = LoadDateList(settings_.archiveRoot);
    FillDateCombo();
}

void TMainform::FillDateCombo() {
    // Rebuilding is not a choice of the operator: no change is reported, and
    // the day shown stays when it still exists.
    const QSignalBlocker block(frame_->DateComboBox);
    const QString shown = frame_->DateComboBox->currentText();
    frame_->DateComboBox->clear();
    for (auto day = panel_->Dates.rbegin(); day != panel_->Dates.rend(); ++day) {
        const std::vector<std::string> item = DateComboItems({*day});
        if (!item.empty())
            frame_->DateComboBox->addItem(FromCp1251(item.front()), FromCp1251(*day));
    }
    frame_->DateComboBox->setCurrentIndex(frame_->DateComboBox->findText(shown));
}

void TMainform::DateComboBoxChange(int index) {
    if (index < 0 || index >= frame_->DateComboBox->count()) return;
    scan_->RecordAction();
    if (!panel_->Current().Overflow && scan_->DateIndex == 0) {
        // The list holds every message from the newest day on: the day is in memory.
        const std::string day = ToCp1251(frame_->DateComboBox->itemData(index).toString());
        MoveToRow(JumpToDay(panel_->Current(), day, CurrentRow()));
    } else {
        scan_->DateIndex = index;
        scan_->ReRead(TReReadMode::Quiet);
    }
    frame_->FileGrid->setFocus();
}

} // namespace varnot
