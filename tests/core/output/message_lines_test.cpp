#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/dos_time.h"
#include "core/output/message_lines.h"
#include "support/temp_dir.h"

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> AllLines(const std::string& path, bool inDos) {
    TMessageLines lines(path, inDos);
    std::vector<std::string> all;
    for (std::string line; lines.Next(line);) all.push_back(line);
    return all;
}

TEST(MessageLinesTest, LineEndsNulAndDosText) {
    TempDir dir;
    WriteFile(dir / "a.txt", std::string("one\r\ntwo\rthree\n\nfour\0five\r\nsix", 31),
              testing_support::LocalTime(2003, 12, 25, 10, 5));
    EXPECT_EQ(AllLines(dir / "a.txt", false),
              (std::vector<std::string>{"one", "two", "three", "", "four"}));
    EXPECT_EQ(FormatDosTime(TMessageLines(dir / "a.txt", false).Time(), "hh:nn dd.mm.yyyy"),
              "10:05 25.12.2003");

    WriteFile(dir / "b.txt", "\x8F\xA0\xE0\r\n");
    EXPECT_EQ(AllLines(dir / "b.txt", true), (std::vector<std::string>{"\xCF\xE0\xF0"}));
    EXPECT_FALSE(TMessageLines(dir / "gone.txt", false).IsOpen());
}

} // namespace
} // namespace varnot
