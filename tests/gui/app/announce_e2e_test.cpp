// The road of one message: the receiving program (varnot-poke, varnot-sim)
// announces a file, the service takes the poke on the window thread and the
// scanner logic puts the file into the list on display.
#include "core/archive/day_folders.h"
#include "core/scan/scan_fixture.h"
#include "gui/main/announce_service.h"
#include "support/temp_dir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>

using testing_support::TempDir;
using varnot::TAnnounceService;
using varnot::testing_scan::ScanFixture;

namespace {

constexpr int Patience = 20000; // ms; generous, the tools may run under a sanitizer

class AnnounceEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        ASSERT_TRUE(service.Start("ZEVA"));
        QObject::connect(&service, &TAnnounceService::FILENAMEPokeData,
                         [this](const QByteArray& firstLine) {
                             f.control->AddArrivedFile(
                                 std::string_view(firstLine.constData(), firstLine.size()));
                         });
        f.Pass();
    }
    void TearDown() override {
        if (oldRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    // Runs a tool without blocking the event loop, which serves its pokes.
    int Run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(env_);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(VARNOT_BIN_DIR "/") + tool, arguments);
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < Patience)
            QTest::qWait(10);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    std::string PutToday(const std::string& name) {
        const std::string path = f.archive / (varnot::TodayFolderName() + "/" + name);
        testing_support::WriteFile(path, "fresh news\r\nbody\r\n", std::time(nullptr));
        return path;
    }

    TempDir runtime;
    ScanFixture f;
    TAnnounceService service;

  private:
    QProcessEnvironment env_;
    std::optional<std::string> oldRuntime_;
};

} // namespace

TEST_F(AnnounceEndToEndTest, APokedFileBecomesTheNewestRow) {
    const std::string path = PutToday("msg001.txt");
    // The receiving program's own path of the file: only its name counts.
    EXPECT_EQ(Run("varnot-poke", {"c:\\in\\MSG001.TXT"}), 0);
    ASSERT_EQ(f.panel->Current().Used, 1);
    EXPECT_EQ(f.panel->RecordAtRow(0)->DiskName(), "msg001.txt");
    EXPECT_EQ(f.control->LastNewFile(), varnot::TodayFolderName() + "\\MSG001.TXT");

    // A missing file is taken and ignored: the client is not told otherwise.
    EXPECT_EQ(Run("varnot-poke", {"missing.txt", QString::fromStdString(path)}), 0);
    EXPECT_EQ(f.panel->Current().Used, 1);
    // A name that cannot be one request line is not sent.
    EXPECT_EQ(Run("varnot-poke", {QString(5000, 'A')}), 1);
}

TEST_F(AnnounceEndToEndTest, TheSimulatorsMessagesArriveInTheList) {
    const std::string dayBefore = varnot::TodayFolderName();
    EXPECT_EQ(Run("varnot-sim", {"--archive", QString::fromStdString(f.archive.path()), "--count",
                                 "3", "--interval", "0"}),
              0);
    // Across midnight a message is written into one day and looked for in the
    // next; the periodic pass finds it then.
    if (varnot::TodayFolderName() == dayBefore) {
        EXPECT_EQ(f.panel->Current().Used, 3);
        EXPECT_FALSE(f.control->LastNewFile().empty());
    }
    f.Pass();
    EXPECT_EQ(f.panel->Current().Used, 3);
}
