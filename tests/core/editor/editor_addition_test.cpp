#include "core/editor/editor_addition.h"

#include "core/text/code_pages.h"
#include "core/archive/dos_time.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class EditorAdditionTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir / "a.txt";
    std::int32_t time = PackDosTime({2003, 12, 5, 9, 7, 0});
};

} // namespace

TEST_F(EditorAdditionTest, DateLineMessageLinesAndAnEmptyLine) {
    EXPECT_EQ(EditorDateLine(time), "09:07  05.12.2003");
    // 866 bytes "Пар" become 1251; the text ends at its first NUL.
    constexpr char bytes[] = "one\r\n\x8F\xA0\xE0\rthree\n\n\0hidden";
    WriteFile(path, std::string(bytes, sizeof bytes - 1));
    ArchiveOptions options;
    options.inDos = true;
    const TEditorAddition addition = ComposeEditorAddition(path, time, options);
    ASSERT_TRUE(addition.read);
    EXPECT_EQ(addition.lines, (std::vector<std::string>{"09:07  05.12.2003", "one", "\xCF\xE0\xF0",
                                                        "three", "", ""}));
    EXPECT_EQ(addition.size, AppendedSizeOf(addition.lines));
}

TEST_F(EditorAdditionTest, SectionedFilesGiveTheirBodyOnly) {
    WriteFile(path, "[head]\r\nhead=Brief\r\n[body]\r\nfirst\r\nsecond\r\n[end]\r\nx\r\n");
    ArchiveOptions options;
    options.inZev = true;
    EXPECT_EQ(ComposeEditorAddition(path, time, options).lines,
              (std::vector<std::string>{"09:07  05.12.2003", "first", "second", ""}));
}

TEST_F(EditorAdditionTest, AnUnreadableFileIsReported) {
    const TEditorAddition addition = ComposeEditorAddition(dir / "missing.txt", time, {});
    EXPECT_FALSE(addition.read);
    EXPECT_EQ(addition.error, ENOENT);
    EXPECT_TRUE(addition.lines.empty());
}
