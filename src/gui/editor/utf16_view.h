#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace varnot {

// A QString's characters as the core's text functions take them, without a copy.
inline std::u16string_view Utf16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace varnot
