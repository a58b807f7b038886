// What Windows starts by itself beyond a program's own name, on the real system: the test agent
// with a DLL loaded that a shipped rule with Dlls=1 names (a Netsh helper, a Winlogon notification
// package, a print monitor, a time provider), listed with the DLL;
// the agent copied to the path of an EXE rule, listed and marked as no system file; and WMI's
// event consumers, of which Wine has none.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
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

// A place of the shipped rules that names a DLL Windows loads by itself.
struct DllPlace {
    const char* what;
    const char* section;  // the shipped rule, alone in the rules file
    // The key to write the DLL's path in, below HKEY_LOCAL_MACHINE, for the test's own name
    // (a subkey named so is removed afterwards; a key that is not is kept).
    std::string (*key)(const std::string& name);
    bool subkey;
    // The value that holds the path; empty: the test's own name.
    const char* value;
};

void PrintTo(const DllPlace& place, std::ostream* os) { *os << place.what; }

const DllPlace kDllPlaces[] = {
    {"netshHelper", "[Netsh helpers]",
     [](const std::string&) { return std::string("Software\\Microsoft\\NetSh"); }, false, ""},
    {"winlogonNotify", "[Winlogon Notify]",
     [](const std::string& name) {
         return "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\" + name;
     },
     true, "DllName"},
    {"printMonitor", "[Print Monitors]",
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + name;
     },
     true, "Driver"},
    {"timeProvider", "[Time Providers]",
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Services\\W32Time\\TimeProviders\\" + name;
     },
     true, "DllName"},
};

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
        for (const DllPlace& place : kDllPlaces) {
            const std::string key = place.key(valueName_);
            if (place.subkey) {
                sys_->registry().DeleteTree(RootKey::LocalMachine, key);
                continue;
            }
            platform::RegKey written = platform::OpenKey(sys_->registry(), RootKey::LocalMachine,
                                                         key, platform::KeyAccess::All);
            if (written) sys_->registry().DeleteValue(written.get(), valueName_);
        }
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

class DllPlaceWin32Test : public StartedByWindowsWin32Test,
                          public ::testing::WithParamInterface<DllPlace> {};

TEST_P(DllPlaceWin32Test, AgentWithTheDllThePlaceNamesIsListedWithTheDll) {
    const DllPlace& place = GetParam();
    ASSERT_TRUE(savedRules_.has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*savedRules_, place.section);
    ASSERT_NE(rule.find("Dlls=1"), std::string::npos) << rule;
    ASSERT_TRUE(sys_->files().WriteAll(rulesFile_, rule).ok);
    const std::string dll = Copy("zorvik_test_dll.dll", "zvkhelper" + pid_ + ".dll");
    const std::string agent = Copy("zorvik_test_agent.exe", "zvkhost" + pid_ + ".exe");
    const std::string key = place.key(valueName_);
    const std::string value = *place.value ? place.value : valueName_;
    {
        platform::RegKey written =
            platform::CreateKey(sys_->registry(), RootKey::LocalMachine, key);
        if (!written) GTEST_SKIP() << "HKEY_LOCAL_MACHINE\\" << key << " cannot be written";
        ASSERT_TRUE(sys_->registry().Set(written.get(), value,
                                         {platform::RegType::Sz, dll + '\0'}));
    }
    ASSERT_TRUE(StartAgent(agent, dll)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = ScanUntilListed(list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcInfo& found = *list.At(static_cast<std::size_t>(row)).data;
    ASSERT_EQ(found.RegList.size(), 1u);
    EXPECT_EQ(found.RegList[0].Key, key);
    EXPECT_EQ(found.RegList[0].Name, value);
    ASSERT_EQ(found.ModuleHits.size(), 1u);
    EXPECT_EQ(AsciiLower(zorvik::GetLongPath(*sys_, found.ModuleHits[0].Module)), AsciiLower(dll));
}

INSTANTIATE_TEST_SUITE_P(Places, DllPlaceWin32Test, ::testing::ValuesIn(kDllPlaces),
                         [](const auto& info) { return std::string(info.param.what); });

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
