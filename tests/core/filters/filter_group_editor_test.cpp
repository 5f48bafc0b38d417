#include "core/filters/filter_group_editor.h"

#include "core/app/ini_file.h"
#include "core/filters/filter_groups.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> Lines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("G" + std::to_string(i) + " *.* K" + std::to_string(i));
    return lines;
}

// The groups as the main window reads them back after OK.
std::vector<FilterGroup> SavedAndReadBack(const TFilterGroupEditor& editor,
                                          const std::string& file) {
    IniFile ini(file);
    editor.SaveGroups(ini);
    EXPECT_TRUE(ini.Save());
    return LoadFilterGroups(IniFile(file));
}

TEST(FilterGroupEditor, NewWhileTheThirdGroupIsChosenStaysChosenAfterOk) {
    TempDir dir;
    TFilterGroupEditor editor(Lines(4), 2); // the window filters with G2
    editor.Select(2);
    ASSERT_EQ(editor.Insert("Night"), TGroupEdit::Done);
    EXPECT_EQ(editor.Current(), 2);
    EXPECT_EQ(editor.Line(2), "Night *.*");

    const auto groups = SavedAndReadBack(editor, dir / "varnot.INI");
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(groups[2].name, "Night");
    EXPECT_EQ(groups[static_cast<std::size_t>(editor.SelectedGroup())].name, "G2");
}

TEST(FilterGroupEditor, ErasingTheChosenGroupFallsBackToAll) {
    TFilterGroupEditor editor(Lines(3), 1);
    editor.Select(1);
    ASSERT_EQ(editor.Erase(), TGroupEdit::Done);
    EXPECT_EQ(editor.SelectedGroup(), -1);
    EXPECT_EQ(editor.Current(), 0); // the group before it
    EXPECT_EQ(editor.Name(1), "G2");
}

TEST(FilterGroupEditor, TheWindowsGroupIsFollowedThroughEveryInsertAndErase) {
    enum class Op { Insert, Erase };
    for (Op op : {Op::Insert, Op::Erase}) {
        for (int chosen = -1; chosen < 4; ++chosen) {
            for (int at = 0; at < 4; ++at) {
                SCOPED_TRACE(testing::Message() << (op == Op::Insert ? "insert" : "erase") << " at "
                                                << at << ", chosen " << chosen);
                TFilterGroupEditor editor(Lines(4), chosen);
                const std::string before = editor.Line(chosen);
                editor.Select(at);
                ASSERT_EQ(op == Op::Insert ? editor.Insert("New") : editor.Erase(),
                          TGroupEdit::Done);
                if (op == Op::Erase && at == chosen) {
                    EXPECT_EQ(editor.SelectedGroup(), -1);
                } else if (chosen == -1) {
                    EXPECT_EQ(editor.SelectedGroup(), -1);
                } else {
                    EXPECT_EQ(editor.Line(editor.SelectedGroup()), before);
                }
            }
        }
    }
}

TEST(FilterGroupEditor, TheLineIsBuiltFromTheFieldsAsMatchingReadsIt) {
    TFilterGroupEditor editor({"News FOA*.TXT old"}, -1);
    // One keyword a line; blank lines are dropped, a pasted line with blanks
    // is read back as several keywords.
    EXPECT_TRUE(editor.StoreCurrent("foa*.txt;fsta*.txt", "alarm\r\n\nnight shift\n"));
    EXPECT_EQ(editor.Line(0), "News foa*.txt;fsta*.txt alarm night shift");
    const CurrentFilter filter = FilterOfLine(editor.Line(0));
    EXPECT_EQ(filter.masks, (std::vector<std::string>{"FOA*.TXT", "FSTA*.TXT"}));
    EXPECT_EQ(filter.keywords, (std::vector<std::string>{"ALARM", "NIGHT", "SHIFT"}));

    EXPECT_FALSE(editor.StoreCurrent("foa*.txt;fsta*.txt", "alarm\nnight shift"));
    EXPECT_TRUE(editor.StoreCurrent("", ""));
    EXPECT_EQ(editor.Line(0), "News *.*");
}

TEST(FilterGroupEditor, APastedMaskTextLosesTheIgnoredCharactersWhenStored) {
    TFilterGroupEditor editor({"News *.*"}, -1);
    EXPECT_TRUE(editor.StoreCurrent("FOA*.TXT; \"FSTA*.TXT\",'X!:Y\r\nZ*.TXT", "alarm"));
    EXPECT_EQ(editor.Line(0), "News FOA*.TXT;FSTA*.TXTXYZ*.TXT alarm");
    EXPECT_EQ(FilterOfLine(editor.Line(0)).keywords, (std::vector<std::string>{"ALARM"}));
    // Nothing but ignored characters leaves no masks: "*.*" is stored.
    EXPECT_TRUE(editor.StoreCurrent(" ! ", ""));
    EXPECT_EQ(editor.Line(0), "News *.*");
}

