// Test entry of the GUI tests: one QApplication for all of them, headless.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Windows made by the tests serve their announce socket and take their
    // lock in a runtime folder of this process, never in the user's own.
    std::string runtime = (std::filesystem::temp_directory_path() / "varnot-run-XXXXXX").string();
    if (mkdtemp(runtime.data()) != nullptr) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Nothing a test does reaches the user's desktop: the session bus is one
    // that does not exist, unless the tests run on a private bus of their own.
    if (std::getenv("VARNOT_TEST_SESSION_BUS") == nullptr)
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + runtime + "/no-bus").c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return result;
}
