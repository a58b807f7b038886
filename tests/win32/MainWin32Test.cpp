// The main window on the real system: a scan that finds a running program started with
// Windows, the trusted list passing it over, and "Disable Start up" on real registry values, a
// profile file, a start-up folder and a text file. The program is a helper that owns loopback
// sockets, copied under a name of this test's own; the rules file beside this program is
// replaced for each test and put back afterwards, since other tests read the shipped one.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SavedRulesFile.h"
#include "RunningAgent.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/ScanRules.h"
#include "core/base/untFunc.h"
#include "core/windows/main/EntryBalloon.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/engine/untScan.h"
#include "core/windows/untTrust.h"
#include "platform/win32/system/ScopedHandle.h"
#include "win32/UiTestSupport.h"
#include "win32/agent/TestAgentVersion.h"

namespace {

using platform::RegType;
using platform::RootKey;
using zorvik::AsciiLower;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class MainWin32Test : public uitest::UiTest {
protected:
    void SetUp() override {
        const std::string pid = std::to_string(::GetCurrentProcessId());
        runValue_ = "ZorvikMainTest-" + pid;
        key_ = "Software\\ZorvikMainTest-" + pid;
        agentName_ = "zvkagent" + pid + ".exe";

        drive_ = zorvik::GetWindowsDrive(*sys);
        ASSERT_FALSE(drive_.empty());
        const std::string temp = Files().TempDirectory();
        if (AsciiLower(temp.substr(0, drive_.size())) != AsciiLower(drive_))
            GTEST_SKIP() << "the temporary folder " << temp << " is not on the Windows drive";
        dir_ = temp + "ZorvikMain-" + pid;
        ASSERT_TRUE(Files().CreateDirectory(dir_)) << dir_;
        relativeDir_ = dir_.substr(drive_.size());
        agentPath_ = dir_ + "\\" + agentName_;
        const std::string agentSource =
            zorvik::ProgramFolderOf(Files().OwnPath()) + "zorvik_test_agent.exe";
        ASSERT_TRUE(::CopyFileA(agentSource.c_str(), agentPath_.c_str(), TRUE)) << agentSource;

        rules_.emplace(*sys);
    }

    void TearDown() override {
        agent_.reset();
        if (!rules_) return;
        rules_.reset();
        platform::RegKey run = platform::OpenKey(Reg(), RootKey::CurrentUser, kRunKey,
                                                 platform::KeyAccess::All);
        if (run) Reg().DeleteValue(run.get(), runValue_);
        Reg().DeleteTree(RootKey::CurrentUser, key_);
        if (!dir_.empty()) RemoveTree(dir_);
    }

    platform::Files& Files() { return sys->files(); }
    platform::Registry& Reg() { return sys->registry(); }

    void RemoveTree(const std::string& path) {
        if (auto entries = Files().List(path + "\\*")) {
            for (const auto& entry : *entries) {
                if (entry.name == "." || entry.name == "..") continue;
                const std::string child = path + "\\" + entry.name;
                Files().SetAttributes(child, entry.attributes & ~platform::kAttrReadOnly);
                if (entry.attributes & platform::kAttrDirectory) RemoveTree(child);
                else Files().Delete(child);
            }
        }
        Files().RemoveDirectory(path);
    }

    void WriteRules(const std::string& text) {
        ASSERT_TRUE(Files().WriteAll(rules_->Path(), text).ok) << rules_->Path();
    }
    std::string RunRule() const {
        return "[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + kRunKey +
               "\r\nAction=ENUM\r\n";
    }
    void PutValue(const std::string& subKey, const std::string& name, RegType type,
                  const std::string& text) {
        platform::RegKey key = platform::CreateKey(Reg(), RootKey::CurrentUser, subKey);
        ASSERT_TRUE(key) << subKey;
        ASSERT_TRUE(Reg().Set(key.get(), name, {type, text + '\0'})) << name;
    }
    std::optional<platform::RegValue> GetValue(const std::string& subKey, const std::string& name) {
        platform::RegKey key = platform::OpenKey(Reg(), RootKey::CurrentUser, subKey,
                                                 platform::KeyAccess::Read);
        return key ? Reg().Query(key.get(), name) : std::nullopt;
    }
    void MakeFile(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(Files().WriteAll(path, bytes).ok) << path;
    }
    std::string FileText(const std::string& path) {
        std::string bytes;
        return Files().ReadAll(path, bytes).ok ? bytes : "<unreadable>";
    }

    // Starts the agent and waits until its sockets are up.
    void StartAgent() {
        agent_.emplace(agentPath_,
                       "ZorvikMainTestReady-" + std::to_string(::GetCurrentProcessId()));
        ASSERT_TRUE(agent_->Started()) << "the agent did not get its sockets up: " << agentPath_;
        agentPid_ = agent_->Pid();
    }

    // The agent started from the current user's Run value, the only rule.
    void StartAgentFromRunValue() {
        WriteRules(RunRule());
        PutValue(kRunKey, runValue_, RegType::Sz, "\"" + agentPath_ + "\" /agent");
        StartAgent();
    }
    // The main window with its side windows, as the program makes them.
    struct AgentWindows {
        explicit AgentWindows(platform::System& sys) : frmMain(sys), frmTrust(sys), frmOp(sys) {
            frmMain.AttachSideWindows(frmTrust, frmOp);
        }
        zorvik::TfrmMain frmMain;
        zorvik::TfrmTrust frmTrust;
        zorvik::TfrmOp frmOp;
    };
    // A key pressed and let go in the control as the keyboard sends it, with Ctrl or Alt
    // (VK_CONTROL, VK_MENU) held or none (0).
    void PressKey(HWND control, WPARAM key, BYTE held) {
        BYTE before[256] = {};
        ::GetKeyboardState(before);
        BYTE state[256];
        std::copy(std::begin(before), std::end(before), std::begin(state));
        if (held == VK_CONTROL) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        if (held == VK_MENU) state[VK_MENU] = state[VK_LMENU] = 0x80;
        ::SetKeyboardState(state);
        const bool alt = held == VK_MENU;
        const LPARAM context = alt ? LPARAM{1} << 29 : 0;
        ::PostMessageA(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | context);
        ::PostMessageA(control, alt ? WM_SYSKEYUP : WM_KEYUP, key,
                       1 | context | LPARAM{1} << 30 | LPARAM{1} << 31);
        ui.ProcessMessages();
        ::SetKeyboardState(before);
    }

    // The agent's row in the process list, or -1.
    int AgentRow(const zorvik::TfrmMain& frmMain) {
        const std::string wanted = AsciiLower(zorvik::GetLongPath(*sys, agentPath_));
        for (int row = 0; row < frmMain.LstProc.RowCount(); ++row) {
            const std::string caption = frmMain.LstProc.RowCaption(row);
            if (AsciiLower(zorvik::GetLongPath(*sys, caption)) == wanted) return row;
        }
        return -1;
    }
    // Rescans until the agent is listed: the system may take a moment to name a socket's owner.
    int RescanUntilListed(zorvik::TfrmMain& frmMain) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            frmMain.BtnScanClick();
            const int row = AgentRow(frmMain);
            if (row >= 0) return row;
            ::Sleep(250);
        }
        return -1;
    }
    // The window on show once a rescan lists the agent: its row, or -1.
    int ShownWithTheAgentListed(zorvik::TfrmMain& frmMain) {
        const int row = RescanUntilListed(frmMain);
        if (row < 0) return row;
        frmMain.Form().Show();
        ui.ProcessMessages();
        return row;
    }
    void LeftClick(zorvik::TfrmMain& frmMain, int row) {
        HWND list = uitest::HandleOf(frmMain.LstProc);
        RECT r{};
        r.left = LVIR_BOUNDS;
        ASSERT_TRUE(::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)));
        uitest::Click(list, r.left + 4, (r.top + r.bottom) / 2);
        ui.ProcessMessages();
    }

    std::string runValue_, key_, agentName_, agentPath_, drive_, dir_, relativeDir_;
    std::optional<wintest::SavedRulesFile> rules_;
    std::optional<wintest::RunningAgent> agent_;
    std::uint32_t agentPid_ = 0;
};

