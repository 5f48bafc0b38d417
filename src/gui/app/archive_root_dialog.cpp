#include "gui/app/archive_root_dialog.h"

#include "gui/app/dialogs.h"
#include "gui/app/lang.h"

#include <QDir>
#include <QFileInfo>

namespace varnot {

QString ExistingFolderAtOrAbove(const QString& path) {
    if (path.trimmed().isEmpty()) return QDir::homePath();
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!folder.isEmpty()) {
        if (QFileInfo(folder).isDir()) return folder;
        const QString parent = QFileInfo(folder).path();
        if (parent == folder) break;
        folder = parent;
    }
    return QDir::homePath();
}

std::optional<QString> ChooseArchiveRoot(QWidget* parent, const QString& start) {
    const QString chosen =
        Dialogs().BrowseFolder(parent, Lang("Путь к корню архивов", "Path to root of archives"),
                               ExistingFolderAtOrAbove(start));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

} // namespace varnot
