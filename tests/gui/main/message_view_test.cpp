#include "gui/main/message_view.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace varnot;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGreen(0, 128, 0); // the stored defaults
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// The foreground of the character at `position` of the rich view; line
// breaks belong to no fragment and give an invalid colour.
QColor ColourAt(const QTextEdit* view, int position) {
    const QTextBlock block = view->document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat().foreground().color();
    }
    return QColor();
}

// The colours of characters first .. first + count - 1, all the same.
::testing::AssertionResult Coloured(const QTextEdit* view, int first, int count,
                                    const QColor& colour) {
    for (int i = first; i < first + count; ++i) {
        QColor got = ColourAt(view, i);
        if (got != colour)
            return ::testing::AssertionFailure()
                   << "character " << i << " is " << got.name().toStdString() << ", not "
                   << colour.name().toStdString();
    }
    return ::testing::AssertionSuccess();
}

class MessageViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view.SetColours(32768, 16711680, 255);
        view.resize(400, 300);
    }

    std::string File(const std::string& name, const std::string& bytes) {
        std::string path = dir / name;
        WriteFile(path, bytes);
        return path;
    }

    TempDir dir;
    TMessageView view;
    ArchiveOptions options;
};

} // namespace

TEST_F(MessageViewTest, ColoursCaptionKeywordsAndHighlightWords) {
    view.SetKeywords({"flash"});
    view.SetHighLightWords({"LAS"});
    ASSERT_TRUE(
        view.ShowTxtFile(File("A.TXT", "\r\n  NEWS FLASHING today\r\nflash again\r\n"), options));

    // The view holds one character per line break.
    EXPECT_EQ(view.ViewMemo->toPlainText(), "\n  NEWS FLASHING today\nflash again\n");
    EXPECT_EQ(view.RichText(), "\n  NEWS FLASHING today\nflash again\n");
    EXPECT_TRUE(Coloured(view.ViewMemo, 1, 7, kGreen));
    EXPECT_TRUE(Coloured(view.ViewMemo, 8, 1, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 9, 3, kRed));
    EXPECT_TRUE(Coloured(view.ViewMemo, 12, 1, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 13, 9, kGreen));
    EXPECT_TRUE(Coloured(view.ViewMemo, 23, 1, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 24, 3, kRed));
    EXPECT_TRUE(Coloured(view.ViewMemo, 28, 6, kBlack));

    // The view starts at the top with nothing selected.
    EXPECT_EQ(view.ViewMemo->textCursor().position(), 0);
    EXPECT_FALSE(view.ViewMemo->textCursor().hasSelection());
    EXPECT_EQ(view.ViewText->toPlainText(), "\n  NEWS FLASHING today\nflash again\n");
}

TEST_F(MessageViewTest, CyrillicWordsColourInAnyCase) {
    view.SetKeywords({"\xCC\xC8\xD0"}); // МИР
    // Заголовок / мир, Мир и МИРОВОЙ
    ASSERT_TRUE(view.ShowTxtFile(
        File("R.TXT", "\xC7\xE0\xE3\n\xEC\xE8\xF0, \xCC\xE8\xF0 \xE8 \xCC\xC8\xD0\xCE\xC2\xCE\xC9"),
        options));
    EXPECT_EQ(view.ViewMemo->toPlainText(), QString::fromUtf8("Заг\nмир, Мир и МИРОВОЙ"));
    EXPECT_TRUE(Coloured(view.ViewMemo, 0, 3, kGreen));
    EXPECT_TRUE(Coloured(view.ViewMemo, 4, 3, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 7, 2, kBlack));
    EXPECT_TRUE(Coloured(view.ViewMemo, 9, 3, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 12, 3, kBlack));
    EXPECT_TRUE(Coloured(view.ViewMemo, 15, 3, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 18, 4, kBlack));
}

TEST_F(MessageViewTest, DosTextIsConvertedBeforeColouring) {
    options.inDos = true;
    view.SetKeywords({"\xCF\xE0\xF0"});                                       // Пар in 1251
    ASSERT_TRUE(view.ShowTxtFile(File("D.TXT", "T\n\x8F\xA0\xE0"), options)); // Пар in 866
    EXPECT_EQ(view.ViewMemo->toPlainText(), QString::fromUtf8("T\nПар"));
    EXPECT_EQ(view.ViewText->toPlainText(), QString::fromUtf8("T\nПар"));
    EXPECT_TRUE(Coloured(view.ViewMemo, 2, 3, kBlue));
}

