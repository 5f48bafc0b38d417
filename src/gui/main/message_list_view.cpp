#include "gui/main/message_list_view.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

namespace varnot {

TFileGrid::TFileGrid(QWidget* parent) : QTableView(parent) {
    setObjectName("FileGrid");
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setMinimumSectionSize(0);
    // Rows of one height are laid out by arithmetic, whatever their number.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

QModelIndex TFileGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if ((action != MoveHome && action != MoveEnd) || model() == nullptr)
        return QTableView::moveCursor(action, modifiers);
    const int rows = model()->rowCount(rootIndex());
    if (rows <= 0) return {};
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return model()->index(action == MoveHome ? 0 : rows - 1, column, rootIndex());
}

int TFileGrid::TopRow() const {
    const int row = rowAt(0);
    return row < 0 ? 0 : row;
}

void TFileGrid::SetTopRow(int row) {
    verticalScrollBar()->setValue(std::max(0, row));
}

int TFileGrid::VisibleRows() const {
    const int height = RowHeight();
    if (height <= 0) return 1;
    return std::max(1, viewport()->height() / height);
}

void TFileGrid::SetRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(std::max(1, height));
}

int TFileGrid::RowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

} // namespace varnot