TEST_F(MainWin32Test, ScanListsARunningProgramStartedWithWindowsUntilItIsTrusted) {
    StartAgentFromRunValue();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    ASSERT_TRUE(frmMain.HasTcpTableEntry());

    const int row = RescanUntilListed(frmMain);

    ASSERT_GE(row, 0) << "the agent was never listed";
    EXPECT_EQ(frmMain.LstProc.SubItem(row, 0), std::to_string(agentPid_));
    EXPECT_EQ(frmMain.LstProc.SubItem(row, 1), "Possible Bot Process, 1 Start up\\s detected");
    // The real list view shows the verdict's column after the three, with the row's level.
    HWND list = uitest::HandleOf(frmMain.LstProc);
    char caption[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, "Verdict");
    char level[32] = {};
    LVITEMA cell{};
    cell.iSubItem = 3;
    cell.pszText = level;
    cell.cchTextMax = sizeof level;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(std::string(level), frmMain.LstProc.SubItem(row, 2));
    LeftClick(frmMain, row);
    ASSERT_EQ(frmMain.LstStart.RowCount(), 1);
    EXPECT_EQ(frmMain.LstStart.RowCaption(0), "REG");
    EXPECT_EQ(frmMain.LstStart.SubItem(0, 0), "HKEY_CURRENT_USER");
    EXPECT_EQ(frmMain.LstStart.SubItem(0, 1), kRunKey);
    EXPECT_EQ(frmMain.LstStart.SubItem(0, 2), runValue_);
    EXPECT_EQ(frmMain.LstStartCustomDrawItem(0), platform::kRed);

    windows.frmTrust.Append(frmMain.LstProc.RowCaption(row));
    frmMain.BtnScanClick();
    EXPECT_EQ(AgentRow(frmMain), -1) << "a trusted program is passed over";
    EXPECT_EQ(frmMain.LstStart.RowCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

// In the notification area, the window watches the Run key: a value written there is scanned
// for without a timer, and the balloon names the program and the key.
TEST_F(MainWin32Test, AValueWrittenInAWatchedKeyRescansAndTheBalloonNamesIt) {
    WriteRules(RunRule());
    StartAgent();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    frmMain.BtnScanClick();
    ASSERT_TRUE(frmMain.Watching());
    frmMain.HideToTray();
    ASSERT_FALSE(frmMain.TmrScan.Enabled()) << "no timer scan";

    const DWORD written = ::GetTickCount();
    PutValue(kRunKey, runValue_, RegType::Sz, "\"" + agentPath_ + "\" /agent");
    std::string balloon;
    while (balloon.empty() && ::GetTickCount() - written < 5000) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        ui.ProcessMessages();
        balloon = zorvik::EntryBalloonText(frmMain.LastEntryNews());
    }
    std::cout << "note: the balloon's entry came " << ::GetTickCount() - written
              << " ms after the write\n";
    EXPECT_EQ(balloon, "New start-up entry: " + agentName_ + " in HKEY_CURRENT_USER\\" + kRunKey);
    EXPECT_GE(AgentRow(frmMain), 0) << "the rescan lists the agent";
    EXPECT_TRUE(boxes.empty());
}

// The process list asks for info tips, the start-up list does not; the tip the control asks
// for names the agent's sockets, its publisher and its signature, cut to the buffer it gives.
TEST_F(MainWin32Test, HoveringTheAgentsRowAsksForItsTip) {
    StartAgentFromRunValue();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    HWND list = uitest::HandleOf(frmMain.LstProc);
    EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_INFOTIP);
    // The start-up list's tips name the script, the program or the module a hit was found
    // through.
    EXPECT_TRUE(SendMessageA(uitest::HandleOf(frmMain.LstStart), LVM_GETEXTENDEDLISTVIEWSTYLE, 0,
                             0) &
                LVS_EX_INFOTIP);
    const int row = RescanUntilListed(frmMain);
    ASSERT_GE(row, 0) << "the agent was never listed";

    auto askTip = [&](int size) {
        std::string buffer(static_cast<std::size_t>(size), 'x');
        NMLVGETINFOTIPA tip{};
        tip.hdr.hwndFrom = list;
        tip.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
        tip.hdr.code = LVN_GETINFOTIPA;
        tip.pszText = buffer.data();
        tip.cchTextMax = size;
        tip.iItem = row;
        SendMessageA(GetParent(list), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return std::string(buffer.c_str());
    };
    const std::string tip = askTip(INFOTIPSIZE);
    // The sockets stand in the table's order, by local address and port.
    EXPECT_EQ(tip.rfind("Sockets:\r\n", 0), 0u) << tip;
    EXPECT_NE(tip.find("\r\n  LISTEN 127.0.0.1:"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\r\n  ESTAB 127.0.0.1:"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\r\nPublisher: " ZORVIK_AGENT_COMPANY "\r\n"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\r\nSignature: not signed"), std::string::npos) << tip;
    EXPECT_EQ(askTip(12), tip.substr(0, 11));
    EXPECT_TRUE(boxes.empty());
}

// The filter box narrows the real list to the agent by its name; Ctrl+A and Ctrl+C, as the
// keyboard sends them to the list, put its row under the columns' captions on the clipboard.
TEST_F(MainWin32Test, FilteredToTheAgentCtrlAAndCtrlCPutItsRowOnTheClipboard) {
    StartAgentFromRunValue();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    ASSERT_GE(ShownWithTheAgentListed(frmMain), 0) << "the agent was never listed";

    // WM_SETTEXT, as a paste would change it: the box reports the change itself.
    HWND box = uitest::HandleOf(frmMain.EdtFilter);
    ASSERT_TRUE(::SetWindowTextA(box, "no such program"));
    ui.ProcessMessages();
    EXPECT_EQ(frmMain.LstProc.RowCount(), 0);
    ASSERT_TRUE(::SetWindowTextA(box, AsciiLower(runValue_).c_str()));
    ui.ProcessMessages();
    ASSERT_EQ(frmMain.LstProc.RowCount(), 1);
    const std::string row = frmMain.LstProc.RowCaption(0) + "\t" + std::to_string(agentPid_) +
                            "\tPossible Bot Process, 1 Start up\\s detected\t" +
                            frmMain.LstProc.SubItem(0, 2) + "\t" +
                            frmMain.LstProc.SubItem(0, 3) + "\r\n";

    HWND list = uitest::HandleOf(frmMain.LstProc);
    ::SetFocus(list);
    PressKey(list, 'A', VK_CONTROL);
    EXPECT_EQ(frmMain.LstProc.SelectedRows(), std::vector<int>{0});
    PressKey(list, 'C', VK_CONTROL);

    // Read back as any other program would: CF_TEXT, up to its NUL.
    std::string copied;
    ASSERT_TRUE(::OpenClipboard(nullptr));
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
            copied = text;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    EXPECT_EQ(copied, "Program Path\tPID\tDetails\tVerdict\tPublisher\r\n" + row);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWin32Test, TheSaveDialogsChoiceGetsTheReportOfTheWholeScan) {
    StartAgentFromRunValue();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    const int row = RescanUntilListed(frmMain);
    ASSERT_GE(row, 0) << "the agent was never listed";
    const std::string caption = frmMain.LstProc.RowCaption(row);
    frmMain.Form().Show();
    frmMain.EdtFilter.SetText("no such program");
    ui.ProcessMessages();

    // Typed without an extension: the dialog adds the first filter's, the text report's.
    const std::string typed = dir_ + "\\report";
    bool answered = false;
    uitest::DialogWatcher watcher([&](HWND dialog) {
        if (answered) return true;
        answered = true;
        if (!SetDlgItemTextA(dialog, 0x480, typed.c_str()))
            SetDlgItemTextA(dialog, 0x47C, typed.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    ::SendMessageA(uitest::HandleOf(frmMain.BtnSaveReport), BM_CLICK, 0, 0);
    ASSERT_TRUE(answered) << "no dialog was shown";
    const std::string saved = FileText(typed + ".txt");
    // Every row of the scan, the filter box showing none, its lines ended as a console's.
    EXPECT_NE(saved.find(caption + "\r\n  PID      " + std::to_string(agentPid_) + "\r\n"),
              std::string::npos)
        << saved;
    EXPECT_TRUE(boxes.empty());
}

// F5 and Alt+R, as the keyboard sends them to the focused list, each rescan: the findings of
// the row listed before are let go.
TEST_F(MainWin32Test, F5AndAltRPressedInTheListRescan) {
    StartAgentFromRunValue();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    ASSERT_GE(ShownWithTheAgentListed(frmMain), 0) << "the agent was never listed";
    HWND list = uitest::HandleOf(frmMain.LstProc);
    ::SetFocus(list);
    for (const bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "Alt+R" : "F5");
        if (frmMain.LstProc.RowCount() == 0) ASSERT_GE(RescanUntilListed(frmMain), 0);
        const std::shared_ptr<void> before = frmMain.LstProc.RowData(0);
        ASSERT_GT(before.use_count(), 1);
        PressKey(list, alt ? 'R' : VK_F5, alt ? VK_MENU : 0);
        EXPECT_EQ(before.use_count(), 1) << "no rescan";
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWin32Test, DisableStartupOnRealValuesFilesAndFolders) {
    zorvik::StrAr accounts;
    zorvik::GetUserAccounts(*sys, accounts);
    if (accounts.empty()) std::cout << "note: no user accounts listed, no start-up folder is searched\n";
    const std::string scratchRun = key_ + "\\Run";
    const std::string bootIni = dir_ + "\\boot.ini";
    const std::string batch = dir_ + "\\start.bat";
    WriteRules(RunRule() +
               "[Scratch]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + scratchRun +
               "\r\nAction=ENUM\r\n"
               "[Profile]\r\nType=INI\r\nName=" + bootIni + "\r\nSection=boot\r\nIdent=shell\r\n"
               "[Folder]\r\nType=FOL\r\nPath=" + relativeDir_ + "\\Users\\*USER*\\Startup\r\n"
               "[Batch]\r\nType=FIL\r\nPath=" + relativeDir_ + "\\start.bat\r\n");
    PutValue(kRunKey, runValue_, RegType::Sz, agentPath_);
    PutValue(scratchRun, "Agent", RegType::ExpandSz, "\"" + agentPath_ + "\" -X");
    MakeFile(bootIni, "[boot]\r\nshell=Explorer.exe " + agentName_ + "\r\n");
    std::string startup;
    if (!accounts.empty()) {
        startup = dir_ + "\\Users\\" + accounts[0] + "\\Startup";
        ASSERT_TRUE(Files().CreateDirectory(dir_ + "\\Users"));
        ASSERT_TRUE(Files().CreateDirectory(dir_ + "\\Users\\" + accounts[0]));
        ASSERT_TRUE(Files().CreateDirectory(startup));
        MakeFile(startup + "\\" + agentName_, "MZ");
    }
    const std::string tail = "\x1A" "start " + agentName_ + "\r\n";
    MakeFile(batch, "@echo off\r\nSTART " + agentName_ + " /q\r\nrem other\r\n" + tail);
    StartAgent();
    AgentWindows windows(*sys);
    zorvik::TfrmMain& frmMain = windows.frmMain;
    const int row = RescanUntilListed(frmMain);
    ASSERT_GE(row, 0) << "the agent was never listed";
    LeftClick(frmMain, row);

    std::vector<std::string> kinds;
    for (int i = 0; i < frmMain.LstStart.RowCount(); ++i) kinds.push_back(frmMain.LstStart.RowCaption(i));
    std::vector<std::string> expectedKinds = {"REG", "REG", "INI"};
    if (!accounts.empty()) expectedKinds.push_back("FOL");
    expectedKinds.push_back("FIL");
    ASSERT_EQ(kinds, expectedKinds);
    const int filRow = static_cast<int>(kinds.size()) - 1;

    // A read-only text file is refused and left as it was.
    ASSERT_TRUE(Files().SetAttributes(batch, platform::kAttrReadOnly));
    const std::string batchBefore = FileText(batch);
    frmMain.LstStart.SetSelectedRow(filRow);
    ui.RunHandler([&] { frmMain.DisableStartup1Click(); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Cannot create file " + batch);
    EXPECT_EQ(FileText(batch), batchBefore);
    EXPECT_EQ(frmMain.LstStartCustomDrawItem(filRow), platform::kRed);
    ASSERT_TRUE(Files().SetAttributes(batch, platform::kAttrNormal));
    boxes.clear();

    for (int i = 0; i < frmMain.LstStart.RowCount(); ++i) {
        frmMain.LstStart.SetSelectedRow(i);
        ui.RunHandler([&] { frmMain.DisableStartup1Click(); });
        EXPECT_EQ(frmMain.LstStartCustomDrawItem(i), platform::kGreen) << kinds[i] << " row " << i;
    }
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);

    const std::optional<platform::RegValue> run = GetValue(kRunKey, runValue_);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->type, RegType::Sz);
    EXPECT_EQ(run->data, AsciiLower(zorvik::GetLongPath(*sys, agentPath_)) + ".bak" + '\0');
    const std::optional<platform::RegValue> scratch = GetValue(scratchRun, "Agent");
    ASSERT_TRUE(scratch.has_value());
    EXPECT_EQ(scratch->type, RegType::ExpandSz) << "an expandable string stays expandable";
    EXPECT_EQ(scratch->data, "\"" + AsciiLower(agentPath_) + ".bak\" -x" + '\0');
    EXPECT_EQ(sys->profile().ReadString(bootIni, "boot", "shell", ""),
              "explorer.exe " + AsciiLower(agentName_) + ".bak");
    if (!startup.empty()) {
        EXPECT_FALSE(Files().Attributes(startup + "\\" + agentName_).has_value());
        EXPECT_TRUE(Files().Attributes(startup + "\\" + agentName_ + ".bak").has_value());
    }
    EXPECT_EQ(FileText(batch),
              "@echo off\r\nstart " + AsciiLower(agentName_) + ".bak /q\r\nrem other\r\n" + tail);
    EXPECT_FALSE(Files().Attributes(batch + ".~zorvik").has_value()) << "no scratch file is left";

    // The next scan finds every entry again, now disabled.
    frmMain.BtnScanClick();
    const int again = AgentRow(frmMain);
    ASSERT_GE(again, 0);
    LeftClick(frmMain, again);
    ASSERT_EQ(frmMain.LstStart.RowCount(), static_cast<int>(expectedKinds.size()));
    for (int i = 0; i < frmMain.LstStart.RowCount(); ++i)
        EXPECT_EQ(frmMain.LstStartCustomDrawItem(i), platform::kGreen) << kinds[i];
}

}  // namespace
