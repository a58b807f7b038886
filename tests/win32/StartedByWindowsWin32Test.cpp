// What Windows starts by itself beyond a program's own name, on the real system: the test agent
// with a DLL loaded that the shipped Netsh helpers rule names (Dlls=1), listed with the DLL;
// the agent copied to the path of an EXE rule, listed and marked as no system file; and WMI's
// event consumers, of which Wine has none.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "contract/WineQuirks.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/startup/kinds/ExeKind.h"
#include "platform/System.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/ScopedHandle.h"
#include "win32/agent/TestAgentVersion.h"

namespace {

using platform::RootKey;
using zorvik::AsciiLower;

const std::string kNetshKey = "Software\\Microsoft\\NetSh";
const std::string kNetshSection = "[Netsh helpers]";

class NoOptions : public zorvik::ScanOptions {
public:
    bool IgnoreSafe() const override { return false; }
};

class EmptyTrust : public zorvik::TrustedList {
public:
    std::size_t Count() const override { return 0; }
    std::string Entry(std::size_t) const override { return {}; }
    void Append(const std::string&) override {}
};

// The section of a rules file that begins with header, up to the next section.
std::string Section(const std::string& rules, const std::string& header) {
    const std::size_t begin = rules.find("\n" + header);
    if (begin == std::string::npos) return {};
    const std::size_t end = rules.find("\n[", begin + 1);
    return rules.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin);
}

class StartedByWindowsWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        pid_ = std::to_string(::GetCurrentProcessId());
        valueName_ = "ZorvikTest-" + pid_;
        buildDir_ = zorvik::ProgramFolderOf(sys_->files().OwnPath());
        dir_ = sys_->files().TempDirectory() + "ZorvikStarted-" + pid_;
        ASSERT_TRUE(sys_->files().CreateDirectory(dir_)) << dir_;
        // The long form: a process's path is given long, and an EXE rule names it exactly.
        dir_ = zorvik::GetLongPath(*sys_, dir_);
        portsFile_ = dir_ + "\\ports.txt";
        rulesFile_ = zorvik::RulesFilePath(*sys_);
        std::string bytes;
        if (sys_->files().ReadAll(rulesFile_, bytes).ok) savedRules_ = bytes;
    }

    void TearDown() override {
        if (agent_) {
            ::TerminateProcess(agent_.get(), 0);
            ::WaitForSingleObject(agent_.get(), 10000);
        }
        if (!sys_) return;
        if (savedRules_) sys_->files().WriteAll(rulesFile_, *savedRules_);
        else if (!rulesFile_.empty()) sys_->files().Delete(rulesFile_);
        platform::RegKey netsh = platform::OpenKey(sys_->registry(), RootKey::LocalMachine,
                                                   kNetshKey, platform::KeyAccess::All);
        if (netsh) sys_->registry().DeleteValue(netsh.get(), valueName_);
        for (const std::string& file : copies_) sys_->files().Delete(file);
        sys_->files().Delete(portsFile_);
        sys_->files().RemoveDirectory(dir_);
    }

    // The built file copied into the test's folder under the given name.
    std::string Copy(const std::string& built, const std::string& name) {
        const std::string target = dir_ + "\\" + name;
        EXPECT_TRUE(::CopyFileA((buildDir_ + built).c_str(), target.c_str(), TRUE)) << built;
        copies_.push_back(target);
        return target;
    }

    // Starts the agent at path, loading dll when given one; true once its sockets are up.
    bool StartAgent(const std::string& path, const std::string& dll = "") {
        const std::string eventName = "ZorvikStartedReady-" + pid_;
        platform::win32::UniqueHandle ready(
            ::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
        if (!ready) return false;
        std::string commandLine = "\"" + path + "\" " + eventName + " \"" + portsFile_ + "\"";
        if (!dll.empty()) commandLine += " \"" + dll + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &info))
            return false;
        ::CloseHandle(info.hThread);
        agent_ = platform::win32::UniqueHandle(info.hProcess);
        const HANDLE waits[2] = {ready.get(), agent_.get()};
        return ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }

    // Scans until the program at path is listed (the system may take a moment to name a
    // socket's owner); its row index, or -1.
    int ScanUntilListed(zorvik::ProcessList& list, const std::string& path) {
        std::unique_ptr<platform::TcpTable> tcp = zorvik::LoadTcpTableEntry(*sys_);
        if (!tcp) return -1;
        const std::string wanted = AsciiLower(path);
        for (int attempt = 0; attempt < 40; ++attempt) {
            list.Clear();
            zorvik::ScanCycle(*sys_, tcp.get(), options_, trusted_, list);
            for (std::size_t row = 0; row < list.Count(); ++row) {
                const std::string caption = zorvik::GetLongPath(*sys_, list.At(row).caption);
                if (AsciiLower(caption) == wanted) return static_cast<int>(row);
            }
            ::Sleep(250);
        }
        return -1;
    }

    std::unique_ptr<platform::System> sys_;
    std::string pid_, valueName_, buildDir_, dir_, portsFile_, rulesFile_;
    std::vector<std::string> copies_;
    std::optional<std::string> savedRules_;
    platform::win32::UniqueHandle agent_;
    NoOptions options_;
    EmptyTrust trusted_;
};