TEST_F(MessageViewTest, SectionedFilesShowOnlyTheBodyInTheRichView) {
    options.inZev = true;
    view.SetKeywords({"two"});
    const std::string file = "[head]\r\nhead=Brief\r\n[body]\r\nline one\r\nline two\r\n";
    ASSERT_TRUE(view.ShowTxtFile(File("Z.TXT", file), options));
    EXPECT_EQ(view.ViewMemo->toPlainText(), "line one\nline two");
    EXPECT_EQ(view.ViewText->toPlainText(), "[head]\nhead=Brief\n[body]\nline one\nline two\n");
    EXPECT_TRUE(Coloured(view.ViewMemo, 0, 8, kGreen));
    EXPECT_TRUE(Coloured(view.ViewMemo, 9, 5, kBlack));
    EXPECT_TRUE(Coloured(view.ViewMemo, 14, 3, kBlue));
}

TEST_F(MessageViewTest, NulAndUnmappedBytesKeepPositionsAligned) {
    view.SetKeywords({"KEY"});
    // 0x98 has no character in the code page; the text ends at the NUL.
    ASSERT_TRUE(view.ShowTxtFile(
        File("N.TXT", std::string("\x98 A\x98KEY\x98 key\0KEY hidden", 20)), options));
    const QString shown = QString::fromUtf8("\xEF\xBF\xBD A\xEF\xBF\xBDKEY\xEF\xBF\xBD key");
    EXPECT_EQ(view.ViewMemo->toPlainText(), shown);
    EXPECT_EQ(view.ViewText->toPlainText(), shown);
    EXPECT_TRUE(Coloured(view.ViewMemo, 4, 3, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 7, 2, kGreen));
    EXPECT_TRUE(Coloured(view.ViewMemo, 9, 3, kBlue));
}

TEST_F(MessageViewTest, AFileThatCannotBeReadEmptiesBothViews) {
    ASSERT_TRUE(view.ShowTxtFile(File("A.TXT", "Title\nbody\n"), options));
    EXPECT_FALSE(view.ShowTxtFile(dir / "MISSING.TXT", options));
    EXPECT_TRUE(view.ViewMemo->toPlainText().isEmpty());
    EXPECT_TRUE(view.ViewText->toPlainText().isEmpty());
    EXPECT_TRUE(view.RichText().empty());
    // A folder is no message either.
    testing_support::MakeDirs(dir / "FOLDER.TXT");
    EXPECT_FALSE(view.ShowTxtFile(dir / "FOLDER.TXT", options));
    // Colouring an empty view does nothing harmful.
    view.ColourMessage();
    EXPECT_TRUE(view.ViewMemo->toPlainText().isEmpty());
}

TEST_F(MessageViewTest, ClearEmptiesBothViews) {
    ASSERT_TRUE(view.ShowTxtFile(File("A.TXT", "Title\n"), options));
    view.Clear();
    EXPECT_TRUE(view.ViewMemo->toPlainText().isEmpty());
    EXPECT_TRUE(view.ViewText->toPlainText().isEmpty());
    EXPECT_TRUE(view.RichText().empty());
}

TEST_F(MessageViewTest, ALongMessageIsCutAt32767Bytes) {
    view.SetKeywords({"a"});
    ASSERT_TRUE(view.ShowTxtFile(File("L.TXT", std::string(40000, 'a')), options));
    EXPECT_EQ(view.ViewMemo->toPlainText().size(), 32767);
    EXPECT_EQ(view.ViewText->toPlainText().size(), 32767);
    // Every character of the one line is a keyword hit.
    EXPECT_TRUE(Coloured(view.ViewMemo, 0, 1, kBlue));
    EXPECT_TRUE(Coloured(view.ViewMemo, 32766, 1, kBlue));
}

