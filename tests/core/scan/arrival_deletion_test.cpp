// Announced files on a full list with automatic deletion on: the rule of
// ordered insertion decides which file leaves the disk.
#include "core/archive/day_folders.h"
#include "scan_fixture.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

using testing_scan::ScanFixture;
using testing_support::Exists;

// Three messages of today at 8:00, 9:00 and 10:00 fill a list of three.
class ArrivalDeletionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.control->Options.deleteAutomaticly = true;
        for (int hour : {8, 9, 10}) f.Put(today, "H" + std::to_string(hour) + ".TXT", hour, 0);
        f.Pass();
        ASSERT_EQ(f.Names(), Listed({"H10", "H9", "H8"}));
    }

    std::vector<std::string> Listed(std::initializer_list<const char*> names) const {
        std::vector<std::string> result;
        for (const char* name : names) result.push_back(today + "\\" + name + ".TXT");
        return result;
    }
    bool OnDisk(const std::string& name) const { return Exists(f.archive / (today + "/" + name)); }

    ScanFixture f{3};
    std::string today = TodayFolderName();
};

TEST_F(ArrivalDeletionTest, ANewerArrivalDeletesTheOldestKeptFile) {
    f.Put(today, "H11.TXT", 11, 0);
    f.control->AddArrivedFile("H11.TXT");
    EXPECT_EQ(f.Names(), Listed({"H11", "H10", "H9"}));
    EXPECT_FALSE(OnDisk("H8.TXT"));
    EXPECT_TRUE(OnDisk("H9.TXT"));
    EXPECT_TRUE(OnDisk("H11.TXT"));

    // A name that cannot be an archive name is no message: nothing moves.
    f.Put(today, "X,Y.TXT", 12, 0);
    f.control->AddArrivedFile("X,Y.TXT");
    EXPECT_EQ(f.Names(), Listed({"H11", "H10", "H9"}));
    EXPECT_TRUE(OnDisk("H9.TXT"));
    EXPECT_TRUE(OnDisk("X,Y.TXT"));
}

TEST_F(ArrivalDeletionTest, AnArrivalOlderThanEverythingKeptIsDeletedOneAsOldIsTaken) {
    f.Put(today, "EARLY.TXT", 7, 59);
    f.control->AddArrivedFile("EARLY.TXT");
    EXPECT_EQ(f.Names(), Listed({"H10", "H9", "H8"}));
    EXPECT_FALSE(OnDisk("EARLY.TXT"));
    EXPECT_TRUE(OnDisk("H8.TXT"));

    // The same time as the oldest kept message: taken, and the oldest goes.
    f.Put(today, "SAME.TXT", 8, 0);
    f.control->AddArrivedFile("SAME.TXT");
    EXPECT_EQ(f.Names(), Listed({"H10", "H9", "SAME"}));
    EXPECT_FALSE(OnDisk("H8.TXT"));
    EXPECT_TRUE(OnDisk("SAME.TXT"));
}

} // namespace
} // namespace varnot
