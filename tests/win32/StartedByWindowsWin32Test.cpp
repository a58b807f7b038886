// What Windows starts by itself beyond a program's own name, on the real system: the test agent
// with a DLL loaded that a shipped rule with Dlls=1 names (a Netsh helper, a Winlogon notification
// package, a print monitor, a time provider, AppInit_DLLs, an LSA package), listed with the DLL;
// the agent named in the session manager's BootExecute and as the screen saver, listed there;
// the agent copied to the path of an EXE rule, listed and marked as no system file; and WMI's
// event consumers, of which Wine has none.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "contract/WineQuirks.h"
#include "ListedAgentScan.h"
#include "SavedRulesFile.h"
#include "RunningAgent.h"
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

// A place of the shipped rules that names a program or a DLL Windows starts or loads by itself.
struct WindowsPlace {
    const char* what;
    const char* section;  // the shipped rule, alone in the rules file
    RootKey root;
    // The key the entry goes in, for the test's own name.
    std::string (*key)(const std::string& name);
    enum Write {
        kOwnSubkey,    // a subkey named for the test, removed afterwards
        kOwnValue,     // a value named for the test in a key that stays
        kListedValue,  // one more entry in a list value Windows keeps, put back afterwards
    } write;
    const char* value;  // the value's name; empty: the test's own name
    bool dll;           // the entry names the agent's DLL, else the agent itself
    bool bareName;      // the DLL named without folder or ".dll", as LSA reads its packages
    bool multiSz;       // a list value is a REG_MULTI_SZ
};

void PrintTo(const WindowsPlace& place, std::ostream* os) { *os << place.what; }

std::string Fixed(const char* key) { return key; }

const WindowsPlace kWindowsPlaces[] = {
    {"netshHelper", "[Netsh helpers]", RootKey::LocalMachine,
     [](const std::string&) { return Fixed("Software\\Microsoft\\NetSh"); },
     WindowsPlace::kOwnValue, "", true, false, false},
    {"winlogonNotify", "[Winlogon Notify]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\" + name;
     },
     WindowsPlace::kOwnSubkey, "DllName", true, false, false},
    {"printMonitor", "[Print Monitors]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + name;
     },
     WindowsPlace::kOwnSubkey, "Driver", true, false, false},
    {"timeProvider", "[Time Providers]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Services\\W32Time\\TimeProviders\\" + name;
     },
     WindowsPlace::kOwnSubkey, "DllName", true, false, false},
    {"appInitDll", "[AppInit_DLLs]", RootKey::LocalMachine,
     [](const std::string&) {
         return Fixed("Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows");
     },
     WindowsPlace::kListedValue, "AppInit_DLLs", true, false, false},
    {"lsaAuthenticationPackage", "[LSA Authentication Packages]", RootKey::LocalMachine,
     [](const std::string&) { return Fixed("SYSTEM\\CurrentControlSet\\Control\\Lsa"); },
     WindowsPlace::kListedValue, "Authentication Packages", true, true, true},
    {"bootExecute", "[Session Manager BootExecute]", RootKey::LocalMachine,
     [](const std::string&) {
         return Fixed("SYSTEM\\CurrentControlSet\\Control\\Session Manager");
     },
     WindowsPlace::kListedValue, "BootExecute", false, false, true},
    {"screenSaver", "[Screen saver]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Control Panel\\Desktop"); },
     WindowsPlace::kListedValue, "SCRNSAVE.EXE", false, false, false},
};

// value with one more entry: a list (REG_MULTI_SZ) gets another string, a text another word.
platform::RegValue WithEntry(const std::optional<platform::RegValue>& value,
                             const std::string& entry, bool multiSz) {
    std::string data = value ? value->data : std::string();
    while (!data.empty() && data.back() == '\0') data.pop_back();
    if (multiSz || (value && value->type == platform::RegType::MultiSz)) {
        if (!data.empty()) data += '\0';
        return {platform::RegType::MultiSz, data + entry + std::string(2, '\0')};
    }
    return {value ? value->type : platform::RegType::Sz,
            data + (data.empty() ? "" : " ") + entry + '\0'};
}

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
        rules_.emplace(*sys_);
    }

    void TearDown() override {
        agent_.reset();
        if (!sys_) return;
        rules_.reset();
        for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) (*undo)();
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
        std::string arguments = "\"" + portsFile_ + "\"";
        if (!dll.empty()) arguments += " \"" + dll + "\"";
        agent_.emplace(path, "ZorvikStartedReady-" + pid_, arguments);
        return agent_->Started();
    }


    std::unique_ptr<platform::System> sys_;
    std::string pid_, valueName_, buildDir_, dir_, portsFile_;
    std::vector<std::string> copies_;
    std::optional<wintest::SavedRulesFile> rules_;
    // What puts the registry back as it was, in the order written.
    std::vector<std::function<void()>> undo_;
    std::optional<wintest::RunningAgent> agent_;
};

