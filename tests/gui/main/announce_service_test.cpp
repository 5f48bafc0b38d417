// The announce service with real local-socket clients, all on the test's
// thread: the service must answer from the event loop without ever blocking.
#include "gui/main/announce_service.h"
#include "support/temp_dir.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using testing_support::TempDir;
using varnot::TAnnounceService;

namespace {

constexpr int Patience = 10000; // ms; the machine may be slow, never a measure

// Spins the event loop until `done` holds; false when it never does.
bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > Patience) return false;
        QTest::qWait(5);
    }
    return true;
}

class AnnounceServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    void TearDown() override {
        if (oldRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    std::unique_ptr<QLocalSocket> Connect() {
        auto client = std::make_unique<QLocalSocket>();
        client->connectToServer(service.SocketPath());
        return client;
    }

    // Reads answer lines until `count` have come or the connection ends.
    static QList<QByteArray> Answers(QLocalSocket& client, int count) {
        QByteArray all;
        WaitUntil([&] {
            all += client.readAll();
            return all.count('\n') >= count || client.state() == QLocalSocket::UnconnectedState;
        });
        all += client.readAll();
        QList<QByteArray> lines = all.split('\n');
        lines.removeLast(); // after the last LF
        return lines;
    }

    TempDir runtime;
    TAnnounceService service;
    std::string socketPath = runtime / "ZEVA";

  private:
    std::optional<std::string> oldRuntime_;
};

// A socket file as a crashed run leaves it: bound, nobody listening.
void LeaveStaleSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

QByteArray Poke(const QByteArray& data) {
    return "POKE RADIOTEXT FILENAME " + data + "\n";
}

} // namespace

TEST_F(AnnounceServiceTest, PokesAreAnsweredAndHandedOnInOrder) {
    ASSERT_TRUE(service.Start("ZEVA"));
    EXPECT_EQ(service.SocketPath().toStdString(), socketPath);
    QSignalSpy pokes(&service, &TAnnounceService::FILENAMEPokeData);
    auto client = Connect();
    client->write(Poke("c:\\in\\msg001.txt") + "POKE RADIOTEXT FILENAME A2.TXT\r\n" +
                  "POKE RADIOTEXT FILENAME\n" + Poke("A3.TXT\rsecond line"));
    EXPECT_EQ(Answers(*client, 4), (QList<QByteArray>{"OK", "OK", "OK", "OK"}));
    ASSERT_EQ(pokes.count(), 3); // the empty poke is taken but ignored
    EXPECT_EQ(pokes[0][0].toByteArray(), "c:\\in\\msg001.txt");
    EXPECT_EQ(pokes[1][0].toByteArray(), "A2.TXT");
    EXPECT_EQ(pokes[2][0].toByteArray(), "A3.TXT");
}

