#include "core/editor/editor_addition.h"

#include "core/archive/dos_time.h"
#include "core/archive/message_text.h"
#include "core/archive/sectioned_file.h"

namespace varnot {

std::string EditorDateLine(std::int32_t time) {
    return FormatDosTime(time, "hh:nn  dd.mm.yyyy");
}

TEditorAddition ComposeEditorAddition(const std::string& path, std::int32_t time,
                                      const ArchiveOptions& options) {
    TEditorAddition addition;
    ViewBuffer buffer;
    const TextLoadResult loaded = LoadTextBuffer(path, options, buffer);
    if (!loaded) {
        addition.error = loaded.error;
        return addition;
    }
    std::vector<std::string> message = SplitLines(buffer.Text());
    if (options.inZev) KeepSection(message, "body");

    addition.read = true;
    addition.lines.reserve(message.size() + 2);
    addition.lines.push_back(EditorDateLine(time));
    for (std::string& line : message) addition.lines.push_back(std::move(line));
    addition.lines.emplace_back();
    addition.size = AppendedSizeOf(addition.lines);
    return addition;
}

} // namespace varnot
