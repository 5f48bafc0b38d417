#include "core/announce/announce_protocol.h"
#include "support/scoped_env.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace varnot;

using testing_support::ScopedEnv;

namespace {

std::vector<AnnounceAction> FeedAll(TAnnounceParser& parser, std::string_view bytes) {
    std::vector<AnnounceAction> out;
    parser.Feed(bytes, out);
    return out;
}

std::vector<std::string> Answers(const std::vector<AnnounceAction>& actions) {
    std::vector<std::string> answers;
    for (const AnnounceAction& action : actions) answers.push_back(action.answer);
    return answers;
}

} // namespace

TEST(AnnounceLineTest, APokeHandsOnItsData) {
    const AnnounceAction action = AnswerAnnounceLine("POKE RADIOTEXT FILENAME c:\\in\\msg001.txt");
    EXPECT_EQ(action.answer, "OK\n");
    EXPECT_TRUE(action.poked);
    EXPECT_EQ(action.firstLine, "c:\\in\\msg001.txt");
    // The names are DDE names: letter case does not matter.
    EXPECT_TRUE(AnswerAnnounceLine("poke RadioText filename A.TXT").poked);
}

TEST(AnnounceLineTest, UnknownWordsAreRefusedOneByOne) {
    EXPECT_EQ(AnswerAnnounceLine("PEEK RADIOTEXT FILENAME A.TXT").answer, "ERR unknown command\n");
    EXPECT_EQ(AnswerAnnounceLine("").answer, "ERR unknown command\n");
    EXPECT_EQ(AnswerAnnounceLine("POKE").answer, "ERR unknown topic\n");
    EXPECT_EQ(AnswerAnnounceLine("POKE NEWS FILENAME A.TXT").answer, "ERR unknown topic\n");
    EXPECT_EQ(AnswerAnnounceLine("POKE RADIOTEXT").answer, "ERR unknown item\n");
    EXPECT_EQ(AnswerAnnounceLine("POKE RADIOTEXT FILENAMES A.TXT").answer, "ERR unknown item\n");
    EXPECT_EQ(AnswerAnnounceLine("POKE  RADIOTEXT FILENAME A.TXT").answer, "ERR unknown topic\n");
    EXPECT_FALSE(AnswerAnnounceLine("POKE RADIOTEXT FILENAMES A.TXT").poked);
}

TEST(AnnounceLineTest, AnEmptyPokeIsTakenButHandsNothingOn) {
    for (const char* line : {"POKE RADIOTEXT FILENAME", "POKE RADIOTEXT FILENAME ",
                             "POKE RADIOTEXT FILENAME \rB.TXT"}) {
        const AnnounceAction action = AnswerAnnounceLine(line);
        EXPECT_EQ(action.answer, "OK\n") << line;
        EXPECT_FALSE(action.poked) << line;
    }
}

TEST(AnnounceLineTest, OnlyTheFirstLineOfTheDataCounts) {
    EXPECT_EQ(AnswerAnnounceLine("POKE RADIOTEXT FILENAME A.TXT\rB.TXT").firstLine, "A.TXT");
    EXPECT_EQ(AnswerAnnounceLine("POKE RADIOTEXT FILENAME A.TXT\r").firstLine, "A.TXT");
    EXPECT_EQ(AnswerAnnounceLine(std::string("POKE RADIOTEXT FILENAME A.TXT\0B", 31)).firstLine,
              "A.TXT");
    // Blanks belong to the data.
    EXPECT_EQ(AnswerAnnounceLine("POKE RADIOTEXT FILENAME  A B.TXT").firstLine, " A B.TXT");
}

TEST(AnnounceParserTest, SeveralRequestsOnOneConnectionEachGetTheirAnswer) {
    TAnnounceParser parser;
    const auto actions = FeedAll(parser, "POKE RADIOTEXT FILENAME A.TXT\r\n"
                                         "HELLO\n"
                                         "POKE RADIOTEXT FILENAME B.TXT\n"
                                         "POKE RADIOTEXT FILENAME\n");
    EXPECT_EQ(Answers(actions),
              (std::vector<std::string>{"OK\n", "ERR unknown command\n", "OK\n", "OK\n"}));
    EXPECT_EQ(actions[0].firstLine, "A.TXT");
    EXPECT_EQ(actions[2].firstLine, "B.TXT");
    EXPECT_FALSE(actions[3].poked);
    EXPECT_FALSE(parser.Closed());
    EXPECT_FALSE(parser.MidLine());
}

TEST(AnnounceParserTest, ALineDeliveredByteByByteIsTheSameLine) {
    const std::string bytes = "POKE RADIOTEXT FILENAME A.TXT\r\nPOKE RADIOTEXT FILENAME B.TXT\n";
    TAnnounceParser parser;
    std::vector<AnnounceAction> actions;
    for (char c : bytes) {
        parser.Feed(std::string_view(&c, 1), actions);
        if (c == 'B') {
            EXPECT_EQ(actions.size(), 1u);
            EXPECT_TRUE(parser.MidLine());
        }
    }
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].firstLine, "A.TXT");
    EXPECT_EQ(actions[1].firstLine, "B.TXT");
}

