#include "gui/app/about_box.h"

#include "gui/app/lang.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnot {

namespace {

constexpr int kIconSize = 32;

// The window's own icon; a drawn sheet of paper when there is none.
QPixmap ProgramPicture(const QWidget* parent) {
    QIcon icon = parent ? parent->window()->windowIcon() : QIcon();
    if (icon.isNull()) icon = QApplication::windowIcon();
    if (!icon.isNull()) return icon.pixmap(kIconSize, kIconSize);
    QPixmap sheet(kIconSize, kIconSize);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(6, 2, 20, 27);
    for (int y = 8; y < 26; y += 4) painter.drawLine(10, y, 22, y);
    return sheet;
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Lang("О программе", "About"));

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    QLabel* programIcon = NamedLabel("ProgramIcon", {}, panel);
    programIcon->setPixmap(ProgramPicture(parent));

    QLabel* productName = NamedLabel("ProductName", "VARNOT 32 ", panel);
    // "System" is no font family here; the application's default stands in.
    QFont productFont = font();
    productFont.setBold(true);
    productFont.setPixelSize(16);
    productName->setFont(productFont);

    QLabel* version = NamedLabel("Version", Lang("Версия 3.2", "Version 3.2"), panel);
    QLabel* makerLabel =
        NamedLabel("MakerLabel", Lang("Разработка: Пеллмар", "Made by Pellmar"), panel);
    QLabel* comments = NamedLabel(
        "Comments",
        Lang("Просмотр архива входящих сообщений: фильтры, поиск, печать и экспорт.",
             "Viewer of the archive of incoming messages: filters, search, printing and export."),
        panel);
    comments->setWordWrap(true);
    comments->setFixedSize(260, 48);
    comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(programIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(productName, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(makerLabel, 2, 0, 1, 2);
    grid->addWidget(comments, 3, 0, 1, 2);

    auto* okButton = new QPushButton("OK", this);
    okButton->setObjectName("OKButton");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    okButton->setFocus();
}

} // namespace varnot
