#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// The program's own files (settings, marks) are replaced, never rewritten in
// place: the new content goes to a temporary file beside the old one, named
// "." + file name + "." + process id + "." + counter + ".tmp", which is
// flushed and renamed over it. A crash therefore never leaves half a file.

// Replaces the file (the target of a link, when it is one) with `content`,
// keeping its permission bits. False, writing nothing, when the file is not a
// regular file, is read-only (a file or folder without any write bit counts
// as read-only even for the superuser), or cannot be written; the old file is
// then intact.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);

// Removes from `folder` the temporary files that a replacement of one of
// `fileNames` left behind when its process was killed. Only regular files
// named exactly as above go, and only when no process of that id is alive.
// Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder, const std::vector<std::string>& fileNames);

} // namespace varnot
