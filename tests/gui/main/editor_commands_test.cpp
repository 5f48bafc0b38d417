#include "gui/main/editor_commands.h"

#include "gui/app/unix_signals.h"
#include "gui/editor/editor_form.h"
#include "gui/support/scripted_dialogs.h"
#include "main_form_fixture.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QToolButton>
#include <csignal>

using namespace varnot;
using testing_support::ScriptedDialogs;

namespace {

class EditorCommandsTest : public testing_support::MainFormFixture {
  protected:
    // A window with two messages, active so that its shortcuts work.
    std::unique_ptr<TMainform> OpenActive() {
        Settings();
        Messages(2);
        auto form = OpenAndScan();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    static TEditorForm* Editor() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TEditorForm*>(window)) return editor;
        return nullptr;
    }
    static QPlainTextEdit& Memo() { return *Editor()->findChild<QPlainTextEdit*>("Memo"); }

    ScriptedDialogs dialogs;
};

TEST_F(EditorCommandsTest, F12OpensTheEditor) {
    auto form = OpenActive();
    ASSERT_EQ(Editor(), nullptr);
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_F12);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->isVisible());
}

TEST_F(EditorCommandsTest, AddItemAppendsTheCurrentMessageAndBringsTheEditorForward) {
    auto form = OpenActive();
    form->MoveToRow(1);
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Insert,
                    Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Memo().toPlainText(), "00:00  05.12.2026\nBrief 0\nBody\n\n");
    EXPECT_TRUE(QTest::qWaitForWindowActive(Editor()));
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(EditorCommandsTest, ClosingTheWindowAsksAboutAChangedEditorText) {
    auto form = OpenActive();
    form->Frame().ShowEditorButton->click();
    QTest::keyClicks(&Memo(), "typed");
    Editor()->move(30, 40);

    dialogs.messageAnswers = {TMsgResult::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_NE(Editor(), nullptr);

    dialogs.messageAnswers = {TMsgResult::No};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("Editor", "X", ""), "30");
}

TEST_F(EditorCommandsTest, AShutdownSignalClosesWithoutAQuestion) {
    auto form = OpenActive();
    form->Frame().ShowEditorButton->click();
    QTest::keyClicks(&Memo(), "typed");
    ASSERT_TRUE(InstallShutdownSignals());
    {
        TSignalCloser closer(form.get());
        ASSERT_EQ(raise(SIGTERM), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 20000));
    }
    RestoreShutdownSignals();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(dialogs.questions.empty());
}

} // namespace
