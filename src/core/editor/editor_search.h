#pragma once

#include "core/main/text_search.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnot {

// The editor's text as code page 1251 bytes for searching: one byte per
// UTF-16 code unit ("?" where the code page has no such character, also for
// each half of a character beyond the plane), so that byte offsets are the
// text control's positions.
std::string EditorSearchBytes(std::u16string_view text);

// SearchInText on the editor's text from its selection (positions of the
// text control); the key is code page 1251 bytes. The position of the hit.
std::optional<std::size_t> SearchEditorText(std::u16string_view text, std::size_t selStart,
                                            std::size_t selLength, std::string_view key,
                                            const SearchFlags& flags);

} // namespace varnot
