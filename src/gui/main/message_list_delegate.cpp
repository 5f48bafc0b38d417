#include "gui/main/message_list_delegate.h"

#include "core/main/list_cells.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace varnot {

void TMessageListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // The row's background (highlighted on the current row) comes from the
    // style; the text is written here.
    QStyleOptionViewItem background = option;
    background.state &= ~QStyle::State_HasFocus;
    background.text.clear();
    background.features &= ~QStyleOptionViewItem::HasDisplay;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QVariant font = index.data(Qt::FontRole);
        if (font.isValid()) painter->setFont(font.value<QFont>());
        const QVariant colour = index.data(Qt::ForegroundRole);
        const bool current = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        painter->setPen(colour.isValid()
                            ? colour.value<QColor>()
                            : option.palette.color(group, current ? QPalette::HighlightedText
                                                                  : QPalette::Text));
        const int height = cell.height();
        const QRect textRect =
            cell.adjusted(CellTextLeft(index.column(), height), CellTextTop(height), 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    if (index.column() < ListColumnCount - 1) {
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    }
    painter->restore();
}

} // namespace varnot
