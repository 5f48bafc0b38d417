#include "gui/support/scripted_dialogs.h"
#include "main_form_fixture.h"

#include <QAction>
#include <QToolButton>

namespace varnot {
namespace {

using testing_support::Exists;
using testing_support::ScriptedDialogs;

// Five messages M0000..M0004 (row 0 is M0004), DeleteAutomaticly off.
class FileOpCommandsTest : public testing_support::MainFormFixture {
  protected:
    std::unique_ptr<TMainform> Open() {
        Messages(5);
        Settings();
        auto form = OpenAndScan();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->CheckButtons();
        return form;
    }

    std::string InArchive(const char* name) const {
        return archive / ("26_12_05/" + std::string(name));
    }

    ScriptedDialogs dialogs;
    testing_support::TempDir destination;
};

TEST_F(FileOpCommandsTest, DeleteWithNothingSelectedRemovesTheCurrentMessageAndRescans) {
    auto form = Open();
    form->MoveToRow(2);
    dialogs.messageAnswers = {TMsgResult::Yes};
    form->Frame().DeleteButton->click();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Do you want to delete 1 messages?");
    EXPECT_FALSE(Exists(InArchive("M0002.TXT")));
    EXPECT_EQ(form->ShownCount(), 4);
    EXPECT_TRUE(form->Scanning()); // the pass after the command
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    EXPECT_EQ(form->ShownCount(), 4);
    EXPECT_EQ(form->Frame().RereadButton->text(), "2:4");
}

TEST_F(FileOpCommandsTest, CopyKeepsTheMessagesListedAndUnselected) {
    auto form = Open();
    form->Panel().Current().ToggleRow(0);
    form->Panel().Current().ToggleRow(1);
    TestAccess(*form).Scan().SetAnnouncement("26_12_05\\M0004.TXT", "notice");
    dialogs.folderAnswers = {QString::fromStdString(destination.path())};
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_F5);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(Exists(destination / "M0004.TXT"));
    EXPECT_TRUE(Exists(destination / "M0003.TXT"));
    EXPECT_TRUE(Exists(InArchive("M0004.TXT")));
    EXPECT_EQ(form->ShownCount(), 5);
    EXPECT_TRUE(SelectedRows(*form).empty());
    EXPECT_FALSE(form->Scanning());
    // The current message is shown again: its announcement ends.
    EXPECT_EQ(TestAccess(*form).Scan().LastNewFile(), "");
}

TEST_F(FileOpCommandsTest, MoveTakesTheMessagesOffTheListAndTheDisk) {
    auto form = Open();
    form->Panel().Current().ToggleRow(1);
    form->Panel().Current().ToggleRow(3);
    dialogs.folderAnswers = {QString::fromStdString(destination.path())};
    form->Frame().MoveItem->trigger();
    EXPECT_TRUE(Exists(destination / "M0003.TXT"));
    EXPECT_FALSE(Exists(InArchive("M0003.TXT")));
    EXPECT_FALSE(Exists(InArchive("M0001.TXT")));
    EXPECT_EQ(form->ShownCount(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    EXPECT_EQ(form->ShownCount(), 3);
    EXPECT_TRUE(SelectedRows(*form).empty());
}

} // namespace
} // namespace varnot
