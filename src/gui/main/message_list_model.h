#pragma once

#include "core/archive/archive_options.h"

#include <QAbstractTableModel>
#include <QFont>

namespace varnot {

class TFilePanel;
class TFileInfo;
struct TBrief;

// The message list as the grid sees it: one row per shown record of the list
// on display, painted on demand; no item exists per message. Besides the
// texts it tells the painter how each cell is written: Qt::FontRole gives the
// bold or normal list font, Qt::ForegroundRole red for a selected message.
class TMessageListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TMessageListModel(TFilePanel& panel, const ArchiveOptions& options, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The list changed: the grid takes the new row count (at least one row).
    void SetRowCount(int rows);
    // The list gained one row at `row`; the rows from there on moved down by one.
    void InsertRow(int row);
    // Repaints every row without changing the row count.
    void Repaint();

    // The list font; cells are written in it, bold where the style says so.
    void SetListFont(const QFont& font);
    const QFont& ListFont() const { return font_; }
    QFont BoldListFont() const;

    // The brief of a row's message, loaded once and kept in its record; empty
    // for a row without a message. The time column of a sectioned message is
    // read from its file with the brief and kept with it.
    QString LoadBrief(int row) const;
    // Releases the kept brief of a row's message.
    void FreeBrief(int row) const;
    // Whether the row's message has its brief in memory.
    bool HasBrief(int row) const;

  private:
    // The kept brief of a record, read from its file when it has none.
    const TBrief& BriefOf(TFileInfo& record) const;

    TFilePanel& panel_;
    const ArchiveOptions& options_;
    QFont font_;
    int rows_ = 1;
};

} // namespace varnot
