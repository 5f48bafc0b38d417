#pragma once

#include "core/archive/c_list.h"

#include <string>
#include <string_view>

namespace varnot {

// The texts of a desktop notification, UTF-8.
struct TNotificationText {
    std::string summary;
    std::string body;

    bool operator==(const TNotificationText&) const = default;
};

// The notification of `count` new messages (at least 1) whose newest has
// `notice` (time and brief as the status line shows them, 1251 bytes): one
// message reads like its status-line notice, several are counted in the
// summary and the body names the newest.
TNotificationText NotificationText(int count, std::string_view notice, bool english);

// The messages of the list that the filter shows and that are not yet read.
int UnreadCount(const CList& list);

// The tray icon's tooltip: the program and its unread messages, UTF-8.
std::string TrayToolTip(int unread, bool english);

} // namespace varnot
