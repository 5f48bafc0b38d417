#include "gui/app/service_name.h"

namespace varnot {

std::string ReduceServiceName(std::string_view value) {
    const std::size_t cut = value.find_last_of("\\:/");
    if (cut != std::string_view::npos) value.remove_prefix(cut + 1);
    const std::size_t dot = value.find('.');
    if (dot != std::string_view::npos) value = value.substr(0, dot);
    return std::string(value);
}

} // namespace varnot
