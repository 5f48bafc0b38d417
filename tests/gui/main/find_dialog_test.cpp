#include "gui/main/find_dialog.h"

#include "core/text/code_pages.h"
#include "gui/app/lang.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnot;

namespace {

class FindDialogTest : public ::testing::Test {
  protected:
    void TearDown() override {
        English = true;
        SetFindDialogDriver({});
    }

    FindSettings Stored() const {
        FindSettings values;
        values.x = 40;
        values.y = 30;
        values.pattern = Utf8ToCp1251("мир");
        values.flags = {true, false, SearchDirection::Up};
        values.history = {Utf8ToCp1251("мир"), "storm"};
        return values;
    }
};

TEST_F(FindDialogTest, ShowsTheSearchAndItsHistoryAndFindNeedsText) {
    TFindDialogBox dialog(Stored());
    dialog.show();
    const auto c = dialog.TestControls();
    EXPECT_EQ(c.edit->currentText(), QString::fromUtf8("мир"));
    ASSERT_EQ(c.edit->count(), 2);
    EXPECT_EQ(c.edit->itemText(1), "storm");
    EXPECT_TRUE(c.wordCheckBox->isChecked());
    EXPECT_FALSE(c.caseCheckBox->isChecked());
    EXPECT_TRUE(c.upRadioButton->isChecked());
    EXPECT_TRUE(c.findButton->isEnabled());

    c.edit->lineEdit()->selectAll();
    QTest::keyClick(c.edit->lineEdit(), Qt::Key_Delete);
    EXPECT_FALSE(c.findButton->isEnabled());
    QTest::keyClicks(c.edit->lineEdit(), "x");
    EXPECT_TRUE(c.findButton->isEnabled());
}

TEST_F(FindDialogTest, CaptionsFollowTheLanguage) {
    for (const bool english : {true, false}) {
        English = english;
        TFindDialogBox dialog(FindSettings{});
        const auto c = dialog.TestControls();
        EXPECT_EQ(dialog.windowTitle(), english ? "Find" : QString::fromUtf8("Поиск"));
        EXPECT_EQ(c.wordCheckBox->text(),
                  english ? "&Word only" : QString::fromUtf8("&Только слово целиком"));
        EXPECT_EQ(c.findButton->text(), english ? "&Find" : QString::fromUtf8("&Найти"));
        EXPECT_FALSE(c.findButton->isEnabled());
    }
}

TEST_F(FindDialogTest, FindReturnsTheChoiceAndCancelNothing) {
    SetFindDialogDriver([](TFindDialogBox& dialog) {
        const auto c = dialog.TestControls();
        c.edit->lineEdit()->selectAll();
        // Key clicks take Latin-1 only; a Cyrillic word comes as one key's text.
        QTest::sendKeyEvent(QTest::Click, c.edit->lineEdit(), Qt::Key_unknown,
                            QString::fromUtf8("ёлка"), Qt::NoModifier);
        QTest::mouseClick(c.caseCheckBox, Qt::LeftButton);
        QTest::mouseClick(c.downRadioButton, Qt::LeftButton);
        QTest::mouseClick(c.findButton, Qt::LeftButton);
    });
    const std::optional<FindSettings> chosen = RunFindDialog(nullptr, Stored());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->pattern, Utf8ToCp1251("ёлка"));
    EXPECT_EQ(chosen->flags, (SearchFlags{true, true, SearchDirection::Down}));
    EXPECT_EQ(chosen->history,
              (std::vector<std::string>{Utf8ToCp1251("ёлка"), Utf8ToCp1251("мир"), "storm"}));
    EXPECT_EQ(chosen->x, 40);
    EXPECT_EQ(chosen->y, 30);

    SetFindDialogDriver([](TFindDialogBox& dialog) {
        QTest::mouseClick(dialog.TestControls().cancelBtn, Qt::LeftButton);
    });
    EXPECT_FALSE(RunFindDialog(nullptr, Stored()));

    // Enter in the text box is the default button, Find.
    SetFindDialogDriver([](TFindDialogBox& dialog) {
        QTest::keyClick(dialog.TestControls().edit->lineEdit(), Qt::Key_Return);
    });
    const std::optional<FindSettings> again = RunFindDialog(nullptr, Stored());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->history, Stored().history);
}

} // namespace
