#include "gui/main/message_list_model.h"

#include "core/archive/file_panel.h"
#include "core/archive/message_text.h"
#include "core/main/list_cells.h"
#include "core/text/code_pages.h"
#include "gui/app/text_bytes.h"

#include <QColor>
#include <QFileInfo>
#include <QMimeDatabase>
#include <algorithm>
#include <utility>

namespace varnot {

namespace {

// A short human description of a file that is not a text message.
std::string TypeNameOf(const std::string& path) {
    static const QMimeDatabase mimes;
    // Judged by the name alone: the file is never opened for this.
    const QString comment =
        mimes.mimeTypeForFile(FromPathBytes(path), QMimeDatabase::MatchExtension).comment();
    if (!comment.isEmpty()) return ToCp1251(comment.left(79));
    // Without a description of its type the extension still tells something.
    const QString suffix = QFileInfo(FromPathBytes(path)).suffix().toUpper();
    return ToCp1251(suffix.isEmpty() ? QString("File") : suffix + " file");
}

} // namespace

TMessageListModel::TMessageListModel(TFilePanel& panel, const ArchiveOptions& options,
                                     QObject* parent)
    : QAbstractTableModel(parent), panel_(panel), options_(options) {}

int TMessageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TMessageListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ListColumnCount;
}

QVariant TMessageListModel::data(const QModelIndex& index, int role) const {
    if (panel_.ShownCount() == 0) return {};
    TFileInfo* record = panel_.RecordAtRow(index.row());
    if (record == nullptr) return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn:
            // A sectioned message's time comes from its file: it is read
            // once, with the brief, not at every paint.
            if (options_.inZev) return FromCp1251(BriefOf(*record).time);
            return FromCp1251(ListTimeText(*record, options_));
        case NameColumn:
            return FromCp1251(record->FileName());
        default:
            return LoadBrief(index.row());
        }
    case Qt::FontRole:
        return CellStyleOf(record->Flags, index.column()).bold ? BoldListFont() : font_;
    case Qt::ForegroundRole:
        if (CellStyleOf(record->Flags, index.column()).red) return QColor(255, 0, 0);
        return {};
    default:
        return {};
    }
}

void TMessageListModel::SetRowCount(int rows) {
    beginResetModel();
    rows_ = std::max(1, rows);
    endResetModel();
}

void TMessageListModel::InsertRow(int row) {
    row = std::clamp(row, 0, rows_);
    beginInsertRows({}, row, row);
    ++rows_;
    endInsertRows();
}

void TMessageListModel::Repaint() {
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ListColumnCount - 1));
}

void TMessageListModel::SetListFont(const QFont& font) {
    font_ = font;
    font_.setBold(false);
}

QFont TMessageListModel::BoldListFont() const {
    QFont bold = font_;
    bold.setBold(true);
    return bold;
}

const TBrief& TMessageListModel::BriefOf(TFileInfo& record) const {
    if (!record.Head) {
        const std::string path = DiskPath(options_.root, record);
        TBrief brief(IsTextMessage(path) ? LoadHead(path, options_) : TypeNameOf(path));
        if (options_.inZev) brief.time = ListTimeText(record, options_);
        record.Head = std::move(brief);
    }
    return *record.Head;
}

QString TMessageListModel::LoadBrief(int row) const {
    TFileInfo* record = panel_.RecordAtRow(row);
    if (record == nullptr) return {};
    return FromCp1251(BriefOf(*record).text);
}

void TMessageListModel::FreeBrief(int row) const {
    if (TFileInfo* record = panel_.RecordAtRow(row)) record->Head.reset();
}

bool TMessageListModel::HasBrief(int row) const {
    const TFileInfo* record = panel_.RecordAtRow(row);
    return record != nullptr && record->Head.has_value();
}

} // namespace varnot
