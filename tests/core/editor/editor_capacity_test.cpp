#include "core/editor/editor_capacity.h"

#include <gtest/gtest.h>

using namespace varnot;

namespace {

// An editor text of `lines` lines, each "x" and its break: 3 characters a line.
TEditorSize Lines(std::size_t lines) {
    return {lines * 3, lines, false};
}

// A message of `bodyLines` lines as appended: date line, body, empty line.
TEditorSize Message(std::size_t bodyLines, std::size_t bodyCharacters = 0) {
    std::vector<std::string> lines{"10:05  25.12.2003"};
    for (std::size_t i = 0; i < bodyLines; ++i)
        lines.emplace_back(i == 0 ? bodyCharacters : 0, 'm');
    lines.emplace_back();
    return AppendedSizeOf(lines);
}

} // namespace

TEST(EditorCapacityTest, TextSizeCountsLineBreaksAsTwoCharacters) {
    EXPECT_EQ(EditorSizeOf(u""), (TEditorSize{0, 0, false}));
    EXPECT_EQ(EditorSizeOf(u"ab\ncd"), (TEditorSize{6, 2, true}));
    EXPECT_EQ(EditorSizeOf(u"ab\n\n"), (TEditorSize{6, 2, false}));
    // Date line (17) + CR LF, "abc" + CR LF, the empty line's CR LF.
    EXPECT_EQ(Message(1, 3), (TEditorSize{17 + 2 + 3 + 2 + 2, 3, false}));
}

TEST(EditorCapacityTest, LineLimit) {
    // 500 + 9 + 2 = 511 lines fit, 500 + 10 + 2 = 512 do not.
    EXPECT_TRUE(AdditionFits(Lines(500), Message(9)));
    EXPECT_FALSE(AdditionFits(Lines(500), Message(10)));
}

TEST(EditorCapacityTest, CharacterLimit) {
    const TEditorSize text{31000, 10, false};
    // The message takes 17 + 2 + n + 2 + 2 = n + 23 characters.
    EXPECT_TRUE(AdditionFits(text, Message(1, 976)));  // 31999
    EXPECT_FALSE(AdditionFits(text, Message(1, 977))); // 32000
    // An unfinished last line gets its line break first.
    EXPECT_FALSE(AdditionFits({31000, 10, true}, Message(1, 975)));

    EXPECT_TRUE(FitsInEditor(EditorSizeOf(std::u16string(31999, u'a'))));
    EXPECT_FALSE(FitsInEditor(EditorSizeOf(std::u16string(32000, u'a'))));
    EXPECT_FALSE(FitsInEditor(Lines(512)));
}
