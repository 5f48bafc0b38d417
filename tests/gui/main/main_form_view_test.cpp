// Showing the message of the current row, the two views, word wrap, and
// messages that push the limits.
#include "main_form_fixture.h"

#include "gui/main/message_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::WriteFile;

namespace {

class FileClickTest : public MainFormFixture {
  protected:
    static QString Rich(TMainform& form) { return form.Frame().View->ViewMemo->toPlainText(); }
    static QString Plain(TMainform& form) { return form.Frame().View->ViewText->toPlainText(); }
};

TEST_F(FileClickTest, TheSameRowAfterARescanIsNotReadAgain) {
    const std::time_t when = LocalTime(2026, 12, 5, 10, 0);
    WriteFile(archive / "26_12_05/NEW.TXT", "Old text\r\n", when);
    WriteFile(archive / "26_12_05/OLDER.TXT", "Older\r\n", when - 60);
    Settings();
    auto form = OpenAndScan();
    EXPECT_EQ(Rich(*form), "Old text\n");
    EXPECT_EQ(TestAccess(*form).LastShownPath(), archive / "26_12_05/NEW.TXT");
    EXPECT_FALSE(TestAccess(*form).LastShownInDOS());

    // Same name and time: the rescan keeps the record, and the view its text.
    WriteFile(archive / "26_12_05/NEW.TXT", "New text\r\n", when);
    Rescan(*form);
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(Rich(*form), "Old text\n");

    form->Frame().FileGrid->setCurrentIndex(TestAccess(*form).ListModel().index(1, 0));
    EXPECT_EQ(Rich(*form), "Older\n");
    form->Frame().FileGrid->setCurrentIndex(TestAccess(*form).ListModel().index(0, 0));
    EXPECT_EQ(Rich(*form), "New text\n");
}

TEST_F(FileClickTest, AFileThatIsNotTextEmptiesBothViews) {
    WriteFile(archive / "26_12_05/TEXT.TXT", "Readable\r\n", LocalTime(2026, 12, 5, 10, 0));
    WriteFile(archive / "26_12_05/LETTER.DOC", "binary", LocalTime(2026, 12, 5, 9, 0));
    Settings();
    auto form = OpenAndScan();
    EXPECT_FALSE(Rich(*form).isEmpty());
    EXPECT_FALSE(Plain(*form).isEmpty());
    form->Frame().FileGrid->setCurrentIndex(TestAccess(*form).ListModel().index(1, 0));
    EXPECT_TRUE(Rich(*form).isEmpty());
    EXPECT_TRUE(Plain(*form).isEmpty());
    EXPECT_EQ(form->Frame().RereadButton->text(), "2:2");
}

TEST_F(FileClickTest, ShowingTheAnnouncedMessageEndsTheAnnouncement) {
    Messages(2);
    Settings();
    auto form = OpenAndScan();
    TestAccess(*form).Scan().SetAnnouncement("26_12_05\\M0000.TXT", "notice");
    form->UpdateStatusLine();
    EXPECT_EQ(form->Frame().HintLabel->text(), "notice");
    form->Frame().FileGrid->setCurrentIndex(TestAccess(*form).ListModel().index(1, 0));
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
    EXPECT_TRUE(form->Frame().HintLabel->text().startsWith("M0000.TXT"));
}

TEST_F(FileClickTest, TheRichViewSwitchKeepsTheTextAndIsStored) {
    Messages(1);
    Settings();
    auto form = OpenAndScan();
    EXPECT_TRUE(form->Frame().View->ViewMemo->isVisible());
    EXPECT_FALSE(form->Frame().View->ViewText->isVisible());
    form->Frame().RichView_Check->trigger();
    EXPECT_FALSE(form->Frame().RichView_Check->isChecked());
    EXPECT_FALSE(form->Frame().View->ViewMemo->isVisible());
    EXPECT_TRUE(form->Frame().View->ViewText->isVisible());
    EXPECT_EQ(Plain(*form), "Brief 0\nBody\n");
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadInteger("Main", "RichView", -1), 0);
    form->Frame().RichView_Check->trigger();
    EXPECT_TRUE(form->Frame().View->ViewMemo->isVisible());
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadInteger("Main", "RichView", -1), 1);
}

TEST_F(FileClickTest, AStoredPlainViewIsChosenAtStart) {
    Messages(1);
    Settings("RichView=0\r\n");
    auto form = OpenAndScan();
    EXPECT_FALSE(form->Frame().RichView_Check->isChecked());
    EXPECT_TRUE(form->Frame().View->ViewText->isVisible());
}

