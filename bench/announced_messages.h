#pragma once

#include <string>

namespace varnot::bench {

// The name of the index-th message a benchmark announces: "N0000042.TXT".
std::string AnnouncedName(int index);

// Writes `count` small messages named by AnnouncedName into `folder` (made
// when missing), before any clock starts. Their times rise with the number,
// two seconds apart (the list keeps the two-second step of DOS times) and
// ending a minute ago, as a receiving program's files do. False, with
// `error` set, when one cannot be written.
bool WriteAnnouncedMessages(const std::string& folder, int count, std::string& error);

} // namespace varnot::bench
