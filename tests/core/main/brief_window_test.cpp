#include "core/main/brief_window.h"

#include <gtest/gtest.h>
#include <vector>

using namespace varnot;

namespace {

TEST(BriefWindowTest, OneScreenAboveAndOneBelowTheVisibleRows) {
    const BriefWindow middle = BriefWindowFor(1000, 20, 2000);
    EXPECT_EQ(middle.first, 980);
    EXPECT_EQ(middle.last, 1040);
    const BriefWindow top = BriefWindowFor(5, 20, 2000);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.last, 45);
    const BriefWindow bottom = BriefWindowFor(1990, 20, 2000);
    EXPECT_EQ(bottom.last, 1999);
    EXPECT_EQ(BriefWindowFor(0, 20, 0).last, -1);
}

TEST(BriefWindowTest, MovingLoadsTheNewWindowAndFreesTheRest) {
    std::vector<int> loaded, freed;
    MoveBriefWindow(
        {0, 10}, {8, 14}, [&](int row) { loaded.push_back(row); },
        [&](int row) { freed.push_back(row); });
    EXPECT_EQ(loaded, (std::vector<int>{8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(freed, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    // A jump far away frees everything in between: nothing stays loaded outside.
    loaded.clear();
    freed.clear();
    MoveBriefWindow(
        {100, 110}, {0, 5}, [&](int row) { loaded.push_back(row); },
        [&](int row) { freed.push_back(row); });
    EXPECT_EQ(loaded.size(), 6u);
    EXPECT_EQ(freed.size(), 105u);
    EXPECT_EQ(freed.back(), 110);
}

} // namespace
