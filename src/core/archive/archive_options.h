#pragma once

#include "core/app/options_values.h"

#include <string>

namespace varnot {

// The settings the archive layer works with, derived by the window from the
// settings in effect and handed to each operation (a scanner pass takes its
// own copy).
struct ArchiveOptions {
    std::string root = "/";        // ArchiveRoot, always ending with "/"
    bool deleteAutomaticly = true; // delete the files that do not fit into a full pool
    bool inDos = false;            // message bytes are code page 866
    bool inZev = false;            // message files are sectioned files
};

// The settings the scanner logic reads, derived by the window from the
// settings in effect whenever they change.
struct ScanSettings {
    bool autoShow = true;
    int autoShowDelay = 5; // minutes
    int markDelay = 500;   // milliseconds
    int rereadDelay = 10;  // minutes
    bool autoPrint = false;
};

// The settings the archive layer and the scanner logic work with, derived from
// the settings in effect.
ArchiveOptions ArchiveOptionsOf(const TOptionsValues& values);
ScanSettings ScanSettingsOf(const TOptionsValues& values);

} // namespace varnot
