#pragma once

namespace varnot {

// The toolkit's own texts (the standard buttons of message boxes and dialogs,
// the file dialogs) follow the interface language: in Russian the toolkit's
// Russian catalogue is installed, in English it is removed again. Without the
// catalogue on this machine those texts simply stay English.
void ApplyToolkitLanguage();

} // namespace varnot
