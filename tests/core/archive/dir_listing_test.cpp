#include "core/archive/dir_listing.h"

#include "core/archive/date_time_printer.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {
namespace {

using testing_support::LocalTime;
using testing_support::MakeDirs;
using testing_support::TempDir;
using testing_support::WriteFile;

struct Seen {
    std::string diskName;
    int32_t size;
    int32_t time;
};

std::map<std::string, Seen> ListAll(const std::string& folder, FolderListing* listing = nullptr) {
    std::map<std::string, Seen> seen;
    FolderListing result = ListMessageFiles(folder, [&](const FoundFile& f) {
        seen[std::string(f.name)] = {std::string(f.diskName), f.size, f.time};
    });
    if (listing) *listing = result;
    return seen;
}

TEST(DirListing, ListsRegularVisibleFilesWithUpperCasedNames) {
    TempDir dir;
    WriteFile(dir / "A1234567.TXT", "hello", LocalTime(2003, 12, 25, 14, 5, 37));
    WriteFile(dir / "lower.txt", "");
    WriteFile(dir / "\xEF\xF0\xE8.txt", "1251 name");
    WriteFile(dir / ".hidden.txt", "x");
    WriteFile(dir / "back\\slash.txt", "x");
    WriteFile(dir / "comma,name.txt", "x");
    WriteFile(dir / "line\nend.txt", "x");
    MakeDirs(dir / "SUB.TXT");
    ASSERT_EQ(symlink((dir / "A1234567.TXT").c_str(), (dir / "LINK.TXT").c_str()), 0);
    ASSERT_EQ(symlink((dir / "nowhere").c_str(), (dir / "DANGLING.TXT").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "PIPE.TXT").c_str(), 0600), 0);

    FolderListing listing;
    auto seen = ListAll(dir.path(), &listing);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.at("A1234567.TXT").diskName, "A1234567.TXT");
    EXPECT_EQ(seen.at("A1234567.TXT").size, 5);
    EXPECT_EQ(UnpackDosTime(seen.at("A1234567.TXT").time), (DateTime{2003, 12, 25, 14, 5, 36}));
    EXPECT_EQ(seen.at("LOWER.TXT").diskName, "lower.txt");
    // Only Latin letters change case.
    EXPECT_EQ(seen.at("\xEF\xF0\xE8.TXT").diskName, "\xEF\xF0\xE8.txt");

    EXPECT_TRUE(listing.opened);
    EXPECT_FALSE(listing.stopped);
    EXPECT_EQ(listing.files, 3);
    EXPECT_EQ(listing.entries, 11);
    EXPECT_FALSE(listing.IsEmpty());
}

TEST(DirListing, ClampsSizeAndTime) {
    TempDir dir;
    WriteFile(dir / "OLD.TXT", "x", LocalTime(1970, 1, 2));
    WriteFile(dir / "FUTURE.TXT", "x", LocalTime(2200, 1, 1));
    WriteFile(dir / "HUGE.DAT", "");
    ASSERT_EQ(truncate((dir / "HUGE.DAT").c_str(), 3LL * 1024 * 1024 * 1024), 0);

    auto seen = ListAll(dir.path());
    EXPECT_EQ(UnpackDosTime(seen.at("OLD.TXT").time), (DateTime{1980, 1, 1, 0, 0, 0}));
    EXPECT_EQ(UnpackDosTime(seen.at("FUTURE.TXT").time), (DateTime{2107, 12, 31, 23, 59, 58}));
    EXPECT_EQ(seen.at("HUGE.DAT").size, INT32_MAX);
}

TEST(DirListing, TellsAnEmptyFolderFromOneThatCouldNotBeOpened) {
    TempDir dir;
    MakeDirs(dir / "empty");
    MakeDirs(dir / "hidden_only");
    WriteFile(dir / "hidden_only/.x", "");
    MakeDirs(dir / "folder_only/inner");
    MakeDirs(dir / "real");
    ASSERT_EQ(symlink((dir / "real").c_str(), (dir / "link").c_str()), 0);
    WriteFile(dir / "file", "");

    FolderListing listing;
    ListAll(dir / "empty", &listing);
    EXPECT_TRUE(listing.opened);
    EXPECT_TRUE(listing.IsEmpty());

    ListAll(dir / "empty/", &listing);
    EXPECT_TRUE(listing.IsEmpty());

    for (const char* notEmpty : {"hidden_only", "folder_only"}) {
        ListAll(dir / notEmpty, &listing);
        EXPECT_TRUE(listing.opened) << notEmpty;
        EXPECT_EQ(listing.files, 0) << notEmpty;
        EXPECT_FALSE(listing.IsEmpty()) << notEmpty;
    }

    // A link is not followed even with a trailing "/".
    for (const char* unopened : {"missing", "link", "link/", "file"}) {
        ListAll(dir / unopened, &listing);
        EXPECT_FALSE(listing.opened) << unopened;
        EXPECT_FALSE(listing.IsEmpty()) << unopened;
    }
}

TEST(DirListing, VisitorCanStopTheListing) {
    TempDir dir;
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) WriteFile(dir / name, "x");
    int calls = 0;
    FolderListing listing = ListMessageFiles(dir.path(), [&](const FoundFile&) {
        ++calls;
        return false;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(listing.stopped);
    EXPECT_FALSE(listing.IsEmpty());
}

TEST(DirListing, FilesDeletedDuringTheListingAreSkipped) {
    TempDir dir;
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) WriteFile(dir / name, "x");
    std::vector<std::string> seen;
    FolderListing listing = ListMessageFiles(dir.path(), [&](const FoundFile& f) {
        if (seen.empty()) {
            for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"})
                if (f.diskName != name) std::remove((dir / name).c_str());
        }
        seen.emplace_back(f.diskName);
    });
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(listing.files, 1);
}

TEST(DirListing, FolderRemovedDuringTheListingEndsIt) {
    TempDir dir;
    std::string day = dir / "03_12_25";
    for (int i = 0; i < 200; ++i) WriteFile(day + "/F" + std::to_string(i) + ".TXT", "x");
    int calls = 0;
    FolderListing listing = ListMessageFiles(day, [&](const FoundFile&) {
        if (calls++ == 0) {
            for (int i = 0; i < 200; ++i)
                std::remove((day + "/F" + std::to_string(i) + ".TXT").c_str());
            rmdir(day.c_str());
        }
    });
    EXPECT_TRUE(listing.opened);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace varnot
