#include "gui/main/tool_icons.h"

#include "gui/app/icon_theme.h"
#include "support/temp_dir.h"

#include <QIcon>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using varnot::ToolIcon;
using varnot::TToolIcon;

// Every kind of button; First is the last of the enumeration.
std::vector<TToolIcon> AllKinds() {
    std::vector<TToolIcon> kinds;
    for (int k = 0; k <= static_cast<int>(TToolIcon::First); ++k)
        kinds.push_back(static_cast<TToolIcon>(k));
    return kinds;
}

TEST(ToolIcon, EveryButtonGetsAPictureOfTheDesktopTheme) {
    if (QStandardPaths::locate(QStandardPaths::GenericDataLocation, "icons/Adwaita/index.theme")
            .isEmpty())
        GTEST_SKIP() << "the Adwaita icon theme is not installed";
    // Headless, the platform names no theme and searches no icon folder.
    varnot::UseDesktopIconTheme();
    for (TToolIcon kind : AllKinds()) {
        const QIcon icon = ToolIcon(kind);
        EXPECT_FALSE(icon.name().isEmpty()) << static_cast<int>(kind);
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << static_cast<int>(kind);
    }
}

TEST(ToolIcon, WithoutAThemeTheProgramDrawsItsOwn) {
    const QStringList paths = QIcon::themeSearchPaths();
    testing_support::TempDir empty;
    QIcon::setThemeSearchPaths({QString::fromStdString(empty.path())});
    for (TToolIcon kind : AllKinds()) {
        const QIcon icon = ToolIcon(kind);
        EXPECT_TRUE(icon.name().isEmpty()) << static_cast<int>(kind);
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << static_cast<int>(kind);
    }
    QIcon::setThemeSearchPaths(paths);
}

TEST(ToolIcon, TheWindowIconIsTheProgramsScalablePicture) {
    // Drawn from the SVG at any size; the drawn stand-in has only 32 pixels.
    EXPECT_EQ(varnot::TowerIcon().pixmap(64, 64).size(), QSize(64, 64));
}

} // namespace
