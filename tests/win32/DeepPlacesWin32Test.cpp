// The shipped rules on the real registry, for places one level deeper than a key's values and
// for services: the test agent (a program owning sockets) started from a class's LocalServer32
// command, which a MATCH rule reaches below every class, from an entry of RunOnceEx, as the
// monitor of a silent process exit, as a service and as a service's DLL named in its own key,
// each listed with the entry it was started from.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "ListedAgentScan.h"
#include "RunningAgent.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/untScan.h"
#include "platform/System.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/ScopedHandle.h"

namespace {

using platform::RegType;
using platform::RootKey;
using zorvik::AsciiLower;

const std::string kServices = "SYSTEM\\CurrentControlSet\\Services";

struct Place {
    const char* what;
    RootKey root;
    // The key to make, below root, for the agent's own process id; its values name the agent.
    std::function<std::string(const std::string& pid)> key;
    std::function<void(platform::Registry&, platform::Registry::Handle, const std::string& agent)>
        put;
    // Whether the agent's findings hold the entry the place made.
    std::function<bool(const zorvik::ProcInfo&, const std::string& key)> found;
};

void PrintTo(const Place& place, std::ostream* os) { *os << place.what; }

class DeepPlacesWin32Test : public ::testing::TestWithParam<Place> {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        pid_ = std::to_string(::GetCurrentProcessId());
        const std::string folder = zorvik::ProgramFolderOf(sys_->files().OwnPath());
        ASSERT_TRUE(zorvik::PathExists(*sys_, zorvik::RulesFilePath(*sys_)))
            << "the build puts the shipped rules beside the tests";
        dir_ = sys_->files().TempDirectory() + "ZorvikDeep-" + pid_;
        ASSERT_TRUE(sys_->files().CreateDirectory(dir_)) << dir_;
        agentPath_ = dir_ + "\\zvkdeep" + pid_ + ".exe";
        const std::string source = folder + "zorvik_test_agent.exe";
        ASSERT_TRUE(::CopyFileA(source.c_str(), agentPath_.c_str(), TRUE)) << source;
    }

    void TearDown() override {
        agent_.reset();
        if (!sys_) return;
        if (!key_.empty()) sys_->registry().DeleteTree(GetParam().root, key_);
        sys_->files().Delete(agentPath_);
        sys_->files().RemoveDirectory(dir_);
    }

    void StartAgent() {
        agent_.emplace(agentPath_, "ZorvikDeepReady-" + pid_);
        ASSERT_TRUE(agent_->Started()) << "the agent did not get its sockets up: " << agentPath_;
    }

    // The agent's findings once a scan lists it, or none.
    std::unique_ptr<zorvik::ProcInfo> ScanUntilListed() {
        return wintest::FindingsOnceListed(*sys_, agentPath_);
    }

    std::unique_ptr<platform::System> sys_;
    std::string pid_, dir_, agentPath_, key_;
    std::optional<wintest::RunningAgent> agent_;
};

TEST_P(DeepPlacesWin32Test, AgentStartedFromThePlaceIsListedWithItsEntry) {
    const Place& place = GetParam();
    key_ = place.key(pid_);
    {
        platform::RegKey key = platform::CreateKey(sys_->registry(), place.root, key_);
        ASSERT_TRUE(key) << key_;
        place.put(sys_->registry(), key.get(), agentPath_);
    }
    StartAgent();

    const std::unique_ptr<zorvik::ProcInfo> findings = ScanUntilListed();

    ASSERT_NE(findings, nullptr) << "the agent was never listed";
    EXPECT_TRUE(place.found(*findings, key_)) << key_;
}

void PutText(platform::Registry& reg, platform::Registry::Handle key, const std::string& name,
             const std::string& text) {
    ASSERT_TRUE(reg.Set(key, name, {RegType::Sz, text + '\0'})) << name;
}
void PutStart(platform::Registry& reg, platform::Registry::Handle key, char start) {
    ASSERT_TRUE(reg.Set(key, "Start", {RegType::Dword, std::string{start, 0, 0, 0}}));
}

