#include "core/archive/file_panel.h"

#include <utility>

#include "core/app/ini_file.h"
#include "core/archive/marks_file.h"

namespace varnot {

namespace {
constexpr std::string_view MainSection = "main";
constexpr std::string_view LastExitKey = "LastExitIsGood";
} // namespace

TFilePanel::TFilePanel(int capacity, std::string settingsFile, std::string programFolder)
    : current_(std::make_unique<CList>(capacity)), spare_(std::make_unique<CList>(capacity)),
      settingsFile_(std::move(settingsFile)),
      marksPath_(std::move(programFolder) + std::string(MarksFileName)) {
    // Marks of a run that crashed may describe a list that never was on display.
    if (ReadYesNo(settingsFile_, MainSection, LastExitKey, false)) {
        LoadMarks(*current_, marksPath_);
        marksLoaded_ = true;
    }
    WriteYesNo(settingsFile_, MainSection, LastExitKey, false);
}

TFilePanel::~TFilePanel() {
    Close();
}

TFileInfo* TFilePanel::RecordAtRow(int row) {
    const int position = current_->PositionAtRow(row);
    return position < 0 ? nullptr : &current_->RecordAt(position);
}

const TFileInfo* TFilePanel::RecordAtRow(int row) const {
    const int position = current_->PositionAtRow(row);
    return position < 0 ? nullptr : &current_->RecordAt(position);
}

bool TFilePanel::IsRowSelected(int row) const {
    const TFileInfo* record = RecordAtRow(row);
    return record && record->Has(TFileInfo::Selected);
}

bool TFilePanel::SaveMarks() {
    marksSaved_ = varnot::SaveMarks(*current_, marksPath_);
    return marksSaved_;
}

void TFilePanel::Close() {
    if (closed_) return;
    closed_ = true;
    if (marksSaved_) WriteYesNo(settingsFile_, MainSection, LastExitKey, true);
}

} // namespace varnot
