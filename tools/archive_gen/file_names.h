#pragma once

#include "archive_gen/prng.h"

#include <string>
#include <string_view>

namespace varnot::gen {

// A file name as the receiving program makes them: 8 upper-case characters (a
// station or agency prefix such as "A", "FOA", "FSTA" or "RTR", then digits), a
// dot and the extension: "A1234567.TXT", "FSTA0412.TXT".
void MakeMessageName(Prng& rng, std::string_view extension, std::string& out);

} // namespace varnot::gen
