// The main window: its controls and layout, the scan it shows, the start-up list a left click
// fills, the colours of its rows, and the menus of both lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/ScanCycle.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/ui/SimWidgets.h"
#include "unit/parse/ShellLinkBuilder.h"
#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::MainWindowTest;
using maintest::Program;
using platform::MouseButton;
using platform::Rect;
using scantest::Detected;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};
const Program kGamma{30, "C:\\Apps\\gamma.exe"};

std::vector<std::string> ColumnCaptions(const platform::ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ColumnCount(); ++i)
        out.push_back(list.Column(i).caption + ":" + std::to_string(list.Column(i).width));
    return out;
}

// ---- Creation and layout -------------------------------------------------------------------

TEST_F(MainWindowTest, CreatedWithTheFormsControlsAndTheProcessMenu) {
    platform::Window& form = frmMain.Form();
    EXPECT_EQ(form.Name(), "frmMain");
    EXPECT_EQ(form.Caption(), "Pellmoor");
    EXPECT_EQ(gui.MainWindow(), &form);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.OuterWidth(), 729);
    EXPECT_EQ(form.OuterHeight(), 427);

    struct Expected { const platform::Control& control; Rect bounds; std::string text; };
    const std::vector<Expected> controls = {
        {frmMain.Label1, {8, 8, 354, 13},
         "These programs are Active, Start with Windows and or have open sockets."},
        {frmMain.LstProc, {8, 24, 705, 150}, ""},
        {frmMain.LblStart, {8, 176, 47, 13}, "Start up\\s"},
        {frmMain.LstStart, {8, 192, 705, 150}, ""},
        {frmMain.Bev, {8, 352, 705, 2}, ""},
        {frmMain.BtnHelp, {400, 360, 75, 25}, "Help"},
        {frmMain.BtnOp, {480, 360, 75, 25}, "Options"},
        {frmMain.BtnTrust, {560, 360, 75, 25}, "Trusted List"},
        {frmMain.BtnScan, {640, 360, 75, 25}, "Rescan"},
    };
    for (const Expected& e : controls) {
        EXPECT_EQ(e.control.Bounds(), e.bounds) << e.control.Name();
        EXPECT_EQ(platform::CaptionAsShown(e.control.Text()), e.text) << e.control.Name();
        EXPECT_EQ(form.FindControl(e.control.Name()), &e.control) << e.control.Name();
    }
    EXPECT_EQ(frmMain.LblNotice.Bounds(), (Rect{8, 376, 189, 13}));
    const std::string notice = frmMain.LblNotice.Text();
    EXPECT_EQ(notice.substr(notice.size() - 6), "v1.1.0");

    EXPECT_EQ(ColumnCaptions(frmMain.LstProc),
              (std::vector<std::string>{"Program Path:280", "PID:50", "Details:370",
                                        "Verdict:70", "Publisher:150"}));
    EXPECT_EQ(ColumnCaptions(frmMain.LstStart),
              (std::vector<std::string>{"Type:50", "Data 1:216", "Data 2:216", "Data 3:216"}));
    EXPECT_EQ(form.FindTimer("TmrScan"), &frmMain.TmrScan);
    EXPECT_FALSE(frmMain.TmrScan.Enabled());

    ASSERT_EQ(frmMain.PopStart.Count(), 2u);
    EXPECT_EQ(frmMain.ShowStartup1.Name, "ShowStartup1");
    EXPECT_EQ(frmMain.ShowStartup1.Caption, "Show Start up");
    EXPECT_EQ(frmMain.DisableStartup1.Name, "DisableStartup1");
    EXPECT_EQ(frmMain.DisableStartup1.Caption, "Disable Start up");

    ASSERT_EQ(frmMain.ProcMenu.size(), 3u);
    const std::vector<std::string> captions = {"Terminate Process", "Add to Trusted Program List",
                                               "Open Location"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(frmMain.ProcMenu[i].Caption, captions[i]);
        EXPECT_EQ(frmMain.ProcMenu[i].Id, 1024 + i);
        EXPECT_TRUE(frmMain.ProcMenu[i].Enabled);
        EXPECT_TRUE(frmMain.ProcMenu[i].OnClick) << captions[i];
    }
}

