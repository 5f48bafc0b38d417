#include "gui/app/icon_theme.h"

#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

namespace varnot {

void UseDesktopIconTheme() {
    // Where desktops keep icon themes: ~/.icons, then "icons" in every XDG
    // data folder.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList standard{QDir::homePath() + "/.icons"};
    standard += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "icons",
                                          QStandardPaths::LocateDirectory);
    bool added = false;
    for (const QString& folder : standard) {
        if (paths.contains(folder) || !QDir(folder).exists()) continue;
        paths.append(folder);
        added = true;
    }
    if (added) QIcon::setThemeSearchPaths(paths);

    // Without a theme name nothing is looked up at all; the base theme has
    // few pictures of its own, so a fuller theme stands behind it.
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName("hicolor");
    const QString fallback = QIcon::fallbackThemeName();
    if (fallback.isEmpty() || fallback == "hicolor") QIcon::setFallbackThemeName("Adwaita");
}

} // namespace varnot
