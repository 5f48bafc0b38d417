#include <gtest/gtest.h>

#include "core/archive/archive_tree.h"
#include "core/output/output_set.h"

namespace varnot {
namespace {

using archive_test::ArchiveTree;

// Records E (newest) .. A; D is filtered out, so rows 0..3 are E, C, B, A.
class OutputSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            const std::string name(1, static_cast<char>('a' + i));
            tree.Found(list, "03_12_25", name + ".txt", {2003, 12, 25, 10, i, 0});
        }
        list.SortRecords();
        for (int i = 0; i < list.Used; ++i)
            list.RecordAt(i).Flags = list.RecordAt(i).FileName() == "D.TXT" ? 0 : TFileInfo::Shown;
        list.BuildRows(-1);
    }

    std::vector<std::string> Names(const OutputSet& set) const {
        std::vector<std::string> names;
        for (int position : set.positions) names.emplace_back(list.RecordAt(position).FileName());
        return names;
    }

    ArchiveTree tree;
    CList list{10};
};

TEST_F(OutputSetTest, WithoutSelectionOnlyTheCurrentRow) {
    const OutputSet set = OutputSetOf(list, 2);
    EXPECT_FALSE(set.fromSelection);
    EXPECT_EQ(Names(set), (std::vector<std::string>{"B.TXT"}));
    EXPECT_EQ(OutputFiles(list, set, tree.options.root),
              (std::vector<std::string>{tree.PathOf("03_12_25", "b.txt")}));
    EXPECT_TRUE(OutputSetOf(list, 4).empty()); // no such row
}

TEST_F(OutputSetTest, SelectedShownRecordsInListOrderAndUnselecting) {
    list.ToggleRow(3);
    list.ToggleRow(0);
    list.RecordAt(1).Flags |= TFileInfo::Selected; // D: selected but filtered out
    const OutputSet set = OutputSetOf(list, 1);
    EXPECT_TRUE(set.fromSelection);
    EXPECT_EQ(Names(set), (std::vector<std::string>{"E.TXT", "A.TXT"}));

    UnselectOutput(list, set);
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.SelSize, 0);
    EXPECT_FALSE(list.RecordAt(0).Has(TFileInfo::Selected));
    EXPECT_TRUE(list.RecordAt(1).Has(TFileInfo::Selected));
}

TEST_F(OutputSetTest, NothingWhenNoRowIsShown) {
    list.ToggleRow(0);
    for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags &= ~TFileInfo::Shown;
    list.BuildRows(-1);
    EXPECT_TRUE(OutputSetOf(list, 0).empty());
}

} // namespace
} // namespace varnot
