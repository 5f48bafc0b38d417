#pragma once

#include <QString>
#include <QStringList>

namespace varnot {

// A file read for the editor.
struct TEditorFileText {
    enum class Status {
        Read,
        CannotOpen, // `error` says why
        NotText,    // not a regular file, or it holds NUL bytes
        TooLarge,   // more than the editor holds (EditorCharacterLimit, EditorLineLimit)
    };
    Status status = Status::Read;
    QString text; // line breaks as single LF characters
    QString error;
};

// Reads a text file: UTF-8, or code page 1251 when the bytes are not valid
// UTF-8; CR LF and lone CR become LF.
TEditorFileText ReadEditorFile(const QString& path);

// Writes the lines in UTF-8, each followed by CR LF, replacing the file at
// once when it is complete. 0, or the errno of the failure.
int WriteEditorFile(const QString& path, const QStringList& lines);

} // namespace varnot
