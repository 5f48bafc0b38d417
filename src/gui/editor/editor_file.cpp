#include "gui/editor/editor_file.h"

#include "core/text/code_pages.h"
#include "core/editor/editor_capacity.h"
#include "core/output/merge.h"
#include "gui/editor/utf16_view.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <string>
#include <vector>

namespace varnot {

namespace {

// Even in UTF-8 no character takes more than four bytes.
constexpr qint64 MaxFileBytes = 4 * static_cast<qint64>(EditorCharacterLimit);

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromStdU16String(
            Cp1251ToUtf16({bytes.constData(), std::size_t(bytes.size())}));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

} // namespace

TEditorFileText ReadEditorFile(const QString& path) {
    using Status = TEditorFileText::Status;
    TEditorFileText result;
    // A FIFO or a device would block the reader or never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return {Status::NotText, {}, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {Status::CannotOpen, {}, file.errorString()};
    if (file.size() > MaxFileBytes) return {Status::TooLarge, {}, {}};
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) return {Status::TooLarge, {}, {}};
    if (bytes.contains('\0')) return {Status::NotText, {}, {}};

    result.text = DecodeText(bytes);
    if (!FitsInEditor(EditorSizeOf(Utf16View(result.text)))) return {Status::TooLarge, {}, {}};
    return result;
}

int WriteEditorFile(const QString& path, const QStringList& lines) {
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) utf8.push_back(line.toStdString());
    const MergeResult written = WriteExportLines(QFile::encodeName(path).toStdString(), utf8);
    if (written) return 0;
    return written.error != 0 ? written.error : EIO;
}

} // namespace varnot
