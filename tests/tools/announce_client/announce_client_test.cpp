// The announce client against a stand-in server: results per file, and no
// hang or crash whatever the other side does.
#include "announce_client/announce_client.h"
#include "support/temp_dir.h"
#include "tools/announce_client/announce_fake_server.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

using namespace varnot::announce;
using testing_support::AnswerEvery;
using testing_support::FakeAnnounceServer;
using testing_support::TempDir;

namespace {

class AnnounceClientTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir / "ZEVA";
};

} // namespace

TEST_F(AnnounceClientTest, PokesShareOneConnectionAndEachIsAnswered) {
    FakeAnnounceServer server(path, AnswerEvery("OK\n"));
    ASSERT_TRUE(server.ok());
    TAnnounceClient client(path);
    EXPECT_EQ(client.Poke("/in/A1.TXT").status, PokeStatus::Ok);
    EXPECT_EQ(client.Poke("c:\\in\\msg001.txt").status, PokeStatus::Ok);
    client.Close();
    EXPECT_EQ(server.lines(),
              (std::vector<std::string>{"POKE RADIOTEXT FILENAME /in/A1.TXT",
                                        "POKE RADIOTEXT FILENAME c:\\in\\msg001.txt"}));
    EXPECT_EQ(server.connections(), 1);
}

TEST_F(AnnounceClientTest, ARefusalCarriesTheReasonAndTheNextPokeStartsAfresh) {
    FakeAnnounceServer server(path, AnswerEvery("ERR unknown item\r\n"));
    TAnnounceClient client(path);
    const PokeResult result = client.Poke("A1.TXT");
    EXPECT_EQ(result.status, PokeStatus::Refused);
    EXPECT_EQ(result.detail, "unknown item");
    EXPECT_EQ(Describe(result), "refused: unknown item");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Poke("A2.TXT").status, PokeStatus::Refused);
    client.Close();
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(AnnounceClientTest, NoViewerMeansNotRunning) {
    TAnnounceClient missing(path);
    EXPECT_EQ(missing.Poke("A1.TXT").status, PokeStatus::NotRunning);

    // A socket file left behind by a crashed viewer: nobody listens on it.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
    TAnnounceClient stale(path);
    EXPECT_EQ(stale.Poke("A1.TXT").status, PokeStatus::NotRunning);
}

TEST_F(AnnounceClientTest, AViewerThatNeverAnswersTimesOut) {
    FakeAnnounceServer server(path, [](int, FakeAnnounceServer& s) { s.Hang(); });
    TAnnounceClient client(path, 200);
    EXPECT_EQ(client.Poke("A1.TXT").status, PokeStatus::Timeout);
}

TEST_F(AnnounceClientTest, BrokenOrStrangeAnswersAreLostPokes) {
    {
        FakeAnnounceServer server(path, [](int fd, FakeAnnounceServer& s) {
            s.ReadLine(fd); // hangs up without answering
        });
        TAnnounceClient client(path);
        EXPECT_EQ(client.Poke("A1.TXT").status, PokeStatus::Lost);
    }
    {
        FakeAnnounceServer server(path, AnswerEvery("HELLO\n"));
        TAnnounceClient client(path);
        EXPECT_EQ(client.Poke("A1.TXT").status, PokeStatus::Lost);
    }
    {
        FakeAnnounceServer server(path, AnswerEvery(std::string(5000, 'O')));
        TAnnounceClient client(path);
        EXPECT_EQ(client.Poke("A1.TXT").status, PokeStatus::Lost);
    }
}

TEST_F(AnnounceClientTest, AConnectionTheViewerDroppedIsReplacedOnce) {
    // The first connection is dropped after one poke, as an idle client is.
    FakeAnnounceServer server(path, [](int fd, FakeAnnounceServer& s) {
        while (const std::optional<std::string> line = s.ReadLine(fd)) {
            s.Record(*line);
            FakeAnnounceServer::Send(fd, "OK\n");
            if (s.connections() == 1) return;
        }
    });
    TAnnounceClient client(path);
    EXPECT_EQ(client.Poke("A1.TXT").status, PokeStatus::Ok);
    EXPECT_EQ(client.Poke("A2.TXT").status, PokeStatus::Ok);
    client.Close();
    EXPECT_EQ(server.lines().back(), "POKE RADIOTEXT FILENAME A2.TXT");
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(AnnounceClientTest, NamesThatAreNoSingleLineAreNotSent) {
    FakeAnnounceServer server(path, AnswerEvery("OK\n"));
    TAnnounceClient client(path);
    EXPECT_EQ(client.Poke("A1.TXT\nPOKE RADIOTEXT FILENAME B.TXT").status, PokeStatus::BadName);
    EXPECT_EQ(client.Poke("").status, PokeStatus::BadName);
    EXPECT_EQ(client.Poke(std::string(5000, 'A')).status, PokeStatus::BadName);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(server.connections(), 0);
}
