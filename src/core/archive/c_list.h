#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/archive_options.h"
#include "core/archive/dos_time.h"
#include "core/archive/file_info.h"

namespace varnot {

// The texts of the two date boxes of the date-mask dialog.
struct DateChoices {
    std::vector<std::string> firstItems;
    std::vector<std::string> secondItems;
    std::string first;
    std::string second;
};

// A pool of a fixed number of message records in record order, newest first.
// Every record is allocated when the list is made and reused afterwards:
// removing a record moves it to the end as a fresh spare, so positions
// 0..Used-1 are the valid records and Used..Capacity-1 are spares.
class CList {
  public:
    static constexpr int DefaultCapacity = 1000;
    static constexpr int MaxCapacity = 4000;
    static constexpr int FallbackCapacity = 10; // for a capacity below 1

    explicit CList(int capacity);
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int Capacity() const { return static_cast<int>(items_.size()); }

    TFileInfo& RecordAt(int position) { return *items_[static_cast<std::size_t>(position)]; }
    const TFileInfo& RecordAt(int position) const {
        return *items_[static_cast<std::size_t>(position)];
    }

    // Name from prefix and file name, Time and Size, Flags = Unchecked,
    // MatchIndex = -1, no brief. False when the name cannot be an archive name.
    static bool FillRecord(TFileInfo& record, std::string_view prefix,
                           std::string_view diskFileName, std::int32_t size, std::int32_t time);

    // One file found by a scanner pass. False only when the name cannot be held
    // (the file is then skipped).
    bool AddFound(std::string_view prefix, std::string_view diskFileName, std::int32_t size,
                  std::int32_t time, const ArchiveOptions& options);
    // Position of the new record, or -1 when it was rejected as older than
    // everything kept (or its name cannot be held). With automatic deletion
    // on, a full list deletes the file that falls out: the new one or the
    // oldest; never through a linked day folder, and never a file whose time
    // or size is no longer the one listed (its record is dropped all the same).
    int InsertKeepingNewest(std::string_view prefix, std::string_view diskFileName,
                            std::int32_t size, std::int32_t time, const ArchiveOptions& options);
    // Moves a filled spare record of this list (one at or beyond Used) into
    // record order among the valid ones; returns its position, or -1 when the
    // record is not a spare of this list.
    int InsertSorted(TFileInfo* record);
    // Takes the record out (its brief released) and puts it back at the end as
    // a fresh spare; later records move up.
    void RemoveAt(int position);
    int RemoveByName(std::string_view name);
    void SortRecords();

    // Rebuilds the row map and the counters; the row of the wanted position, or 0.
    int BuildRows(int wantedPosition);
    // The position shown at a row, or -1 when the row is outside 0..ShownCount-1.
    int PositionAtRow(int row) const;

    static bool CompareLists(const CList& oldList, CList& newList);
    // Moves marks and briefs from old records to their matches. The caller
    // keeps everyone else off both lists' briefs meanwhile.
    static void CarryMarks(CList& oldList, CList& newList);
    static int FindSurvivor(const CList& newList, int oldPosition);
    // The merge slot of a position (-1 when the position is outside the list).
    int MatchIndexAt(int position) const;

    void ToggleSelected(int position);
    void ToggleRow(int row);
    void SelectAll();
    void UnselectAll();
    void InvertSelection();
    // Gives Selected the wanted state on the shown records of the days first..last
    // whose file names match the ";"-separated mask list.
    void SelectByDateAndMask(std::string_view mask, bool wanted, const DateTime& firstDay,
                             const DateTime& lastDay);
    // The days of the shown records, newest first, as "dd.mm.yyyy"; an empty box
    // text becomes the newest (first box) or oldest (second box) day, or today.
    DateChoices FillDateChoices(std::string_view firstText, std::string_view secondText,
                                const DateTime& today) const;

    int Used = 0;
    int ShownCount = 0;
    int SelCount = 0;
    std::int64_t SelSize = 0; // sums of 32-bit sizes overflow 32 bits
    bool Overflow = false;

  private:
    bool IsValid(int position) const { return position >= 0 && position < Used; }

    std::unique_ptr<TFileInfo[]> records_;
    std::vector<TFileInfo*> items_;
};

} // namespace varnot
