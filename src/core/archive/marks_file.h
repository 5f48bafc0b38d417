#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/archive/c_list.h"

namespace varnot {

// The marks file lives in the program folder.
inline constexpr std::string_view MarksFileName = "attr.sav";
// No line written by SaveMarks comes near this; longer lines are skipped.
inline constexpr std::size_t MaxMarksLineLength = 4096;

// Writes one line "Name,Flags,Time,Size" (CR LF) per valid record, in list
// order. The old file is replaced atomically, like the settings file; false
// when the new one could not be written (the old one is then untouched), a
// read-only file included.
bool SaveMarks(const CList& list, const std::string& path);

// Fills the list (from position 0) with the records of the marks file and
// returns how many were loaded. The first empty line or the end of the file
// ends the reading; lines beyond the list's capacity are ignored. Lines that
// cannot come from SaveMarks (overlong, fewer than three fields, an invalid
// archive name, Flags outside 0..65535, Time outside the 32-bit range) are
// skipped. Size is not read and stays 0. A missing or unreadable file, or one
// that is not a regular file, loads nothing.
int LoadMarks(CList& list, const std::string& path);

} // namespace varnot