TEST_F(MainWindowTest, CreationStartsTheSocketsAndFindsTheTableFunction) {
    EXPECT_TRUE(sys.wsa().Started());
    EXPECT_EQ(sys.wsa().StartupCount(), 1);
    EXPECT_TRUE(frmMain.HasTcpTableEntry());
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 1);
    frmMain.FreeTcpTableEntry();
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 0) << "freeing gives the library back";
}

TEST_F(MainWindowTest, ResizeLaysTheControlsOut) {
    struct Case {
        int width, height;
        int bevTop, listHeight, startTop, buttonTop, noticeTop;
    };
    const Case cases[] = {
        {729, 427, 351, 151, 193, 360, 373},
        {800, 501, 425, 188, 230, 434, 447},  // odd Bev top: integer halving
        {400, 300, 224, 88, 130, 233, 246},
    };
    // The first show lays the window out at its default size; then the user drags the frame.
    frmMain.Form().Show();
    for (const Case& c : cases) {
        gui.UserResize(frmMain.Form(), c.width, c.height);
        const std::string where = std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_EQ(frmMain.Bev.Bounds(), (Rect{8, c.bevTop, c.width - 24, 2})) << where;
        EXPECT_EQ(frmMain.LstProc.Bounds(), (Rect{8, 24, c.width - 24, c.listHeight})) << where;
        EXPECT_EQ(frmMain.LblStart.Top(), c.listHeight + 26) << where;
        EXPECT_EQ(frmMain.LstStart.Bounds(), (Rect{8, c.startTop, c.width - 24, c.listHeight}))
            << where;
        EXPECT_EQ(frmMain.BtnHelp.Bounds(), (Rect{c.width - 330, c.buttonTop, 75, 25})) << where;
        EXPECT_EQ(frmMain.BtnOp.Bounds(), (Rect{c.width - 250, c.buttonTop, 75, 25})) << where;
        EXPECT_EQ(frmMain.BtnTrust.Bounds(), (Rect{c.width - 170, c.buttonTop, 75, 25})) << where;
        EXPECT_EQ(frmMain.BtnScan.Bounds(), (Rect{c.width - 90, c.buttonTop, 75, 25})) << where;
        EXPECT_EQ(frmMain.LblNotice.Top(), c.noticeTop) << where;
    }
}

TEST_F(MainWindowTest, ButtonsShowTheSideWindowsAndTheHelpFile) {
    gui.Click(frmMain.BtnOp);
    EXPECT_TRUE(frmOp.Form().Visible());
    gui.Click(frmMain.BtnTrust);
    EXPECT_TRUE(frmTrust.Form().Visible());
    gui.Click(frmMain.BtnHelp);
    ASSERT_EQ(shell.Executions().size(), 1u);
    EXPECT_EQ(shell.Executions()[0].verb, "OPEN");
    EXPECT_EQ(shell.Executions()[0].file, "C:\\Zorvik\\Zorvik Help.chm");
    EXPECT_EQ(shell.Executions()[0].parameters, "");
}

// ---- The scan -------------------------------------------------------------------------------

TEST_F(MainWindowTest, RescanShowsEachListedProgramWithItsFindings) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Program hijacked = kBeta;
    hijacked.hijacked = true;
    Start(hijacked);
    Start(kGamma);  // neither starts with Windows nor looks hijacked

    Rescan();

    ASSERT_EQ(frmMain.LstProc.RowCount(), 2);
    EXPECT_EQ(frmMain.LstProc.RowCaption(0), kAlpha.path);
    EXPECT_EQ(frmMain.LstProc.SubItem(0, 0), "10");
    EXPECT_EQ(frmMain.LstProc.SubItem(0, 1), Detected(1));
    EXPECT_EQ(frmMain.LstProc.RowCaption(1), kBeta.path);
    EXPECT_EQ(frmMain.LstProc.SubItem(1, 1), maintest::Hijacked(Detected(0)));
    ASSERT_NE(FindingsOfRow(0), nullptr);
    EXPECT_EQ(FindingsOfRow(0)->RegList.size(), 1u);
    ASSERT_NE(FindingsOfRow(1), nullptr);
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

