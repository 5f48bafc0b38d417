// Desktop notifications of new messages. The tests of SessionBusNotifyTest
// need a private session bus (CTest runs them under dbus-run-session), where
// a fake notification service of this file records what the viewer sends;
// the others run without any bus.
#include "main_form_fixture.h"

#include "core/archive/day_folders.h"
#include "support/scoped_env.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QStringList>
#include <QVariantMap>
#include <ctime>

using namespace varnot;
using testing_support::MainFormFixture;
using testing_support::WriteFile;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kConnection = QStringLiteral("fake-notification-service");

// The notification service of a desktop, as far as the viewer uses it, on a
// connection of its own, so that calls go through the bus daemon.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    struct Notice {
        uint replaces;
        QString summary;
        QString body;
        QStringList actions;
    };

    ~FakeNotificationService() override { QDBusConnection::disconnectFromBus(kConnection); }

    bool Start() {
        QDBusConnection bus = QDBusConnection::connectToBus(
            QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), kConnection);
        return bus.isConnected() &&
               bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
               bus.registerService(kService);
    }
    // The operator clicks the notification.
    void Click(uint id) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, "ActionInvoked");
        signal << id << QStringLiteral("default");
        QDBusConnection(kConnection).send(signal);
    }

    std::vector<Notice> notices;

  public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int) {
        notices.push_back({replaces, summary, body, actions});
        return replaces != 0 ? replaces : static_cast<uint>(notices.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint) {}
};

class NotifyFixture : public MainFormFixture {
  protected:
    // A window on `extra` settings whose operator is at work, behind other windows.
    std::unique_ptr<TMainform> OpenBehind(const std::string& extra = "") {
        Settings(extra);
        auto form = OpenAndScan();
        form->RecordAction();
        form->hide();
        return form;
    }
    // A message announced into today's folder; the newer the greater `second`.
    void Arrive(TMainform& form, const std::string& name, const std::string& text, int second) {
        WriteFile(archive / (TodayFolderName() + "/" + name), text + "\r\nbody\r\n",
                  std::time(nullptr) - 3600 + second);
        TestAccess(form).Scan().AddArrivedFile(name);
    }
    static void WaitUntilTold(TMainform& form) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !TestAccess(form).Notify().Busy(); }, 30000));
    }
    static std::string CurrentName(TMainform& form) {
        const TFileInfo* record = form.Panel().RecordAtRow(form.CurrentRow());
        return record ? std::string(record->Name()) : std::string();
    }
};

class SessionBusNotifyTest : public NotifyFixture {
  protected:
    void SetUp() override {
        NotifyFixture::SetUp();
        if (std::getenv("VARNOT_TEST_SESSION_BUS") == nullptr)
            GTEST_SKIP() << "runs on a private session bus: ctest -R SessionBus";
        ASSERT_TRUE(service.Start());
    }
    FakeNotificationService service;
};

TEST_F(SessionBusNotifyTest, AnArrivalBehindTheWindowIsToldOfAndItsClickShowsIt) {
    Messages(5);
    auto form = OpenBehind();
    Arrive(*form, "ALARM.TXT", "Storm warning", 0);
    const std::string name = TodayFolderName() + "\\ALARM.TXT";
    EXPECT_NE(CurrentName(*form), name); // the operator is at work: his message stays
    WaitUntilTold(*form);
    ASSERT_EQ(service.notices.size(), 1u);
    EXPECT_EQ(service.notices[0].summary, "New message");
    EXPECT_TRUE(service.notices[0].body.endsWith("   Storm warning"));
    EXPECT_TRUE(service.notices[0].actions.contains("default"));

    service.Click(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentName(*form) == name; }, 30000));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(SessionBusNotifyTest, OnlyWhatTheFilterShowsIsCountedAndABurstMakesOne) {
    auto form = OpenBehind("FilterIndex=1\r\n[Filters]\r\n0=Storms *.TXT storm\r\n");
    Arrive(*form, "CALM.TXT", "calm", 0);
    EXPECT_FALSE(TestAccess(*form).Notify().Busy()); // hidden by the filter
    for (int i = 0; i < 50; ++i)
        Arrive(*form, "S" + std::to_string(i) + ".TXT", "storm " + std::to_string(i), 1 + i);
    WaitUntilTold(*form);
    ASSERT_EQ(service.notices.size(), 1u);
    EXPECT_EQ(service.notices[0].summary, "50 new messages");
    EXPECT_TRUE(service.notices[0].body.startsWith("Newest: "));
    EXPECT_TRUE(service.notices[0].body.endsWith("   storm 49"));
}

TEST_F(SessionBusNotifyTest, NotifyOffTellsOfNothingUntilItsItemTurnsItOn) {
    auto form = OpenBehind("Notify=NO\r\n");
    EXPECT_FALSE(form->Frame().NotifyItem->isChecked());
    Arrive(*form, "A.TXT", "first", 0);
    EXPECT_FALSE(TestAccess(*form).Notify().Busy());

    form->Frame().NotifyItem->trigger();
    EXPECT_TRUE(form->Frame().NotifyItem->isChecked());
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "Notify", ""), "YES");
    Arrive(*form, "B.TXT", "second", 1);
    WaitUntilTold(*form);
    ASSERT_EQ(service.notices.size(), 1u);
    EXPECT_EQ(service.notices[0].summary, "New message");
}

using NoBusNotifyTest = NotifyFixture;

// Without a bus the viewer works as ever; no bus is looked for beyond the
// address it is given or the session's own socket, so none is ever launched.
TEST_F(NoBusNotifyTest, WithoutASessionBusNothingChanges) {
    const std::optional<std::string> addresses[] = {"unix:path=" + program / "no-bus",
                                                    std::nullopt};
    for (const auto& address : addresses) {
        testing_support::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", address);
        Messages(2);
        auto form = OpenBehind();
        EXPECT_FALSE(TestAccess(*form).Notify().HasBus());
        Arrive(*form, "A.TXT", "arrived", 0);
        EXPECT_EQ(form->Panel().Current().Used, 3);
        EXPECT_TRUE(form->Frame().HintLabel->text().endsWith("   arrived"));
        WaitUntilTold(*form);
    }
}

} // namespace

#include "notify_commands_test.moc"
