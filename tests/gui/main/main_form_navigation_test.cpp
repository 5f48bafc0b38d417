// The rescan command, the day chooser, the status line's way to an announced
// message, and what counts as the operator's activity.
#include "main_form_fixture.h"

#include "gui/main/message_view.h"

#include <QComboBox>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>

using namespace varnot;
using testing_support::LocalTime;
using testing_support::MainFormFixture;
using testing_support::WriteFile;

namespace {

class NavigationTest : public MainFormFixture {
  protected:
    std::unique_ptr<TMainform> OpenWithClock() {
        auto form = std::make_unique<TMainform>([this] { return now; });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Scanning(); }, 30000));
        return form;
    }

    static void WaitForPass(TMainform& form) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !form.Scanning() && !TestAccess(form).Scan().RescanPending(); }, 30000));
        // A pending rescan is posted to the event loop: let it start and end.
        QTest::qWait(10);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Scanning(); }, 30000));
    }

    static std::string NameAt(TMainform& form, int row) {
        const TFileInfo* record = form.Panel().RecordAtRow(row);
        return record ? std::string(record->Name()) : std::string();
    }

    // Two days: OLD1 and OLD2 on 04.12.2026, NEW1..NEW4 on 05.12.2026.
    void TwoDays() {
        for (int i = 1; i <= 2; ++i)
            WriteFile(archive / ("26_12_04/OLD" + std::to_string(i) + ".TXT"), "old\r\n",
                      LocalTime(2026, 12, 4, 10, i));
        for (int i = 1; i <= 4; ++i)
            WriteFile(archive / ("26_12_05/NEW" + std::to_string(i) + ".TXT"), "new\r\n",
                      LocalTime(2026, 12, 5, 10, i));
    }

    qint64 now = 10'000'000;
};

TEST_F(NavigationTest, TheDayChooserListsTheNewestDayFirstAndJumpsWithinMemory) {
    TwoDays();
    Settings();
    auto form = OpenWithClock();
    ASSERT_EQ(form->Frame().DateComboBox->count(), 2);
    EXPECT_EQ(form->Frame().DateComboBox->itemText(0), "05.12.2026");
    EXPECT_EQ(form->Frame().DateComboBox->itemText(1), "04.12.2026");
    EXPECT_EQ(form->Frame().DateComboBox->currentIndex(), 0);

    now += 1000;
    form->Frame().DateComboBox->setCurrentIndex(1);
    emit form->Frame().DateComboBox->activated(1);
    // The whole archive is in memory: no pass, the row of the day's newest message.
    EXPECT_FALSE(form->Scanning());
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 0);
    EXPECT_EQ(Row(*form), 4);
    EXPECT_EQ(NameAt(*form, 4), "26_12_04\\OLD2.TXT");
    EXPECT_EQ(TestAccess(*form).Scan().LastActionTick,
              now); // a change of the day is the operator's

    emit form->Frame().DateComboBox->activated(0);
    EXPECT_EQ(Row(*form), 0);
}

TEST_F(NavigationTest, AnOlderDayOfAFullListRescansFromThatDayAndTheRescanReturns) {
    TwoDays();
    WriteFile(program / "varnot.INI",
              "[Frame]\r\nW=760\r\nH=560\r\n[main]\r\nPath=" + archive.path() +
                  "\r\nDeleteAutomaticly=NO\r\nViewBufferSize=3\r\n");
    auto form = OpenAndScan();
    ASSERT_TRUE(form->Panel().Current().Overflow);
    ASSERT_EQ(form->ShownCount(), 3);

    form->Frame().DateComboBox->setCurrentIndex(1);
    emit form->Frame().DateComboBox->activated(1);
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 1);
    EXPECT_EQ(TestAccess(*form).Scan().RereadArg(), TReReadMode::Quiet);
    WaitForPass(*form);
    ASSERT_EQ(form->ShownCount(), 2);
    EXPECT_EQ(NameAt(*form, 0), "26_12_04\\OLD2.TXT");

    // A day written meanwhile appears in the chooser at the next drop-down.
    testing_support::MakeDirs(archive / "26_12_06");
    WriteFile(archive / "26_12_06/LATEST.TXT", "x\r\n", LocalTime(2026, 12, 6, 8, 0));
    form->Frame().DateComboBox->showPopup();
    form->Frame().DateComboBox->hidePopup();
    EXPECT_EQ(form->Frame().DateComboBox->count(), 3);
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "04.12.2026"); // the day shown stays

    form->Frame().RereadButton->click();
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 0);
    EXPECT_EQ(form->Frame().DateComboBox->currentIndex(), 0);
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "06.12.2026");
    WaitForPass(*form);
    EXPECT_EQ(NameAt(*form, 0), "26_12_06\\LATEST.TXT");
    // Every record was matched again: a full refilter announces nothing,
    // although every message of the returned list is new to it.
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
}