TEST(AnnounceParserTest, LinesUpToTheLimitAreServedLongerOnesEndTheConnection) {
    const std::string head = "POKE RADIOTEXT FILENAME ";
    const std::string atLimit = head + std::string(AnnounceMaxLine - head.size(), 'N');
    ASSERT_EQ(atLimit.size(), 4096u);
    {
        TAnnounceParser parser;
        const auto actions = FeedAll(parser, atLimit + "\r\n" + atLimit + "\n");
        EXPECT_EQ(Answers(actions), (std::vector<std::string>{"OK\n", "OK\n"}));
        EXPECT_EQ(actions[0].firstLine.size(), AnnounceMaxLine - head.size());
    }
    {
        TAnnounceParser parser;
        const auto actions = FeedAll(parser, atLimit + "N\nPOKE RADIOTEXT FILENAME A.TXT\n");
        EXPECT_EQ(Answers(actions), (std::vector<std::string>{"ERR line too long\n"}));
        EXPECT_TRUE(parser.Closed());
        // Nothing more is taken once the connection is closing.
        EXPECT_TRUE(FeedAll(parser, "POKE RADIOTEXT FILENAME B.TXT\n").empty());
    }
    {
        // 4097 bytes and a CR: the CR does not make the line fit.
        TAnnounceParser parser;
        EXPECT_EQ(Answers(FeedAll(parser, atLimit + "N\r\n")),
                  (std::vector<std::string>{"ERR line too long\n"}));
    }
}

TEST(AnnounceParserTest, OnlyOneCrBeforeTheLineEndIsDropped) {
    TAnnounceParser parser;
    EXPECT_EQ(Answers(FeedAll(parser, "POKE\r\r\nPOKE\r\n")),
              (std::vector<std::string>{"ERR unknown command\n", "ERR unknown topic\n"}));
}

TEST(AnnounceParserTest, AHugeLineIsRefusedBeforeItIsBuffered) {
    TAnnounceParser parser;
    std::vector<AnnounceAction> actions;
    const std::string block(1000, 'x');
    // No line end ever comes: the refusal must not wait for one.
    for (int i = 0; i < 100 && actions.empty(); ++i) parser.Feed(block, actions);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].answer, "ERR line too long\n");
    EXPECT_TRUE(parser.Closed());
    EXPECT_FALSE(parser.MidLine()); // the buffer is given back
}

TEST(AnnounceParserTest, BinaryBytesGetAnswersNotCrashes) {
    std::string noise;
    for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 37 + 11) % 256);
    TAnnounceParser parser;
    std::vector<AnnounceAction> actions;
    parser.Feed(noise, actions);
    for (const AnnounceAction& action : actions)
        EXPECT_TRUE(action.answer.rfind("ERR ", 0) == 0) << action.answer;

    TAnnounceParser poke;
    const std::string data = "\xC0\xC1\xFF\x01\x7F.TXT";
    const auto taken = FeedAll(poke, "POKE RADIOTEXT FILENAME " + data + "\n");
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].firstLine, data);
}

TEST(AnnounceRequestTest, BuildsOneLineOrNothing) {
    EXPECT_EQ(AnnounceRequestLine("/in/A1.TXT"), "POKE RADIOTEXT FILENAME /in/A1.TXT\n");
    EXPECT_EQ(AnnounceRequestLine(""), std::nullopt);
    EXPECT_EQ(AnnounceRequestLine("A\nB"), std::nullopt);
    EXPECT_EQ(AnnounceRequestLine("A\rB"), std::nullopt);
    EXPECT_EQ(AnnounceRequestLine(std::string("A\0B", 3)), std::nullopt);
    const std::size_t room = AnnounceMaxLine - std::string("POKE RADIOTEXT FILENAME ").size();
    EXPECT_TRUE(AnnounceRequestLine(std::string(room, 'A')));
    EXPECT_FALSE(AnnounceRequestLine(std::string(room + 1, 'A')));

    // What the client sends, the server reads back unchanged.
    TAnnounceParser parser;
    const auto actions = FeedAll(parser, *AnnounceRequestLine("c:\\in\\msg001.txt"));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].firstLine, "c:\\in\\msg001.txt");
    EXPECT_TRUE(IsAnnounceOk(actions[0].answer));
    EXPECT_FALSE(IsAnnounceOk("ERR unknown item\n"));
}

TEST(AnnounceSocketPathTest, LivesBesideTheSingleInstanceLock) {
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/77");
        EXPECT_EQ(AnnounceSocketPath("ZEVA"), "/run/user/77/ZEVA");
    }
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/77/");
        EXPECT_EQ(AnnounceSocketPath("ZEVA"), "/run/user/77/ZEVA");
    }
    ScopedEnv tmp("TMPDIR", "/tmp");
    const std::string expected = "/tmp/ZEVA-" + std::to_string(getuid());
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(AnnounceSocketPath("ZEVA"), expected);
    }
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "");
        EXPECT_EQ(AnnounceSocketPath("ZEVA"), expected);
    }
}

TEST(AnnounceSocketPathTest, NamesThatCouldLeaveTheFolderGiveNoPath) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/77");
    for (const char* name : {"", ".", "..", "../ZEVA", "a/b", "a\\b", "c:", "ZEVA.EXE", "A\nB"})
        EXPECT_EQ(AnnounceSocketPath(name), std::nullopt) << name;
    EXPECT_EQ(AnnounceSocketPath(std::string("ZE\0VA", 5)), std::nullopt);
    // A socket address holds 107 bytes of path.
    const std::string room(107 - std::string("/run/user/77/").size(), 'Z');
    EXPECT_TRUE(AnnounceSocketPath(room));
    EXPECT_FALSE(AnnounceSocketPath(room + "Z"));
}
