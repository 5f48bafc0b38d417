#include "core/archive/file_info.h"
#include "core/archive/message_text.h"
#include "core/filters/text_filter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace varnot {
namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

struct TextFilterTest : ::testing::Test {
    TempDir dir;
    ArchiveOptions options;
    ViewBuffer buffer;

    TextFilterTest() { options.root = dir.path(); }

    TFileInfo Record(const std::string& diskName, const std::string& text) {
        WriteFile(dir / ("03_12_25/" + diskName), text);
        TFileInfo r;
        EXPECT_TRUE(r.SetName("03_12_25\\", diskName));
        return r;
    }
};

TEST_F(TextFilterTest, MaskAndKeywordBothDecide) {
    CurrentFilter filter{{"FOA*.TXT"}, {"ALARM"}};
    TTextFilter match(filter, options, buffer);
    EXPECT_TRUE(match.Match(Record("foa1.txt", "a fire Alarm here")));
    EXPECT_FALSE(match.Match(Record("FOA2.TXT", "quiet day")));
    EXPECT_FALSE(match.Match(Record("FSTA1.TXT", "alarm")));
    // Beyond the first 32767 bytes a keyword is not seen.
    EXPECT_FALSE(match.Match(Record("FOA3.TXT", std::string(32767, '.') + "ALARM")));
    EXPECT_TRUE(match.Match(Record("FOA4.TXT", std::string(32762, '.') + "ALARM")));
}

TEST_F(TextFilterTest, NoKeywordsReadsNothing) {
    CurrentFilter filter{{"X*.*", "*.TXT"}, {}};
    TTextFilter match(filter, options, buffer);
    EXPECT_TRUE(match.Match(Record("A.TXT", "")));
    EXPECT_FALSE(match.Match(Record("A.DAT", "")));
    EXPECT_EQ(match.FilesRead(), 0);
}

TEST_F(TextFilterTest, AFileThatCannotBeReadDoesNotPassAKeywordFilter) {
    CurrentFilter filter{{"*.*"}, {"ALARM"}};
    TTextFilter match(filter, options, buffer);
    TFileInfo gone;
    ASSERT_TRUE(gone.SetName("03_12_25\\", "GONE.TXT"));
    EXPECT_FALSE(match.Match(gone));
    // A FIFO with the right name is never opened for reading (that would block).
    testing_support::MakeDirs(dir / "03_12_25");
    ASSERT_EQ(mkfifo((dir / "03_12_25/PIPE.TXT").c_str(), 0600), 0);
    TFileInfo pipe;
    ASSERT_TRUE(pipe.SetName("03_12_25\\", "PIPE.TXT"));
    EXPECT_FALSE(match.Match(pipe));
}

} // namespace
} // namespace varnot
