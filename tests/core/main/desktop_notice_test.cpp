#include "core/main/desktop_notice.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(DesktopNotice, OneMessageReadsLikeItsNoticeSeveralAreCounted) {
    const std::string notice = "14:05  25.12   \xD2\xF0\xE5\xE2\xEE\xE3\xE0"; // "Тревога" in 1251
    EXPECT_EQ(NotificationText(1, notice, true),
              (TNotificationText{"New message", "14:05  25.12   Тревога"}));
    EXPECT_EQ(NotificationText(1, notice, false),
              (TNotificationText{"Новое сообщение", "14:05  25.12   Тревога"}));
    EXPECT_EQ(NotificationText(12, notice, true),
              (TNotificationText{"12 new messages", "Newest: 14:05  25.12   Тревога"}));
    EXPECT_EQ(NotificationText(12, notice, false),
              (TNotificationText{"12 новых сообщений", "Последнее: 14:05  25.12   Тревога"}));
    EXPECT_EQ(NotificationText(3, notice, false).summary, "3 новых сообщения");
    EXPECT_EQ(NotificationText(21, notice, false).summary, "21 новое сообщение");
    EXPECT_EQ(NotificationText(111, notice, false).summary, "111 новых сообщений");
}

TEST(DesktopNotice, UnreadCountsTheShownMessagesNotYetRead) {
    CList list(4);
    for (int i = 0; i < 4; ++i)
        CList::FillRecord(list.RecordAt(i), "26_12_05\\", "M" + std::to_string(i) + ".TXT", 1, 0);
    list.Used = 4;
    list.RecordAt(0).Flags = TFileInfo::Shown;
    list.RecordAt(1).Flags = TFileInfo::Shown | TFileInfo::Read;
    list.RecordAt(2).Flags = 0; // hidden by the filter
    list.RecordAt(3).Flags = TFileInfo::Shown | TFileInfo::Selected;
    EXPECT_EQ(UnreadCount(list), 2);
}

} // namespace
} // namespace varnot
