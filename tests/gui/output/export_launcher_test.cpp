#include "gui/output/export_launcher.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "gui/support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace varnot;
using testing_support::Exists;
using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class ExportLauncherTest : public ::testing::Test {
  protected:
    void SetUp() override { SetProgramPaths({dir.path(), dir / "varnot.INI"}); }

    // Stands in for the editor: writes the argument it was started with.
    std::string Editor() {
        const std::string script = dir / "my editor";
        WriteFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (dir / "argument") + "\"\n");
        ::chmod(script.c_str(), 0755);
        return script;
    }

    TempDir dir;
    ScriptedDialogs dialogs;
};

TEST_F(ExportLauncherTest, MissingProgramIsAskedForStoredAndStartedOnTheExport) {
    const std::string message = dir / "a.txt";
    WriteFile(message, "text", LocalTime(2003, 12, 25, 10, 5));
    std::string program;
    dialogs.messageAnswers = {TMsgResult::Yes};
    dialogs.fileAnswers = {QString::fromStdString(Editor())};

    EXPECT_EQ(ExportMessages(nullptr, program, keys::NotePadExe, {message}, true, false),
              TExportOutcome::Started);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0].text, "Editor not found. Do you want to install it ?");
    EXPECT_EQ(dialogs.questions[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(dialogs.questions[1].call, ScriptedDialogs::Call::OpenFile);
    EXPECT_EQ(program, Editor());
    EXPECT_EQ(IniFile(dir / "varnot.INI").ReadString("main", "NotePadExe", ""), program);
    EXPECT_EQ(ReadFile(dir / "expo.txt"), "10:05 25.12.2003\r\ntext\r\n");
    // The path reaches the program as one argument, blanks and all.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Exists(dir / "argument"); }, 30000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ReadFile(dir / "argument") == dir / "expo.txt"; }));
    EXPECT_EQ(dialogs.unanswered, 0);
}

TEST_F(ExportLauncherTest, DeclinedOrUnstartableProgram) {
    std::string program;
    EXPECT_EQ(ExportLines(nullptr, program, keys::WordExe, {"line"}), TExportOutcome::NoProgram);
    EXPECT_EQ(dialogs.questions.size(), 1u); // declined: no file dialog
    EXPECT_FALSE(Exists(dir / "expo.txt"));

    // An existing file that cannot be run.
    program = dir / "not a program";
    WriteFile(program, "text");
    dialogs.questions.clear();
    EXPECT_EQ(ExportLines(nullptr, program, keys::WordExe, {"one", "два"}),
              TExportOutcome::NotStarted);
    EXPECT_EQ(ReadFile(dir / "expo.txt"), "one\r\nдва\r\n");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].kind, TMsgKind::Error);
    EXPECT_TRUE(dialogs.questions[0].text.contains(QString::fromStdString(program)));
}

} // namespace
