#include "gui/main/tool_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <vector>

namespace varnot {

namespace {

constexpr int kSize = 32;

// A rounded tile of a colour with a short sign on it.
QIcon Tile(const QColor& colour, const QString& sign) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(2.5, 2.5, kSize - 5, kSize - 5), 5, 5);
    QFont font;
    font.setBold(true);
    font.setPixelSize(sign.size() > 1 ? 12 : 17);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, sign);
    return QIcon(pixmap);
}

// One or two triangles pointing up (toward newer messages) or down.
QIcon Arrow(bool up, bool twice) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 70, 140));
    const int count = twice ? 2 : 1;
    const double height = twice ? 10 : 14;
    const double top = (kSize - height * count) / 2;
    for (int i = 0; i < count; ++i) {
        const double y0 = top + i * height;
        const double y1 = y0 + height;
        QPolygonF triangle;
        if (up)
            triangle << QPointF(kSize / 2.0, y0) << QPointF(6, y1) << QPointF(kSize - 6, y1);
        else
            triangle << QPointF(6, y0) << QPointF(kSize - 6, y0) << QPointF(kSize / 2.0, y1);
        painter.drawPolygon(triangle);
    }
    return QIcon(pixmap);
}

// The program's own picture of a button, for a desktop whose icon theme has
// none of its names.
QIcon DrawnIcon(TToolIcon kind) {
    const QColor file(52, 120, 200), danger(200, 60, 50), search(90, 140, 60), mark(210, 70, 70),
        out(120, 90, 170), setup(110, 110, 110), editor(200, 140, 40);
    switch (kind) {
    case TToolIcon::Copy:
        return Tile(file, "C");
    case TToolIcon::Move:
        return Tile(file, "M");
    case TToolIcon::Delete:
        return Tile(danger, "X");
    case TToolIcon::Find:
        return Tile(search, "F");
    case TToolIcon::FindNext:
        return Tile(search, "F+");
    case TToolIcon::Print:
        return Tile(out, "P");
    case TToolIcon::Shine:
        return Tile(mark, "+");
    case TToolIcon::Unshine:
        return Tile(mark.lighter(130), "-");
    case TToolIcon::Export:
        return Tile(out, "E");
    case TToolIcon::Word:
        return Tile(out, "W");
    case TToolIcon::Options:
        return Tile(setup, "O");
    case TToolIcon::Filter:
        return Tile(setup, "Fi");
    case TToolIcon::Add:
        return Tile(editor, "A");
    case TToolIcon::ShowEditor:
        return Tile(editor, "Ed");
    case TToolIcon::Wrap:
        return Tile(setup, "W");
    case TToolIcon::Last:
        return Arrow(true, true);
    case TToolIcon::Next:
        return Arrow(true, false);
    case TToolIcon::Prev:
        return Arrow(false, false);
    case TToolIcon::First:
        return Arrow(false, true);
    case TToolIcon::Clear:
        return Tile(danger, "Cl");
    case TToolIcon::Open:
        return Tile(file, "O");
    case TToolIcon::SaveAs:
        return Tile(file, "S");
    case TToolIcon::Undo:
        return Tile(editor, "U");
    case TToolIcon::Cut:
        return Tile(editor, "X");
    case TToolIcon::Paste:
        return Tile(editor, "V");
    case TToolIcon::SelectAll:
        return Tile(editor, "All");
    case TToolIcon::Replace:
        return Tile(search, "R");
    case TToolIcon::MainWindow:
        return Tile(setup, "M");
    }
    return {};
}

