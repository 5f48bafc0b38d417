#pragma once

#include <string>
#include <string_view>

namespace varnot {

// The announce service name from the DDE/Service setting: the part after the
// last backslash, colon or slash, cut at its first dot ("C:\ZEV\ZEVA.EXE"
// gives "ZEVA"). The slash is cut too because the name becomes a file name in
// the runtime folder and must not reach into another folder. Empty when
// nothing is left; no service can be offered under an empty name.
std::string ReduceServiceName(std::string_view value);

} // namespace varnot
