#include "gui/notify/bus_probe.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace varnot {
namespace {

// A listening Unix socket; connections queue on it, nothing is ever read.
int Listen(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::strncpy(where.sun_path, path.c_str(), sizeof(where.sun_path) - 1);
    EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof(where)), 0);
    EXPECT_EQ(listen(fd, 4), 0);
    return fd;
}

TEST(BusProbe, OnlyABusThatAnswersCounts) {
    testing_support::TempDir dir;
    const std::string silent = dir / "silent";
    const std::string answering = dir / "answering";
    const int silentFd = Listen(silent);
    const int answeringFd = Listen(answering);
    std::thread daemon([&] {
        const int client = accept(answeringFd, nullptr, nullptr);
        if (client < 0) return;
        char request[128];
        if (read(client, request, sizeof(request)) > 0) {
            EXPECT_GT(write(client, "OK 0123\r\n", 9), 0);
        }
        close(client);
    });

    EXPECT_TRUE(BusAnswers("unix:path=" + answering + ",guid=0123", 5000));
    daemon.join();
    // A hung daemon: the connection queues and nobody answers.
    EXPECT_FALSE(BusAnswers("unix:path=" + silent, 200));
    EXPECT_FALSE(BusAnswers("unix:path=" + dir / "missing", 200));
    // Other transports are the toolkit's to try.
    EXPECT_TRUE(BusAnswers("tcp:host=localhost,port=1", 200));
    close(silentFd);
    close(answeringFd);
}

} // namespace
} // namespace varnot
