#include "gui/editor/editor_host.h"

#include "core/app/ini_file.h"
#include "core/archive/archive_tree.h"
#include "core/archive/c_list.h"
#include "gui/editor/editor_test_support.h"

#include <QTest>

using namespace varnot;
using archive_test::ArchiveTree;
using testing_support::EditorFixture;
using testing_support::ReadFile;

namespace {

class EditorHostTest : public EditorFixture {
  protected:
    // Messages a (newest), b, c of 25.12.2003 10:05, 10:04, 10:03, all shown.
    void Messages(const std::string& a, const std::string& b, const std::string& c) {
        tree.Found(list, "03_12_25", "a.txt", {2003, 12, 25, 10, 5, 0}, a);
        tree.Found(list, "03_12_25", "b.txt", {2003, 12, 25, 10, 4, 0}, b);
        tree.Found(list, "03_12_25", "c.txt", {2003, 12, 25, 10, 3, 0}, c);
        list.SortRecords();
        for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = TFileInfo::Shown;
        list.BuildRows(-1);
    }

    ArchiveTree tree;
    CList list{10};
};

TEST_F(EditorHostTest, SelectedMessagesAreAppendedUntilOneDoesNotFit) {
    Messages("first\r\n", std::string(31990, 'b'), "third\r\n");
    list.SelectAll();
    host->AddToEditor(list, 0, tree.options, true);
    ASSERT_TRUE(host->EditorOpen());
    EXPECT_EQ(Memo().toPlainText(), "10:05  25.12.2003\nfirst\n\n");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Editor is fulled");
    EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Error);
    EXPECT_TRUE(Editor().isVisible());
    EXPECT_EQ(list.SelCount, 3); // the selection stays
    // Word wrap follows the view only for sectioned messages.
    EXPECT_EQ(Memo().lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(EditorHostTest, WithoutSelectionTheCurrentRowAndOnlyBodiesOfSectionedMessages) {
    Messages("[body]\r\nA\r\n", "[head]\r\nhead=B\r\n[body]\r\nbody of b\r\n[end]\r\nx\r\n",
             "[body]\r\nC\r\n");
    tree.options.inZev = true;
    host->AddToEditor(list, 1, tree.options, true);
    host->AddToEditor(list, 2, tree.options, true);
    EXPECT_EQ(Memo().toPlainText(), "10:04  25.12.2003\nbody of b\n\n10:03  25.12.2003\nC\n\n");
    EXPECT_EQ(Memo().lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(EditorHostTest, ClosingAsksAboutAChangedTextAndReopeningStartsEmptyInPlace) {
    Editor().move(30, 40);
    Editor().resize(300, 150);
    QTest::keyClicks(&Memo(), "typed");

    dialogs.messageAnswers = {TMsgResult::Cancel};
    Editor().close();
    ASSERT_TRUE(host->EditorOpen());
    EXPECT_EQ(dialogs.questions[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Memo().toPlainText(), "typed");

    // Yes asks for a name; cancelling that keeps the editor open too.
    dialogs.messageAnswers = {TMsgResult::Yes, TMsgResult::Yes};
    dialogs.fileAnswers = {QString()};
    Editor().close();
    ASSERT_TRUE(host->EditorOpen());
    dialogs.fileAnswers = {QString::fromStdString(dir / "kept.txt")};
    Editor().close();
    EXPECT_FALSE(host->EditorOpen());
    EXPECT_EQ(ReadFile(dir / "kept.txt"), "typed\r\n");
    const IniFile ini(dir / "varnot.INI");
    EXPECT_EQ(ini.ReadString("Editor", "X", ""), "30");
    EXPECT_EQ(ini.ReadString("Editor", "H", ""), "150");

    EXPECT_TRUE(Memo().toPlainText().isEmpty());
    EXPECT_EQ(Editor().pos(), QPoint(30, 40));
    EXPECT_EQ(Editor().size(), QSize(300, 150));

    // No lets the text go; an unchanged text is closed without a question.
    QTest::keyClicks(&Memo(), "gone");
    dialogs.messageAnswers = {TMsgResult::No};
    Editor().close();
    EXPECT_FALSE(host->EditorOpen());
    Editor().close();
    EXPECT_FALSE(host->EditorOpen());
    EXPECT_EQ(dialogs.questions.size(), 6u);
    EXPECT_EQ(dialogs.unanswered, 0);
}

TEST_F(EditorHostTest, TheProgramEndingAsksUnlessASignalEndsIt) {
    EXPECT_TRUE(host->CloseForShutdown(true)); // no editor
    QTest::keyClicks(&Memo(), "text");
    Editor().move(50, 60);
    dialogs.messageAnswers = {TMsgResult::Cancel};
    EXPECT_FALSE(host->CloseForShutdown(true));
    EXPECT_TRUE(host->EditorOpen());

    EXPECT_TRUE(host->CloseForShutdown(false));
    EXPECT_FALSE(host->EditorOpen());
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(IniFile(dir / "varnot.INI").ReadString("Editor", "Y", ""), "60");
}

} // namespace
