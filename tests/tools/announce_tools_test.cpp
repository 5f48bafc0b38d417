// varnot-poke and varnot-sim run as the receiving program would run them.
#include "core/archive/day_folders.h"
#include "support/temp_dir.h"
#include "tools/announce_client/announce_fake_server.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

using testing_support::AnswerEvery;
using testing_support::FakeAnnounceServer;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs a tool with this test's runtime folder; arguments are passed through
// the shell as they are (the tests use no blanks or quotes in them).
class AnnounceToolsTest : public ::testing::Test {
  protected:
    Outcome Run(const std::string& tool, const std::string& arguments) {
        const std::string command = "XDG_RUNTIME_DIR=" + runtime.path() + " " VARNOT_BIN_DIR "/" +
                                    tool + " " + arguments + " >" + (scratch / "out") + " 2>" +
                                    (scratch / "err") + " </dev/null";
        const int status = std::system(command.c_str());
        Outcome outcome;
        if (status != -1 && WIFEXITED(status)) outcome.code = WEXITSTATUS(status);
        outcome.out = ReadFile(scratch / "out");
        outcome.err = ReadFile(scratch / "err");
        return outcome;
    }

    TempDir runtime;
    TempDir scratch;
    std::string socket = runtime / "ZEVA";
};

std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST_F(AnnounceToolsTest, PokeWithoutAViewerSaysSoOnOneLine) {
    const Outcome outcome = Run("varnot-poke", "/in/A1.TXT /in/A2.TXT");
    EXPECT_EQ(outcome.code, 3);
    EXPECT_EQ(CountLines(outcome.err), 1u) << outcome.err;
    EXPECT_NE(outcome.err.find("not running"), std::string::npos) << outcome.err;
}

TEST_F(AnnounceToolsTest, PokeRefusesBadArguments) {
    for (const char* arguments : {"", "--service", "--service ZEVA", "--bogus A1.TXT",
                                  "--service ../ZEVA A1.TXT", "--service= A1.TXT"}) {
        const Outcome outcome = Run("varnot-poke", arguments);
        EXPECT_EQ(outcome.code, 2) << arguments;
        EXPECT_FALSE(outcome.err.empty()) << arguments;
    }
}

TEST_F(AnnounceToolsTest, PokeExitsZeroOnlyWhenEveryFileWasTaken) {
    {
        FakeAnnounceServer server(socket, AnswerEvery("OK\n"));
        const Outcome outcome = Run("varnot-poke", "/in/A1.TXT -- --A2.TXT");
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_EQ(server.lines(), (std::vector<std::string>{"POKE RADIOTEXT FILENAME /in/A1.TXT",
                                                            "POKE RADIOTEXT FILENAME --A2.TXT"}));
    }
    {
        FakeAnnounceServer server(socket, AnswerEvery("ERR unknown item\n"));
        const Outcome outcome = Run("varnot-poke", "/in/A1.TXT");
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find("unknown item"), std::string::npos) << outcome.err;
    }
    {
        // Another service name is another socket.
        FakeAnnounceServer server(runtime / "RADIO", AnswerEvery("OK\n"));
        EXPECT_EQ(Run("varnot-poke", "--service RADIO A1.TXT").code, 0);
        EXPECT_EQ(Run("varnot-poke", "A1.TXT").code, 3);
    }
}

TEST_F(AnnounceToolsTest, SimulatorWritesAndAnnouncesRealLookingMessages) {
    TempDir archive;
    FakeAnnounceServer server(socket, AnswerEvery("OK\n"));
    const Outcome outcome =
        Run("varnot-sim", "--archive " + archive.path() + " --count 3 --interval 0 --seed 5");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const std::vector<std::string> pokes = server.lines();
    ASSERT_EQ(pokes.size(), 3u) << outcome.out;
    const std::string head = "POKE RADIOTEXT FILENAME ";
    for (const std::string& poke : pokes) {
        ASSERT_EQ(poke.rfind(head, 0), 0u) << poke;
        const std::filesystem::path file = poke.substr(head.size());
        // Announced only once complete, in a day folder of the archive.
        ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
        std::string day = file.parent_path().filename().string();
        EXPECT_TRUE(varnot::IsDayName(day)) << day;
        EXPECT_EQ(file.extension(), ".TXT");
        const std::string text = ReadFile(file.string());
        EXPECT_GE(text.size(), 300u);
        EXPECT_NE(text.find("\r\n"), std::string::npos);
    }
    // No half-written leftovers.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(archive.path()))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

TEST_F(AnnounceToolsTest, SimulatorGoesOnWithoutAViewer) {
    TempDir archive;
    const Outcome outcome =
        Run("varnot-sim", "--archive " + archive.path() + " --count 2 --interval 0");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("not running"), std::string::npos) << outcome.out;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(archive.path()))
        if (entry.is_regular_file()) ++files;
    EXPECT_EQ(files, 2u);
}

TEST_F(AnnounceToolsTest, SimulatorRefusesBadArguments) {
    for (const char* arguments :
         {"", "--count 2", "--archive", "--archive /tmp --interval x", "--archive /tmp --count -1",
          "--archive /tmp --what 1", "--archive /tmp stray"})
        EXPECT_EQ(Run("varnot-sim", arguments).code, 2) << arguments;
    const Outcome outcome = Run("varnot-sim", "--bogus");
    EXPECT_NE(outcome.err.find("unknown option --bogus"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("usage:"), std::string::npos) << outcome.err;
}

TEST_F(AnnounceToolsTest, ToolsAnswerHelpAndVersion) {
    for (const std::string tool : {"varnot-poke", "varnot-sim"}) {
        Outcome outcome = Run(tool, "--version");
        EXPECT_EQ(outcome.code, 0) << tool;
        EXPECT_EQ(outcome.out.rfind(tool + " ", 0), 0u) << outcome.out;
        outcome = Run(tool, "--help");
        EXPECT_EQ(outcome.code, 0) << tool;
        EXPECT_EQ(outcome.out.rfind("usage: " + tool, 0), 0u) << outcome.out;
    }
}
