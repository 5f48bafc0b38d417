#include "core/main/desktop_notice.h"

#include "core/text/code_pages.h"

namespace varnot {

namespace {

// "новое сообщение" after 1, 21, 31 …; "новых сообщения" after 2..4, 22..24 …;
// "новых сообщений" after everything else, 11..14 among them.
const char* RussianNewMessages(int count) {
    const int last = count % 10;
    const int lastTwo = count % 100;
    if (last == 1 && lastTwo != 11) return "новое сообщение";
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) return "новых сообщения";
    return "новых сообщений";
}

} // namespace

TNotificationText NotificationText(int count, std::string_view notice, bool english) {
    const std::string text = Cp1251ToUtf8(notice);
    if (count <= 1) return {english ? "New message" : "Новое сообщение", text};
    const std::string number = std::to_string(count);
    if (english) return {number + " new messages", "Newest: " + text};
    return {number + " " + RussianNewMessages(count), "Последнее: " + text};
}

int UnreadCount(const CList& list) {
    int unread = 0;
    for (int position = 0; position < list.Used; ++position) {
        const TFileInfo& record = list.RecordAt(position);
        if (record.Has(TRecordFlag::Shown) && !record.Has(TRecordFlag::Read)) ++unread;
    }
    return unread;
}

std::string TrayToolTip(int unread, bool english) {
    const std::string number = std::to_string(unread);
    if (english) return "Pellmar NEWS: " + number + " unread";
    return "Пеллмар - Новости: непрочитанных " + number;
}

} // namespace varnot
