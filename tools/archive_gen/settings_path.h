#pragma once

#include <string>
#include <string_view>

namespace varnot::gen {

// The value the viewer's archive root setting takes for a folder: the absolute
// path with one "/" at the end ("archive" below /home/op gives "/home/op/archive/").
std::string ArchivePathValue(std::string_view dir);

// Writes main/Path = ArchivePathValue(dir) into the settings file, keeping
// every other line. False, with a one-line `error`, when the file could not be written.
bool SetArchivePath(const std::string& settingsFile, std::string_view dir, std::string& error);

// Writes Frame/W and Frame/H, the size the viewer's window opens at, the same way.
bool SetWindowSize(const std::string& settingsFile, int width, int height, std::string& error);

} // namespace varnot::gen
