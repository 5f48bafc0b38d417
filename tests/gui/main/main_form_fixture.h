#pragma once

// A main window on a temporary archive: the settings file points at it, and
// the window is opened and waited for until its first pass has ended.
#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/archive/file_info.h"
#include "gui/app/lang.h"
#include "gui/app/qt_translations.h"
#include "gui/main/list_controller.h"
#include "gui/main/main_form.h"
#include "gui/main/main_form_test_access.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "support/temp_dir.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class MainFormFixture : public ::testing::Test {
  protected:
    void SetUp() override { varnot::SetProgramPaths({program.path(), program / "varnot.INI"}); }
    void TearDown() override {
        varnot::English = true;
        varnot::ApplyToolkitLanguage();
    }

    // The settings: the archive, a window large enough for twenty-odd rows,
    // then `extra` (more lines of [main], or further sections).
    void Settings(const std::string& extra = "") {
        WriteFile(program / "varnot.INI",
                  "[Frame]\r\nW=760\r\nH=560\r\nSplit=70\r\n[main]\r\nPath=" + archive.path() +
                      "\r\nDeleteAutomaticly=NO\r\nViewBufferSize=4000\r\n" + extra);
    }

    // `count` messages "M0000.TXT".. in day folder 26_12_05, one minute apart,
    // the last one the newest (row 0).
    void Messages(int count) {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "26_12_05/M%04d.TXT", i);
            WriteFile(archive / name, "Brief " + std::to_string(i) + "\r\nBody\r\n",
                      LocalTime(2026, 12, 5, 0, 0) + i * 60);
        }
    }

    // The messages of the status-line examples: MSG001.TXT, two lines of 57
    // bytes, newest; then A, B and C of 1000, 2000 and 2240 bytes.
    void StatusLineMessages() {
        const std::string first = "first line\r\n";
        WriteFile(archive / "26_12_05/MSG001.TXT",
                  first + std::string(57 - first.size() - 2, 'x') + "\r\n",
                  LocalTime(2026, 12, 5, 10, 0));
        WriteFile(archive / "26_12_05/A.TXT", std::string(1000, 'a'), LocalTime(2026, 12, 5, 9, 0));
        WriteFile(archive / "26_12_05/B.TXT", std::string(2000, 'b'), LocalTime(2026, 12, 5, 8, 0));
        WriteFile(archive / "26_12_05/C.TXT", std::string(2240, 'c'), LocalTime(2026, 12, 5, 7, 0));
    }

    template <typename Form = varnot::TMainform> std::unique_ptr<Form> OpenAndScan() {
        auto form = std::make_unique<Form>();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
        return form;
    }

    static void Rescan(varnot::TMainform& form) {
        form.Rescan(varnot::TReReadMode::AnnounceNew);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Scanning(); }, 30000));
    }

    static std::vector<int> SelectedRows(varnot::TMainform& form) {
        std::vector<int> rows;
        for (int row = 0; row < form.ShownCount(); ++row)
            if (form.Panel().IsRowSelected(row)) rows.push_back(row);
        return rows;
    }

    static int Row(varnot::TMainform& form) { return form.CurrentRow(); }

    TempDir program;
    TempDir archive;
};

} // namespace testing_support