// The tip of each row: the sockets the scan kept for it, the publisher, the signature and the
// verdict with its reasons; a rescan gives the rows of the new scan their own tips.
TEST_F(MainWindowTest, HoveringAProcessRowShowsItsSocketsPublisherAndSignature) {
    Start(kAlpha);
    platform::TcpRow connection;
    connection.state = 5;  // ESTAB
    connection.owningPid = kAlpha.pid;
    connection.localAddress = {127, 0, 0, 1};
    connection.localPort = 5000;
    connection.remoteAddress = {192, 0, 2, 7};
    connection.remotePort = 443;
    sys.procs().AddTcpRow(connection);
    PutUserRun("Alpha", kAlpha.path);
    Start(kBeta);
    PutUserRun("Beta", kBeta.path);
    // Beta is also a service, twice: its start type is named once.
    sys.fs().AddFile(scantest::kRulesPath,
                     maintest::AllKindsOfRules() +
                         "[Services]\r\nType=SVC\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=Services\r\n");
    const auto machine = platform::RootKey::LocalMachine;
    sys.reg().PutString(machine, "Services\\BetaSvc", "ImagePath", kBeta.path);
    sys.reg().Put(machine, "Services\\BetaSvc", "Start", platform::RegType::Dword,
                  std::string("\x03\0\0\0", 4));
    sys.reg().PutString(machine, "Services\\BetaSvc\\Parameters", "ServiceDll", kBeta.path);
    platform::sim::ScriptedFileFacts alpha;
    alpha.version = platform::VersionStrings{"Alpha Works", "Alpha", "Alpha Suite", "1.0", true};
    alpha.signature = {platform::SignatureState::NotTrusted, "root certificate not trusted", "Alpha CA"};
    sys.facts().Script(kAlpha.path, alpha);
    platform::sim::ScriptedFileFacts beta;  // no version resource, not signed
    sys.facts().Script(kBeta.path, beta);

    Rescan();

    auto& list = dynamic_cast<platform::sim::SimListView&>(frmMain.LstProc);
    const std::string kBetaVerdict =
        "Verdict: unverified\r\n  Nothing vouches for it (not signed), and nothing speaks against "
        "it.\r\n  Its file has no version information.";
    struct Case { const Program& program; std::string tip; };
    const Case cases[] = {
        {kAlpha, "Sockets:\r\n  LISTEN 0.0.0.0:1000 -> 0.0.0.0:0\r\n"
                 "  ESTAB 127.0.0.1:5000 -> 192.0.2.7:443\r\n"
                 "Publisher: Alpha Works\r\n"
                 "Signature: signed, not trusted (root certificate not trusted), by Alpha CA\r\n"
                 "Verdict: unverified\r\n"
                 "  Nothing vouches for it (signed by Alpha CA, not trusted (root certificate not "
                 "trusted)), and nothing speaks against it."},
        {kBeta, "Sockets:\r\n  LISTEN 0.0.0.0:1001 -> 0.0.0.0:0\r\n"
                "Publisher: unknown\r\nSignature: not signed\r\n"
                "Service BetaSvc: start type manual\r\n" + kBetaVerdict},
    };
    for (const Case& c : cases) {
        const int row = ProcessRow(c.program.path);
        ASSERT_GE(row, 0) << c.program.path;
        EXPECT_EQ(list.InfoTip(row), c.tip) << c.program.path;
    }
    EXPECT_EQ(list.InfoTip(frmMain.LstProc.RowCount()), "");

    sys.procs().ClearTcpRows();
    sys.procs().AddSocket(kBeta.pid, platform::kTcpStateListen, 2000);
    Rescan();
    ASSERT_EQ(frmMain.LstProc.RowCount(), 1);
    EXPECT_EQ(list.InfoTip(0), "Sockets:\r\n  LISTEN 0.0.0.0:2000 -> 0.0.0.0:0\r\n"
                               "Publisher: unknown\r\nSignature: not signed\r\n"
                               "Service BetaSvc: start type manual\r\n" + kBetaVerdict);
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

TEST_F(MainWindowTest, RescanReplacesTheRowsAndFreesTheirFindings) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    const std::weak_ptr<zorvik::ProcInfo> before = FindingsOfRow(0);

    Rescan();

    EXPECT_EQ(frmMain.LstProc.RowCount(), 1);
    EXPECT_TRUE(before.expired());
}