TEST_F(NavigationTest, TheRescanMenuItemDoesWhatTheButtonDoes) {
    TwoDays();
    Settings();
    auto form = OpenAndScan();
    TestAccess(*form).Scan().DateIndex = 1;
    form->Frame().RereadItem->trigger();
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 0);
    WaitForPass(*form);
    EXPECT_EQ(form->ShownCount(), 6);
}

TEST_F(NavigationTest, AStatusLineClickShowsAMessageTheFilterHid) {
    WriteFile(archive / "26_12_05/ALARM.TXT", "Fire ALARM\r\n", LocalTime(2026, 12, 5, 9, 0));
    Settings("FilterIndex=1\r\n[Filters]\r\n0=Alarms *.* ALARM\r\n");
    auto form = OpenAndScan();
    ASSERT_EQ(form->Frame().FilterComboBox->currentIndex(), 1);
    WriteFile(archive / "26_12_05/QUIET.TXT", "Nothing happens\r\n", LocalTime(2026, 12, 5, 10, 0));
    Rescan(*form);
    ASSERT_EQ(TestAccess(*form).Scan().LastNewFile(), "26_12_05\\QUIET.TXT");
    ASSERT_EQ(form->ShownCount(), 1);
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // An operator at work: the pass that lands would keep ALARM on display.
    TestAccess(*form).Scan().RecordAction();
    QTest::mouseClick(form->Frame().HintLabel, Qt::LeftButton);
    EXPECT_EQ(form->Frame().FilterComboBox->currentIndex(), 0);
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
    EXPECT_EQ(form->Frame().HintLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    WaitForPass(*form);
    EXPECT_EQ(form->ShownCount(), 2);
    EXPECT_EQ(NameAt(*form, Row(*form)), "26_12_05\\QUIET.TXT");
    // The program chose All; the stored choice is the operator's.
    EXPECT_EQ(IniFile(program / "varnot.INI").ReadInteger("main", "FilterIndex", -1), 1);

    // Without an announcement a click does nothing.
    form->Panel().Refilter = false;
    QTest::mouseClick(form->Frame().HintLabel, Qt::LeftButton);
    EXPECT_FALSE(form->Scanning());
}

TEST_F(NavigationTest, AStatusLineClickFromAnOlderDayShowsTheMessageOnceThePassHasLanded) {
    TwoDays();
    WriteFile(program / "varnot.INI",
              "[Frame]\r\nW=760\r\nH=560\r\n[main]\r\nPath=" + archive.path() +
                  "\r\nDeleteAutomaticly=NO\r\nViewBufferSize=3\r\n");
    auto form = OpenWithClock(); // an operator at work: never idle
    form->Frame().DateComboBox->setCurrentIndex(1);
    emit form->Frame().DateComboBox->activated(1);
    WaitForPass(*form);
    ASSERT_EQ(NameAt(*form, 0), "26_12_04\\OLD2.TXT");
    TestAccess(*form).Scan().SetAnnouncement("26_12_05\\NEW3.TXT", "announced");
    form->UpdateStatusLine();

    QTest::mouseClick(form->Frame().HintLabel, Qt::LeftButton);
    EXPECT_EQ(TestAccess(*form).Scan().DateIndex, 0);
    WaitForPass(*form);
    EXPECT_EQ(NameAt(*form, Row(*form)), "26_12_05\\NEW3.TXT");
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "05.12.2026");
    // Every record came back matched: no other message is announced instead.
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
}

