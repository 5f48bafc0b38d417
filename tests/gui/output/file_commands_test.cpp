#include "gui/output/file_commands.h"

#include "core/app/settings_keys.h"
#include "core/archive/archive_tree.h"
#include "gui/app/lang.h"
#include "gui/support/scripted_dialogs.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

using namespace varnot;
using archive_test::ArchiveTree;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;

namespace {

namespace fs = std::filesystem;

// A real archive of `count` messages on display, rows 0.. newest first.
class FileCommandsTest : public ::testing::Test {
  protected:
    FileCommandsTest() {
        services.parent = &window;
        services.panel = &panel;
        services.currentRow = [this] { return row; };
        services.showRows = [this](int rows, int current) {
            rowCount = rows;
            row = current;
        };
        services.removed = [this](const std::string& name) { removed.push_back(name); };
        services.settingsFile = tree.dir / "varnot.INI";
    }

    void Fill(int count, std::size_t size = 20) {
        CList& list = panel.Current();
        for (int i = 0; i < count; ++i) {
            const std::string name = "M" + std::to_string(100 + i) + ".TXT";
            tree.Found(list, "03_12_25", name, {2003, 12, 25, 10, i, 0},
                       std::string(size, static_cast<char>('a' + i % 26)));
        }
        list.SortRecords();
        for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = TFileInfo::Shown;
        list.BuildRows(-1);
        services.options = tree.options;
    }

    TFileCommandOutcome Run(TFileCommand command) {
        services.options.deleteAutomaticly = deleteAutomaticly;
        return RunFileCommand(command, services);
    }

    std::string Folder(const char* name) const { return tree.dir / name; }
    const CList& List() { return panel.Current(); }

    ArchiveTree tree;
    TFilePanel panel{60, tree.dir / "varnot.INI", tree.dir.path()};
    ScriptedDialogs dialogs;
    QWidget window;
    int row = 0;
    int rowCount = 0;
    bool deleteAutomaticly = false;
    std::vector<std::string> removed;
    TFileCommandServices services;
};

class LanguageGuard {
  public:
    explicit LanguageGuard(bool english) : old_(English) { English = english; }
    ~LanguageGuard() { English = old_; }

  private:
    bool old_;
};

TEST_F(FileCommandsTest, DeleteAsksAboutTheMessagesConcernedInBothLanguages) {
    Fill(8);
    {
        const LanguageGuard english(true);
        row = 2;
        dialogs.messageAnswers = {TMsgResult::Yes};
        const TFileCommandOutcome outcome = Run(TFileCommand::Delete);
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, "Do you want to delete 1 messages?");
        EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Information);
        EXPECT_EQ(dialogs.questions[0].buttons, TMsgButtons::YesNo);
        EXPECT_EQ(removed, std::vector<std::string>{"03_12_25\\M105.TXT"});
        EXPECT_FALSE(tree.Has("03_12_25", "M105.TXT"));
        EXPECT_EQ(outcome.after, TAfterFileCommand::Rescan);
        EXPECT_EQ(rowCount, 7);
        EXPECT_EQ(row, 1);
    }
    const LanguageGuard russian(false);
    for (int r : {0, 2, 3, 4, 6}) panel.Current().ToggleRow(r);
    dialogs.messageAnswers = {TMsgResult::No, TMsgResult::Yes};
    EXPECT_EQ(Run(TFileCommand::Delete).after, TAfterFileCommand::Nothing);
    EXPECT_EQ(List().Used, 7);
    deleteAutomaticly = true;
    EXPECT_EQ(Run(TFileCommand::Delete).after, TAfterFileCommand::ShowCurrent);
    EXPECT_EQ(dialogs.questions[2].text, "Вы хотите удалить 5  сообщения ?");
    EXPECT_EQ(List().ShownCount, 2);
    EXPECT_EQ(List().SelCount, 0);
    EXPECT_EQ(rowCount, 2);
    EXPECT_EQ(dialogs.unanswered, 0);
}