TEST_F(MainWindowTest, TrustedProgramsAreNotListed) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    frmTrust.Append("C:\\APPS\\ALPHA.EXE");
    Rescan();
    EXPECT_EQ(frmMain.LstProc.RowCount(), 0);
}

TEST_F(MainWindowTest, WithoutATableFunctionEveryScanSaysSoAndListsNothing) {
    sys.procs().SetTcpFunctions(false, false);
    frmMain.LoadTcpTableEntry();
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);

    Rescan();
    Rescan();

    EXPECT_EQ(frmMain.LstProc.RowCount(), 0);
    ASSERT_EQ(gui.MessageBoxes().size(), 2u);
    const platform::sim::MessageBoxRecord& box = gui.MessageBoxes()[0];
    EXPECT_EQ(box.text, "XP or Higher required to use this program");
    EXPECT_EQ(box.title, "ERROR");
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    EXPECT_EQ(box.owner, "frmMain");
}

TEST_F(MainWindowTest, OnlyTheLegacyTableFunctionIsNoReasonForTheMessage) {
    sys.procs().SetTcpFunctions(false, true);
    frmMain.LoadTcpTableEntry();
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    EXPECT_EQ(frmMain.LstProc.RowCount(), 1);
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

TEST_F(MainWindowTest, FirstScanAddsToTheListsWithoutClearingThem) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    frmMain.ScanCycle();
    frmMain.ScanCycle();
    EXPECT_EQ(frmMain.LstProc.RowCount(), 2);
}

// ---- The start-up list -----------------------------------------------------------------------

TEST_F(MainWindowTest, LeftClickShowsTheHitsInListOrder) {
    Start(kAlpha);
    sys.fs().AddFile(maintest::kStartupFolder + "\\alpha.exe", "MZ");
    PutUserRun("Alpha", kAlpha.path);
    PutMachineRun("AlphaToo", kAlpha.path + " /min");
    Rescan();

    LeftClick(0);

    ASSERT_EQ(StartupCaptions(), (std::vector<std::string>{"REG", "REG", "FOL"}));
    const platform::ListView& list = frmMain.LstStart;
    EXPECT_EQ(list.SubItemCount(0), 3);
    EXPECT_EQ(list.SubItem(0, 0), "HKEY_CURRENT_USER");
    EXPECT_EQ(list.SubItem(0, 1), scantest::kRunKey);
    EXPECT_EQ(list.SubItem(0, 2), "Alpha");
    EXPECT_EQ(list.SubItem(1, 0), "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(list.SubItem(1, 2), "AlphaToo");
    EXPECT_EQ(list.SubItemCount(2), 1) << "a folder row shows Data 1 only";
    EXPECT_EQ(list.SubItem(2, 0), maintest::kStartupFolder);
    const auto index = [&](int row) {
        return std::static_pointer_cast<zorvik::StartupRowIndex>(list.RowData(row))->index;
    };
    EXPECT_EQ(index(0), 0);
    EXPECT_EQ(index(1), 1);
    EXPECT_EQ(index(2), 0) << "the index counts within the list of its kind";
}

// A shortcut's row shows its folder, name and target; a row found through a script names the
// script in its tip.
TEST_F(MainWindowTest, ShortcutRowsShowTheirTargetAndTheTipNamesTheScript) {
    const std::string scripts = "C:\\Scripts";
    sys.fs().AddFile(scantest::kRulesPath,
                     scantest::RunRule() + "Scripts=1\r\nUnquoted=1\r\n" +
                         scantest::PathRule("Shortcuts", "LNK", "Startup") + "Scripts=1\r\n");
    Start(kAlpha);
    sys.fs().AddFile("C:\\Startup\\Alpha.lnk",
                     parse_test::BuildShellLink(parse_test::LinkParts()
                                                    .WithLinkInfo(parse_test::BuildLinkInfo(kAlpha.path))
                                                    .WithArguments("/min")));
    sys.fs().AddFile(scripts + "\\go.bat", "start " + kAlpha.path + "\r\n");
    PutUserRun("Go", scripts + "\\go.bat");
    Rescan();

    LeftClick(0);

    ASSERT_EQ(StartupCaptions(), (std::vector<std::string>{"REG", "LNK"}));
    auto& list = dynamic_cast<platform::sim::SimListView&>(frmMain.LstStart);
    EXPECT_EQ(list.InfoTip(0), "Script: " + scripts + "\\go.bat");
    EXPECT_EQ(list.SubItem(1, 0), "C:\\Startup");
    EXPECT_EQ(list.SubItem(1, 1), "Alpha.lnk");
    EXPECT_EQ(list.SubItem(1, 2), kAlpha.path + " /min");
    EXPECT_EQ(list.InfoTip(1), "");
}

TEST_F(MainWindowTest, LeftClickOnARowWithoutHitsEmptiesTheStartupList) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Program hijacked = kBeta;
    hijacked.hijacked = true;
    Start(hijacked);
    Rescan();
    ShowStartups(kAlpha.path);
    ASSERT_EQ(frmMain.LstStart.RowCount(), 1);

    ShowStartups(kBeta.path);

    EXPECT_EQ(frmMain.LstStart.RowCount(), 0);
}

