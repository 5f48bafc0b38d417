#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace varnot {

// The folder browser for the archive root, titled in the current language.
// `start` is where browsing begins; when it does not exist the nearest
// existing folder above it is used, else the home folder. Returns the chosen
// folder, or nothing when the operator cancelled.
std::optional<QString> ChooseArchiveRoot(QWidget* parent, const QString& start);

// The nearest existing folder at or above `path`; the home folder when none.
QString ExistingFolderAtOrAbove(const QString& path);

} // namespace varnot
