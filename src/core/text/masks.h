#pragma once

#include <string_view>

namespace varnot {

// File-name masks such as "FOA*.TXT". Bytes are compared exactly: letter case
// is the caller's business.
bool MaskMatch(std::string_view name, std::string_view mask);
// True when any mask of a ";"-separated list matches.
bool MatchAnyMask(std::string_view name, std::string_view maskList);

} // namespace varnot
