#include "core/scan/look_at_thread.h"
#include "core/scan/read_ahead.h"
#include "scan_fixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace varnot {
namespace {

TEST(ReadAhead, AsksOnlyForFilesThePassWillReadAndStaysADepthAhead) {
    // Every third of 200 records will be read.
    constexpr int kCount = 200;
    auto willRead = [](int p) { return p % 3 == 0; };
    std::vector<int> asked;
    TReadAhead ahead(kCount, willRead, [&](int p) { asked.push_back(p); });

    ahead.Reached(0);
    ahead.Reached(3);
    EXPECT_TRUE(asked.empty()) << "nothing is asked for while the reads find their text in memory";

    ahead.Start();
    ASSERT_EQ(asked.size(), std::size_t{TReadAhead::kDepth});
    EXPECT_EQ(asked.front(), 6);
    for (std::size_t i = 1; i < asked.size(); ++i) EXPECT_EQ(asked[i], asked[i - 1] + 3);

    // Each record reached makes room for one more, in order, never twice.
    ahead.Reached(6);
    ahead.Reached(9);
    ASSERT_EQ(asked.size(), std::size_t{TReadAhead::kDepth} + 2);
    EXPECT_EQ(asked.back(), 6 + 3 * (TReadAhead::kDepth + 1));
    for (int p = 12; p < kCount; p += 3) ahead.Reached(p);
    EXPECT_EQ(asked.back(), 198);
    EXPECT_EQ(asked.size(), std::size_t{(198 - 6) / 3 + 1});
}

// Drops a file's pages from memory, as a night of other work would.
void Evict(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
}

TEST(ReadAhead, APassOverFilesNoLongerInMemoryMatchesAsOverCachedOnes) {
    testing_scan::ScanFixture f;
    std::vector<std::string> paths;
    for (int i = 0; i < 60; ++i)
        paths.push_back(f.Put("03_12_25", "M" + std::to_string(i) + ".TXT", 9, i,
                              i % 7 == 0 ? "quiet\r\nan alarm here\r\n" : "quiet\r\nnothing\r\n"));
    PassRequest request;
    request.options.root = f.archive.path();
    request.options.deleteAutomaticly = false;
    request.filter = CurrentFilter{{"*.*"}, {"ALARM"}};
    request.refilter = true;
    CList previous(100), spare(100);
    ViewBuffer buffer;
    const std::atomic<bool> stop{false};
    auto shownNames = [&] {
        std::vector<std::string> names;
        for (int p = 0; p < spare.Used; ++p)
            if (spare.RecordAt(p).Has(TFileInfo::Shown))
                names.emplace_back(spare.RecordAt(p).Name());
        return names;
    };

    for (const std::string& path : paths) Evict(path);
    EXPECT_EQ(RunPass(request, previous, spare, buffer, stop).filesRead, 60);
    const std::vector<std::string> cold = shownNames();
    EXPECT_EQ(cold.size(), 9u);
    RunPass(request, previous, spare, buffer, stop);
    EXPECT_EQ(shownNames(), cold);
}

} // namespace
} // namespace varnot
