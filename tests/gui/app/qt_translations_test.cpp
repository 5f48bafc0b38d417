#include "gui/app/qt_translations.h"
#include "gui/main/main_form_fixture.h"
#include "gui/main/main_frame.h"

#include <QAction>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

using testing_support::MainFormFixture;

QString CancelText() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

using ToolkitLanguageTest = MainFormFixture;

TEST_F(ToolkitLanguageTest, StandardButtonsFollowTheLanguageCommand) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
        GTEST_SKIP() << "the toolkit's Russian catalogue is not installed";
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(CancelText(), "Cancel");

    form->Frame().LanguageItem->trigger();
    const QString russian = CancelText();
    EXPECT_NE(russian, "Cancel");
    EXPECT_FALSE(russian.isEmpty());

    form->Frame().LanguageItem->trigger();
    EXPECT_EQ(CancelText(), "Cancel");
}

} // namespace
