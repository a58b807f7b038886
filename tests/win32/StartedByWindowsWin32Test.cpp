// What Windows starts by itself beyond a program's own name, on the real system: the test agent
// with a DLL loaded that a shipped rule with Dlls=1 names (a Netsh helper, a Winlogon notification
// package, a print monitor, a time provider, AppInit_DLLs, an LSA package), listed with the DLL;
// the agent named in the session manager's BootExecute and as the screen saver, listed there;
// the agent copied to the path of an EXE rule, listed and marked as no system file; WMI's
// event consumers, of which Wine has none; and BITS' jobs, to which Wine gives no command line.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

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
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/kinds/ExeKind.h"
#include "platform/System.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/ScopedHandle.h"
#include "unit/parse/ShimDatabaseBuilder.h"
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
    const char* value;  // the value's name; empty: the test's own name; kDefault: the default
                        // value
    bool dll;           // the entry names the agent's DLL, else the agent itself
    bool bareName;      // the DLL named without folder or ".dll", as LSA reads its packages
    bool multiSz;       // a list value is a REG_MULTI_SZ
};

// WindowsPlace::value for the key's default value.
constexpr const char* kDefault = "(default)";

void PrintTo(const WindowsPlace& place, std::ostream* os) { *os << place.what; }

const std::string kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\";

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
    // A name the shell starts, sent to the agent.
    {"appPathsUser", "[App Paths (current user)]", RootKey::CurrentUser,
     [](const std::string& name) {
         return "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name + ".exe";
     },
     WindowsPlace::kOwnSubkey, kDefault, false, false, false},
    {"appPathsMachine", "[App Paths (machine)]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name + ".exe";
     },
     WindowsPlace::kOwnSubkey, kDefault, false, false, false},
    // Further commands Windows runs at boot or logon.
    {"runEx", "[RunEx (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Software\\Microsoft\\Windows\\CurrentVersion\\RunEx"); },
     WindowsPlace::kOwnValue, "", false, false, false},
    {"platformExecute", "[Session Manager PlatformExecute]", RootKey::LocalMachine,
     [](const std::string&) {
         return Fixed("SYSTEM\\CurrentControlSet\\Control\\Session Manager");
     },
     WindowsPlace::kListedValue, "PlatformExecute", false, false, true},
    {"mpnotify", "[Winlogon mpnotify]", RootKey::LocalMachine,
     [](const std::string&) { return kNt + "Winlogon"; }, WindowsPlace::kOwnValue, "mpnotify",
     false, false, false},
    {"winlogonNotifyUser", "[Winlogon Notify (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return kNt + "Winlogon\\Notify"; }, WindowsPlace::kOwnValue, "",
     false, false, false},
    {"terminalServicesInitialProgram", "[Terminal Services policy InitialProgram (current user)]",
     RootKey::CurrentUser,
     [](const std::string&) {
         return Fixed("Software\\Policies\\Microsoft\\Windows NT\\Terminal Services");
     },
     WindowsPlace::kOwnValue, "InitialProgram", false, false, false},
    {"telemetryController", "[AppCompat TelemetryController]", RootKey::LocalMachine,
     [](const std::string& name) { return kNt + "AppCompatFlags\\TelemetryController\\" + name; },
     WindowsPlace::kOwnSubkey, "Command", false, false, false},
    {"recycleBinOpen", "[Open command Recycle Bin (current user)]", RootKey::CurrentUser,
     [](const std::string&) {
         return Fixed("Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\open\\command");
     },
     WindowsPlace::kOwnValue, kDefault, false, false, false},
    {"mscfileOpen", "[Open command mscfile (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Software\\Classes\\mscfile\\shell\\open\\command"); },
     WindowsPlace::kOwnValue, kDefault, false, false, false},
    // Further DLLs Windows and its services load by themselves.
    {"autodialDll", "[WinSock2 AutodialDLL]", RootKey::LocalMachine,
     [](const std::string&) {
         return Fixed("SYSTEM\\CurrentControlSet\\Services\\WinSock2\\Parameters");
     },
     WindowsPlace::kOwnValue, "AutodialDLL", true, false, false},
    {"lsaExtension", "[LSA Extensions]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Control\\LsaExtensionConfig\\" + name;
     },
     WindowsPlace::kOwnSubkey, "Extensions", true, false, false},
    {"htmlHelpLocation", "[HTML Help author Location (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Software\\Microsoft\\HtmlHelp Author"); },
     WindowsPlace::kOwnValue, "Location", true, false, false},
    {"stemmerOverride", "[Natural Language StemmerDLLPathOverride]", RootKey::LocalMachine,
     [](const std::string& name) {
         return "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Language\\" + name;
     },
     WindowsPlace::kOwnSubkey, "StemmerDLLPathOverride", true, false, false},
    {"dotnetStartupHooks", "[.NET startup hooks (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Environment"); }, WindowsPlace::kOwnValue,
     "DOTNET_STARTUP_HOOKS", true, false, false},
    {"officeTest", "[Office test (current user)]", RootKey::CurrentUser,
     [](const std::string&) { return Fixed("Software\\Microsoft\\Office test\\Special\\Perf"); },
     WindowsPlace::kOwnValue, kDefault, true, false, false},
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
        const bool existed =
            static_cast<bool>(platform::OpenKey(reg, place.root, key, platform::KeyAccess::Read));
        platform::RegKey written = platform::CreateKey(reg, place.root, key);
        if (!written) return false;
        const std::optional<platform::RegValue> before = reg.Query(written.get(), value);
        const RootKey root = place.root;
        switch (place.write) {
            case WindowsPlace::kOwnSubkey:
                undo_.push_back([this, root, key] { sys_->registry().DeleteTree(root, key); });
                break;
            case WindowsPlace::kOwnValue:
                // A key made for the value goes with it.
                if (!existed) {
                    undo_.push_back([this, root, key] { sys_->registry().DeleteTree(root, key); });
                    break;
                }
                [[fallthrough]];
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
    const std::string value = place.value == std::string(kDefault) ? ""
                              : *place.value                       ? place.value
                                                                   : valueName_;
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

// Wine's BITS takes no notify command line (SetNotifyCmdLine is not implemented there), so its
// jobs run nothing: the shipped rule finds nothing, whatever jobs the queue holds.
TEST_F(StartedByWindowsWin32Test, BitsRuleReadsTheJobsThatRunAProgram) {
    ASSERT_TRUE(rules_->Saved().has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*rules_->Saved(), "[BITS jobs]");
    ASSERT_FALSE(rule.empty());
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), rule).ok);
    ASSERT_NE(sys_->transfers(), nullptr);

    const zorvik::StartupPlaces places = zorvik::ReadStartupPlaces(*sys_);

    if (contract::RunningUnderWine()) {
        EXPECT_TRUE(places.spots.empty());
        EXPECT_TRUE(places.texts.empty());
    }
    for (const zorvik::StartupSpot& spot : places.spots)
        EXPECT_EQ(spot.kind, zorvik::StartupKind::Bits);
}

