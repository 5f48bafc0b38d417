#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/archive/c_list.h"

namespace varnot {

// The list on display, the list the next scanner pass fills, and the day list.
// The panel also keeps the clean-exit flag: creating it reads and clears
// main/LastExitIsGood (loading the previous run's marks only after a clean
// exit), and Close() sets it again once the marks have been written. The
// window saves the marks first (SaveMarks), then closes the panel; a run that
// never gets there, or whose marks could not be written, leaves "NO".
class TFilePanel {
  public:
    TFilePanel(int capacity, std::string settingsFile, std::string programFolder);
    ~TFilePanel();
    TFilePanel(const TFilePanel&) = delete;
    TFilePanel& operator=(const TFilePanel&) = delete;

    CList& Current() { return *current_; }
    const CList& Current() const { return *current_; }
    CList& Spare() { return *spare_; }
    const CList& Spare() const { return *spare_; }
    // A completed pass puts its list on display.
    void SwapLists() { current_.swap(spare_); }

    int ShownCount() const { return current_->ShownCount; }
    // The record of Current shown at a row; nullptr for a row outside 0..ShownCount-1.
    TFileInfo* RecordAtRow(int row);
    const TFileInfo* RecordAtRow(int row) const;
    bool IsRowSelected(int row) const;

    // "attr.sav" in the program folder.
    const std::string& MarksPath() const { return marksPath_; }
    // Whether the previous run's marks were loaded into Current at creation.
    bool MarksLoaded() const { return marksLoaded_; }
    // Writes the marks of Current; false when the file could not be written.
    bool SaveMarks();
    // Records the clean exit when the marks of this run were written (once;
    // the destructor does it when nobody did). Otherwise the next start would
    // take an older marks file for this run's.
    void Close();

    bool Refilter = true;           // the next pass matches every record, not only new ones
    std::vector<std::string> Dates; // day names, oldest first

  private:
    std::unique_ptr<CList> current_;
    std::unique_ptr<CList> spare_;
    std::string settingsFile_;
    std::string marksPath_;
    bool marksLoaded_ = false;
    bool marksSaved_ = false;
    bool closed_ = false;
};

} // namespace varnot