TEST_F(MainWindowTest, ClickBelowTheRowsChangesNothing) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    LeftClick(0);
    gui.ClearRecords();

    LeftClick(5);
    RightClick(5);
    gui.PressRow(frmMain.LstProc, MouseButton::Middle, 0);

    EXPECT_EQ(frmMain.LstStart.RowCount(), 1);
    EXPECT_TRUE(gui.Menus().empty());
}

TEST_F(MainWindowTest, RescanEmptiesTheStartupListUntilTheNextLeftClick) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    LeftClick(0);
    ASSERT_EQ(frmMain.LstStart.RowCount(), 1);

    Rescan();
    EXPECT_EQ(frmMain.LstStart.RowCount(), 0);
    EXPECT_EQ(frmMain.LstProc.RowCount(), 1);

    LeftClick(0);
    EXPECT_EQ(frmMain.LstStart.RowCount(), 1);
}

TEST_F(MainWindowTest, RightClickNeverRefillsTheStartupList) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Start(kBeta);
    PutUserRun("Beta1", kBeta.path);
    PutUserRun("Beta2", kBeta.path + " /x");
    Rescan();
    ShowStartups(kAlpha.path);

    RightClick(ProcessRow(kBeta.path));

    ASSERT_EQ(frmMain.LstStart.RowCount(), 1);
    EXPECT_EQ(frmMain.LstStart.SubItem(0, 2), "Alpha");
}

// ---- Colours ---------------------------------------------------------------------------------

class StartupColourTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start(kAlpha);
        PutUserRun("Alpha", kAlpha.path + ".bak");  // disabled
        PutUserRun("Alpha2", kAlpha.path);
        Start(kBeta);
        PutUserRun("Beta", kBeta.path);
        Rescan();
    }
    std::vector<platform::Colour> Colours() { return gui.DrawRows(frmMain.LstStart); }
};

TEST_F(StartupColourTest, DisabledHitsAreGreenAndActiveOnesRed) {
    ShowStartups(kAlpha.path);
    EXPECT_EQ(Colours(), (std::vector<platform::Colour>{0x008000, 0x0000FF}));
}

TEST_F(StartupColourTest, ColoursFollowTheRowThatFilledTheListWhateverIsSelected) {
    ShowStartups(kAlpha.path);

    RightClick(ProcessRow(kBeta.path));  // selects beta, whose only hit is active
    EXPECT_EQ(Colours(), (std::vector<platform::Colour>{platform::kGreen, platform::kRed}));

    LeftClick(7);  // below the rows: no process row selected
    ASSERT_EQ(frmMain.LstProc.SelectedRow(), -1);
    EXPECT_EQ(Colours(), (std::vector<platform::Colour>{platform::kGreen, platform::kRed}));
}

