#pragma once

#include <QString>

namespace varnot {

// The texts of the built-in editor's boxes and dialogs, in the current language.
QString EditorFullText();
// Find Next found nothing (or had nothing to look for).
QString EditorNotFoundText(const QString& key);
// Asked before a changed text is closed or replaced by Open.
QString EditorSaveQuestionText();
QString EditorCannotOpenText(const QString& file, const QString& reason);
QString EditorNotTextText(const QString& file);
QString EditorTooLargeText(const QString& file);
QString EditorCannotWriteText(const QString& file, int error);
// Save as completed the name with ".TXT", and a file of that name exists.
QString EditorReplaceQuestionText(const QString& file);
// The file dialogs: titles and the filter list.
QString EditorOpenTitle();
QString EditorSaveAsTitle();
QString EditorFileFilter();

} // namespace varnot