TEST_F(MessageViewTest, ColourMessageFollowsChangedWordsAndColours) {
    ASSERT_TRUE(view.ShowTxtFile(File("A.TXT", "Title\nalpha beta\n"), options));
    EXPECT_TRUE(Coloured(view.ViewMemo, 6, 10, kBlack));

    view.SetKeywords({"BETA"});
    view.SetColours(0x00102030, 0x00405060, 0x00708090);
    view.ColourMessage();
    EXPECT_TRUE(Coloured(view.ViewMemo, 0, 5, QColor(0x30, 0x20, 0x10)));
    EXPECT_TRUE(Coloured(view.ViewMemo, 6, 6, kBlack));
    EXPECT_TRUE(Coloured(view.ViewMemo, 12, 4, QColor(0x60, 0x50, 0x40)));

    // Earlier colouring goes when the words go.
    view.SetKeywords({});
    view.ColourMessage();
    EXPECT_TRUE(Coloured(view.ViewMemo, 12, 4, kBlack));
}

TEST_F(MessageViewTest, SwitchingViewsKeepsTheTextWithoutReloading) {
    EXPECT_TRUE(view.RichView());
    EXPECT_TRUE(view.ViewMemo->isVisibleTo(&view));
    EXPECT_FALSE(view.ViewText->isVisibleTo(&view));

    const std::string path = File("A.TXT", "Title\nbody\n");
    ASSERT_TRUE(view.ShowTxtFile(path, options));
    ASSERT_EQ(unlink(path.c_str()), 0);

    view.SetRichView(false);
    EXPECT_FALSE(view.ViewMemo->isVisibleTo(&view));
    EXPECT_TRUE(view.ViewText->isVisibleTo(&view));
    EXPECT_EQ(view.ViewText->toPlainText(), "Title\nbody\n");

    view.SetRichView(true);
    EXPECT_TRUE(view.ViewMemo->isVisibleTo(&view));
    EXPECT_FALSE(view.ViewText->isVisibleTo(&view));
    EXPECT_EQ(view.ViewMemo->toPlainText(), "Title\nbody\n");
    EXPECT_TRUE(Coloured(view.ViewMemo, 0, 5, kGreen));
}

TEST_F(MessageViewTest, WordWrapConcernsTheRichViewOnly) {
    EXPECT_FALSE(view.WordWrap());
    EXPECT_EQ(view.ViewText->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    view.SetWordWrap(true);
    EXPECT_TRUE(view.WordWrap());
    view.SetWordWrap(false);
    EXPECT_FALSE(view.WordWrap());
}

TEST_F(MessageViewTest, EveryMessageKeepsTheViewsFontAndOneDocument) {
    view.SetViewFont("System", 14);
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
        ASSERT_TRUE(view.ShowTxtFile(File(name, "Title\nbody\n"), options));
    view.ColourMessage();
    EXPECT_EQ(view.ViewMemo->document()->defaultFont().pointSize(), 14);
    // The documents of earlier messages are gone.
    int documents = 0;
    for (QObject* object : view.ViewMemo->findChildren<QTextDocument*>())
        documents += object != view.ViewMemo->document() && object->parent() == view.ViewMemo;
    EXPECT_EQ(documents, 0);
}

TEST_F(MessageViewTest, AnUnknownFontFamilyFallsBackToTheApplicationFont) {
    view.SetViewFont("System", 14);
    EXPECT_EQ(view.ViewFont().family(), QApplication::font().family());
    EXPECT_EQ(view.ViewFont().pointSize(), 14);
    EXPECT_EQ(view.ViewText->font().pointSize(), 14);

    // A family the system has is taken as it is.
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::hasFamily(family) || family == QApplication::font().family()) continue;
        view.SetViewFont(family, 0);
        EXPECT_EQ(view.ViewFont().family(), family);
        EXPECT_EQ(view.ViewFont().pointSize(), QApplication::font().pointSize());
        break;
    }
}

TEST_F(MessageViewTest, SelectInRichViewStaysInsideTheText) {
    ASSERT_TRUE(view.ShowTxtFile(File("A.TXT", "Title\nbody"), options));
    view.SelectInRichView(6, 2);
    EXPECT_EQ(view.ViewMemo->textCursor().selectedText(), "bo");
    view.SelectInRichView(8, 100);
    EXPECT_EQ(view.ViewMemo->textCursor().selectedText(), "dy");
    view.SelectInRichView(500, 3);
    EXPECT_FALSE(view.ViewMemo->textCursor().hasSelection());
}
