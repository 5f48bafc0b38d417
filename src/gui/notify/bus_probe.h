#pragma once

#include <string>

namespace varnot {

// Whether the bus at a D-Bus address answers the opening of a connection
// within `timeoutMs`. The toolkit's own connect waits for that answer without
// end, so a bus daemon that is stopped or hung would hold the window up for
// good; asked first, it costs at most the timeout. Only a Unix socket address
// ("unix:path=…" or "unix:abstract=…") can be asked; any other kind of
// address counts as answering and is left to the toolkit.
bool BusAnswers(const std::string& address, int timeoutMs);

} // namespace varnot
