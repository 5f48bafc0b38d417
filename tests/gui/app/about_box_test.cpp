#include "gui/app/about_box.h"

#include "gui/app/dialogs.h"
#include "gui/app/lang.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace varnot;

namespace {

QString LabelText(const QWidget& box, const char* name) {
    const auto* label = box.findChild<QLabel*>(name);
    return label ? label->text() : QString("<missing>");
}

} // namespace

TEST(AboutBoxTest, TextsFollowTheLanguageButTheProductLine) {
    for (const bool english : {true, false}) {
        English = english;
        TAboutBox box;
        EXPECT_EQ(LabelText(box, "ProductName"), "VARNOT 32 ");
        EXPECT_EQ(LabelText(box, "Version"),
                  english ? QString("Version 3.2") : QString::fromUtf8("Версия 3.2"));
        EXPECT_FALSE(LabelText(box, "MakerLabel").isEmpty());
        EXPECT_FALSE(LabelText(box, "Comments").isEmpty());
        EXPECT_FALSE(box.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
        EXPECT_EQ(box.focusWidget(), box.findChild<QPushButton*>("OKButton"));
    }
    English = true;
}

TEST(AboutBoxTest, TheToolkitShowsItUntilOk) {
    TQtDialogs dialogs;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = true;
        QTest::mouseClick(box->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    dialogs.AboutBox(nullptr);
    EXPECT_TRUE(shown);
}
