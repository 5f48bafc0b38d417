#include "core/archive/safe_delete.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "core/archive/archive_tree.h"

namespace varnot {
namespace {

using archive_test::ArchiveTree;
namespace fs = std::filesystem;

const DateTime Noon{2003, 12, 25, 12, 0, 0};

TEST(SafeDelete, DeletesOnlyARegularFileOfARealDayFolder) {
    ArchiveTree tree;
    tree.Put("03_12_25", "A.TXT", Noon);
    EXPECT_TRUE(DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT").Deleted());
    EXPECT_FALSE(tree.Has("03_12_25", "A.TXT"));
    const DeleteResult gone = DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT");
    EXPECT_EQ(gone.outcome, DeleteOutcome::Missing);
    EXPECT_EQ(gone.error, ENOENT);

    tree.Put("03_12_25", "REAL.TXT", Noon);
    fs::create_symlink("REAL.TXT", tree.PathOf("03_12_25", "LINK.TXT"));
    fs::create_directory(tree.PathOf("03_12_25", "SUB.TXT"));
    ASSERT_EQ(::mkfifo(tree.PathOf("03_12_25", "PIPE.TXT").c_str(), 0600), 0);
    for (const char* name : {"LINK.TXT", "SUB.TXT", "PIPE.TXT"}) {
        EXPECT_EQ(DeleteArchiveFile(tree.options.root, "03_12_25", name).outcome,
                  DeleteOutcome::NotAFile)
            << name;
        EXPECT_TRUE(tree.Has("03_12_25", name)) << name;
    }
    for (const auto& [day, name] : {std::pair{"03_12_25", ".."},
                                    {"03_12_25", "../x"},
                                    {"..", "03_12_25"},
                                    {"03_12_25/..", "x"}})
        EXPECT_EQ(DeleteArchiveFile(tree.options.root, day, name).outcome, DeleteOutcome::Refused);
    EXPECT_TRUE(tree.Has("03_12_25", "REAL.TXT"));
}

TEST(SafeDelete, ADayFolderSwappedForALinkIsNeverReachedThrough) {
    ArchiveTree tree;
    tree.Put("03_12_25", "A.TXT", Noon);
    const std::string away = tree.dir / "away";
    fs::rename(tree.options.root + "03_12_25", away);
    fs::create_directory_symlink(away, tree.options.root + "03_12_25");

    const DeleteResult result = DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT");
    EXPECT_EQ(result.outcome, DeleteOutcome::NotAFile);
    EXPECT_NE(result.error, 0);
    EXPECT_TRUE(testing_support::Exists(away + "/A.TXT"));

    // Emptied behind the link, it is still not removed through it.
    fs::remove(away + "/A.TXT");
    EXPECT_EQ(RemoveEmptyDayFolder(tree.options.root, "03_12_25").outcome, DeleteOutcome::NotAFile);
    EXPECT_TRUE(fs::is_symlink(tree.options.root + "03_12_25"));
    EXPECT_TRUE(fs::is_directory(away));
}

TEST(SafeDelete, AFileWrittenAgainSinceItWasListedStays) {
    ArchiveTree tree;
    const std::int32_t time = tree.Put("03_12_25", "A.TXT", Noon, "12345");
    const DateTime later{2003, 12, 25, 13, 0, 0};
    EXPECT_EQ(
        DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT", ListedFile{time, 6}).outcome,
        DeleteOutcome::Changed);
    tree.Put("03_12_25", "A.TXT", later, "12345");
    EXPECT_EQ(
        DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT", ListedFile{time, 5}).outcome,
        DeleteOutcome::Changed);
    EXPECT_TRUE(tree.Has("03_12_25", "A.TXT"));
    EXPECT_TRUE(DeleteArchiveFile(tree.options.root, "03_12_25", "A.TXT",
                                  ListedFile{archive_test::Dos(2003, 12, 25, 13), 5})
                    .Deleted());
}

TEST(SafeDelete, OnlyEmptyRealDayFoldersAreRemoved) {
    ArchiveTree tree;
    fs::create_directory(tree.options.root + "03_12_24");
    tree.Put("03_12_25", "A.TXT", Noon);
    EXPECT_TRUE(RemoveEmptyDayFolder(tree.options.root, "03_12_24").Deleted());
    EXPECT_FALSE(fs::exists(tree.options.root + "03_12_24"));
    EXPECT_EQ(RemoveEmptyDayFolder(tree.options.root, "03_12_25").outcome, DeleteOutcome::Failed);
    EXPECT_TRUE(tree.Has("03_12_25", "A.TXT"));
    EXPECT_EQ(RemoveEmptyDayFolder(tree.options.root, "..").outcome, DeleteOutcome::Refused);
}

} // namespace
} // namespace varnot