// A hit of the agent on the value of the key in the machine's registry, enabled.
bool HasValue(const zorvik::ProcInfo& findings, const std::string& key, const std::string& value) {
    return std::any_of(findings.RegList.begin(), findings.RegList.end(),
                       [&](const zorvik::RegStart& hit) {
                           return hit.Root == "HKEY_LOCAL_MACHINE" && hit.Key == key &&
                                  hit.Name == value && !hit.Disabled;
                       });
}

bool HasService(const zorvik::ProcInfo& findings, const std::string& key, std::uint32_t start,
                bool disabled) {
    return std::any_of(
        findings.SvcList.begin(), findings.SvcList.end(), [&](const zorvik::SvcStart& hit) {
            return hit.Root == "HKEY_LOCAL_MACHINE" && hit.Key == key && hit.Value == "ImagePath" &&
                   hit.StartType == start && hit.Disabled == disabled;
        });
}

INSTANTIATE_TEST_SUITE_P(
    Places, DeepPlacesWin32Test,
    ::testing::Values(
        Place{
            "classLocalServer", RootKey::CurrentUser,
            [](const std::string& pid) {
                return "Software\\Classes\\CLSID\\{5A0B1C2D-0000-4000-8000-" +
                       std::string(12 - pid.size(), '0') + pid + "}\\LocalServer32";
            },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "", "\"" + agent + "\" -Embedding");
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return std::any_of(findings.RegList.begin(), findings.RegList.end(),
                                   [&](const zorvik::RegStart& hit) {
                                       return hit.Root == "HKEY_CURRENT_USER" && hit.Key == key &&
                                              hit.Name.empty() && !hit.Disabled;
                                   });
            }},
        // Logon: an entry of RunOnceEx, which Windows runs (through iernonce.dll) at logon.
        Place{
            "runOnceExEntry", RootKey::LocalMachine,
            [](const std::string& pid) {
                return "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\\ZorvikDeep" + pid;
            },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "1", "\"" + agent + "\"");
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return HasValue(findings, key, "1");
            }},
        // Image hijacks: the monitor Windows starts when a program exits silently.
        Place{
            "silentProcessExitMonitor", RootKey::LocalMachine,
            [](const std::string& pid) {
                return "Software\\Microsoft\\Windows NT\\CurrentVersion\\SilentProcessExit\\"
                       "zvkwatched" + pid + ".exe";
            },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "MonitorProcess", "\"" + agent + "\" -monitor");
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return HasValue(findings, key, "MonitorProcess");
            }},
        Place{
            "manualService", RootKey::LocalMachine,
            [](const std::string& pid) { return kServices + "\\ZorvikDeep" + pid; },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "ImagePath", "\"" + agent + "\" /service");
                PutStart(reg, key, 3);
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return HasService(findings, key, 3, false);
            }},
        // svchost.exe takes a ServiceDll from the service's own key too.
        Place{
            "serviceDllOnItsKey", RootKey::LocalMachine,
            [](const std::string& pid) { return kServices + "\\ZorvikDeepDll" + pid; },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "ServiceDll", agent);
                PutStart(reg, key, 3);
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return std::any_of(findings.SvcList.begin(), findings.SvcList.end(),
                                   [&](const zorvik::SvcStart& hit) {
                                       return hit.Key == key && hit.Value == "ServiceDll" &&
                                              !hit.Disabled;
                                   });
            }},
        Place{
            "disabledService", RootKey::LocalMachine,
            [](const std::string& pid) { return kServices + "\\ZorvikDeepOff" + pid; },
            [](platform::Registry& reg, platform::Registry::Handle key, const std::string& agent) {
                PutText(reg, key, "ImagePath", "\"" + agent + "\" /service");
                PutStart(reg, key, 4);
            },
            [](const zorvik::ProcInfo& findings, const std::string& key) {
                return HasService(findings, key, 4, true);
            }}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
