#include "core/editor/editor_search.h"

#include "core/text/code_pages.h"

namespace varnot {

std::string EditorSearchBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    // Cp1251Of has no character for a lone surrogate half: each becomes "?".
    for (const char16_t unit : text) bytes.push_back(static_cast<char>(Cp1251Of(unit)));
    return bytes;
}

std::optional<std::size_t> SearchEditorText(std::u16string_view text, std::size_t selStart,
                                            std::size_t selLength, std::string_view key,
                                            const SearchFlags& flags) {
    return SearchInText(EditorSearchBytes(text), selStart, selLength, key, flags);
}

} // namespace varnot
