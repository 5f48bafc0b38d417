#include "core/archive/archive_options.h"

namespace varnot {

ArchiveOptions ArchiveOptionsOf(const TOptionsValues& values) {
    ArchiveOptions options;
    options.root = values.archiveRoot;
    options.deleteAutomaticly = values.deleteAutomatically;
    options.inDos = values.inDOS;
    options.inZev = values.inZEV;
    return options;
}

ScanSettings ScanSettingsOf(const TOptionsValues& values) {
    return {values.autoShow, values.autoShowDelay, values.markDelay, values.rereadDelay,
            values.autoPrint};
}

} // namespace varnot
