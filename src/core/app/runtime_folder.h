#pragma once

#include <string>
#include <string_view>

namespace varnot {

// Where this user's per-session files live (the single-instance lock, the
// announce socket): `name` in $XDG_RUNTIME_DIR, or, when that is unset or
// empty, in the system temporary folder as `name` + "-" + the user id. The
// temporary folder is shared by all users; the user id keeps one user's file
// from standing in another's way.
std::string RuntimeFilePath(std::string_view name);

} // namespace varnot
