// The main window around the scanner: first pass, filter box, marks at shutdown.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/archive/day_folders.h"
#include "core/archive/file_info.h"
#include "core/archive/file_panel.h"
#include "gui/app/lang.h"
#include "gui/main/main_form_test_access.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <ctime>
#include <gtest/gtest.h>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class MainFormScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramPaths({program.path(), program / "varnot.INI"});
        WriteFile(archive / "03_12_25/ALARM1.TXT", "Fire alarm\r\n", LocalTime(2003, 12, 25, 9, 0));
        WriteFile(archive / "03_12_25/CALM2.TXT", "Calm day\r\n", LocalTime(2003, 12, 25, 10, 0));
        WriteFile(archive / "03_12_24/OTHER.DAT", "x", LocalTime(2003, 12, 24, 8, 0));
    }
    void TearDown() override { English = true; }

    void Settings(const std::string& extra) {
        WriteFile(program / "varnot.INI",
                  "[main]\r\nPath=" + archive.path() + "\r\nDeleteAutomaticly=NO\r\n" + extra);
    }

    std::unique_ptr<TMainform> OpenAndScan() {
        auto form = std::make_unique<TMainform>();
        form->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 20000));
        return form;
    }

    std::vector<std::string> Rows(TMainform& form) {
        std::vector<std::string> names;
        for (int row = 0; row < form.ShownCount(); ++row)
            names.emplace_back(form.Panel().RecordAtRow(row)->Name());
        return names;
    }

    TempDir program;
    TempDir archive;
};

TEST_F(MainFormScanTest, TheFirstPassFillsTheListNewestFirst) {
    Settings("");
    auto form = OpenAndScan();
    EXPECT_EQ(Rows(*form), (std::vector<std::string>{"03_12_25\\CALM2.TXT", "03_12_25\\ALARM1.TXT",
                                                     "03_12_24\\OTHER.DAT"}));
    EXPECT_EQ(form->Frame().FileGrid->model()->rowCount(), 3);
    EXPECT_EQ(form->Frame().FileGrid->currentIndex().row(), 0);
    EXPECT_EQ(form->Frame().FileGrid->model()->index(0, 2).data().toString(), "Calm day");
    EXPECT_EQ(form->Frame().FileGrid->model()->index(1, 0).data().toString(), "09:00  25.12");
    EXPECT_TRUE(form->Frame().RereadButton->isEnabled());
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:3");
    // The first pass announces nothing.
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
}

TEST_F(MainFormScanTest, TheFirstPassRunsFromConstructionWithTheDaysReadBeforeIt) {
    Settings("");
    // An empty day folder, which the first pass removes.
    testing_support::MakeDirs(archive / "03_12_20");
    TMainform form;
    EXPECT_TRUE(form.Scanning());
    EXPECT_FALSE(form.Frame().RereadButton->isEnabled());
    EXPECT_EQ(form.Frame().DateComboBox->count(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Scanning(); }, 20000));
    EXPECT_TRUE(form.Frame().RereadButton->isEnabled());
    EXPECT_FALSE(testing_support::Exists(archive / "03_12_20"));
}

TEST_F(MainFormScanTest, TheStoredFilterIsSelectedAndAChoiceRefilters) {
    Settings("FilterIndex=2\r\n[Filters]\r\n0=Text *.TXT\r\n1=Alarms *.* ALARM\r\n");
    auto form = OpenAndScan();
    ASSERT_EQ(form->Frame().FilterComboBox->count(), 3);
    EXPECT_EQ(form->Frame().FilterComboBox->itemText(0), "All");
    EXPECT_EQ(form->Frame().FilterComboBox->currentIndex(), 2);
    EXPECT_EQ(Rows(*form), (std::vector<std::string>{"03_12_25\\ALARM1.TXT"}));

    form->Frame().FilterComboBox->setCurrentIndex(1);
    emit form->Frame().FilterComboBox->activated(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 20000));
    EXPECT_EQ(Rows(*form),
              (std::vector<std::string>{"03_12_25\\CALM2.TXT", "03_12_25\\ALARM1.TXT"}));
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadInteger("main", "FilterIndex", -1), 1);
}

TEST_F(MainFormScanTest, AStoredIndexBeyondTheGroupsSelectsAll) {
    Settings("FilterIndex=7\r\n[Filters]\r\n0=Text *.TXT\r\n");
    auto form = OpenAndScan();
    EXPECT_EQ(form->Frame().FilterComboBox->currentIndex(), 0);
    EXPECT_EQ(form->ShownCount(), 3);
}

TEST_F(MainFormScanTest, AnArrivedMessageIsInsertedIntoTheGridWithoutAReset) {
    Settings("");
    auto form = OpenAndScan();
    WriteFile(archive / (TodayFolderName() + "/NEWS.TXT"), "Fresh news\r\n", std::time(nullptr));
    QSignalSpy resets(form->Frame().FileGrid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(form->Frame().FileGrid->model(), &QAbstractItemModel::rowsInserted);
    TestAccess(*form).Scan().AddArrivedFile("NEWS.TXT");
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserts.count(), 1);
    ASSERT_EQ(form->Frame().FileGrid->model()->rowCount(), 4);
    // The idle operator is shown the newest message.
    EXPECT_EQ(form->Frame().FileGrid->currentIndex().row(), 0);
    EXPECT_EQ(form->Frame().FileGrid->model()->index(0, 2).data().toString(), "Fresh news");
    EXPECT_EQ(form->Frame().RereadButton->text(), "1:4");
}

TEST_F(MainFormScanTest, MarksSurviveACleanExitButNotACrash) {
    Settings("");
    {
        auto form = OpenAndScan();
        form->Panel().RecordAtRow(1)->Flags |= TFileInfo::Read | TFileInfo::Selected;
        form->close();
    }
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "LastExitIsGood", ""), "YES");
    const std::string marks = ReadFile(program / "attr.sav");
    EXPECT_NE(marks.find("03_12_25\\ALARM1.TXT,44,"), std::string::npos) << marks;
    {
        auto form = OpenAndScan();
        EXPECT_TRUE(form->Panel().RecordAtRow(1)->Has(TFileInfo::Read));
        EXPECT_TRUE(form->Panel().RecordAtRow(1)->Has(TFileInfo::Selected));
        EXPECT_EQ(form->Panel().Current().SelCount, 1);
        // This run "crashes": the window goes without its shutdown sequence
        // reaching the settings (the flag stays NO).
        EXPECT_EQ(IniFile(program / "varnot.INI").ReadString("main", "LastExitIsGood", ""), "NO");
        WriteFile(program / "keep.INI", ReadFile(program / "varnot.INI"));
        form->close();
        WriteFile(program / "varnot.INI", ReadFile(program / "keep.INI"));
    }
    auto form = OpenAndScan();
    EXPECT_FALSE(form->Panel().RecordAtRow(1)->Has(TFileInfo::Read));
}

TEST_F(MainFormScanTest, ClosingDuringAPassReturnsAndSavesTheListOnDisplay) {
    Settings("");
    auto form = OpenAndScan();
    form->Panel().RecordAtRow(0)->Flags |= TFileInfo::Read;
    TestAccess(*form).Scan().ReRead(TReReadMode::AnnounceNew);
    form->close();
    EXPECT_FALSE(form->Scanning() && form->isVisible());
    EXPECT_NE(ReadFile(program / "attr.sav").find("03_12_25\\CALM2.TXT,40,"), std::string::npos);
}

} // namespace
