#include "gui/output/printing.h"

#include "core/app/program_paths.h"
#include "core/archive/archive_tree.h"
#include "core/archive/c_list.h"
#include "gui/support/scripted_dialogs.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace varnot;
using archive_test::ArchiveTree;
using testing_support::ScriptedDialogs;
using testing_support::WriteFile;

namespace {

// Prints to a PDF of 8.5 × 11 inches without margins at 600 dpi: at 12
// points a page is 6600 units high and holds 63 lines.
class PrintingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramPaths({tree.dir.path(), tree.dir / "varnot.INI"});
        WriteFile(tree.dir / "varnot.INI", "[Printer]\r\nSize=12\r\n");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QSizeF(8.5, 11), QPageSize::Inch));
        printer.setFullPage(true);
    }

    // What a tool of poppler-utils says about the PDF.
    QString Poppler(const QString& tool, const QStringList& more = {}) const {
        QProcess process;
        process.start(tool, QStringList{QString::fromStdString(pdf)} + more);
        EXPECT_TRUE(process.waitForFinished(60000)) << "poppler-utils is needed";
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // The printed text, page by page (pdftotext ends every page with a form feed).
    QStringList Pages() const {
        QStringList pages = Poppler("pdftotext", {"-"}).split('\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
        for (QString& page : pages) page = page.trimmed();
        return pages;
    }

    ArchiveTree tree;
    std::string pdf = tree.dir / "out.pdf";
    QPrinter printer{QPrinter::HighResolution};
    ScriptedDialogs dialogs;
};

TEST_F(PrintingTest, SelectedMessagesWithDateLinesPageBreaksAndACutLine) {
    // A's date line, 61 lines and its empty line fill the first page exactly.
    std::string first;
    QStringList firstLines;
    for (int i = 1; i <= 61; ++i) {
        firstLines << QString("a%1").arg(i, 2, 10, QChar('0'));
        first += firstLines.last().toStdString() + (i < 61 ? "\r\n" : "");
    }
    const std::string longLine = "START" + std::string(490, 'x') + "END";
    CList list(10);
    tree.Found(list, "03_12_25", "a.txt", {2003, 12, 25, 10, 5, 0}, first);
    tree.Found(list, "03_12_25", "b.txt", {2003, 12, 25, 10, 4, 0}, "b1\nb2\r" + longLine);
    list.SortRecords();
    for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = TFileInfo::Shown;
    list.BuildRows(-1);
    list.SelectAll();
    ASSERT_EQ(printer.height(), 6600);

    const TPrintResult result = PrintMessages(printer, list, 0, tree.options.root, true, false);
    EXPECT_EQ(result.status, TPrintResult::Status::Printed);
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_FALSE(list.RecordAt(0).Has(TFileInfo::Selected));

    EXPECT_TRUE(Poppler("pdfinfo").contains(QRegularExpression("Title: *Pellmar News\n")));
    const QStringList pages = Pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].split('\n', Qt::SkipEmptyParts),
              QStringList{"10:05 25.12.2003"} + firstLines);
    const QStringList second = pages[1].split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(second.size(), 4);
    EXPECT_EQ(second.mid(0, 3), (QStringList{"10:04 25.12.2003", "b1", "b2"}));
    EXPECT_TRUE(second[3].startsWith("STARTxxx"));
    EXPECT_FALSE(second[3].contains("END"));
}

TEST_F(PrintingTest, EditorLinesAndPrinterFailures) {
    ASSERT_EQ(PrintLines(printer, {"one", "второй"}).status, TPrintResult::Status::Printed);
    EXPECT_EQ(Pages(), QStringList{"one\nвторой"});

    printer.setOutputFileName(QString::fromStdString(tree.dir / "missing/out.pdf"));
    const TPrintResult failed = PrintLines(printer, {"x"});
    EXPECT_EQ(failed.status, TPrintResult::Status::CannotStart);
    printer.setOutputFileName({});
    EXPECT_EQ(PrintLines(printer, {"x"}).status, TPrintResult::Status::NoPrinter);

    // Automatic printing reports a failing printer once.
    TAutoPrint autoPrint;
    autoPrint.PrintArrived(nullptr, printer, tree.PathOf("03_12_25", "a.txt"), false);
    autoPrint.PrintArrived(nullptr, printer, tree.PathOf("03_12_25", "a.txt"), false);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Error);
    ShowPrintFailure(nullptr, failed);
    EXPECT_TRUE(dialogs.questions[1].text.contains(QString::fromStdString(tree.dir / "missing")));
}

} // namespace
