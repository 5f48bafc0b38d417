#pragma once

#include <QStyledItemDelegate>

namespace varnot {

// Writes the cells of the message list: the model's text in the model's font
// (bold or normal) and colour (red for a selected message, otherwise the
// grid's own), inset from the cell's corner by an eighth of the row height,
// clipped to the cell, with a line between the columns.
class TMessageListDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace varnot