TEST_F(StartupColourTest, ADisableTurnsTheRowGreen) {
    ShowStartups(kAlpha.path);
    FindingsOfRow(ProcessRow(kAlpha.path))->RegList[1].Disabled = true;
    EXPECT_EQ(Colours(), (std::vector<platform::Colour>{platform::kGreen, platform::kGreen}));
}

// ---- The start-up list's menu --------------------------------------------------------------

TEST_F(MainWindowTest, StartupMenuCommandsNeedASelectedStartupRow) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    LeftClick(0);

    gui.PressMouse(frmMain.LstStart, MouseButton::Right, 4, 300);
    ASSERT_EQ(gui.Menus().size(), 1u);
    const std::vector<platform::MenuEntry>& greyed = gui.Menus()[0].entries;
    ASSERT_EQ(greyed.size(), 2u);
    EXPECT_EQ(greyed[0].caption, "Show Start up");
    EXPECT_FALSE(greyed[0].enabled);
    EXPECT_EQ(greyed[1].caption, "Disable Start up");
    EXPECT_FALSE(greyed[1].enabled);

    gui.PressRow(frmMain.LstStart, MouseButton::Right, 0);
    ASSERT_EQ(gui.Menus().size(), 2u);
    EXPECT_TRUE(gui.Menus()[1].entries[0].enabled);
    EXPECT_TRUE(gui.Menus()[1].entries[1].enabled);
}

// ---- The process menu ------------------------------------------------------------------------

TEST_F(MainWindowTest, RightClickOpensTheProcessMenuAtTheCursor) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    gui.SetCursorPosition({321, 234});

    RightClick(0);

    ASSERT_EQ(gui.Menus().size(), 1u);
    const platform::sim::MenuRecord& menu = gui.Menus()[0];
    EXPECT_EQ(menu.owner, "frmMain");
    EXPECT_EQ(menu.screen, (platform::Point{321, 234}));
    ASSERT_GE(menu.entries.size(), 5u);
    EXPECT_EQ(menu.entries[0].caption, "Terminate Process");
    EXPECT_EQ(menu.entries[0].id, 1024u);
    EXPECT_TRUE(menu.entries[0].enabled);
    EXPECT_EQ(menu.entries[1].caption, "Add to Trusted Program List");
    EXPECT_TRUE(menu.entries[1].enabled);
    EXPECT_EQ(menu.entries[2].caption, "Open Location");
    EXPECT_TRUE(menu.entries[2].enabled);
    EXPECT_EQ(menu.entries[3].caption, "Copy");
    EXPECT_EQ(menu.entries[3].id, 1027u);
    EXPECT_TRUE(menu.entries[4].separator);
}

TEST_F(MainWindowTest, ActiveSetupRowsCannotBeTerminated) {
    sys.fs().AddFile("C:\\Dir\\stub.exe", "MZ");
    maintest::PutStub(sys, "{A}", "C:\\Dir\\stub.exe /x");
    PutUserRun("Stub", "C:\\Dir\\stub.exe /x");
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    ASSERT_EQ(frmMain.LstProc.RowCount(), 2);
    ASSERT_EQ(frmMain.LstProc.SubItem(1, 0), "-1");

    RightClick(1);
    RightClick(0);

    ASSERT_EQ(gui.Menus().size(), 2u);
    EXPECT_FALSE(gui.Menus()[0].entries[0].enabled);
    EXPECT_TRUE(gui.Menus()[0].entries[1].enabled);
    EXPECT_TRUE(gui.Menus()[0].entries[2].enabled);
    EXPECT_TRUE(gui.Menus()[1].entries[0].enabled) << "greyed only for the Active Setup row";
}

TEST_F(MainWindowTest, ProgramFileThatIsGoneGivesTheOwnEntriesAndTheSeparatorOnly) {
    Start(kAlpha);
    PutUserRun("Alpha", kAlpha.path);
    Rescan();
    sys.fs().Delete(kAlpha.path);

    RightClick(0);

    ASSERT_EQ(gui.Menus().size(), 1u);
    // The three commands, Copy and the separator.
    EXPECT_EQ(gui.Menus()[0].entries.size(), 5u);
}

}  // namespace