TEST_F(FileClickTest, WordWrapIsOfferedOnlyForSectionedMessages) {
    Messages(1);
    Settings();
    {
        auto form = OpenAndScan();
        EXPECT_FALSE(form->Frame().WrapButton->isVisibleTo(form.get()));
        EXPECT_FALSE(form->Frame().WordWrapItem->isVisible());
        EXPECT_FALSE(form->Frame().WordWrapSeparator->isVisible());
        TestAccess(*form).ToggleWordWrap();
        EXPECT_FALSE(form->Frame().View->WordWrap());
        form->close();
    }
    Settings("InZEV=YES\r\nWordWrap=NO\r\n");
    auto form = OpenAndScan();
    EXPECT_TRUE(form->Frame().WrapButton->isVisibleTo(form.get()));
    EXPECT_TRUE(form->Frame().WordWrapItem->isVisible());
    EXPECT_TRUE(form->Frame().WordWrapSeparator->isVisible());
    EXPECT_FALSE(form->Frame().View->WordWrap());
    EXPECT_TRUE(form->Frame().WrapButton->isChecked());
    EXPECT_EQ(form->Frame().WrapButton->toolTip(), "wrap");

    form->Frame().WordWrapItem->trigger();
    EXPECT_TRUE(form->Frame().View->WordWrap());
    EXPECT_TRUE(form->Frame().WordWrapItem->isChecked());
    EXPECT_FALSE(form->Frame().WrapButton->isChecked());
    EXPECT_EQ(form->Frame().WrapButton->toolTip(), "not wrap");
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "WordWrap", ""), "YES");
    form->Frame().LanguageItem->trigger();
    EXPECT_EQ(form->Frame().WrapButton->toolTip(), QString::fromUtf8("Не переносить строки"));

    form->Frame().WrapButton->click();
    EXPECT_FALSE(form->Frame().View->WordWrap());
    EXPECT_EQ(form->Frame().WrapButton->toolTip(), QString::fromUtf8("Переносить строки"));
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "WordWrap", ""), "NO");
}

TEST_F(FileClickTest, TheViewColoursTheWordsOfTheFilterInUse) {
    Messages(1);
    Settings("FilterIndex=1\r\n[Colors]\r\nHighLightWords=body\r\nKeyWord=255\r\n"
             "[Filters]\r\n0=Briefs *.TXT brief\r\n1=Other *.TXT other\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().View->Keywords(), std::vector<std::string>{"BRIEF"});
    EXPECT_EQ(form->Frame().View->HighLightWords(), std::vector<std::string>{"body"});
    EXPECT_EQ(form->Frame().View->KeyWordColour(), 255);
    form->Frame().FilterComboBox->setCurrentIndex(2);
    emit form->Frame().FilterComboBox->activated(2);
    EXPECT_EQ(form->Frame().View->Keywords(), std::vector<std::string>{"OTHER"});
}

TEST_F(FileClickTest, TheViewFontComesFromTheSettings) {
    Messages(1);
    Settings("[View]\r\nFont=System\r\nSize=14\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().View->ViewFont().pointSize(), 14);
    EXPECT_EQ(form->Frame().View->ViewFont().family(), QApplication::font().family());
}

using HardMessagesTest = MainFormFixture;

TEST_F(HardMessagesTest, AwkwardMessagesAreShownWithoutHarm) {
    const std::time_t when = LocalTime(2026, 12, 5, 10, 0);
    // 0x98 has no character in the code page; 0xC0 is a Cyrillic letter.
    WriteFile(archive / "26_12_05/A_UNMAPPED.TXT", std::string("Caption \x98\xC0\r\nrest\r\n"),
              when);
    WriteFile(archive / "26_12_05/B_NUL.TXT", std::string("Before\0After\r\n", 14), when - 60);
    WriteFile(archive / "26_12_05/C_LONG.TXT", std::string(40000, 'w'), when - 120);
    std::string hits;
    for (int i = 0; i < 5000; ++i) hits += "storm ";
    WriteFile(archive / "26_12_05/D_HITS.TXT", "Storms\r\n" + hits + "\r\n", when - 180);
    Settings(
        "[Colors]\r\nHighLightWords=orm\r\n[Filters]\r\n0=Storm *.TXT storm\r\nFilterIndex=0\r\n");
    auto form = OpenAndScan();
    ASSERT_EQ(form->ShownCount(), 4);
    auto show = [&](int row) {
        form->Frame().FileGrid->setCurrentIndex(TestAccess(*form).ListModel().index(row, 0));
        QApplication::processEvents();
        return form->Frame().View->ViewMemo->toPlainText();
    };
    // The grid's rows are newest first: A, B, C, D.
    const QString unmapped = show(0);
    EXPECT_TRUE(unmapped.startsWith(QString::fromUtf8("Caption \uFFFD\u0410")));
    EXPECT_EQ(TestAccess(*form).ListModel().index(0, 2).data().toString(),
              QString::fromUtf8("Caption \uFFFD\u0410"));

    EXPECT_EQ(show(1), "Before");
    EXPECT_EQ(form->Frame().View->ViewText->toPlainText(), "Before");

    const QString longest = show(2);
    EXPECT_EQ(longest.size(), 32767);
    EXPECT_LE(TestAccess(*form).ListModel().index(2, 2).data().toString().size(), 4096);

    form->Frame().FilterComboBox->setCurrentIndex(1);
    emit form->Frame().FilterComboBox->activated(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
    ASSERT_GE(form->ShownCount(), 1);
    int row = 0;
    while (row < form->ShownCount() &&
           form->Panel().RecordAtRow(row)->FileName() != std::string_view("D_HITS.TXT"))
        ++row;
    ASSERT_LT(row, form->ShownCount());
    const QString many = show(row);
    // "Storms", a line break, the hits, a line break.
    EXPECT_EQ(many.size(), static_cast<qsizetype>(7 + hits.size() + 1));
    // The last hit is coloured too: the colouring covered the whole text.
    QTextCursor cursor(form->Frame().View->ViewMemo->document());
    cursor.setPosition(static_cast<int>(7 + hits.size() - 3));
    EXPECT_NE(cursor.charFormat().foreground().color(), QColor(0, 0, 0));
}

} // namespace
