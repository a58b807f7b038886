// The window in the notification area: going there and back, the icon's menu, the balloons,
// the auto-scan timer and a restarted taskbar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/windows/AppTestSupport.h"

namespace {

using platform::NotifyAction;
using platform::kTrayBalloonClick;
using platform::kTrayBalloonTimeout;
using platform::kTrayDoubleClick;
using platform::kTrayRightButtonUp;

const std::string kNoticeTitle = "Zorvik Still Running!";
const std::string kNoticeText =
    "Zorvik is still running but is just minimized\n\rClick here to not show again";

class TrayTest : public apptest::AppTest {
protected:
    void StartWithAutoScan(const std::string& interval = "60") {
        WriteSettings("[AutoScan]\r\nEnabled=1\r\nInterval=" + interval + "\r\n");
        Start();
    }
    void CloseToTray() {
        if (!Op().ChkMin.Checked()) gui.Click(Op().ChkMin);
        gui.UserClose(Form());
    }
    int BalloonsTitled(const std::string& title) const {
        int n = 0;
        for (const platform::NotifyIconData& b : Balloons()) n += b.infoTitle == title;
        return n;
    }
};

TEST_F(TrayTest, ADoubleClickHidesTheWindowAndArmsTheTimerAnotherBringsItBack) {
    StartWithAutoScan("60");
    TrayEvent(kTrayDoubleClick);
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(Main().TmrScan.Enabled());
    EXPECT_EQ(Main().TmrScan.Interval(), 60000u);

    TrayEvent(kTrayDoubleClick);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(gui.ForegroundWindow(), &Form());
    EXPECT_FALSE(Main().TmrScan.Enabled()) << "the timer runs only in the tray";
}

TEST_F(TrayTest, MinimisingHidesToTheTray) {
    StartWithAutoScan("30");
    gui.UserMinimise();
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(Main().TmrScan.Enabled());
    EXPECT_EQ(Main().TmrScan.Interval(), 30000u);
}

TEST_F(TrayTest, TheIntervalBoxDecidesTheTimer) {
    struct Case { std::string text; bool autoScan; bool on; std::uint32_t interval; };
    const Case cases[] = {
        {"5", true, true, 5000},
        {"300", true, true, 300000},
        {"5", false, false, 5000},
        {"0", true, false, 1000},        // no zero-period timer; the interval is left as it was
        {"", true, false, 1000},         // an emptied box: no timer, and no error
        {"abc", true, false, 1000},
        {"3000000", true, true, 0x7FFFFFFF},  // beyond what a timer takes: the longest
    };
    for (const Case& c : cases) {
        Start();
        if (c.autoScan) gui.Click(Op().ChkAutoScan);
        Op().EdtInt.SetText(c.text);
        TrayEvent(kTrayDoubleClick);
        EXPECT_TRUE(InTray()) << "'" << c.text << "'";
        EXPECT_EQ(Main().TmrScan.Enabled(), c.on) << "'" << c.text << "'";
        EXPECT_EQ(Main().TmrScan.Interval(), c.interval) << "'" << c.text << "'";
        EXPECT_TRUE(gui.MessageBoxes().empty()) << "'" << c.text << "'";
        app.reset();
        gui.RestoreApplication();
        gui.ShowTaskbarButton(true);
    }
}

TEST_F(TrayTest, TheRightButtonPopsTheMenuUpAtTheCursor) {
    Start();
    gui.SetCursorPosition({900, 740});
    TrayEvent(kTrayRightButtonUp);
    ASSERT_EQ(gui.Menus().size(), 1u);
    const platform::sim::MenuRecord& menu = gui.Menus()[0];
    EXPECT_EQ(menu.owner, "frmMain");
    EXPECT_EQ(menu.screen, (platform::Point{900, 740}));
    std::vector<std::string> captions;
    for (const platform::MenuEntry& e : menu.entries)
        captions.push_back(e.separator ? "-" : e.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Rescan", "-", "Show\\Hide", "-", "Exit"}));
    EXPECT_EQ(gui.ForegroundWindow(), &Form());
}

TEST_F(TrayTest, RescanFromTheMenuBringsTheWindowBackAndKeepsTheTimer) {
    StartWithAutoScan("60");
    TrayEvent(kTrayDoubleClick);
    ListProgram();
    gui.QueueMenuChoice(Main().Rescan1.Id);
    TrayEvent(kTrayRightButtonUp);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Main().LstProc.RowCount(), 1);
    EXPECT_TRUE(Main().TmrScan.Enabled());
}

TEST_F(TrayTest, ShowHideActsAsADoubleClick) {
    Start();
    gui.QueueMenuChoice(Main().Show1.Id);
    TrayEvent(kTrayRightButtonUp);
    EXPECT_TRUE(InTray());
    gui.QueueMenuChoice(Main().Show1.Id);
    TrayEvent(kTrayRightButtonUp);
    EXPECT_TRUE(Shown());
}

TEST_F(TrayTest, ExitSavesRemovesTheIconAndEnds) {
    Start();
    TrayEvent(kTrayDoubleClick);
    gui.QueueMenuChoice(Main().Exit1.Id);
    TrayEvent(kTrayRightButtonUp);
    EXPECT_TRUE(gui.Terminated());
    EXPECT_TRUE(SettingsText());
    EXPECT_FALSE(shell.CurrentIcon());
    EXPECT_EQ(sys.wsa().CleanupCount(), 1);
}

TEST_F(TrayTest, ClosingWithMinimizeOnCloseShowsTheNoticeUntilItIsClicked) {
    Start();
    CloseToTray();
    EXPECT_TRUE(InTray());
    EXPECT_FALSE(gui.Terminated()) << "the close was refused";
    ASSERT_EQ(Balloons().size(), 1u);
    const platform::NotifyIconData notice = Balloons()[0];
    EXPECT_EQ(notice.infoTitle, kNoticeTitle);
    EXPECT_EQ(notice.infoText, kNoticeText);
    EXPECT_EQ(notice.flags, platform::kNotifyInfo);
    EXPECT_EQ(notice.callbackMessage, 1025u);
    EXPECT_EQ(notice.timeout, 5000u);
    EXPECT_EQ(notice.infoFlags, platform::kBalloonInfoIcon);
    EXPECT_TRUE(Main().CloseNoticeShown);

    TrayEvent(kTrayBalloonClick);
    EXPECT_EQ(Setting("Core", "CloseTip"), "0");
    EXPECT_TRUE(InTray()) << "a click on the notice does not bring the window back";
    EXPECT_FALSE(Main().CloseNoticeShown);

    TrayEvent(kTrayDoubleClick);
    CloseToTray();
    EXPECT_TRUE(InTray());
    EXPECT_EQ(Balloons().size(), 1u) << "not shown again";
}

TEST_F(TrayTest, ANoticeThatTimesOutIsShownAgainAtTheNextClose) {
    Start();
    CloseToTray();
    TrayEvent(kTrayBalloonTimeout);
    EXPECT_FALSE(Main().CloseNoticeShown);
    EXPECT_EQ(Setting("Core", "CloseTip"), "<none>");

    // A click now is on no notice: it brings the window back and writes nothing.
    TrayEvent(kTrayBalloonClick);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Setting("Core", "CloseTip"), "<none>");

