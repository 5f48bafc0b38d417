#include "core/main/search_walk.h"

#include "core/archive/message_text.h"
#include "core/text/code_pages.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string W(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

constexpr SearchFlags kWholeWordDown{true, true, SearchDirection::Down};

struct MessageCase {
    const char* what;
    std::string bytes; // the file; empty name below means no file at all
    std::string key;
    SearchFlags flags;
    ArchiveOptions options;
    MessageSearchOutcome outcome;
    std::size_t offset;
};

ArchiveOptions Options(bool inDos, bool inZev) {
    ArchiveOptions o;
    o.inDos = inDos;
    o.inZev = inZev;
    return o;
}

TEST(MessageSearchTest, HitsOffsetsAndMisses) {
    using enum MessageSearchOutcome;
    const std::string zev = W("[head]\r\nhead=МИР\r\n[body]\r\nline МИР\r\n");
    const MessageCase cases[] = {
        // The offset counts in the text on display, where CR LF is one LF.
        {"hit after a line break", W("Hello\r\nМИР test"), W("МИР"), kWholeWordDown, {}, Hit, 6},
        {"first word of the message", W("МИР\r\n"), W("МИР"), kWholeWordDown, {}, Hit, 0},
        {"upward finds the last",
         W("МИР x МИР"),
         W("МИР"),
         SearchFlags{true, true, SearchDirection::Up},
         {},
         Hit,
         6},
        {"only inside a longer word", W("МИРА"), W("МИР"), kWholeWordDown, {}, NoHit, 0},
        {"not there at all", "nothing", W("МИР"), kWholeWordDown, {}, NoHit, 0},
        {"866 text with InDOS", "\x8F\xA0\xE0", W("Пар"), kWholeWordDown, Options(true, false), Hit,
         0},
        {"866 text without InDOS", "\x8F\xA0\xE0", W("Пар"), kWholeWordDown, {}, NoHit, 0},
        {"InZEV: offset in the body", zev, W("МИР"), kWholeWordDown, Options(false, true), Hit, 5},
        {"InZEV: the head is not shown", zev, "head", kWholeWordDown, Options(false, true), NoHit,
         0},
    };
    TempDir dir;
    ViewBuffer buffer;
    for (const MessageCase& c : cases) {
        WriteFile(dir / "A.TXT", c.bytes);
        const MessageSearchResult result =
            MessageSearch(c.key, c.flags, c.options).Search(dir / "A.TXT", buffer);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(result.offset, c.offset) << c.what;
    }
}

TEST(MessageSearchTest, UnreadableFilesAreSkipped) {
    TempDir dir;
    ViewBuffer buffer;
    const MessageSearch search(W("МИР"), kWholeWordDown, {});
    EXPECT_EQ(search.Search(dir / "GONE.TXT", buffer).outcome, MessageSearchOutcome::Skip);
    testing_support::MakeDirs(dir / "DIR.TXT");
    EXPECT_EQ(search.Search(dir / "DIR.TXT", buffer).outcome, MessageSearchOutcome::Skip);
    // The superuser reads any file.
    if (::geteuid() != 0) {
        WriteFile(dir / "LOCKED.TXT", W("МИР"));
        ::chmod((dir / "LOCKED.TXT").c_str(), 0);
        EXPECT_EQ(search.Search(dir / "LOCKED.TXT", buffer).outcome, MessageSearchOutcome::Skip);
    }
}

class SearchWalkTest : public ::testing::Test {
  protected:
    // Rows 0..count-1, one file each; the text only at `hitRow`.
    void MakeRows(int count, int hitRow) {
        for (int row = 0; row < count; ++row) {
            paths.push_back(dir / ("M" + std::to_string(row) + ".TXT"));
            WriteFile(paths.back(), row == hitRow ? W("новости: МИР") : "other text");
        }
    }
    std::function<std::string(int)> PathOfRow() {
        return [this](int row) {
            return row >= 0 && row < static_cast<int>(paths.size()) ? paths[row] : std::string();
        };
    }

    TempDir dir;
    ViewBuffer buffer;
    std::vector<std::string> paths;
    MessageSearch search{W("МИР"), kWholeWordDown, {}};
    MessageSearch searchUp{W("МИР"), SearchFlags{true, true, SearchDirection::Up}, {}};
};

TEST_F(SearchWalkTest, TenMessagesPerTickUntilTheHit) {
    MakeRows(20, 12);
    SearchWalk walk(0, 20, SearchDirection::Down);
    EXPECT_EQ(walk.Tick(search, PathOfRow(), buffer), SearchWalk::Outcome::Continue);
    EXPECT_EQ(walk.Row(), 10);
    EXPECT_EQ(walk.Tick(search, PathOfRow(), buffer), SearchWalk::Outcome::Hit);
    EXPECT_EQ(walk.Row(), 12);
    EXPECT_EQ(walk.Offset(), 9u);

    SearchWalk upward(19, 20, SearchDirection::Up);
    EXPECT_EQ(upward.Tick(searchUp, PathOfRow(), buffer), SearchWalk::Outcome::Hit);
    EXPECT_EQ(upward.Row(), 12);
}

TEST_F(SearchWalkTest, EndsAtTheFirstOrLastRowWithoutWrapping) {
    MakeRows(5, 0);
    SearchWalk fromLast(4, 5, SearchDirection::Down);
    EXPECT_EQ(fromLast.Tick(search, PathOfRow(), buffer), SearchWalk::Outcome::NotFound);
    EXPECT_EQ(fromLast.Row(), 4);
    SearchWalk fromFirst(0, 5, SearchDirection::Up);
    EXPECT_EQ(fromFirst.Tick(searchUp, PathOfRow(), buffer), SearchWalk::Outcome::NotFound);
    SearchWalk emptyList(-1, 0, SearchDirection::Down);
    EXPECT_EQ(emptyList.Tick(search, PathOfRow(), buffer), SearchWalk::Outcome::NotFound);
}

TEST_F(SearchWalkTest, DeletedFilesArePassedOver) {
    MakeRows(6, 5);
    std::remove(paths[2].c_str());
    SearchWalk walk(0, 6, SearchDirection::Down);
    EXPECT_EQ(walk.Tick(search, PathOfRow(), buffer), SearchWalk::Outcome::Hit);
    EXPECT_EQ(walk.Row(), 5);
    EXPECT_EQ(walk.Skipped(), 1);
}

} // namespace