TEST(FilterGroupEditor, NamesAreOneWordForNewAndRename) {
    EXPECT_EQ(CheckGroupName(""), TNameFault::Empty);
    EXPECT_EQ(CheckGroupName("Night shift"), TNameFault::HasBlank);
    EXPECT_EQ(CheckGroupName("Night\nshift"), TNameFault::HasBlank);
    EXPECT_EQ(CheckGroupName("Night"), TNameFault::None);

    TFilterGroupEditor editor({"News FOA*.TXT alarm"}, 0);
    EXPECT_EQ(editor.Insert("Night shift"), TGroupEdit::BadName);
    EXPECT_EQ(editor.Insert(""), TGroupEdit::BadName);
    EXPECT_EQ(editor.Rename("Day shift"), TGroupEdit::BadName);
    EXPECT_EQ(editor.Count(), 1);
    EXPECT_EQ(editor.SelectedGroup(), 0);

    ASSERT_EQ(editor.Rename("Day"), TGroupEdit::Done);
    EXPECT_EQ(editor.Line(0), "Day FOA*.TXT alarm");
}

TEST(FilterGroupEditor, SixteenGroupsAtMostAndTheLastOneStays) {
    TempDir dir;
    TFilterGroupEditor editor(Lines(15), -1);
    EXPECT_EQ(editor.Insert("Last"), TGroupEdit::Done);
    EXPECT_FALSE(editor.CanAdd());
    EXPECT_EQ(editor.Insert("Lost"), TGroupEdit::Full);
    EXPECT_EQ(SavedAndReadBack(editor, dir / "varnot.INI").size(), 16u);

    TFilterGroupEditor one(Lines(1), -1);
    EXPECT_FALSE(one.CanErase());
    EXPECT_EQ(one.Erase(), TGroupEdit::LastGroup);
    EXPECT_EQ(one.Count(), 1);
}

TEST(FilterGroupEditor, AnEmptyOrMissingSectionStartsEmpty) {
    TempDir dir;
    const std::string file = dir / "varnot.INI";
    TFilterGroupEditor editor = TFilterGroupEditor::Load(IniFile(file), -1);
    EXPECT_EQ(editor.Count(), 0);
    EXPECT_EQ(editor.Current(), -1);
    EXPECT_FALSE(editor.StoreCurrent("A*.TXT", "word"));
    EXPECT_EQ(editor.Erase(), TGroupEdit::NoGroup);
    EXPECT_EQ(editor.Rename("X"), TGroupEdit::NoGroup);

    ASSERT_EQ(editor.Insert("First"), TGroupEdit::Done);
    SavedAndReadBack(editor, file);
    EXPECT_EQ(ReadFile(file), "[Filters]\r\n0=First *.*\r\n");
}

TEST(FilterGroupEditor, EditsReachTheFileOnlyThroughSaveGroupsWhichWritesInOrder) {
    TempDir dir;
    const std::string file = dir / "varnot.INI";
    const std::string before = "[main]\r\nFilterIndex=2\r\n[Filters]\r\n0=A *.*\r\n1=B *.*\r\n2=C "
                               "*.*\r\n17=never read\r\n";
    WriteFile(file, before);
    TFilterGroupEditor editor = TFilterGroupEditor::Load(IniFile(file), 1);
    editor.Select(0);
    editor.Erase();
    editor.Insert("N");
    editor.Rename("M");
    EXPECT_EQ(ReadFile(file), before); // what Cancel leaves

    SavedAndReadBack(editor, file);
    EXPECT_EQ(ReadFile(file), "[main]\r\nFilterIndex=2\r\n[Filters]\r\n0=M *.*\r\n1=B *.*\r\n"
                              "2=C *.*\r\n");
}

TEST(FilterGroupEditor, KeywordsPastThirteenAreShownAndReported) {
    std::string line = "G *.*";
    for (int i = 1; i <= 13; ++i) line += " K" + std::to_string(i);
    EXPECT_FALSE(HasUnreadKeywords(line));
    line += " K14";
    EXPECT_TRUE(HasUnreadKeywords(line));
    EXPECT_EQ(ShowGroup(line).keywords.size(), 14u);
    EXPECT_EQ(ShowGroup(line).masks, "*.*");
}

} // namespace
} // namespace varnot
