#include "core/archive/c_list.h"

#include <algorithm>
#include <utility>

#include "core/archive/safe_delete.h"
#include "core/text/latin_case.h"
#include "core/text/masks.h"

namespace varnot {

namespace {

int ClampCapacity(int capacity) {
    if (capacity < 1) return CList::FallbackCapacity;
    return std::min(capacity, CList::MaxCapacity);
}

} // namespace

CList::CList(int capacity)
    : records_(new TFileInfo[static_cast<std::size_t>(ClampCapacity(capacity))]),
      items_(static_cast<std::size_t>(ClampCapacity(capacity))) {
    for (std::size_t i = 0; i < items_.size(); ++i) items_[i] = &records_[i];
}

bool CList::FillRecord(TFileInfo& record, std::string_view prefix, std::string_view diskFileName,
                       std::int32_t size, std::int32_t time) {
    record.Head.reset();
    record.Time = time;
    record.Size = size;
    record.Flags = TFileInfo::Unchecked;
    record.MatchIndex = -1;
    return record.SetName(prefix, diskFileName);
}

bool CList::AddFound(std::string_view prefix, std::string_view diskFileName, std::int32_t size,
                     std::int32_t time, const ArchiveOptions& options) {
    if (!IsArchivePrefix(prefix) || !IsArchiveFileName(diskFileName)) return false;
    if (Used >= Capacity()) {
        InsertKeepingNewest(prefix, diskFileName, size, time, options);
        return true;
    }
    FillRecord(RecordAt(Used), prefix, diskFileName, size, time);
    ++Used;
    // From here on every file goes through ordered insertion, which needs order.
    if (Used == Capacity()) SortRecords();
    return true;
}

int CList::InsertKeepingNewest(std::string_view prefix, std::string_view diskFileName,
                               std::int32_t size, std::int32_t time,
                               const ArchiveOptions& options) {
    // Checked first: nothing is deleted for a name that could never be kept.
    if (!IsArchivePrefix(prefix) || !IsArchiveFileName(diskFileName)) return -1;
    const int last = Capacity() - 1;
    if (Used >= Capacity()) {
        if (!options.deleteAutomaticly) Overflow = true;
        const TFileInfo& oldest = RecordAt(last);
        if (oldest.Time > time) {
            if (options.deleteAutomaticly)
                DeleteArchiveFile(options.root, prefix.substr(0, DayFolderLength), diskFileName,
                                  ListedFile{time, size});
            return -1;
        }
        // A record that no longer describes its file (written again since it
        // was listed, or loaded from the marks file) is dropped without
        // deleting: the file may now be the newest of all, and the next pass
        // places it.
        if (options.deleteAutomaticly)
            DeleteArchiveFile(options.root, oldest.DayFolder(), oldest.DiskName(),
                              ListedFile{oldest.Time, oldest.Size});
    }
    RemoveAt(last);
    TFileInfo* record = items_[static_cast<std::size_t>(last)];
    FillRecord(*record, prefix, diskFileName, size, time);
    return InsertSorted(record);
}

int CList::InsertSorted(TFileInfo* record) {
    const auto begin = items_.begin();
    const auto spare = std::find(begin + Used, items_.end(), record);
    if (spare == items_.end()) return -1;
    // The valid records are in record order, so those standing before the
    // new one are a leading run: found by halving instead of one by one.
    const auto at = std::partition_point(
        begin, begin + Used, [&](const TFileInfo* kept) { return StandsBefore(*kept, *record); });
    const int position = static_cast<int>(at - begin);
    std::rotate(at, spare, spare + 1);
    ++Used;
    return position;
}

void CList::RemoveAt(int position) {
    if (position < 0 || position >= Capacity()) return;
    const auto at = items_.begin() + position;
    (*at)->Clear();
    std::rotate(at, at + 1, items_.end());
    if (position < Used) --Used;
}

int CList::RemoveByName(std::string_view name) {
    for (int position = Used - 1; position >= 0; --position) {
        if (RecordAt(position).Name() == name) {
            RemoveAt(position);
            return position;
        }
    }
    return -1;
}

void CList::SortRecords() {
    // A Shell sort with halving gaps; equal records are exchanged, which is
    // what the scanner's results have always been ordered by.
    const int n = Used;
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < n; ++i) {
            for (int j = i - gap; j >= 0; j -= gap) {
                auto& a = items_[static_cast<std::size_t>(j)];
                auto& b = items_[static_cast<std::size_t>(j + gap)];
                if (StandsBefore(*a, *b)) break;
                std::swap(a, b);
            }
        }
    }
}

int CList::BuildRows(int wantedPosition) {
    SelCount = 0;
    SelSize = 0;
    int row = 0;
    int wantedRow = 0;
    for (int position = 0; position < Used; ++position) {
        const TFileInfo& record = RecordAt(position);
        if (!record.Has(TFileInfo::Shown)) continue;
        RecordAt(row).RowRecord = position;
        if (position == wantedPosition) wantedRow = row;
        if (record.Has(TFileInfo::Selected)) {
            ++SelCount;
            SelSize += record.Size;
        }
        ++row;
    }
    ShownCount = row;
    return wantedRow;
}

int CList::PositionAtRow(int row) const {
    if (row < 0 || row >= ShownCount || row >= Capacity()) return -1;
    const int position = RecordAt(row).RowRecord;
    return IsValid(position) ? position : -1;
}

