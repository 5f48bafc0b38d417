#pragma once

#include "core/archive/archive_options.h"
#include "core/editor/editor_capacity.h"

#include <cstdint>
#include <string>
#include <vector>

namespace varnot {

// The line in front of a message appended to the editor: its file time as
// "hh:nn  dd.mm.yyyy".
std::string EditorDateLine(std::int32_t time);

// One message as the editor appends it.
struct TEditorAddition {
    bool read = false; // false: the file could not be read (see error)
    int error = 0;     // errno of the failed read
    // Code page 1251: the date line, the message's lines, one empty line.
    std::vector<std::string> lines;
    TEditorSize size; // AppendedSizeOf(lines)
};

// Reads a message the way the view loads it (its first 32767 bytes up to a
// NUL, converted from 866 with inDos; with inZev only the lines of the
// section "body") and frames it with its date line and an empty line.
TEditorAddition ComposeEditorAddition(const std::string& path, std::int32_t time,
                                      const ArchiveOptions& options);

} // namespace varnot