// Standard names of the desktop's icon theme for a button, the most fitting
// first. Full-colour names lead; the "-symbolic" ones serve themes that keep
// only those.
std::vector<const char*> ThemeNames(TToolIcon kind) {
    switch (kind) {
    case TToolIcon::Copy:
        return {"edit-copy", "edit-copy-symbolic"};
    case TToolIcon::Move:
        return {"edit-cut", "edit-cut-symbolic"};
    case TToolIcon::Delete:
        return {"edit-delete", "edit-delete-symbolic"};
    case TToolIcon::Find:
        return {"edit-find", "edit-find-symbolic"};
    case TToolIcon::FindNext:
        return {"go-down-search", "system-search", "system-search-symbolic"};
    case TToolIcon::Print:
        return {"document-print", "document-print-symbolic"};
    case TToolIcon::Shine:
        return {"edit-select-all", "edit-select-all-symbolic"};
    case TToolIcon::Unshine:
        return {"edit-select-none", "list-remove", "list-remove-symbolic"};
    case TToolIcon::Export:
        return {"document-export", "document-send", "document-send-symbolic"};
    case TToolIcon::Word:
        return {"x-office-document", "x-office-document-symbolic"};
    case TToolIcon::Options:
        return {"preferences-system", "preferences-system-symbolic"};
    case TToolIcon::Filter:
        return {"view-filter", "preferences-other", "preferences-other-symbolic"};
    case TToolIcon::Add:
        return {"insert-text", "list-add", "list-add-symbolic"};
    case TToolIcon::ShowEditor:
        return {"accessories-text-editor", "text-editor-symbolic"};
    case TToolIcon::Wrap:
        return {"view-wrapped", "view-wrapped-symbolic", "format-justify-fill"};
    case TToolIcon::Last:
        return {"go-top", "go-top-symbolic"};
    case TToolIcon::Next:
        return {"go-up", "go-up-symbolic"};
    case TToolIcon::Prev:
        return {"go-down", "go-down-symbolic"};
    case TToolIcon::First:
        return {"go-bottom", "go-bottom-symbolic"};
    case TToolIcon::Clear:
        return {"document-new", "edit-clear", "edit-clear-symbolic"};
    case TToolIcon::Open:
        return {"document-open", "document-open-symbolic"};
    case TToolIcon::SaveAs:
        return {"document-save-as", "document-save-as-symbolic"};
    case TToolIcon::Undo:
        return {"edit-undo", "edit-undo-symbolic"};
    case TToolIcon::Cut:
        return {"edit-cut", "edit-cut-symbolic"};
    case TToolIcon::Paste:
        return {"edit-paste", "edit-paste-symbolic"};
    case TToolIcon::SelectAll:
        return {"edit-select-all", "edit-select-all-symbolic"};
    case TToolIcon::Replace:
        return {"edit-find-replace", "edit-find-replace-symbolic"};
    case TToolIcon::MainWindow:
        return {"go-home", "go-home-symbolic"};
    }
    return {};
}

} // namespace

QIcon ToolIcon(TToolIcon kind) {
    for (const char* name : ThemeNames(kind)) {
        // Only the exact name: the theme's own fallback to a shorter name
        // ("go-down-search" to "go-down") would show a different command.
        if (!QIcon::hasThemeIcon(name)) continue;
        QIcon icon = QIcon::fromTheme(name);
        // A theme may list a picture that no installed image reader can draw.
        if (!icon.pixmap(QSize(16, 16)).isNull()) return icon;
    }
    return DrawnIcon(kind);
}

namespace {

// The tower the program draws itself, should its picture be unreadable.
QIcon DrawnTowerIcon() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(60, 50, 40));
    painter.setBrush(QColor(170, 140, 100));
    QPainterPath tower;
    tower.moveTo(11, 30);
    tower.lineTo(13, 12);
    tower.lineTo(19, 12);
    tower.lineTo(21, 30);
    tower.closeSubpath();
    painter.drawPath(tower);
    // Battlements and a pointed roof.
    painter.drawRect(QRectF(10, 9, 12, 4));
    painter.setBrush(QColor(160, 40, 40));
    QPolygonF roof;
    roof << QPointF(16, 1) << QPointF(10, 9) << QPointF(22, 9);
    painter.drawPolygon(roof);
    painter.setBrush(QColor(40, 40, 60));
    painter.drawRect(QRectF(15, 22, 2.5, 8));
    return QIcon(pixmap);
}

} // namespace

QIcon TowerIcon() {
    // The same picture as the desktop entry's icon; it needs the SVG reader.
    QIcon icon(QStringLiteral(":/icons/varnot.svg"));
    if (!icon.pixmap(QSize(16, 16)).isNull()) return icon;
    return DrawnTowerIcon();
}

} // namespace varnot