TEST_F(NavigationTest, TheDayChooserShowsTheDayOfTheMessageOnDisplay) {
    TwoDays();
    Settings();
    auto form = OpenWithClock();
    const auto chooseOlderDay = [&] {
        form->Frame().DateComboBox->setCurrentIndex(1);
        emit form->Frame().DateComboBox->activated(1);
        ASSERT_EQ(NameAt(*form, Row(*form)), "26_12_04\\OLD2.TXT");
    };
    chooseOlderDay();
    form->Frame().LastButton->click();
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "05.12.2026");

    chooseOlderDay();
    form->Frame().FirstButton->click();
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "04.12.2026");
    TestAccess(*form).Scan().SetAnnouncement("26_12_05\\NEW3.TXT", "announced");
    QTest::mouseClick(form->Frame().HintLabel, Qt::LeftButton);
    EXPECT_EQ(NameAt(*form, Row(*form)), "26_12_05\\NEW3.TXT");
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "05.12.2026");

    // A rescan brings an idle operator back to the newest message.
    chooseOlderDay();
    now += 6 * 60000;
    form->Frame().RereadButton->click();
    WaitForPass(*form);
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(form->Frame().DateComboBox->currentText(), "05.12.2026");
}

TEST_F(NavigationTest, AStatusLineClickGoesToTheAnnouncedRow) {
    Messages(5);
    Settings();
    auto form = OpenAndScan();
    form->Frame().PrevButton->click();
    form->Frame().PrevButton->click();
    TestAccess(*form).Scan().SetAnnouncement(NameAt(*form, 4), "announced");
    form->UpdateStatusLine();
    QTest::mouseClick(form->Frame().HintLabel, Qt::LeftButton);
    EXPECT_EQ(Row(*form), 4);
    EXPECT_FALSE(form->Scanning()); // nothing hid it: no rescan
    EXPECT_TRUE(TestAccess(*form).Scan().LastNewFile().empty());
}

TEST_F(NavigationTest, AnIdleOperatorSeesTheNewestMessageUnread) {
    Messages(5);
    Settings("AutoShow=YES\r\nAutoShowDelay=5\r\nMarkDelay=500\r\n");
    auto form = OpenWithClock();
    // A key press in the list is activity; so is the arrow it moves with.
    QTest::keyClick(form->Frame().FileGrid, Qt::Key_Down);
    EXPECT_EQ(TestAccess(*form).Scan().LastActionTick, now);
    const qint64 pressed = now;
    // The buttons of the status panel are not.
    now += 1000;
    form->Frame().PrevButton->click();
    EXPECT_EQ(TestAccess(*form).Scan().LastActionTick, pressed);
    ASSERT_EQ(Row(*form), 2);

    // Not idle yet: the pass keeps the row, and the message is read after the dwell.
    now += 600;
    TestAccess(*form).Scan().TimerTimer();
    EXPECT_TRUE(form->Panel().RecordAtRow(2)->Has(TFileInfo::Read));
    WriteFile(archive / "26_12_05/N1.TXT", "new\r\n", LocalTime(2026, 12, 5, 1, 0));
    Rescan(*form);
    EXPECT_EQ(NameAt(*form, Row(*form)), "26_12_05\\M0002.TXT");

    // Six minutes without a key: the newest message comes into view and stays bold.
    now = pressed + 6 * 60000;
    WriteFile(archive / "26_12_05/N2.TXT", "newer\r\n", LocalTime(2026, 12, 5, 2, 0));
    Rescan(*form);
    EXPECT_EQ(Row(*form), 0);
    EXPECT_EQ(NameAt(*form, 0), "26_12_05\\N2.TXT");
    for (int tick = 0; tick < 20; ++tick) {
        now += 100;
        TestAccess(*form).Scan().TimerTimer();
    }
    EXPECT_FALSE(form->Panel().RecordAtRow(0)->Has(TFileInfo::Read));

    // A mouse press in the view ends the idleness.
    QTest::mousePress(form->Frame().View->ViewMemo->viewport(), Qt::LeftButton);
    QTest::mouseRelease(form->Frame().View->ViewMemo->viewport(), Qt::LeftButton);
    EXPECT_EQ(TestAccess(*form).Scan().LastActionTick, now);
    EXPECT_FALSE(TestAccess(*form).Scan().IsIdle());
}

} // namespace
