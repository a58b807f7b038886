// The program's start and end: the windows in their order, the first show, the argument "s",
// closing, the end of the session, the shutdown and what may run after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/windows/ScanInterval.h"
#include "unit/windows/AppTestSupport.h"

namespace {

using apptest::kSettingsPath;
using platform::NotifyAction;
using platform::Rect;

TEST(ScanIntervalTest, SecondsBecomeATimerPeriodTheSystemTakes) {
    struct Case { std::string text; int seconds; std::uint32_t period; };
    const Case cases[] = {
        {"1", 1, 1000},
        {"300", 300, 300000},
        {"2147483", 2147483, 2147483000},
        // Past the longest period Windows takes (USER_TIMER_MAXIMUM): cut to it.
        {"2147484", 2147484, 0x7FFFFFFFu},
        {"2147483647", 2147483647, 0x7FFFFFFFu},
        {"0", 0, 0},      // no timer: a zero period would rescan without a pause
        {"-5", -5, 0},
        {"", 0, 0},       // an emptied box
        {"abc", 0, 0},
        {"9999999999", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zorvik::IntervalSecondsOf(c.text), c.seconds) << c.text;
        EXPECT_EQ(zorvik::TimerPeriodOf(zorvik::IntervalSecondsOf(c.text)), c.period) << c.text;
    }
}

class LifeCycleTest : public apptest::AppTest {};

TEST_F(LifeCycleTest, TheMainWindowIsMadeFirstAndPutsItsIconInTheTray) {
    Create();
    std::vector<std::string> names;
    for (platform::Window* w : gui.Windows()) names.push_back(w->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"frmMain", "frmTrust", "frmOp"}));
    EXPECT_EQ(sys.wsa().StartupCount(), 1);
    EXPECT_TRUE(Main().HasTcpTableEntry());
    EXPECT_FALSE(Form().Visible()) << "shown by the message loop";

    ASSERT_EQ(shell.NotifyCalls().size(), 1u);
    EXPECT_EQ(shell.NotifyCalls()[0].action, NotifyAction::Add);
    const platform::NotifyIconData& icon = shell.NotifyCalls()[0].data;
    EXPECT_EQ(icon.window, &Form());
    EXPECT_EQ(icon.id, 0u);
    EXPECT_EQ(icon.flags, 7u);
    EXPECT_EQ(icon.callbackMessage, 1025u);
    EXPECT_EQ(icon.icon, platform::TrayIconImage::Application);
    EXPECT_EQ(icon.tip, "Zorvik");
}

TEST_F(LifeCycleTest, TheFirstShowLoadsAndScansOnceLaterShowsNothing) {
    ListProgram();
    WriteSettings("[Trusted]\r\n0=C:\\A.exe\r\n");
    Start();
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(Main().SettingsLoaded);
    EXPECT_EQ(Main().LstProc.RowCount(), 1);
    EXPECT_EQ(Trust().Count(), 1u);

    // To the tray and back: the window shows again, but loads and scans nothing.
    WriteSettings("[Trusted]\r\n0=C:\\A.exe\r\n1=C:\\B.exe\r\n");
    Main().LstProc.Clear();
    TrayEvent(platform::kTrayDoubleClick);
    TrayEvent(platform::kTrayDoubleClick);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Trust().Count(), 1u);
    EXPECT_EQ(Main().LstProc.RowCount(), 0);
}

TEST_F(LifeCycleTest, TheArgumentSSendsTheWindowToTheTrayAfterTheFirstScan) {
    ListProgram();
    WriteSettings("[AutoScan]\r\nEnabled=1\r\nInterval=60\r\n");
    Start({"s"});
    EXPECT_TRUE(InTray());
    EXPECT_EQ(Main().LstProc.RowCount(), 1) << "the first scan ran before";
    EXPECT_TRUE(Main().TmrScan.Enabled());
    EXPECT_EQ(Main().TmrScan.Interval(), 60000u);
}

TEST_F(LifeCycleTest, OnlyAFirstArgumentOfExactlySHidesTheWindow) {
    const std::vector<std::vector<std::string>> others = {{"S"}, {"x", "s"}, {"-s"}, {" s"}, {}};
    for (const std::vector<std::string>& args : others) {
        Start(args);
        EXPECT_TRUE(Shown()) << (args.empty() ? "no argument" : args.front());
        EXPECT_FALSE(Main().TmrScan.Enabled());
        app.reset();
    }
}

TEST_F(LifeCycleTest, TheSavedSizeIsLaidOutAtTheFirstShow) {
    WriteSettings("[GUI]\r\nfrmMainWidth=800\r\nfrmMainHeight=501\r\n");
    Start();
    EXPECT_EQ(Main().Bev.Bounds(), (Rect{8, 425, 776, 2}));
    EXPECT_EQ(Main().LstProc.Bounds(), (Rect{8, 24, 776, 188}));
    EXPECT_EQ(Main().LstStart.Bounds(), (Rect{8, 230, 776, 188}));
    EXPECT_EQ(Main().BtnScan.Bounds(), (Rect{710, 434, 75, 25}));

    gui.UserResize(Form(), 729, 427);
    EXPECT_EQ(Main().Bev.Top(), 351);
    EXPECT_EQ(Main().LstProc.Height(), 151);
    EXPECT_EQ(Main().LstStart.Height(), 151);
    EXPECT_EQ(Main().LstStart.Top(), 193);
    const std::vector<int> lefts = {Main().BtnHelp.Left(), Main().BtnOp.Left(),
                                    Main().BtnTrust.Left(), Main().BtnScan.Left()};
    EXPECT_EQ(lefts, (std::vector<int>{399, 479, 559, 639}));
    for (const platform::Control* button :
         {static_cast<platform::Control*>(&Main().BtnHelp), static_cast<platform::Control*>(&Main().BtnOp),
          static_cast<platform::Control*>(&Main().BtnTrust), static_cast<platform::Control*>(&Main().BtnScan)})
        EXPECT_EQ(button->Top(), 360) << button->Name();
    EXPECT_EQ(Main().LblNotice.Top(), 373);
}

