#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnot {

// Messages that have just come into view and pass the filter in use, by the
// rule of the new-message notice (a pass that announces, or an arrival):
// their archive names, newest first, and the newest one's time and notice.
struct TNewMessages {
    std::vector<std::string> names;
    std::int32_t newestTime = 0; // DOS packed local date-time
    std::string newestNotice;    // time and brief as the status line shows them (1251 bytes)
};

} // namespace varnot