    CloseToTray();
    EXPECT_EQ(BalloonsTitled(kNoticeTitle), 2);
}

TEST_F(TrayTest, ASavedCloseTipOfZeroShowsNoNotice) {
    WriteSettings("[Core]\r\nCloseTip=0\r\n");
    Start();
    CloseToTray();
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(Balloons().empty());
}

TEST_F(TrayTest, ARefusedCloseTipWriteIsReportedAndTheNoticeIsGone) {
    WriteSettings("[GUI]\r\nClose=1\r\n");
    ASSERT_TRUE(sys.fs().SetAttributes(apptest::kSettingsPath, platform::kAttrReadOnly));
    Start();
    CloseToTray();
    TrayEvent(kTrayBalloonClick);
    ASSERT_EQ(gui.MessageBoxes().size(), 1u);
    EXPECT_EQ(gui.MessageBoxes()[0].text, "Unable to write to C:\\Zorvik\\Settings.ini");
    EXPECT_EQ(gui.MessageBoxes()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(gui.MessageBoxes()[0].title, gui.ApplicationTitle());
    EXPECT_FALSE(Main().CloseNoticeShown);
}

TEST_F(TrayTest, EveryTickWithAListedProgramShowsTheDetectionBalloon) {
    ListProgram();
    StartWithAutoScan("10");
    TrayEvent(kTrayDoubleClick);
    gui.AdvanceTime(10000);
    gui.AdvanceTime(10000);
    EXPECT_EQ(BalloonsTitled("Detection!"), 2) << "also when nothing changed";
    const platform::NotifyIconData last = Balloons().back();
    EXPECT_EQ(last.infoText, "New program detected");
    EXPECT_EQ(last.timeout, 5000u);
    EXPECT_EQ(Main().LstProc.RowCount(), 1) << "each tick rescans";

    // A click on it brings the window back.
    TrayEvent(kTrayBalloonClick);
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(Main().TmrScan.Enabled());
}

TEST_F(TrayTest, NoDetectionBalloonWhileTheListIsEmpty) {
    StartWithAutoScan("10");
    TrayEvent(kTrayDoubleClick);
    gui.AdvanceTime(30000);
    EXPECT_TRUE(Balloons().empty());
    // The program appears: the next tick finds it.
    ListProgram();
    gui.AdvanceTime(10000);
    EXPECT_EQ(BalloonsTitled("Detection!"), 1);
}

TEST_F(TrayTest, AClickOnADetectionThatReplacedTheNoticeBringsTheWindowBack) {
    ListProgram();
    StartWithAutoScan("10");
    CloseToTray();
    ASSERT_EQ(BalloonsTitled(kNoticeTitle), 1);
    gui.AdvanceTime(10000);
    ASSERT_EQ(BalloonsTitled("Detection!"), 1);
    TrayEvent(kTrayBalloonClick);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Setting("Core", "CloseTip"), "<none>") << "the notice was not the balloon clicked";
}

TEST_F(TrayTest, ARestartedTaskbarGetsTheIconBack) {
    Start();
    shell.RestartTaskbar();
    gui.ProcessMessages();
    ASSERT_TRUE(shell.CurrentIcon());
    EXPECT_EQ(shell.CurrentIcon()->tip, "Zorvik");
    EXPECT_EQ(shell.CurrentIcon()->callbackMessage, 1025u);
    EXPECT_EQ(NotifyCount(NotifyAction::Add), 2);
    TrayEvent(kTrayDoubleClick);
    EXPECT_TRUE(InTray()) << "the new icon answers";
}

}  // namespace
