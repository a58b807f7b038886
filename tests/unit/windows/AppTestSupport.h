#pragma once
// The whole program on a simulated system: started as Zorvik.exe starts (its three windows,
// then the message loop), with a Settings.ini of the test's choosing beside it and programs
// that a scan lists.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/windows/ProgramStart.h"
#include "platform/Shell.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"
#include "unit/windows/MainTestSupport.h"
#include "unit/engine/ScanTestSupport.h"

namespace apptest {

using platform::NotifyAction;
using platform::NotifyIconData;
using platform::sim::NotifyRecord;

inline const std::string kSettingsPath = "C:\\Zorvik\\Settings.ini";
inline const std::string kOwnRunValue = "Zorvik";
inline const maintest::Program kAgent{40, "C:\\Apps\\agent.exe"};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys.fs().AddFile(scantest::kRulesPath, scantest::RunRule());
        maintest::AddParent(sys);
    }

    void WriteSettings(const std::string& text) { sys.fs().AddFile(kSettingsPath, text); }
    std::optional<std::string> SettingsText() { return sys.fs().Content(kSettingsPath); }
    // A saved value, or "<none>" when the key is not in the file.
    std::string Setting(const std::string& section, const std::string& key) {
        return sys.profile().ReadString(kSettingsPath, section, key, "<none>");
    }

    // Makes the windows as the program does and runs the loop once (the first show, the first
    // scan, the messages posted at creation).
    void Start(std::vector<std::string> args = {}) {
        gui.SetCommandLineArgs(std::move(args));
        app = std::make_unique<zorvik::Zorvik>(sys);
        app->Run();
    }
    // Only the windows: no show, no loop.
    void Create() { app = std::make_unique<zorvik::Zorvik>(sys); }

    // A running program with a listening socket and a Run value: every scan lists it.
    void ListProgram(const maintest::Program& program = kAgent) {
        maintest::AddProcess(sys, program);
        sys.procs().AddSocket(program.pid, platform::kTcpStateListen, nextPort_++);
        maintest::PutRun(sys, "Agent" + std::to_string(program.pid), program.path);
    }

    zorvik::TfrmMain& Main() { return app->frmMain; }
    zorvik::TfrmOp& Op() { return app->frmOp; }
    zorvik::TfrmTrust& Trust() { return app->frmTrust; }
    platform::Window& Form() { return app->frmMain.Form(); }

    void TrayEvent(std::intptr_t event) {
        shell.PostTrayEvent(event);
        gui.ProcessMessages();
    }
    // The balloons shown so far (the Modify calls carrying the balloon fields).
    std::vector<NotifyIconData> Balloons() const {
        std::vector<NotifyIconData> out;
        for (const NotifyRecord& call : shell.NotifyCalls())
            if (call.action == NotifyAction::Modify && (call.data.flags & platform::kNotifyInfo))
                out.push_back(call.data);
        return out;
    }
    int NotifyCount(NotifyAction action) const {
        int n = 0;
        for (const NotifyRecord& call : shell.NotifyCalls()) n += call.action == action;
        return n;
    }
    // In the tray: hidden, off the taskbar, the application minimised.
    bool InTray() {
        return !Form().Visible() && !gui.TaskbarButtonShown() && gui.ApplicationMinimised();
    }
    bool Shown() {
        return Form().Visible() && gui.TaskbarButtonShown() && !gui.ApplicationMinimised();
    }

    platform::sim::SimSystem sys;
    platform::sim::SimUi& gui = platform::sim::GuiOf(sys);
    platform::sim::SimShell& shell = platform::sim::ShellOf(sys);
    std::unique_ptr<zorvik::Zorvik> app;

private:
    std::uint16_t nextPort_ = 2000;
};

}  // namespace apptest
