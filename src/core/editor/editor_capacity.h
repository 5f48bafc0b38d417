#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// The built-in editor holds fewer than this many characters and lines; a
// message that would bring it to either is not appended.
inline constexpr std::size_t EditorCharacterLimit = 32000;
inline constexpr std::size_t EditorLineLimit = 512;

// The size of an editor text, counted the way the text is saved: every line
// ends with CR LF, which counts as two characters; text after the last line
// break is one more line, a break at the very end opens none.
struct TEditorSize {
    std::size_t characters = 0;
    std::size_t lines = 0;
    bool openLastLine = false; // the text ends with a line that has no break yet

    bool operator==(const TEditorSize&) const = default;
};

// The size of a text whose line breaks are single LF characters, as the text
// control hands it out (UTF-16 code units).
TEditorSize EditorSizeOf(std::u16string_view text);

// The size of lines appended to the editor, each with its line break.
TEditorSize AppendedSizeOf(const std::vector<std::string>& lines);

// True when `addition` (AppendedSizeOf) may be appended to a text of size
// `text`: fewer than EditorCharacterLimit characters and EditorLineLimit
// lines afterwards. A last line without a break gets one before the addition.
bool AdditionFits(const TEditorSize& text, const TEditorSize& addition);

// True when a text of that size fits into an empty editor (opening a file).
bool FitsInEditor(const TEditorSize& text);

} // namespace varnot
