#include "gui/main/message_list_model.h"

#include "core/archive/code_pages.h"
#include "core/archive/dos_time.h"
#include "core/archive/file_panel.h"
#include "core/archive/message_text.h"

#include <QMimeDatabase>

namespace varnot {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

// A short human description of a file that is not a text message.
std::string TypeNameOf(const std::string& path) {
    static const QMimeDatabase mimes;
    const QString comment = mimes.mimeTypeForFile(QString::fromStdString(path)).comment();
    return Utf16ToCp1251(comment.left(79).toStdU16String());
}

} // namespace

TMessageListModel::TMessageListModel(TFilePanel& panel, const ArchiveOptions& options,
                                     QObject* parent)
    : QAbstractTableModel(parent), panel_(panel), options_(options) {}

int TMessageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TMessageListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TMessageListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || panel_.ShownCount() == 0) return {};
    const TFileInfo* record = panel_.RecordAtRow(index.row());
    if (record == nullptr) return {};
    switch (index.column()) {
    case 0:
        return QString::fromStdString(FormatDosTime(record->Time, "hh:nn  dd.mm"));
    case 1:
        return FromBytes(record->FileName());
    default:
        return LoadBrief(index.row());
    }
}

void TMessageListModel::SetRowCount(int rows) {
    beginResetModel();
    rows_ = std::max(1, rows);
    endResetModel();
}

void TMessageListModel::Repaint() {
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, 2));
}

QString TMessageListModel::LoadBrief(int row) const {
    TFileInfo* record = panel_.RecordAtRow(row);
    if (record == nullptr) return {};
    if (!record->Head) {
        const std::string path = DiskPath(options_.root, *record);
        record->Head = IsTextMessage(path) ? LoadHead(path, options_) : TypeNameOf(path);
    }
    return FromBytes(*record->Head);
}

void TMessageListModel::FreeBrief(int row) const {
    if (TFileInfo* record = panel_.RecordAtRow(row)) record->Head.reset();
}

} // namespace varnot