TEST_F(LifeCycleTest, ClosingWithoutMinimizeOnCloseSavesAndEndsTheProgram) {
    Start();
    gui.UserClose(Form());
    EXPECT_FALSE(Form().Visible());
    EXPECT_TRUE(gui.Terminated());
    EXPECT_TRUE(SettingsText());
    EXPECT_EQ(sys.wsa().CleanupCount(), 1);
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 0) << "the library is given back";
    EXPECT_FALSE(shell.CurrentIcon());
    EXPECT_EQ(shell.NotifyCalls().back().action, NotifyAction::Delete);
}

TEST_F(LifeCycleTest, ASessionEndCalledOffChangesNothing) {
    Start();
    Form().Send(platform::kEndSessionMessage, 0, 0);
    EXPECT_FALSE(SettingsText());
    EXPECT_EQ(sys.wsa().CleanupCount(), 0);
    EXPECT_TRUE(Main().HasTcpTableEntry());
    EXPECT_TRUE(shell.CurrentIcon());
    EXPECT_FALSE(Main().IsShutDown());
}

TEST_F(LifeCycleTest, TheSessionsEndSavesAndReleasesOnce) {
    Start();
    gui.Click(Op().ChkIgnoreSafe);
    Form().Send(platform::kEndSessionMessage, 1, 0);
    EXPECT_EQ(Setting("Core", "IgnoreSafe"), "1");
    EXPECT_EQ(sys.wsa().CleanupCount(), 1);
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 0);
    EXPECT_EQ(NotifyCount(NotifyAction::Delete), 1);
    EXPECT_FALSE(shell.CurrentIcon());

    // The program then closed or told to exit after all: the settings are written again, the
    // releases are not repeated.
    gui.Click(Op().ChkIgnoreSafe);
    Main().Exit1Click();
    EXPECT_EQ(Setting("Core", "IgnoreSafe"), "0");
    EXPECT_EQ(sys.wsa().CleanupCount(), 1);
    EXPECT_EQ(NotifyCount(NotifyAction::Delete), 1);
}

TEST_F(LifeCycleTest, NothingScansAfterTheShutdown) {
    ListProgram();
    WriteSettings("[AutoScan]\r\nEnabled=1\r\nInterval=1\r\n");
    Start({"s"});
    ASSERT_TRUE(Main().TmrScan.Enabled());
    Form().Send(platform::kEndSessionMessage, 1, 0);
    EXPECT_FALSE(Main().TmrScan.Enabled());
    ListProgram(maintest::Program{41, "C:\\Apps\\second.exe"});

    const std::size_t callsBefore = shell.NotifyCalls().size();
    gui.AdvanceTime(5000);
    Main().TmrScanTimer();   // a tick already queued when the timer went off
    Main().Rescan1Click();
    gui.Click(Main().BtnScan);
    EXPECT_EQ(Main().LstProc.RowCount(), 1) << "the list of the last scan stays";
    EXPECT_TRUE(gui.MessageBoxes().empty()) << "no scan without the TCP-table function";
    EXPECT_EQ(shell.NotifyCalls().size(), callsBefore) << "no balloon, no icon";

    gui.Broadcast(gui.RegisterMessage("TaskbarCreated"), 0, 0);
    EXPECT_FALSE(shell.CurrentIcon()) << "a rebuilt taskbar gets no icon back after the end";
}

TEST_F(LifeCycleTest, TheNoticeLabelIsALinkToTheMakersPage) {
    Start();
    gui.MoveMouse(Main().LblNotice, 3, 3);
    EXPECT_EQ(Main().LblNotice.FontColour(), 0xFF0000u);
    EXPECT_TRUE(Main().LblNotice.Underline());
    gui.MoveMouseOverWindow(Form(), 300, 390);
    EXPECT_EQ(Main().LblNotice.FontColour(), 0u);
    EXPECT_FALSE(Main().LblNotice.Underline());

    gui.Click(Main().LblNotice);
    ASSERT_EQ(shell.Executions().size(), 1u);
    EXPECT_EQ(shell.Executions()[0].verb, "OPEN");
    EXPECT_EQ(shell.Executions()[0].file, "https://pellmoor.example/zorvik");
    EXPECT_EQ(shell.Executions()[0].show, platform::kShowNormal);
}

TEST_F(LifeCycleTest, HelpOpensTheHelpFileBesideTheProgram) {
    sys.fs().SetOwnPath("D:\\Tools\\Zorvik.exe");
    sys.fs().AddFile("D:\\Tools\\Scan.ini", scantest::RunRule());
    Start();
    gui.Click(Main().BtnHelp);
    ASSERT_EQ(shell.Executions().size(), 1u);
    const platform::ShellExecuteRequest& open = shell.Executions()[0];
    EXPECT_EQ(open.verb, "OPEN");
    EXPECT_EQ(open.file, "D:\\Tools\\Zorvik Help.chm");
    EXPECT_EQ(open.parameters, "");
    EXPECT_EQ(open.directory, "");
    EXPECT_EQ(open.show, platform::kShowNormal);
}

TEST_F(LifeCycleTest, RunZorvikRunsTheProgramUntilItsEnd) {
    ListProgram();
    gui.SetCommandLineArgs({});
    EXPECT_EQ(zorvik::RunZorvik(sys), 0);
    EXPECT_FALSE(shell.CurrentIcon()) << "the icon goes with the window";
    EXPECT_TRUE(gui.Windows().empty());
}

}  // namespace