class WindowsPlaceWin32Test : public StartedByWindowsWin32Test,
                              public ::testing::WithParamInterface<WindowsPlace> {
protected:
    // Writes text into the place, and what takes it out again into undo_; false when the
    // registry refuses.
    bool Write(const WindowsPlace& place, const std::string& key, const std::string& value,
               const std::string& text) {
        platform::Registry& reg = sys_->registry();
        platform::RegKey written = platform::CreateKey(reg, place.root, key);
        if (!written) return false;
        const std::optional<platform::RegValue> before = reg.Query(written.get(), value);
        const RootKey root = place.root;
        switch (place.write) {
            case WindowsPlace::kOwnSubkey:
                undo_.push_back([this, root, key] { sys_->registry().DeleteTree(root, key); });
                break;
            case WindowsPlace::kOwnValue:
            case WindowsPlace::kListedValue:
                undo_.push_back([this, root, key, value, before] {
                    platform::Registry& r = sys_->registry();
                    const platform::RegKey k = platform::OpenKey(r, root, key, platform::KeyAccess::All);
                    if (!k) return;
                    if (before) r.Set(k.get(), value, *before);
                    else r.DeleteValue(k.get(), value);
                });
                break;
        }
        const platform::RegValue entry = place.write == WindowsPlace::kListedValue
                                             ? WithEntry(before, text, place.multiSz)
                                             : platform::RegValue{platform::RegType::Sz, text + '\0'};
        return reg.Set(written.get(), value, entry);
    }
};

TEST_P(WindowsPlaceWin32Test, AgentStartedOrLoadingADllFromThePlaceIsListedWithIt) {
    const WindowsPlace& place = GetParam();
    ASSERT_TRUE(rules_->Saved().has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*rules_->Saved(), place.section);
    ASSERT_FALSE(rule.empty()) << place.section;
    ASSERT_EQ(rule.find("Dlls=1") != std::string::npos, place.dll) << rule;
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), rule).ok);
    const std::string dll = Copy("zorvik_test_dll.dll", "zvkhelper" + pid_ + ".dll");
    const std::string agent = Copy("zorvik_test_agent.exe", "zvkhost" + pid_ + ".exe");
    const std::string key = place.key(valueName_);
    const std::string value = *place.value ? place.value : valueName_;
    const std::string named = !place.dll        ? agent
                              : place.bareName ? "zvkhelper" + pid_
                                               : dll;
    if (!Write(place, key, value, named)) GTEST_SKIP() << key << " cannot be written";
    ASSERT_TRUE(StartAgent(agent, dll)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = wintest::ScanUntilListed(*sys_, list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcInfo& found = *list.At(static_cast<std::size_t>(row)).data;
    ASSERT_EQ(found.RegList.size(), 1u);
    EXPECT_EQ(found.RegList[0].Key, key);
    EXPECT_EQ(found.RegList[0].Name, value);
    ASSERT_EQ(found.ModuleHits.size(), place.dll ? 1u : 0u);
    if (place.dll) {
        EXPECT_EQ(AsciiLower(zorvik::GetLongPath(*sys_, found.ModuleHits[0].Module)),
                  AsciiLower(dll));
    }
}

INSTANTIATE_TEST_SUITE_P(Places, WindowsPlaceWin32Test, ::testing::ValuesIn(kWindowsPlaces),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(StartedByWindowsWin32Test, AgentCopiedToThePathOfAnExeRuleIsListedAndMarked) {
    const std::string agent = Copy("zorvik_test_agent.exe", "sethc.exe");
    const std::string drive = zorvik::GetWindowsDrive(*sys_);
    if (AsciiLower(agent.substr(0, drive.size())) != AsciiLower(drive))
        GTEST_SKIP() << "the temporary folder " << dir_ << " is not on the Windows drive";
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), "[Sticky keys]\r\nType=EXE\r\nPath=" +
                                                       agent.substr(drive.size()) + "\r\n").ok);
    ASSERT_TRUE(StartAgent(agent)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = wintest::ScanUntilListed(*sys_, list, agent);

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
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), "[WMI]\r\nType=WMI\r\n").ok);
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