TEST_F(StartedByWindowsWin32Test, AgentWithADllANetshHelperNamesIsListedWithTheDll) {
    ASSERT_TRUE(savedRules_.has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*savedRules_, kNetshSection);
    ASSERT_NE(rule.find("Dlls=1"), std::string::npos) << rule;
    ASSERT_TRUE(sys_->files().WriteAll(rulesFile_, rule).ok);
    const std::string dll = Copy("zorvik_test_dll.dll", "zvkhelper" + pid_ + ".dll");
    const std::string agent = Copy("zorvik_test_agent.exe", "zvkhost" + pid_ + ".exe");
    {
        platform::RegKey netsh =
            platform::CreateKey(sys_->registry(), RootKey::LocalMachine, kNetshKey);
        if (!netsh) GTEST_SKIP() << "HKEY_LOCAL_MACHINE\\" << kNetshKey << " cannot be written";
        ASSERT_TRUE(sys_->registry().Set(netsh.get(), valueName_,
                                         {platform::RegType::Sz, dll + '\0'}));
    }
    ASSERT_TRUE(StartAgent(agent, dll)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = ScanUntilListed(list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcInfo& found = *list.At(static_cast<std::size_t>(row)).data;
    ASSERT_EQ(found.RegList.size(), 1u);
    EXPECT_EQ(found.RegList[0].Key, kNetshKey);
    EXPECT_EQ(found.RegList[0].Name, valueName_);
    ASSERT_EQ(found.ModuleHits.size(), 1u);
    EXPECT_EQ(AsciiLower(zorvik::GetLongPath(*sys_, found.ModuleHits[0].Module)), AsciiLower(dll));
}

TEST_F(StartedByWindowsWin32Test, AgentCopiedToThePathOfAnExeRuleIsListedAndMarked) {
    const std::string agent = Copy("zorvik_test_agent.exe", "sethc.exe");
    const std::string drive = zorvik::GetWindowsDrive(*sys_);
    if (AsciiLower(agent.substr(0, drive.size())) != AsciiLower(drive))
        GTEST_SKIP() << "the temporary folder " << dir_ << " is not on the Windows drive";
    ASSERT_TRUE(sys_->files().WriteAll(rulesFile_, "[Sticky keys]\r\nType=EXE\r\nPath=" +
                                                       agent.substr(drive.size()) + "\r\n").ok);
    ASSERT_TRUE(StartAgent(agent)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = ScanUntilListed(list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcessRow& listed = list.At(static_cast<std::size_t>(row));
    ASSERT_EQ(listed.data->ExeList.size(), 1u);
    EXPECT_EQ(AsciiLower(listed.data->ExeList[0].Path), AsciiLower(agent));
    EXPECT_EQ(listed.data->ExeList[0].Replaced,
              std::string("original file name ") + ZORVIK_AGENT_ORIGINAL_NAME);
    EXPECT_EQ(listed.details, std::string(zorvik::kBotProcessDetails) + "1 Start up\\s detected" +
                                  zorvik::kReplacedProgramVerdict);
}

TEST_F(StartedByWindowsWin32Test, WmiRuleReadsTheConsumersWhereThereAreAny) {
    ASSERT_TRUE(sys_->files().WriteAll(rulesFile_, "[WMI]\r\nType=WMI\r\n").ok);
    ASSERT_NE(sys_->wmi(), nullptr);

    const zorvik::StartupPlaces places = zorvik::ReadStartupPlaces(*sys_);

    if (contract::RunningUnderWine()) {
        // Wine has no root\subscription: the rule finds nothing.
        EXPECT_TRUE(places.spots.empty());
        EXPECT_TRUE(places.texts.empty());
    }
    for (const zorvik::StartupSpot& spot : places.spots)
        EXPECT_EQ(spot.kind, zorvik::StartupKind::Wmi);
}

}  // namespace
