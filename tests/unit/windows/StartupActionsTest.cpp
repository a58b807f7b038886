// The start-up list's commands: Show opens the place in Windows' own tool; Disable marks the
// entry with ".bak" there and turns its row green.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/startup/kinds/ExeKind.h"
#include "core/engine/startup/kinds/BitsKind.h"
#include "core/engine/startup/kinds/WmiKind.h"
#include "platform/sim/autostart/SimTransfers.h"
#include "platform/sim/autostart/SimWmi.h"
#include "platform/sim/ui/SimWidgets.h"
#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::kBatchFile;
using maintest::kStartupFolder;
using maintest::kWinIni;
using maintest::Program;
using platform::RegType;
using platform::RootKey;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};
const std::string kRegeditKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

class StartupActionsTest : public maintest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start(kAlpha);
        Start(kBeta);
        PutUserRun("Beta", kBeta.path);
    }

    // Scans, shows alpha's hits and gives the start-up row of the kind (the first one).
    int ScanAndFind(const std::string& kind) {
        Rescan();
        ShowStartups(kAlpha.path);
        for (int row = 0; row < frmMain.LstStart.RowCount(); ++row)
            if (frmMain.LstStart.RowCaption(row) == kind) return row;
        ADD_FAILURE() << "no " << kind << " row";
        return -1;
    }
    void Show(int row) { ChooseStartupCommand(row, frmMain.ShowStartup1); }
    void Disable(int row) { ChooseStartupCommand(row, frmMain.DisableStartup1); }
    platform::Colour ColourOf(int row) { return gui.DrawRows(frmMain.LstStart).at(row); }
    zorvik::ProcInfo& AlphaFindings() { return *FindingsOfRow(ProcessRow(kAlpha.path)); }

    std::optional<platform::RegValue> UserRunValue(const std::string& name) {
        return sys.reg().Get(RootKey::CurrentUser, scantest::kRunKey, name);
    }
    std::string FileText(const std::string& path) { return sys.fs().Content(path).value_or("<none>"); }
    void ExpectNoBox() { EXPECT_EQ(BoxCount(), 0u); }
    void ExpectGeneralError(const std::string& text) {
        ASSERT_EQ(BoxCount(), 1u);
        EXPECT_EQ(gui.MessageBoxes()[0].text, text);
        EXPECT_EQ(gui.MessageBoxes()[0].title, gui.ApplicationTitle());
        EXPECT_EQ(gui.MessageBoxes()[0].icon, platform::MessageIcon::Error);
    }
};

// ---- Show Start up ---------------------------------------------------------------------------

