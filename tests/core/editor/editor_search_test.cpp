#include "core/editor/editor_search.h"

#include "core/text/code_pages.h"

#include <gtest/gtest.h>

using namespace varnot;

TEST(EditorSearchTest, PositionsAreThoseOfTheTextControl) {
    // A character beyond the plane takes two positions, as in the control.
    const std::u16string text = u"\U0001F600 Привет\nпривет";
    const SearchFlags down{false, false, SearchDirection::Down};
    const std::string key = Utf8ToCp1251("ПРИВЕТ");
    EXPECT_EQ(SearchEditorText(text, 0, 0, key, down), 3u);
    EXPECT_EQ(SearchEditorText(text, 3, 6, key, down), 10u);
    EXPECT_EQ(SearchEditorText(text, 10, 6, key, {false, true, SearchDirection::Up}), std::nullopt);
}
