#pragma once

#include "core/archive/archive_options.h"

#include <QAbstractTableModel>

namespace varnot {

class TFilePanel;

// The message list as the grid sees it: one row per shown record of the list
// on display, painted on demand; no item exists per message.
class TMessageListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TMessageListModel(TFilePanel& panel, const ArchiveOptions& options, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The list changed: the grid takes the new row count (at least one row).
    void SetRowCount(int rows);
    // Repaints every row without changing the row count.
    void Repaint();

    // The brief of a row's message, loaded once and kept in its record.
    QString LoadBrief(int row) const;
    void FreeBrief(int row) const;

  private:
    TFilePanel& panel_;
    const ArchiveOptions& options_;
    int rows_ = 1;
};

} // namespace varnot