TEST_F(FileCommandsTest, CopyOffersTheFolderUsedLastAndCreatesAMissingOne) {
    const LanguageGuard english(true);
    Fill(5);
    testing_support::MakeDirs(Folder("first"));
    WriteSetting(services.settingsFile, keys::CopyFolder, Folder("first"));
    for (int r : {0, 2, 4}) panel.Current().ToggleRow(r);
    row = 1;
    dialogs.folderAnswers = {QString::fromStdString(Folder("new/sub"))};
    dialogs.messageAnswers = {TMsgResult::Yes};
    EXPECT_EQ(Run(TFileCommand::Copy).after, TAfterFileCommand::ShowCurrent);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0].call, ScriptedDialogs::Call::Folder);
    EXPECT_EQ(dialogs.questions[0].title, "Select Directory");
    EXPECT_EQ(dialogs.questions[0].start.toStdString(), Folder("first"));
    EXPECT_EQ(dialogs.questions[1].text, "The specified directory does not exist. Create it?");
    for (const char* name : {"M104.TXT", "M102.TXT", "M100.TXT"})
        EXPECT_EQ(ReadFile(Folder("new/sub/") + name), ReadFile(tree.PathOf("03_12_25", name)));
    EXPECT_EQ(List().Used, 5);
    EXPECT_EQ(List().SelCount, 0);
    EXPECT_EQ(row, 1);

    // The next Copy or Move starts there; cancelling changes nothing.
    EXPECT_EQ(Run(TFileCommand::Copy).after, TAfterFileCommand::ShowCurrent);
    EXPECT_EQ(Run(TFileCommand::Move).after, TAfterFileCommand::Nothing);
    ASSERT_EQ(dialogs.questions.size(), 4u);
    EXPECT_EQ(dialogs.questions[2].start.toStdString(), Folder("new/sub"));
    EXPECT_EQ(dialogs.questions[3].start.toStdString(), Folder("new/sub"));
    EXPECT_EQ(List().Used, 5);
}

TEST_F(FileCommandsTest, FailuresAreListedInOneBoxAndARefusedFolderTouchesNothing) {
    const LanguageGuard english(true);
    Fill(14);
    panel.Current().SelectAll();
    testing_support::WriteFile(Folder("plain"), "not a folder");
    dialogs.folderAnswers = {QString::fromStdString(Folder("plain"))};
    EXPECT_EQ(Run(TFileCommand::Move).after, TAfterFileCommand::Nothing);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_TRUE(dialogs.questions[1].text.startsWith("This is not a folder:"));
    EXPECT_EQ(List().SelCount, 14);

    // Twelve sources vanish before the move; the other two go.
    for (int i = 0; i < 12; ++i)
        fs::remove(tree.PathOf("03_12_25", "M" + std::to_string(100 + i) + ".TXT"));
    testing_support::MakeDirs(Folder("out"));
    dialogs.folderAnswers = {QString::fromStdString(Folder("out"))};
    const TFileCommandOutcome outcome = Run(TFileCommand::Move);
    EXPECT_EQ(outcome.after, TAfterFileCommand::Rescan);
    ASSERT_EQ(dialogs.questions.size(), 4u);
    const ScriptedDialogs::Question& report = dialogs.questions[3];
    EXPECT_EQ(report.kind, TMsgKind::Error);
    const QStringList lines = report.text.split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], "12 of 14 messages were not moved.");
    EXPECT_EQ(lines[1],
              "03_12_25\\M100.TXT: the message cannot be read (No such file or directory)");
    EXPECT_EQ(lines[11], "... and 2 more.");
    EXPECT_TRUE(Exists(Folder("out/M112.TXT")));
    EXPECT_TRUE(Exists(Folder("out/M113.TXT")));
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_EQ(outcome.result.RemovedNames(), removed);
    EXPECT_EQ(List().Used, 12);
}

TEST_F(FileCommandsTest, AMessageSavedAgainSinceItWasListedIsReportedAndStays) {
    const LanguageGuard english(true);
    Fill(2);
    testing_support::WriteFile(tree.PathOf("03_12_25", "M101.TXT"), "saved again, longer");
    dialogs.messageAnswers = {TMsgResult::Yes};
    Run(TFileCommand::Delete);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[1].text,
              "1 of 1 messages were not deleted.\n03_12_25\\M101.TXT: changed since it was listed");
    EXPECT_TRUE(tree.Has("03_12_25", "M101.TXT"));
    EXPECT_EQ(List().Used, 2);
}

TEST_F(FileCommandsTest, CancelInTheProgressDialogStopsBetweenFiles) {
    Fill(40, 50000);
    panel.Current().SelectAll();
    testing_support::MakeDirs(Folder("slow"));
    dialogs.folderAnswers = {QString::fromStdString(Folder("slow"))};
    services.progressDelay = 0;
    window.show();
    bool cancelled = false;
    QTimer canceller;
    canceller.setInterval(0);
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        auto* progress = window.findChild<QProgressDialog*>();
        if (progress == nullptr || !progress->isVisible()) return;
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        cancelled = true;
        canceller.stop();
    });
    canceller.start();
    const TFileCommandOutcome outcome = Run(TFileCommand::Copy);
    canceller.stop();
    ASSERT_TRUE(cancelled);
    const int copied = static_cast<int>(outcome.result.files.size());
    EXPECT_GT(outcome.result.untouched, 0);
    EXPECT_EQ(copied + outcome.result.untouched, 40);
    int whole = 0;
    for (const auto& entry : fs::directory_iterator(Folder("slow"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile(tree.PathOf("03_12_25", name)));
        ++whole;
    }
    EXPECT_EQ(whole, copied);
    EXPECT_EQ(List().SelCount, outcome.result.untouched);
    EXPECT_EQ(outcome.after, TAfterFileCommand::ShowCurrent);
}

} // namespace
