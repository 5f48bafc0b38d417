#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/support/scripted_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace varnot;
using testing_support::ScriptedDialogs;

namespace {

// Does `act` to the message box as soon as it is shown, from its own event loop.
template <typename Act> void WhenBoxShows(Act act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

} // namespace

TEST(ScriptedDialogsTest, AnswersInOrderAndRecordsEachQuestion) {
    ScriptedDialogs script;
    script.messageAnswers = {TMsgResult::No, TMsgResult::Yes};
    script.inputAnswers = {QString("typed"), std::nullopt};
    script.folderAnswers = {"/data/"};
    script.fileAnswers = {"/a.txt"};

    EXPECT_EQ(Dialogs().MessageBox(nullptr, TMsgKind::Confirmation, "Delete?", TMsgButtons::YesNo),
              TMsgResult::No);
    EXPECT_EQ(Dialogs().MessageBox(nullptr, TMsgKind::Warning, "Sure?", TMsgButtons::YesNoCancel),
              TMsgResult::Yes);
    EXPECT_EQ(Dialogs().InputBox(nullptr, "Mask", "Enter a mask", "*.*"), QString("typed"));
    EXPECT_EQ(Dialogs().InputBox(nullptr, "Mask", "Enter a mask", "*.*"), std::nullopt);
    EXPECT_EQ(Dialogs().BrowseFolder(nullptr, "Copy to", "/tmp"), "/data/");
    EXPECT_EQ(Dialogs().SaveFileName(nullptr, "Save", "/x.txt", "*.txt"), "/a.txt");
    EXPECT_EQ(script.unanswered, 0);

    ASSERT_EQ(script.questions.size(), 6u);
    EXPECT_EQ(script.questions[0].call, ScriptedDialogs::Call::Message);
    EXPECT_EQ(script.questions[0].kind, TMsgKind::Confirmation);
    EXPECT_EQ(script.questions[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(script.questions[0].text, "Delete?");
    EXPECT_EQ(script.questions[2].text, "Enter a mask");
    EXPECT_EQ(script.questions[2].start, "*.*");
    EXPECT_EQ(script.questions[4].call, ScriptedDialogs::Call::Folder);
    EXPECT_EQ(script.questions[4].start, "/tmp");
    EXPECT_EQ(script.questions[5].call, ScriptedDialogs::Call::SaveFile);
}

TEST(ScriptedDialogsTest, WithoutAnswersEveryQuestionIsDeclined) {
    ScriptedDialogs script;
    EXPECT_EQ(Dialogs().MessageBox(nullptr, TMsgKind::Error, "x", TMsgButtons::Yes),
              TMsgResult::Yes);
    EXPECT_EQ(Dialogs().MessageBox(nullptr, TMsgKind::Error, "x", TMsgButtons::YesNo),
              TMsgResult::No);
    EXPECT_EQ(Dialogs().MessageBox(nullptr, TMsgKind::Error, "x", TMsgButtons::YesNoCancel),
              TMsgResult::Cancel);
    EXPECT_TRUE(Dialogs().OpenFileName(nullptr, "Open", "", "").isEmpty());
    EXPECT_TRUE(Dialogs().BrowseFolder(nullptr, "Folder", "").isEmpty());
    EXPECT_FALSE(Dialogs().InputBox(nullptr, "t", "p", "d").has_value());
    EXPECT_EQ(script.unanswered, 6);
}

TEST(ScriptedDialogsTest, InstallingNestsAndRestores) {
    TDialogs& toolkit = Dialogs();
    {
        ScriptedDialogs outer;
        {
            ScriptedDialogs inner;
            EXPECT_EQ(&Dialogs(), &inner);
        }
        EXPECT_EQ(&Dialogs(), &outer);
    }
    EXPECT_EQ(&Dialogs(), &toolkit);
    EXPECT_NE(dynamic_cast<TQtDialogs*>(&toolkit), nullptr);
}

// The toolkit's boxes, driven from their own event loop.
TEST(QtDialogsTest, ClosingABoxGivesTheMostCautiousAnswerOfItsSet) {
    TQtDialogs dialogs;
    const auto escape = [](QMessageBox& box) { box.reject(); };
    WhenBoxShows(escape);
    EXPECT_EQ(dialogs.MessageBox(nullptr, TMsgKind::Information, "i", TMsgButtons::Yes),
              TMsgResult::Yes);
    WhenBoxShows(escape);
    EXPECT_EQ(dialogs.MessageBox(nullptr, TMsgKind::Confirmation, "c", TMsgButtons::YesNo),
              TMsgResult::No);
    WhenBoxShows(escape);
    EXPECT_EQ(dialogs.MessageBox(nullptr, TMsgKind::Warning, "w", TMsgButtons::YesNoCancel),
              TMsgResult::Cancel);
}

TEST(QtDialogsTest, TheButtonPressedIsTheAnswerAndTheKindSetsTitleAndIcon) {
    TQtDialogs dialogs;
    English = true;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    WhenBoxShows([&](QMessageBox& box) {
        title = box.windowTitle();
        icon = box.icon();
        buttonCount = static_cast<int>(box.buttons().size());
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.MessageBox(nullptr, TMsgKind::Error, "e", TMsgButtons::YesNoCancel),
              TMsgResult::No);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttonCount, 3);

    WhenBoxShows([&](QMessageBox& box) {
        title = box.windowTitle();
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.MessageBox(nullptr, TMsgKind::Warning, "w", TMsgButtons::YesNo, "Own title"),
              TMsgResult::Yes);
    EXPECT_EQ(title, "Own title");
}

TEST(LangTest, PicksTheTextOfTheCurrentLanguage) {
    English = false;
    EXPECT_EQ(Lang("Пеллмар - Новости", "Pellmar NEWS"), QString::fromUtf8("Пеллмар - Новости"));
    EXPECT_EQ(MessageTitle(TMsgKind::Warning), QString::fromUtf8("Предупреждение"));
    English = true;
    EXPECT_EQ(Lang("Пеллмар - Новости", "Pellmar NEWS"), "Pellmar NEWS");
    EXPECT_EQ(MessageTitle(TMsgKind::Information), "Information");
}