bool CList::CompareLists(const CList& oldList, CList& newList) {
    // Every slot is cleared, not only those of old positions, so that a stale
    // position handed to FindSurvivor never meets an old number.
    for (TFileInfo* record : newList.items_) record->MatchIndex = -1;
    int i = 0;
    int j = 0;
    bool changed = false;
    while (i < oldList.Used && j < newList.Used) {
        const TFileInfo& was = oldList.RecordAt(i);
        const TFileInfo& now = newList.RecordAt(j);
        if (was.Time == now.Time && was.Name() == now.Name()) {
            if (i < newList.Capacity()) newList.RecordAt(i).MatchIndex = j;
            ++i;
            ++j;
            continue;
        }
        changed = true;
        // Both lists are in record order, so whichever record stands first has
        // no partner in the other list: a new file, or one that has gone. This
        // also holds for equal times with different names, which a newcomer of
        // the same second must not turn into "gone" for every older record.
        if (StandsBefore(now, was)) {
            ++j;
        } else {
            ++i;
        }
    }
    return oldList.Used != newList.Used || changed;
}

void CList::CarryMarks(CList& oldList, CList& newList) {
    const int limit = std::min(oldList.Used, newList.Capacity());
    for (int i = 0; i < limit; ++i) {
        TFileInfo& was = oldList.RecordAt(i);
        const int match = newList.RecordAt(i).MatchIndex;
        if (match >= 0 && match < newList.Used) {
            TFileInfo& now = newList.RecordAt(match);
            now.Flags = was.Flags;
            std::swap(now.Head, was.Head);
        } else {
            was.Head.reset();
        }
    }
    for (int i = limit; i < oldList.Used; ++i) oldList.RecordAt(i).Head.reset();
}

int CList::FindSurvivor(const CList& newList, int oldPosition) {
    int position = std::clamp(oldPosition, 0, newList.Capacity() - 1);
    while (position > 0 && newList.RecordAt(position).MatchIndex == -1) --position;
    return position;
}

int CList::MatchIndexAt(int position) const {
    if (position < 0 || position >= Capacity()) return -1;
    return RecordAt(position).MatchIndex;
}

void CList::ToggleSelected(int position) {
    if (!IsValid(position)) return;
    TFileInfo& record = RecordAt(position);
    record.Flags ^= TFileInfo::Selected;
    if (record.Has(TFileInfo::Selected)) {
        ++SelCount;
        SelSize += record.Size;
    } else {
        --SelCount;
        SelSize -= record.Size;
    }
}

void CList::ToggleRow(int row) {
    ToggleSelected(PositionAtRow(row));
}

void CList::SelectAll() {
    for (int position = 0; position < Used; ++position) {
        const TFileInfo& record = RecordAt(position);
        if (record.Has(TFileInfo::Shown) && !record.Has(TFileInfo::Selected))
            ToggleSelected(position);
    }
}

void CList::UnselectAll() {
    for (int position = 0; position < Used; ++position) {
        const TFileInfo& record = RecordAt(position);
        if (record.Has(TFileInfo::Shown) && record.Has(TFileInfo::Selected))
            ToggleSelected(position);
    }
}

void CList::InvertSelection() {
    for (int position = 0; position < Used; ++position) {
        if (RecordAt(position).Has(TFileInfo::Shown)) ToggleSelected(position);
    }
}

void CList::SelectByDateAndMask(std::string_view mask, bool wanted, const DateTime& firstDay,
                                const DateTime& lastDay) {
    const std::string first = FormatDateTime(firstDay, "yyyy_mm_dd");
    const std::string last = FormatDateTime(lastDay, "yyyy_mm_dd");
    // Names hold upper-cased Latin letters only, so the mask is raised the same way.
    const std::string masks = UpcaseLatin(mask);
    for (int position = 0; position < Used; ++position) {
        const TFileInfo& record = RecordAt(position);
        if (!record.Has(TFileInfo::Shown) || record.Has(TFileInfo::Selected) == wanted) continue;
        const std::string day = FormatDosTime(record.Time, "yyyy_mm_dd");
        if (day >= first && day <= last && MatchAnyMask(record.FileName(), masks))
            ToggleSelected(position);
    }
}

DateChoices CList::FillDateChoices(std::string_view firstText, std::string_view secondText,
                                   const DateTime& today) const {
    DateChoices choices;
    for (int position = 0; position < Used; ++position) {
        const TFileInfo& record = RecordAt(position);
        if (!record.Has(TFileInfo::Shown)) continue;
        std::string day = FormatDosTime(record.Time, "dd.mm.yyyy");
        if (choices.firstItems.empty() || choices.firstItems.back() != day)
            choices.firstItems.push_back(std::move(day));
    }
    choices.secondItems = choices.firstItems;
    const std::string todayText = FormatDateTime(today, "dd.mm.yyyy");
    choices.first = !firstText.empty()            ? std::string(firstText)
                    : !choices.firstItems.empty() ? choices.firstItems.front()
                                                  : todayText;
    choices.second = !secondText.empty()            ? std::string(secondText)
                     : !choices.secondItems.empty() ? choices.secondItems.back()
                                                    : todayText;
    return choices;
}

} // namespace varnot
