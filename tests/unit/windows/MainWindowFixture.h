#pragma once
// The main window on a simulated system, with its two side windows attached, and programs
// that a scan lists: each running, owning a listening socket, started from the places named.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"
#include "unit/windows/MainTestSupport.h"

namespace maintest {

using platform::MouseButton;
using platform::RootKey;

inline const std::string kMachineRunKey = scantest::kRunKey;
inline const std::string kStartupFolder =
    "C:\\Documents and Settings\\bob\\Start Menu\\Programs\\Startup";
inline const std::string kBatchFile = "C:\\autoexec.bat";
inline const std::string kWinIni = "C:\\WINDOWS\\win.ini";

// Rules for every kind of place: two Run keys, a profile entry, a start-up folder, a text file.
inline std::string AllKindsOfRules() {
    return scantest::RunRule("RunUser") +
           scantest::RegRule("RunMachine", "HKEY_LOCAL_MACHINE", kMachineRunKey, "ENUM") +
           scantest::IniRule("Load", "win.ini", "windows", "load") +
           scantest::PathRule("Startup", "FOL",
                              "Documents and Settings\\*USER*\\Start Menu\\Programs\\Startup") +
           scantest::PathRule("Batch", "FIL", "autoexec.bat");
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys.fs().AddFile(scantest::kRulesPath, AllKindsOfRules());
        sys.users().SetUsers({"bob"});
        AddParent(sys);
        frmMain.AttachSideWindows(frmTrust, frmOp);
    }

    // A running program with a listening socket; sockets keep the order programs start in.
    void Start(const Program& program) {
        AddProcess(sys, program);
        sys.procs().AddSocket(program.pid, platform::kTcpStateListen, nextPort_++);
    }
    void PutUserRun(const std::string& name, const std::string& command) {
        PutRun(sys, name, command);
    }
    void PutMachineRun(const std::string& name, const std::string& command) {
        sys.reg().PutString(RootKey::LocalMachine, kMachineRunKey, name, command);
    }

    void Rescan() { gui.Click(frmMain.BtnScan); }
    void LeftClick(int row) { gui.PressRow(frmMain.LstProc, MouseButton::Left, row); }
    void RightClick(int row) { gui.PressRow(frmMain.LstProc, MouseButton::Right, row); }
    int ProcessRow(const std::string& path) const {
        for (int row = 0; row < frmMain.LstProc.RowCount(); ++row)
            if (frmMain.LstProc.RowCaption(row) == path) return row;
        return -1;
    }
    // Left-clicks the program's row, so that the start-up list shows its hits.
    void ShowStartups(const std::string& path) {
        const int row = ProcessRow(path);
        ASSERT_GE(row, 0) << path << " is not listed";
        LeftClick(row);
    }
    std::vector<std::string> StartupCaptions() const {
        std::vector<std::string> out;
        for (int row = 0; row < frmMain.LstStart.RowCount(); ++row)
            out.push_back(frmMain.LstStart.RowCaption(row));
        return out;
    }
    std::shared_ptr<zorvik::ProcInfo> FindingsOfRow(int row) const {
        return std::static_pointer_cast<zorvik::ProcInfo>(frmMain.LstProc.RowData(row));
    }
    // Opens the start-up list's menu on a row (or below the rows) and chooses an item.
    void ChooseStartupCommand(int row, const zorvik::PopupMenuItem& item,
                              std::function<void()> whileOpen = {}) {
        gui.QueueMenuChoice(item.Id, std::move(whileOpen));
        if (row >= 0) {
            gui.PressRow(frmMain.LstStart, MouseButton::Right, row);
        } else {
            gui.PressMouse(frmMain.LstStart, MouseButton::Right, 4, 300);
        }
    }
    std::size_t BoxCount() const { return gui.MessageBoxes().size(); }

    platform::sim::SimSystem sys;
    platform::sim::SimUi& gui = platform::sim::GuiOf(sys);
    platform::sim::SimShell& shell = platform::sim::ShellOf(sys);
    zorvik::TfrmMain frmMain{sys};
    zorvik::TfrmTrust frmTrust{sys};
    zorvik::TfrmOp frmOp{sys};

private:
    std::uint16_t nextPort_ = 1000;
};

}  // namespace maintest
