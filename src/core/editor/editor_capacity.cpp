#include "core/editor/editor_capacity.h"

namespace varnot {

namespace {

constexpr std::size_t LineEndCharacters = 2; // CR LF

} // namespace

TEditorSize EditorSizeOf(std::u16string_view text) {
    TEditorSize size;
    for (const char16_t c : text) {
        if (c == u'\n') {
            size.characters += LineEndCharacters;
            ++size.lines;
            size.openLastLine = false;
        } else {
            ++size.characters;
            size.openLastLine = true;
        }
    }
    if (size.openLastLine) ++size.lines;
    return size;
}

TEditorSize AppendedSizeOf(const std::vector<std::string>& lines) {
    TEditorSize size;
    for (const std::string& line : lines) size.characters += line.size() + LineEndCharacters;
    size.lines = lines.size();
    return size;
}

bool AdditionFits(const TEditorSize& text, const TEditorSize& addition) {
    const std::size_t characters =
        text.characters + addition.characters + (text.openLastLine ? LineEndCharacters : 0);
    const std::size_t lines = text.lines + addition.lines;
    return characters < EditorCharacterLimit && lines < EditorLineLimit;
}

bool FitsInEditor(const TEditorSize& text) {
    return AdditionFits({}, text);
}

} // namespace varnot
