#pragma once

#include <QTableView>

namespace varnot {

// The message grid: a table view without type-ahead search (a letter key
// would otherwise read every row's text), with whole-row selection, fixed
// row heights and helpers for its visible part.
class TFileGrid : public QTableView {
    Q_OBJECT
  public:
    explicit TFileGrid(QWidget* parent = nullptr);

    void keyboardSearch(const QString&) override {}
    // Home and End go to the first and the last row: the list has rows to
    // move through, not columns.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

    // The first row shown at the top (0 for an empty grid).
    int TopRow() const;
    // Scrolls so that `row` is the top row, as far as the list allows.
    void SetTopRow(int row);
    // The number of rows that fit wholly into the visible part (at least 1).
    int VisibleRows() const;
    // Every row has this height.
    void SetRowHeight(int height);
    int RowHeight() const;
};

} // namespace varnot
