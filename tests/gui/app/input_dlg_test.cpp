#include "gui/app/input_dlg.h"

#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/support/scripted_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace varnot;
using testing_support::ScriptedDialogs;

namespace {

QLineEdit* EditOf(TInputDlg& dlg) {
    return dlg.findChild<QLineEdit*>("Edit");
}

void Click(TInputDlg& dlg, const char* button) {
    QTest::mouseClick(dlg.findChild<QPushButton*>(button), Qt::LeftButton);
}

} // namespace

TEST(InputDlgTest, TheBlankKeyIsIgnoredAndOkRefusesEmptyAndBlankTexts) {
    English = true;
    ScriptedDialogs script;
    TInputDlg dlg;
    dlg.show();
    QTest::keyClicks(EditOf(dlg), "Night shift");
    EXPECT_EQ(dlg.Text(), "Nightshift");

    EditOf(dlg)->clear();
    Click(dlg, "OKBtn");
    EditOf(dlg)->setText("Night shift"); // as pasted
    Click(dlg, "OKBtn");
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[0].text, "The field cannot be empty");
    EXPECT_EQ(script.questions[1].text, "The field cannot contains a spaces");
    EXPECT_EQ(script.questions[1].kind, TMsgKind::Error);
    EXPECT_EQ(script.questions[1].buttons, TMsgButtons::Yes);

    Click(dlg, "CancelBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(script.questions.size(), 2u);
}

TEST(InputDlgTest, TheToolkitsInputBoxIsThisDialog) {
    TQtDialogs dialogs;
    QString caption;
    QString prompt;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TInputDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        caption = dlg->windowTitle();
        prompt = dlg->findChild<QLabel*>("InputLabel")->text();
        EditOf(*dlg)->setText("Evening");
        Click(*dlg, "OKBtn");
    });
    EXPECT_EQ(dialogs.InputBox(nullptr, {}, "Name", "Group"), QString("Evening"));
    EXPECT_EQ(caption, " ");
    EXPECT_EQ(prompt, "Name");
}
