// The real program, started as a process: one copy at a time, and an orderly
// end on the shutdown signals.
#include "core/app/ini_file.h"
#include "core/archive/dos_time.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::Exists;
using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

constexpr int Patience = 20000; // ms; generous, the program may run under a sanitizer

bool HoldsLock(QProcess& process, const std::string& path);

// A copy of the program in a folder of its own (so its settings file lands
// there) and a runtime folder of its own for the lock.
class ProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        fs::copy_file(VARNOT_BIN_DIR "/varnot", exe, fs::copy_options::overwrite_existing);
        fs::permissions(exe, fs::perms::owner_all);
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    }

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtimeFolder()));
        return env;
    }

    void Start(QProcess& process, const QProcessEnvironment& env) {
        process.setProcessEnvironment(env);
        process.setProgram(QString::fromStdString(exe));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        ASSERT_TRUE(process.waitForStarted(Patience));
    }
    void Start(QProcess& process) { Start(process, Environment()); }

    // Runs a copy of the program that is to answer and end by itself.
    void Ask(QProcess& process, const QStringList& arguments, const QProcessEnvironment& env) {
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(exe), arguments);
        ASSERT_TRUE(process.waitForFinished(Patience));
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    }

    std::string runtimeFolder() const {
        return runtime.path().substr(0, runtime.path().size() - 1);
    }
    std::string lockPath() const { return runtime / "PELLMAR_VARNOT_SHAREAD_MEMORY"; }
    std::string settingsPath() const { return program / "varnot.INI"; }
    // The announce socket: the window opens it last while starting up.
    std::string servicePath() const { return runtime / "ZEVA"; }

    // Waits until `process` runs with its window up: it holds the lock, has
    // marked this run in the settings and opened its announce socket.
    bool Running(QProcess& process) { return Running(process, settingsPath()); }
    bool Running(QProcess& process, const std::string& settings) {
        if (!HoldsLock(process, lockPath())) return false;
        for (int waited = 0; waited < Patience; waited += 20) {
            if (Exists(servicePath()) &&
                varnot::IniFile(settings).ReadString("main", "LastExitIsGood", "") == "NO")
                return true;
            if (process.waitForFinished(20)) return false;
        }
        return false;
    }

    TempDir program;
    TempDir runtime;
    TempDir archive;
    std::string exe = program / "varnot";
};

// The process holding the lock on `path`, read from the kernel's lock table
// (taking the lock ourselves to look would race with the program's start).
qint64 LockHolder(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return -1;
    std::ifstream locks("/proc/locks");
    std::string line;
    const std::string inode = ":" + std::to_string(st.st_ino);
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 7210 fe:00:10953252 0 EOF"
        std::istringstream fields(line);
        std::string number, type, mode, access, device;
        qint64 pid = -1;
        fields >> number >> type >> mode >> access >> pid >> device;
        if (type == "FLOCK" && device.size() > inode.size() &&
            device.compare(device.size() - inode.size(), inode.size(), inode) == 0)
            return pid;
    }
    return -1;
}

// Waits until `process` holds the lock; false when it ended or never took it.
bool HoldsLock(QProcess& process, const std::string& path) {
    for (int waited = 0; waited < Patience; waited += 20) {
        if (LockHolder(path) == process.processId()) return true;
        if (process.waitForFinished(20)) return false;
    }
    return false;
}

void ExpectCleanExit(QProcess& process) {
    ASSERT_TRUE(process.waitForFinished(Patience));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

void Signal(QProcess& process, int signal) {
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), signal), 0);
}

} // namespace

TEST_F(ProcessTest, ASecondStartEndsAtOnceWhileTheFirstRuns) {
    QProcess first;
    Start(first);
    ASSERT_TRUE(HoldsLock(first, lockPath()));

    QProcess second;
    Start(second);
    ExpectCleanExit(second);

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(LockHolder(lockPath()), first.processId());
    Signal(first, SIGTERM);
    ExpectCleanExit(first);
}

class ShutdownSignalTest : public ProcessTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShutdownSignalTest, EndsOrderlyWithTheGeometrySaved) {
    QProcess process;
    Start(process);
    ASSERT_TRUE(Running(process));

    Signal(process, GetParam());
    ExpectCleanExit(process);

    const varnot::IniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadString("main", "LastExitIsGood", ""), "YES");
    EXPECT_EQ(ini.ReadInteger("Frame", "W", -1), 400);
    EXPECT_EQ(ini.ReadInteger("Frame", "H", -1), 200);
    EXPECT_EQ(ini.ReadInteger("Frame", "X", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Frame", "Y", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Frame", "Split", -1), 20);

    // The lock went with it: the next start runs.
    QProcess next;
    Start(next);
    EXPECT_TRUE(HoldsLock(next, lockPath()));
    Signal(next, SIGTERM);
    ExpectCleanExit(next);
}

INSTANTIATE_TEST_SUITE_P(Signals, ShutdownSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) {
                             switch (info.param) {
                             case SIGTERM:
                                 return std::string("SIGTERM");
                             case SIGINT:
                                 return std::string("SIGINT");
                             default:
                                 return std::string("SIGHUP");
                             }
                         });

