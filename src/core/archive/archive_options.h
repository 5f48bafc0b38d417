#pragma once

#include <string>

namespace varnot {

// The settings the archive layer works with, read once by the window and
// handed to each operation (a scanner pass takes its own copy).
struct ArchiveOptions {
    std::string root = "/";        // ArchiveRoot, always ending with "/"
    bool deleteAutomaticly = true; // delete the files that do not fit into a full pool
    bool inDos = false;            // message bytes are code page 866
    bool inZev = false;            // message files are sectioned files
};

} // namespace varnot
