#include "core/main/arrival_burst.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(ArrivalBurst, CountsEachMessageOnceAndKeepsTheNewest) {
    TArrivalBurst burst;
    EXPECT_EQ(burst.Add({{"D\\B.TXT", "D\\A.TXT"}, 200, "b notice"}), 2);
    EXPECT_EQ(burst.Add({{"D\\B.TXT"}, 200, "b again"}), 0); // announced twice
    EXPECT_EQ(burst.Add({{"D\\OLD.TXT"}, 100, "old"}), 1);   // older: not the newest
    EXPECT_EQ(burst.Count(), 3);
    EXPECT_EQ(burst.NewestName(), "D\\B.TXT");
    EXPECT_EQ(burst.NewestNotice(), "b again");
    // Equal times: the greater name stands first.
    burst.Add({{"D\\C.TXT"}, 200, "c"});
    EXPECT_EQ(burst.NewestName(), "D\\C.TXT");
    burst.Clear();
    EXPECT_TRUE(burst.Empty());
    burst.Add({{"D\\OLD.TXT"}, 100, "old"});
    EXPECT_EQ(burst.NewestName(), "D\\OLD.TXT");
}

} // namespace
} // namespace varnot
