// Automatic deletion in the real viewer: an announced file on a full list
// deletes the oldest kept message, but never through a day folder that has
// become a link, and never a file that was written again since the pass.
// At start-up the viewer deletes the temporary files a killed run left.
#include "core/archive/day_folders.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

constexpr int Patience = 20000; // ms; the programs may run under a sanitizer

// A viewer with a list of three on an archive of three messages: two of
// today and the oldest in an older day folder.
class DeletionEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(VARNOT_BIN_DIR "/varnot", program / "varnot");
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
        WriteFile(program / "varnot.INI",
                  "[main]\r\nPath=" + archive.path() +
                      "\r\nDeleteAutomaticly=YES\r\nViewBufferSize=3\r\nRereadDelay=60\r\n"
                      "[DDE]\r\nService=DELE2E\r\n");
        WriteFile(TodayPath("T1.TXT"), "first\r\n", now - 300);
        WriteFile(TodayPath("T2.TXT"), "second\r\n", now - 200);
        WriteFile(oldest, "oldest\r\n", testing_support::LocalTime(2003, 12, 24, 12));
    }
    void TearDown() override {
        if (watch_ >= 0) ::close(watch_);
    }

    std::string TodayPath(const std::string& name) const {
        return archive / (varnot::TodayFolderName() + "/" + name);
    }

    // Before the first pass has put its list on display nothing opens a
    // message; then the newest one is shown. Its opening is the sign.
    void StartAndWaitForTheFirstPass() {
        watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch_, 0);
        const std::string today = archive / varnot::TodayFolderName();
        ASSERT_GE(::inotify_add_watch(watch_, today.c_str(), IN_OPEN), 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        viewer.setProcessEnvironment(env);
        viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        viewer.start(QString::fromStdString(program / "varnot"), {});
        ASSERT_TRUE(viewer.waitForStarted(Patience));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Opened("T2.TXT"); }, Patience));
    }

    bool Opened(const std::string& name) {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(watch_, buffer, sizeof buffer);
            if (got <= 0) return false;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name == event->name) return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    void Announce(const std::string& name) {
        QProcess poke;
        poke.setProcessEnvironment(viewer.processEnvironment());
        poke.setProcessChannelMode(QProcess::ForwardedChannels);
        poke.start(VARNOT_BIN_DIR "/varnot-poke",
                   {"--service", "DELE2E", QString::fromStdString(name)});
        ASSERT_TRUE(poke.waitForFinished(Patience));
        EXPECT_EQ(poke.exitCode(), 0);
    }

    // An orderly end: the marks file then lists what was on display.
    std::string StopAndReadMarks() {
        EXPECT_EQ(::kill(static_cast<pid_t>(viewer.processId()), SIGTERM), 0);
        EXPECT_TRUE(viewer.waitForFinished(Patience));
        return ReadFile(program / "attr.sav");
    }

    TempDir program, runtime, archive, away;
    const std::time_t now = std::time(nullptr);
    const std::string oldest = archive / "03_12_24/OLD.TXT";
    const std::string newName = varnot::TodayFolderName() + "\\NEW.TXT,";
    QProcess viewer;

  private:
    int watch_ = -1;
};

TEST_F(DeletionEndToEndTest, NothingBehindADayFolderSwappedForALinkIsDeleted) {
    StartAndWaitForTheFirstPass();
    const std::string moved = away / "03_12_24";
    fs::rename(archive / "03_12_24", moved);
    fs::create_directory_symlink(moved, archive / "03_12_24");
    WriteFile(TodayPath("NEW.TXT"), "new\r\n", now);
    Announce("NEW.TXT");
    const std::string marks = StopAndReadMarks();
    EXPECT_TRUE(Exists(moved + "/OLD.TXT"));
    // The announcement was taken and the oldest record left the list.
    EXPECT_NE(marks.find(newName), std::string::npos) << marks;
    EXPECT_EQ(marks.find("OLD.TXT"), std::string::npos) << marks;
}

TEST_F(DeletionEndToEndTest, TheOldestMessageSavedAgainSurvivesTheNextArrival) {
    StartAndWaitForTheFirstPass();
    WriteFile(oldest, "oldest\r\n", now - 100);
    WriteFile(TodayPath("NEW.TXT"), "new\r\n", now);
    Announce("NEW.TXT");
    const std::string marks = StopAndReadMarks();
    EXPECT_TRUE(Exists(oldest));
    EXPECT_NE(marks.find(newName), std::string::npos) << marks;
}

TEST_F(DeletionEndToEndTest, TemporaryFilesOfAKilledRunAreRemovedAtStart) {
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string settingsLeftover =
        program / (".varnot.INI." + std::to_string(dead) + ".0.tmp");
    const std::string marksLeftover = program / (".attr.sav." + std::to_string(dead) + ".1.tmp");
    WriteFile(settingsLeftover, "[main]\r\n");
    WriteFile(marksLeftover, "");
    StartAndWaitForTheFirstPass();
    EXPECT_FALSE(Exists(settingsLeftover));
    EXPECT_FALSE(Exists(marksLeftover));
    StopAndReadMarks();
}

} // namespace