TEST_F(StartupActionsTest, ShowRegistryEntryNamesTheKeyForTheEditor) {
    sys.reg().MakeKey(RootKey::CurrentUser, kRegeditKey);
    PutUserRun("Alpha", kAlpha.path);

    Show(ScanAndFind("REG"));

    ExpectNoBox();
    const auto lastKey = sys.reg().Get(RootKey::CurrentUser, kRegeditKey, "LastKey");
    ASSERT_TRUE(lastKey.has_value());
    EXPECT_EQ(lastKey->type, RegType::Sz);
    EXPECT_EQ(lastKey->data, "HKEY_CURRENT_USER\\" + scantest::kRunKey + std::string(1, '\0'));
    ASSERT_EQ(shell.Executions().size(), 1u);
    const platform::ShellExecuteRequest& run = shell.Executions()[0];
    EXPECT_EQ(run.owner, nullptr);
    EXPECT_EQ(run.verb, "OPEN");
    EXPECT_EQ(run.file, "C:\\WINDOWS\\regedit.exe");
    EXPECT_EQ(run.parameters, "");
    EXPECT_EQ(run.directory, "");
    EXPECT_EQ(run.show, platform::kShowNormal);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

TEST_F(StartupActionsTest, ShowRegistryEntryStillStartsTheEditorWhenLastKeyCannotBeWritten) {
    PutUserRun("Alpha", kAlpha.path);
    const int row = ScanAndFind("REG");

    // First without the editor's key (it is never created), then with writes refused.
    Show(row);
    sys.reg().MakeKey(RootKey::CurrentUser, kRegeditKey);
    sys.reg().DenyWrites(RootKey::CurrentUser, kRegeditKey);
    std::size_t executionsWhileBoxOpen = 99;
    gui.WhileMessageBoxOpen = [&](const platform::sim::MessageBoxRecord&) {
        executionsWhileBoxOpen = shell.Executions().size();
    };
    Show(row);

    ASSERT_EQ(BoxCount(), 2u);
    for (const auto& box : gui.MessageBoxes()) {
        EXPECT_EQ(box.text,
                  "Unable to set value for \"LastKey\", You may require administrator rights");
        EXPECT_EQ(box.title, "ERROR");
        EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    }
    EXPECT_EQ(executionsWhileBoxOpen, 1u) << "the editor starts after the box is closed";
    ASSERT_EQ(shell.Executions().size(), 2u);
    EXPECT_EQ(shell.Executions()[1].file, "C:\\WINDOWS\\regedit.exe");
    EXPECT_FALSE(sys.reg().KeyExists(RootKey::CurrentUser, kRegeditKey + "\\LastKey"));
}

TEST_F(StartupActionsTest, ShowOpensProfileAndTextFilesInNotepadAndFoldersInTheFileManager) {
    sys.fs().AddFile(kWinIni, "[windows]\r\nload=C:\\Apps\\alpha.exe\r\n");
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe", "MZ");
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");

    Show(ScanAndFind("INI"));
    Show(ScanAndFind("FOL"));
    Show(ScanAndFind("FIL"));

    ExpectNoBox();
    ASSERT_EQ(shell.Executions().size(), 3u);
    const auto& ini = shell.Executions()[0];
    EXPECT_EQ(ini.verb, "OPEN");
    EXPECT_EQ(ini.file, "C:\\WINDOWS\\system32\\notepad.exe");
    EXPECT_EQ(ini.parameters, "win.ini") << "the bare name as the rule gives it";
    const auto& folder = shell.Executions()[1];
    EXPECT_EQ(folder.file, kStartupFolder);
    EXPECT_EQ(folder.parameters, "");
    const auto& text = shell.Executions()[2];
    EXPECT_EQ(text.file, "C:\\WINDOWS\\system32\\notepad.exe");
    EXPECT_EQ(text.parameters, kBatchFile);
    for (const auto& e : shell.Executions()) EXPECT_EQ(e.show, platform::kShowNormal);
}

// ---- Disable Start up: registry values ---------------------------------------------------

TEST_F(StartupActionsTest, DisableRegistryValueWritesTheCommandBackWithBak) {
    struct Case { std::string stored; std::string written; };
    const Case cases[] = {
        {"C:\\APPS\\ALPHA.EXE", "c:\\apps\\alpha.exe.bak"},  // a bare path: its long form
        {"\"C:\\Apps\\Alpha.exe\" /Min", "\"c:\\apps\\alpha.exe.bak\" /min"},
        {"C:\\Apps\\alpha.exe -Log", "c:\\apps\\alpha.exe.bak -log"},
    };
    for (const Case& c : cases) {
        PutUserRun("Alpha", c.stored);
        const int row = ScanAndFind("REG");
        ASSERT_EQ(ColourOf(row), platform::kRed) << c.stored;

        Disable(row);

        const auto value = UserRunValue("Alpha");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, RegType::Sz);
        EXPECT_EQ(value->data, c.written + std::string(1, '\0')) << c.stored;
        EXPECT_TRUE(AlphaFindings().RegList[0].Disabled);
        EXPECT_EQ(ColourOf(row), platform::kGreen);
    }
    ExpectNoBox();
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

TEST_F(StartupActionsTest, DisableKeepsAnExpandableStringExpandable) {
    sys.reg().Put(RootKey::CurrentUser, scantest::kRunKey, "Alpha", RegType::ExpandSz,
                  std::string("%SystemDrive%\\Apps\\alpha.exe /x") + '\0');

    Disable(ScanAndFind("REG"));

    const auto value = UserRunValue("Alpha");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, RegType::ExpandSz);
    EXPECT_EQ(value->data, std::string("%systemdrive%\\apps\\alpha.exe.bak /x") + '\0');
    EXPECT_TRUE(AlphaFindings().RegList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableUnderAKeyFullAccessCannotOpenChangesNothingSilently) {
    PutMachineRun("Alpha", kAlpha.path);
    sys.reg().DenyFullAccess(RootKey::LocalMachine, maintest::kMachineRunKey);
    const int row = ScanAndFind("REG");

    Disable(row);

    ExpectNoBox();
    const auto value = sys.reg().Get(RootKey::LocalMachine, maintest::kMachineRunKey, "Alpha");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, kAlpha.path + '\0');
    EXPECT_FALSE(AlphaFindings().RegList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kRed);
}

