// The whole road of a message: the real viewer runs headless on a temporary
// archive, files appear in today's folder and are announced with varnot-poke,
// and the marks file written at an orderly shutdown lists each of them.
#include "core/app/ini_file.h"
#include "core/archive/day_folders.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

constexpr int Patience = 20000; // ms; the programs may run under a sanitizer

TEST(ViewerEndToEnd, AnnouncedMessagesAreListedAndTheirMarksSaved) {
    namespace fs = std::filesystem;
    TempDir program, runtime, archive;
    const std::string exe = program / "varnot";
    fs::copy_file(VARNOT_BIN_DIR "/varnot", exe);
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    WriteFile(program / "varnot.INI",
              "[main]\r\nPath=" + archive.path() +
                  "\r\nDeleteAutomaticly=NO\r\n[DDE]\r\nService=C:\\RX\\E2E.EXE\r\n");
    const std::string today = varnot::TodayFolderName();
    testing_support::MakeDirs(archive / today);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer.start(QString::fromStdString(exe), {});
    ASSERT_TRUE(viewer.waitForStarted(Patience));
    // The service is up once its socket exists (named after the reduced service name).
    ASSERT_TRUE(QTest::qWaitFor([&] { return Exists(runtime / "E2E"); }, Patience));

    const std::time_t now = std::time(nullptr);
    QStringList announced;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "msg" + std::to_string(i) + ".txt";
        WriteFile(archive / (today + "/" + name), "Message " + std::to_string(i) + "\r\n",
                  now - 50 + i);
        // The receiving program may spell the name in any case and with its own folder.
        announced << QString::fromStdString(i % 2 ? "C:\\RECEIVE\\" + name
                                                  : "MSG" + std::to_string(i) + ".TXT");
    }
    QProcess poke;
    poke.setProcessEnvironment(env);
    poke.setProcessChannelMode(QProcess::ForwardedChannels);
    poke.start(VARNOT_BIN_DIR "/varnot-poke", QStringList{"--service", "E2E"} + announced);
    ASSERT_TRUE(poke.waitForFinished(Patience));
    EXPECT_EQ(poke.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(poke.exitCode(), 0);

    ASSERT_EQ(kill(static_cast<pid_t>(viewer.processId()), SIGTERM), 0);
    ASSERT_TRUE(viewer.waitForFinished(Patience));
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 0);

    const std::string marks = ReadFile(program / "attr.sav");
    for (int i = 0; i < 5; ++i) {
        const std::string line = today + "\\MSG" + std::to_string(i) + ".TXT,";
        EXPECT_NE(marks.find(line), std::string::npos) << line << " missing from:\n" << marks;
    }
    EXPECT_EQ(varnot::IniFile(program / "varnot.INI").ReadString("main", "LastExitIsGood", ""),
              "YES");
    // The socket goes with the viewer.
    EXPECT_FALSE(Exists(runtime / "E2E"));
}

} // namespace