TEST_F(ProcessTest, AKilledRunLeavesItsMarksUnusedAndDoesNotBlockTheNextStart) {
    const std::string day = "26_12_05";
    WriteFile(archive / (day + "/MSG1.TXT"), "message\r\n", LocalTime(2026, 12, 5, 10, 0));
    WriteFile(settingsPath(), "[main]\r\nPath=" + archive.path() + "\r\nLastExitIsGood=YES\r\n");
    QProcess killed;
    Start(killed);
    ASSERT_TRUE(Running(killed));
    // Marks that would show MSG1 read, had this run ended cleanly.
    const std::string marked = day + "\\MSG1.TXT,40,";
    WriteFile(program / "attr.sav",
              marked + std::to_string(varnot::DosTimeFromUnix(LocalTime(2026, 12, 5, 10, 0))) +
                  ",0\r\n");
    Signal(killed, SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(Patience));
    EXPECT_EQ(killed.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(varnot::IniFile(settingsPath()).ReadString("main", "LastExitIsGood", ""), "NO");

    // The next start runs, lists MSG1 without those marks, and ends by itself
    // once its first pass is on display (the screenshot aid closes it).
    QProcessEnvironment env = Environment();
    env.insert("VARNOT_SCREENSHOT", QString::fromStdString(program / "shot.png"));
    QProcess next;
    Start(next, env);
    ExpectCleanExit(next);
    const std::string marks = ReadFile(program / "attr.sav");
    EXPECT_NE(marks.find(day + "\\MSG1.TXT,"), std::string::npos) << marks;
    EXPECT_EQ(marks.find(marked), std::string::npos) << marks;
    EXPECT_EQ(varnot::IniFile(settingsPath()).ReadString("main", "LastExitIsGood", ""), "YES");
}

TEST_F(ProcessTest, WithoutALockFileTheProgramEndsSilently) {
    QProcessEnvironment env = Environment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime / "missing"));
    QProcess process;
    Start(process, env);
    ExpectCleanExit(process);
    // It never got as far as a window.
    EXPECT_FALSE(Exists(settingsPath()));
}

TEST_F(ProcessTest, WithoutARuntimeFolderTheLockIsPerUserInTheTemporaryFolder) {
    TempDir temporary;
    QProcessEnvironment env = Environment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", QString::fromStdString(temporary.path()));
    const std::string lock =
        temporary / ("PELLMAR_VARNOT_SHAREAD_MEMORY-" + std::to_string(getuid()));

    QProcess first;
    Start(first, env);
    ASSERT_TRUE(HoldsLock(first, lock));
    QProcess second;
    Start(second, env);
    ExpectCleanExit(second);
    EXPECT_EQ(first.state(), QProcess::Running);
    Signal(first, SIGTERM);
    ExpectCleanExit(first);
}

TEST_F(ProcessTest, HelpAndVersionAnswerWithoutADisplayWhileACopyRuns) {
    QProcess first;
    Start(first);
    ASSERT_TRUE(HoldsLock(first, lockPath()));
    QProcessEnvironment bare = Environment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) bare.remove(name);

    QProcess version;
    Ask(version, {"--version"}, bare);
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("varnot "));
    QProcess help;
    Ask(help, {"--help"}, bare);
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("usage: varnot"));
    QProcess bogus;
    Ask(bogus, {"--bogus"}, bare);
    EXPECT_EQ(bogus.exitCode(), 2);
    EXPECT_TRUE(bogus.readAllStandardOutput().isEmpty());
    const QByteArray complaint = bogus.readAllStandardError();
    EXPECT_TRUE(complaint.contains("--bogus") && complaint.contains("usage: varnot"))
        << complaint.toStdString();

    EXPECT_EQ(first.state(), QProcess::Running);
    Signal(first, SIGTERM);
    ExpectCleanExit(first);
}

TEST_F(ProcessTest, AnInstalledProgramKeepsItsFilesInTheUsersConfigFolder) {
    namespace fs = std::filesystem;
    TempDir prefix;
    TempDir user;
    testing_support::MakeDirs(prefix / "share/varnot");
    testing_support::MakeDirs(prefix / "bin");
    exe = prefix / "bin/varnot";
    fs::copy_file(VARNOT_BIN_DIR "/varnot", exe);
    QProcessEnvironment env = Environment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(user / "config"));
    const std::string folder = user / "config/varnot/";

    QProcess process;
    Start(process, env);
    ASSERT_TRUE(Running(process, folder + "varnot.INI"));
    Signal(process, SIGTERM);
    ExpectCleanExit(process);
    EXPECT_EQ(varnot::IniFile(folder + "varnot.INI").ReadString("main", "LastExitIsGood", ""),
              "YES");
    EXPECT_TRUE(Exists(folder + "attr.sav"));
    // Nothing beside the installed executable.
    EXPECT_EQ(std::distance(fs::directory_iterator(prefix / "bin"), fs::directory_iterator()), 1);
}