TEST_F(StartupActionsTest, DisableThatCannotWriteOrReadTheValueSaysSo) {
    PutUserRun("Alpha", kAlpha.path);
    const int row = ScanAndFind("REG");

    // Since the scan the value became a number; the key still takes writes.
    sys.reg().Put(RootKey::CurrentUser, scantest::kRunKey, "Alpha", RegType::Dword,
                  std::string("\x01\0\0\0", 4));
    Disable(row);
    EXPECT_EQ(UserRunValue("Alpha")->type, RegType::Dword) << "a number is no command to disable";
    // Text again, in a key that now refuses writes.
    PutUserRun("Alpha", kAlpha.path);
    sys.reg().DenyWrites(RootKey::CurrentUser, scantest::kRunKey);
    Disable(row);

    ASSERT_EQ(BoxCount(), 2u);
    for (const auto& box : gui.MessageBoxes()) {
        EXPECT_EQ(box.text,
                  "Unable to disable the start up entry, You may require administrator rights");
        EXPECT_EQ(box.title, "ERROR");
        EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    }
    EXPECT_EQ(UserRunValue("Alpha")->data, kAlpha.path + '\0');
    EXPECT_FALSE(AlphaFindings().RegList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kRed);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

TEST_F(StartupActionsTest, DisableOfAValueGoneSinceTheScanAddsNothing) {
    PutUserRun("Alpha", kAlpha.path);
    const int row = ScanAndFind("REG");
    sys.reg().DeleteTree(RootKey::CurrentUser, scantest::kRunKey);
    sys.reg().MakeKey(RootKey::CurrentUser, scantest::kRunKey);

    Disable(row);

    EXPECT_FALSE(UserRunValue("Alpha").has_value());
    EXPECT_FALSE(AlphaFindings().RegList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableAgainAddsBakOnceMore) {
    PutUserRun("Alpha", kAlpha.path + " /x");
    const int row = ScanAndFind("REG");
    Disable(row);
    Disable(row);
    EXPECT_EQ(UserRunValue("Alpha")->data, std::string("c:\\apps\\alpha.exe.bak.bak /x") + '\0');
}

// ---- Disable Start up: profile entries ----------------------------------------------------

TEST_F(StartupActionsTest, DisableProfileEntry) {
    sys.fs().AddFile(kWinIni, "[windows]\r\nload=\"C:\\Apps\\Alpha.EXE\" -q\r\nrun=\r\n");
    const int row = ScanAndFind("INI");

    Disable(row);

    ExpectNoBox();
    EXPECT_EQ(sys.profile().ReadString("win.ini", "windows", "load", ""),
              "\"c:\\apps\\alpha.exe.bak\" -q");
    EXPECT_TRUE(AlphaFindings().IniList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kGreen);
}

TEST_F(StartupActionsTest, DisableProfileEntryThatCannotBeWrittenReachesTheErrorHandler) {
    sys.fs().AddFile(kWinIni, "[windows]\r\nload=C:\\Apps\\alpha.exe\r\n");
    const int row = ScanAndFind("INI");
    sys.fs().SetAttributes(kWinIni, platform::kAttrReadOnly);

    Disable(row);

    ExpectGeneralError("Unable to write to win.ini");
    EXPECT_FALSE(AlphaFindings().IniList[0].Disabled);
    EXPECT_EQ(sys.profile().ReadString("win.ini", "windows", "load", ""), kAlpha.path);
}

// ---- Disable Start up: start-up folders ---------------------------------------------------

TEST_F(StartupActionsTest, DisableFolderEntryRenamesTheProgramFile) {
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe", "MZ");
    const int row = ScanAndFind("FOL");

    Disable(row);

    EXPECT_FALSE(sys.fs().Exists(kStartupFolder + "\\alpha.exe"));
    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\alpha.exe.bak"));
    EXPECT_TRUE(AlphaFindings().FolList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kGreen);
}

TEST_F(StartupActionsTest, DisableFolderEntryUnderAnotherNameChangesNothingSilently) {
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe.lnk", "shortcut");
    const int row = ScanAndFind("FOL");

    Disable(row);

    ExpectNoBox();
    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\alpha.exe.lnk"));
    EXPECT_FALSE(AlphaFindings().FolList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kRed);
}

TEST_F(StartupActionsTest, DisableActsOnTheProgramThatFilledTheListNotOnTheSelectedOne) {
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe", "MZ");
    sys.fs().AddFile(kStartupFolder + "\\beta.exe", "MZ");
    const int row = ScanAndFind("FOL");
    RightClick(ProcessRow(kBeta.path));  // selects beta; the list still shows alpha's hits
    ASSERT_EQ(frmMain.LstProc.RowCaption(frmMain.LstProc.SelectedRow()), kBeta.path);

    Disable(row);

    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\alpha.exe.bak"));
    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\beta.exe"));
    EXPECT_TRUE(AlphaFindings().FolList[0].Disabled);
    EXPECT_EQ(ColourOf(row), platform::kGreen);
}

// ---- Disable Start up: text files ---------------------------------------------------------

TEST_F(StartupActionsTest, DisableFileLinesChangesEveryLineNamingTheProgram) {
    sys.fs().AddFile(kBatchFile,
                     "@echo off\r\nC:\\Apps\\ALPHA.EXE /X\r\nrem MyAlpha.exe Here\r\nSet X=1\r\n"
                     "a\nb alpha.exe\r\nlast line");
    const int row = ScanAndFind("FIL");
    ASSERT_EQ(AlphaFindings().FilList.size(), 3u);

    Disable(row);

    ExpectNoBox();
    EXPECT_EQ(FileText(kBatchFile),
              "@echo off\r\nc:\\apps\\alpha.exe.bak /x\r\nrem myalpha.exe.bak here\r\nSet X=1\r\n"
              "a\nb alpha.exe.bak\r\nlast line\r\n");
    EXPECT_TRUE(AlphaFindings().FilList[0].Disabled);
    EXPECT_FALSE(AlphaFindings().FilList[1].Disabled) << "the other hits keep their own flags";
    EXPECT_FALSE(AlphaFindings().FilList[2].Disabled);
    EXPECT_FALSE(sys.fs().Exists(kBatchFile + ".~zorvik")) << "no scratch file is left";
}

TEST_F(StartupActionsTest, DisableFileLinesKeepsWhatFollowsACtrlZ) {
    const std::string tail = std::string("\x1A" "C:\\Apps\\alpha.exe kept\r\n\x1A\x00z", 28);
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n" + tail);

    Disable(ScanAndFind("FIL"));

    EXPECT_EQ(FileText(kBatchFile), "c:\\apps\\alpha.exe.bak\r\n" + tail);
}

// A file written with line feeds alone is one line to the search, but the command that starts
// the program is the piece naming it: ".bak" goes there, not after the last dot of the file.
TEST_F(StartupActionsTest, DisableFileLinesJoinsBakWithinTheLineFeedPieceNamingTheProgram) {
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe /x\nset LOG=C:\\Logs\\Run.txt\n");
    const int row = ScanAndFind("FIL");
    ASSERT_EQ(AlphaFindings().FilList.size(), 1u);

    Disable(row);

    EXPECT_EQ(FileText(kBatchFile), "c:\\apps\\alpha.exe.bak /x\nset LOG=C:\\Logs\\Run.txt\n\r\n");
    EXPECT_TRUE(AlphaFindings().FilList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableFileLinesRewritesTheFileEvenWithoutAMatchingLine) {
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
    const int row = ScanAndFind("FIL");
    sys.fs().AddFile(kBatchFile, "one\rtwo\r");  // edited since the scan

    Disable(row);

    EXPECT_EQ(FileText(kBatchFile), "one\r\ntwo\r\n");
    EXPECT_FALSE(AlphaFindings().FilList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableFileLinesKeepsTheFilesAttributes) {
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
    sys.fs().SetAttributes(kBatchFile, platform::kAttrHidden);

    Disable(ScanAndFind("FIL"));

    EXPECT_EQ(FileText(kBatchFile), "c:\\apps\\alpha.exe.bak\r\n");
    EXPECT_EQ(sys.fs().Attributes(kBatchFile), platform::kAttrHidden);
}

TEST_F(StartupActionsTest, DisableFileLinesOnAReadOnlyFileLeavesItUntouched) {
    const std::string text = "C:\\Apps\\alpha.exe\r\n";
    sys.fs().AddFile(kBatchFile, text);
    const int row = ScanAndFind("FIL");
    sys.fs().SetAttributes(kBatchFile, platform::kAttrReadOnly);

    Disable(row);

    ExpectGeneralError("Cannot create file " + kBatchFile);
    EXPECT_EQ(FileText(kBatchFile), text);
    EXPECT_FALSE(sys.fs().Exists(kBatchFile + ".~zorvik"));
    EXPECT_FALSE(AlphaFindings().FilList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableFileLinesWhenTheNewTextCannotBeWrittenLeavesTheFileUntouched) {
    const std::string text = "C:\\Apps\\alpha.exe\r\n";
    sys.fs().AddFile(kBatchFile, text);
    const int row = ScanAndFind("FIL");
    sys.fs().AddDirectory(kBatchFile + ".~zorvik");  // the scratch name is taken by a folder

    Disable(row);

    ExpectGeneralError("Cannot create file " + kBatchFile);
    EXPECT_EQ(FileText(kBatchFile), text);
    EXPECT_FALSE(AlphaFindings().FilList[0].Disabled);
}

TEST_F(StartupActionsTest, DisableFileLinesThatCannotBeReadSaysSo) {
    sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
    const int row = ScanAndFind("FIL");
    sys.fs().Lock(kBatchFile, true);

    Disable(row);

    ExpectGeneralError("Cannot open file " + kBatchFile);
    sys.fs().Lock(kBatchFile, false);
    EXPECT_EQ(FileText(kBatchFile), "C:\\Apps\\alpha.exe\r\n");
    EXPECT_FALSE(AlphaFindings().FilList[0].Disabled);
}

// ---- Commands that find nothing to act on -----------------------------------------------

TEST_F(StartupActionsTest, CommandsAfterARescanWhileTheMenuWasOpenDoNothing) {
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe", "MZ");
    PutUserRun("Alpha", kAlpha.path);
    const int row = ScanAndFind("FOL");

    ChooseStartupCommand(row, frmMain.DisableStartup1, [&] { frmMain.BtnScanClick(); });
    const int regRow = 0;
    ShowStartups(kAlpha.path);
    ChooseStartupCommand(regRow, frmMain.ShowStartup1, [&] { frmMain.BtnScanClick(); });

    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\alpha.exe"));
    EXPECT_TRUE(shell.Executions().empty());
    ExpectNoBox();
    EXPECT_EQ(frmMain.LstStart.RowCount(), 0);
}

TEST_F(StartupActionsTest, DisableWhenTheFillingRowIsGoneDoesNothing) {
    sys.fs().AddFile(kStartupFolder + "\\alpha.exe", "MZ");
    const int row = ScanAndFind("FOL");
    // The process row leaves the list while the start-up rows stay.
    frmMain.LstProc.DeleteRow(ProcessRow(kAlpha.path));
    frmMain.LstStart.SetSelectedRow(row);

    frmMain.DisableStartup1Click();

    EXPECT_TRUE(sys.fs().Exists(kStartupFolder + "\\alpha.exe"));
    EXPECT_EQ(ColourOf(row), platform::kRed);
}

// ---- What a kind cannot do ------------------------------------------------------------------

TEST_F(StartupActionsTest, WhatAKindCannotDoIsGreyedWithTheReasonInTheEntrysTip) {
    const std::string sethc = "C:\\WINDOWS\\system32\\sethc.exe";
    const std::string botDll = "C:\\Bot\\bot.dll";
    sys.fs().AddFile(scantest::kRulesPath,
                     scantest::PathRule("Sticky keys", "EXE", "WINDOWS\\system32\\sethc.exe") +
                         "[WMI]\r\nType=WMI\r\n" + "[BITS]\r\nType=BITS\r\n" +
                         scantest::RegRule("Dlls", "HKEY_CURRENT_USER", "Software\\Dlls", "ENUM") +
                         "Dlls=1\r\n");
    sys.fs().AddFile(sethc, "MZ");
    platform::sim::SimProcess host;
    host.pid = 30;
    host.parentPid = maintest::kParentPid;
    host.imagePath = sethc;
    host.modules = {botDll};
    sys.procs().AddProcess(host);
    sys.procs().AddSocket(host.pid, platform::kTcpStateListen, 3000);
    platform::WmiEventConsumer consumer;
    consumer.name = "Updater";
    consumer.commandLineTemplate = sethc;
    sys.wmiRepository().AddEventConsumer(consumer);
    sys.bitsQueue().AddJob({"{0B1E7A11-0000-4000-8000-000000000001}", "Updater", sethc, "", false});
    sys.reg().PutString(RootKey::CurrentUser, "Software\\Dlls", "Bot", botDll);
    Rescan();
    ShowStartups(sethc);
    ASSERT_EQ(StartupCaptions(), (std::vector<std::string>{"REG", "EXE", "WMI", "BITS"}));

    struct Case {
        int row;
        bool show, disable;
        std::string tip;
    };
    const Case cases[] = {
        {0, true, true, "Found in module " + botDll},
        {1, true, false, zorvik::kExeNoDisable},
        {2, false, false, std::string(zorvik::kWmiNoShow) + "\r\n" + zorvik::kWmiNoDisable},
        {3, false, true, zorvik::kBitsNoShow},
    };
    auto& startList = dynamic_cast<platform::sim::SimListView&>(frmMain.LstStart);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        gui.PressRow(frmMain.LstStart, platform::MouseButton::Right, c.row);
        ASSERT_FALSE(gui.Menus().empty());
        const std::vector<platform::MenuEntry>& entries = gui.Menus().back().entries;
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].enabled, c.show);
        EXPECT_EQ(entries[1].enabled, c.disable);
        EXPECT_EQ(startList.InfoTip(c.row), c.tip);
    }
    // The program's own tip names the module too.
    auto& processList = dynamic_cast<platform::sim::SimListView&>(frmMain.LstProc);
    EXPECT_NE(processList.InfoTip(ProcessRow(sethc)).find("\r\nFound in module " + botDll),
              std::string::npos);
    EXPECT_TRUE(shell.Executions().empty());
}

}  // namespace