// A COM class the test registers in the machine's class registry, with the agent's DLL as its
// server, named by a place as Windows names it: AMSI by a provider key named by the class id,
// Explorer's context-menu handlers by a handler's default value.
struct ClassPlace {
    const char* what;
    const char* section;
    RootKey root;
    const char* key;          // the place's key, below which the test's own subkey goes
    bool keyNamedByClass;     // the subkey is the class id, else a name whose default value is
};

void PrintTo(const ClassPlace& place, std::ostream* os) { *os << place.what; }

class ClassPlaceWin32Test : public StartedByWindowsWin32Test,
                            public ::testing::WithParamInterface<ClassPlace> {};

TEST_P(ClassPlaceWin32Test, AgentLoadingTheServerOfTheClassThePlaceNamesIsListedWithIt) {
    const ClassPlace& place = GetParam();
    ASSERT_TRUE(rules_->Saved().has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*rules_->Saved(), place.section);
    ASSERT_NE(rule.find("Classes=1"), std::string::npos) << rule;
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), rule).ok);
    const std::string dll = Copy("zorvik_test_dll.dll", "zvkserver" + pid_ + ".dll");
    const std::string agent = Copy("zorvik_test_agent.exe", "zvkclient" + pid_ + ".exe");
    const std::string classId = "{5A0B1C2D-0000-4000-8000-" + std::string(12 - pid_.size(), '0') +
                                pid_ + "}";
    platform::Registry& reg = sys_->registry();
    const std::string classKey = "Software\\Classes\\CLSID\\" + classId;
    const std::string own = std::string(place.key) + "\\" + (place.keyNamedByClass ? classId : valueName_);
    undo_.push_back([this, classKey] { sys_->registry().DeleteTree(RootKey::LocalMachine, classKey); });
    undo_.push_back([this, own] { sys_->registry().DeleteTree(GetParam().root, own); });
    {
        const platform::RegKey server =
            platform::CreateKey(reg, RootKey::LocalMachine, classKey + "\\InprocServer32");
        const platform::RegKey entry = platform::CreateKey(reg, place.root, own);
        if (!server || !entry) GTEST_SKIP() << own << " cannot be written";
        ASSERT_TRUE(reg.Set(server.get(), "", {platform::RegType::Sz, dll + '\0'}));
        const std::string named = place.keyNamedByClass ? "Zorvik test provider" : classId;
        ASSERT_TRUE(reg.Set(entry.get(), "", {platform::RegType::Sz, named + '\0'}));
    }
    ASSERT_TRUE(StartAgent(agent, dll)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = wintest::ScanUntilListed(*sys_, list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcInfo& found = *list.At(static_cast<std::size_t>(row)).data;
    ASSERT_EQ(found.RegList.size(), 1u);
    EXPECT_EQ(found.RegList[0].Key, own);
    EXPECT_EQ(found.RegList[0].Trail.Server,
              "HKEY_LOCAL_MACHINE\\" + classKey + "\\InprocServer32");
    ASSERT_EQ(found.ModuleHits.size(), 1u);
    EXPECT_EQ(AsciiLower(zorvik::GetLongPath(*sys_, found.ModuleHits[0].Module)), AsciiLower(dll));
}

INSTANTIATE_TEST_SUITE_P(
    Places, ClassPlaceWin32Test,
    ::testing::Values(
        ClassPlace{"amsiProvider", "[AMSI providers]", RootKey::LocalMachine,
                   "Software\\Microsoft\\AMSI\\Providers", true},
        ClassPlace{"contextMenuHandler", "[Context menu handlers of all file-system objects]",
                   RootKey::ClassesRoot, "AllFilesystemObjects\\shellex\\ContextMenuHandlers",
                   false}),
    [](const auto& info) { return std::string(info.param.what); });

// A file a shipped rule reads, written for the test below the Windows drive and removed
// afterwards with the folders made for it, naming the agent or its DLL.
struct FilePlace {
    const char* what;
    const char* section;
    // The file's path below the Windows drive, for the account the test runs as.
    std::string (*path)(const std::string& account, const std::string& pid);
    // The file's bytes, naming the agent or, for a DLL place, its DLL.
    std::string (*bytes)(const std::string& named);
    zorvik::StartupKind kind;
    bool dll;
};

void PrintTo(const FilePlace& place, std::ostream* os) { *os << place.what; }

std::string JsonEscaped(const std::string& text) { return zorvik::ReplaceAll(text, "\\", "\\\\"); }

class FilePlaceWin32Test : public StartedByWindowsWin32Test,
                           public ::testing::WithParamInterface<FilePlace> {
protected:
    // Makes the folders up to the file's, each one removed afterwards when it was made here.
    bool MakeFolders(const std::string& file) {
        std::vector<std::string> made;
        for (std::size_t slash = file.find('\\', 3); slash != std::string::npos;
             slash = file.find('\\', slash + 1)) {
            const std::string folder = file.substr(0, slash);
            if (zorvik::PathExists(*sys_, folder)) continue;
            if (!sys_->files().CreateDirectory(folder)) return false;
            made.push_back(folder);
        }
        for (const std::string& folder : made)
            undo_.push_back([this, folder] { sys_->files().RemoveDirectory(folder); });
        return true;
    }
};

TEST_P(FilePlaceWin32Test, AgentStartedOrLoadingADllFromTheFileIsListedWithIt) {
    const FilePlace& place = GetParam();
    ASSERT_TRUE(rules_->Saved().has_value()) << "the shipped rules lie beside the tests";
    const std::string rule = Section(*rules_->Saved(), place.section);
    ASSERT_FALSE(rule.empty()) << place.section;
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), rule).ok);
    const std::string dll = Copy("zorvik_test_dll.dll", "zvkfile" + pid_ + ".dll");
    const std::string agent = Copy("zorvik_test_agent.exe", "zvkfilehost" + pid_ + ".exe");
    char user[256] = {};
    DWORD length = sizeof user;
    ASSERT_TRUE(::GetUserNameA(user, &length));
    const std::string file = zorvik::GetWindowsDrive(*sys_) + place.path(user, pid_);
    if (zorvik::PathExists(*sys_, file)) GTEST_SKIP() << file << " is there already";
    if (!MakeFolders(file)) GTEST_SKIP() << file << " cannot be made";
    undo_.push_back([this, file] { sys_->files().Delete(file); });
    ASSERT_TRUE(sys_->files().WriteAll(file, place.bytes(place.dll ? dll : agent)).ok) << file;
    ASSERT_TRUE(StartAgent(agent, dll)) << "the agent did not get its sockets up";

    zorvik::ProcessList list;
    const int row = wintest::ScanUntilListed(*sys_, list, agent);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcInfo& found = *list.At(static_cast<std::size_t>(row)).data;
    ASSERT_EQ(zorvik::HitCount(found), 1u);
    ASSERT_EQ(zorvik::RowOf(place.kind).hits.count(found), 1u);
    const std::vector<std::string> columns = zorvik::RowOf(place.kind).columns(found, 0);
    // Each kind's first column is the file, or the folder, the hit was found in.
    const std::string folder = file.substr(0, file.rfind('\\'));
    EXPECT_EQ(AsciiLower(zorvik::GetLongPath(*sys_, columns.front())).find(
                  AsciiLower(zorvik::GetLongPath(*sys_, folder))),
              0u)
        << columns.front();
    EXPECT_EQ(found.ModuleHits.size(), place.dll ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Places, FilePlaceWin32Test,
    ::testing::Values(
        FilePlace{"setupErrorHandler", "[Setup ErrorHandler.cmd]",
                  [](const std::string&, const std::string&) {
                      return std::string("Windows\\Setup\\Scripts\\ErrorHandler.cmd");
                  },
                  [](const std::string& named) { return "@echo off\r\nstart \"\" \"" + named + "\"\r\n"; },
                  zorvik::StartupKind::Fil, false},
        FilePlace{"powerShellProfile", "[Windows PowerShell profile.ps1 (all users)]",
                  [](const std::string&, const std::string&) {
                      return std::string("Windows\\System32\\WindowsPowerShell\\v1.0\\profile.ps1");
                  },
                  [](const std::string& named) { return "Start-Process '" + named + "'\r\n"; },
                  zorvik::StartupKind::Fil, false},
        FilePlace{"wordStartup", "[Word STARTUP (each user)]",
                  [](const std::string& user, const std::string& pid) {
                      return "Users\\" + user + "\\AppData\\Roaming\\Microsoft\\Word\\STARTUP\\zvkfile" +
                             pid + ".dll";
                  },
                  [](const std::string&) { return std::string("MZ"); }, zorvik::StartupKind::Fol,
                  true},
        FilePlace{"shimDatabase", "[Shim databases]",
                  [](const std::string&, const std::string& pid) {
                      return "Windows\\AppPatch\\Custom\\zvk" + pid + ".sdb";
                  },
                  [](const std::string& named) {
                      return parse_test::InjectingDatabase("explorer.exe", named);
                  },
                  zorvik::StartupKind::Sdb, true},
        FilePlace{"windowsTerminal", "[Windows Terminal (each user)]",
                  [](const std::string& user, const std::string&) {
                      return "Users\\" + user +
                             "\\AppData\\Local\\Packages\\Microsoft.WindowsTerminal_8wekyb3d8bbwe"
                             "\\LocalState\\settings.json";
                  },
                  [](const std::string& named) {
                      return "{\"startOnUserLogin\": true, \"defaultProfile\": \"Zorvik\", "
                             "\"profiles\": {\"list\": [{\"name\": \"Zorvik\", \"commandline\": \"\\\"" +
                             JsonEscaped(named) + "\\\" -q\"}]}}";
                  },
                  zorvik::StartupKind::Terminal, false}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