TEST_F(AnnounceServiceTest, BadRequestsGetErrorsAndOnlyAnOverlongLineEndsTheConnection) {
    ASSERT_TRUE(service.Start("ZEVA"));
    QSignalSpy pokes(&service, &TAnnounceService::FILENAMEPokeData);
    auto client = Connect();
    client->write("PEEK RADIOTEXT FILENAME A.TXT\nPOKE NEWS FILENAME A.TXT\n"
                  "POKE RADIOTEXT NAME A.TXT\n" +
                  Poke("A.TXT"));
    EXPECT_EQ(Answers(*client, 4), (QList<QByteArray>{"ERR unknown command", "ERR unknown topic",
                                                      "ERR unknown item", "OK"}));
    EXPECT_EQ(pokes.count(), 1);

    client->write(Poke(QByteArray(100 * 1024, 'N')) + Poke("B.TXT"));
    EXPECT_EQ(Answers(*client, 2), (QList<QByteArray>{"ERR line too long"}));
    EXPECT_TRUE(WaitUntil([&] { return client->state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(pokes.count(), 1);
    EXPECT_TRUE(WaitUntil([&] { return service.ConnectionCount() == 0; }));
}

TEST_F(AnnounceServiceTest, QuietClientsStayStalledAndVanishingOnesAreDropped) {
    service.SetStallTimeout(50);
    ASSERT_TRUE(service.Start("ZEVA"));
    QSignalSpy pokes(&service, &TAnnounceService::FILENAMEPokeData);

    // A receiving program that keeps its connection and pokes once per file.
    auto keeper = Connect();
    auto silent = Connect();
    keeper->write(Poke("A.TXT"));
    EXPECT_EQ(Answers(*keeper, 1), (QList<QByteArray>{"OK"}));

    auto halfway = Connect();
    halfway->write("POKE RADIOTEXT FILENAME HALF");
    EXPECT_TRUE(WaitUntil([&] { return halfway->state() == QLocalSocket::UnconnectedState; }));

    auto vanishing = Connect();
    vanishing->write("POKE RADIOTEXT FILENAME GONE");
    EXPECT_TRUE(WaitUntil([&] { return service.ConnectionCount() == 3; }));
    vanishing->abort();

    auto noise = Connect();
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i) bytes += char((i * 131 + 7) % 256);
    noise->write(bytes + "unfinished");
    EXPECT_TRUE(WaitUntil([&] { return noise->state() == QLocalSocket::UnconnectedState; }));

    // Many stall times later the quiet ones are still served.
    QTest::qWait(300);
    keeper->write(Poke("B.TXT"));
    EXPECT_EQ(Answers(*keeper, 1), (QList<QByteArray>{"OK"}));
    silent->write(Poke("C.TXT"));
    EXPECT_EQ(Answers(*silent, 1), (QList<QByteArray>{"OK"}));
    EXPECT_EQ(service.ConnectionCount(), 2);
    ASSERT_EQ(pokes.count(), 3);
    EXPECT_EQ(pokes[2][0].toByteArray(), "C.TXT");
}

TEST_F(AnnounceServiceTest, PokesSentJustBeforeHangingUpAreStillTaken) {
    ASSERT_TRUE(service.Start("ZEVA"));
    QSignalSpy pokes(&service, &TAnnounceService::FILENAMEPokeData);
    auto client = Connect();
    // More than the service reads in one turn, so some of it is still
    // waiting when the hang-up is seen.
    QByteArray burst;
    for (int i = 0; i < 4000; ++i) burst += Poke("M" + QByteArray::number(i) + ".TXT");
    client->write(burst + "POKE RADIOTEXT FILENAME UNFINISHED");
    client->disconnectFromServer(); // flushes, then closes
    EXPECT_TRUE(WaitUntil([&] { return service.ConnectionCount() == 0; }));
    QTest::qWait(50);
    ASSERT_EQ(pokes.count(), 4000);
    EXPECT_EQ(pokes.first()[0].toByteArray(), "M0.TXT");
    EXPECT_EQ(pokes.last()[0].toByteArray(), "M3999.TXT");
}

TEST_F(AnnounceServiceTest, FiftyClientsAtOnceAreAllServed) {
    ASSERT_TRUE(service.Start("ZEVA"));
    QSignalSpy pokes(&service, &TAnnounceService::FILENAMEPokeData);
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (int i = 0; i < 50; ++i) {
        clients.push_back(Connect());
        clients.back()->write(Poke("M" + QByteArray::number(i) + ".TXT"));
    }
    std::vector<QByteArray> answers(clients.size());
    EXPECT_TRUE(WaitUntil([&] {
        bool all = true;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            answers[i] += clients[i]->readAll();
            all = all && answers[i].endsWith('\n');
        }
        return all;
    }));
    for (const QByteArray& answer : answers) EXPECT_EQ(answer, "OK\n");
    ASSERT_EQ(pokes.count(), 50);
    QSet<QByteArray> names;
    for (const QList<QVariant>& poke : pokes) names.insert(poke[0].toByteArray());
    EXPECT_EQ(names.size(), 50);
}

TEST_F(AnnounceServiceTest, ClientsBeyondTheLimitAreTurnedAway) {
    service.SetMaxConnections(2);
    ASSERT_TRUE(service.Start("ZEVA"));
    auto first = Connect();
    auto second = Connect();
    ASSERT_TRUE(WaitUntil([&] { return service.ConnectionCount() == 2; }));
    auto third = Connect();
    EXPECT_EQ(Answers(*third, 1), (QList<QByteArray>{"ERR busy"}));
    EXPECT_TRUE(WaitUntil([&] { return third->state() == QLocalSocket::UnconnectedState; }));
    // A place that frees up is taken again.
    first->abort();
    ASSERT_TRUE(WaitUntil([&] { return service.ConnectionCount() == 1; }));
    auto fourth = Connect();
    fourth->write(Poke("A.TXT"));
    EXPECT_EQ(Answers(*fourth, 1), (QList<QByteArray>{"OK"}));
}

TEST_F(AnnounceServiceTest, TheSocketIsForItsUserOnlyAndGoesWithTheService) {
    ASSERT_TRUE(service.Start("ZEVA"));
    struct stat st {};
    ASSERT_EQ(lstat(socketPath.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << std::oct << st.st_mode;
    EXPECT_EQ(st.st_uid, geteuid());
    service.Stop();
    EXPECT_FALSE(service.IsListening());
    EXPECT_FALSE(testing_support::Exists(socketPath));
}

TEST_F(AnnounceServiceTest, AStaleSocketIsReplacedAnythingElseIsLeftAlone) {
    LeaveStaleSocket(socketPath);
    ASSERT_TRUE(service.Start("ZEVA"));
    auto client = Connect();
    client->write(Poke("A.TXT"));
    EXPECT_EQ(Answers(*client, 1), (QList<QByteArray>{"OK"}));
    service.Stop();

    testing_support::WriteFile(socketPath, "not a socket");
    EXPECT_FALSE(service.Start("ZEVA"));
    EXPECT_EQ(testing_support::ReadFile(socketPath), "not a socket");

    for (const char* name : {"", "..", "a/b", "ZEVA.EXE"})
        EXPECT_FALSE(service.Start(name)) << name;
    EXPECT_FALSE(service.IsListening());
}

TEST_F(AnnounceServiceTest, AHandlerThatRunsAnEventLoopOrEndsTheServiceIsSurvived) {
    auto owned = std::make_unique<TAnnounceService>();
    TAnnounceService* live = owned.get();
    ASSERT_TRUE(live->Start("ZEVA"));
    QList<QByteArray> seen;
    QObject::connect(live, &TAnnounceService::FILENAMEPokeData, [&](const QByteArray& line) {
        seen.append(line);
        if (line == "NESTED.TXT") QTest::qWait(50); // as a print dialog would
        if (line == "LAST.TXT") owned.reset();      // the window closes meanwhile
    });
    auto client = std::make_unique<QLocalSocket>();
    client->connectToServer(live->SocketPath());
    client->write(Poke("NESTED.TXT"));
    QTest::qWait(10);
    client->write(Poke("AFTER.TXT") + Poke("LAST.TXT") + Poke("NEVER.TXT"));
    EXPECT_TRUE(WaitUntil([&] { return owned == nullptr; }));
    EXPECT_TRUE(WaitUntil([&] { return client->state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(seen, (QList<QByteArray>{"NESTED.TXT", "AFTER.TXT", "LAST.TXT"}));
    EXPECT_FALSE(testing_support::Exists(socketPath));
}
