// What a start-up entry really starts, on the real system: the test agent (a program owning
// loopback sockets) started by a shortcut written through the shell, by a script in the
// start-up folder, from a start-up folder the User Shell Folders value moved, and in place of
// an unquoted command; each is listed with the entry that starts it, and its Disable works.
// The rules file beside this program, the moved folder's value and every file made are put
// back afterwards.
#include "platform/win32/WindowsApi.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ListedAgentScan.h"
#include "SavedRulesFile.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/untScan.h"
#include "platform/System.h"
#include "platform/win32/ComObjects.h"
#include "platform/win32/system/ScopedHandle.h"

namespace {

using platform::RootKey;
using platform::win32::UniqueHandle;
using zorvik::AsciiLower;

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(),
                                        static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    return wide;
}

// A shortcut as the shell writes it, through IShellLink and IPersistFile.
bool WriteShortcut(const std::string& link, const std::string& target,
                   const std::string& arguments) {
    platform::win32::ComApartment apartment;
    platform::win32::ComPtr<IShellLinkA> shortcut;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(shortcut.Receive()))))
        return false;
    if (FAILED(shortcut->SetPath(target.c_str())) ||
        FAILED(shortcut->SetArguments(arguments.c_str())))
        return false;
    const platform::win32::ComPtr<IPersistFile> file = shortcut.As<IPersistFile>();
    return file && SUCCEEDED(file->Save(Wide(link).c_str(), TRUE));
}

class FollowWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        pid_ = std::to_string(::GetCurrentProcessId());
        buildDir_ = zorvik::ProgramFolderOf(Files().OwnPath());
        const std::string temp = zorvik::GetLongPath(*sys_, Files().TempDirectory());
        dir_ = temp + (temp.empty() || temp.back() == '\\' ? "" : "\\") + "ZorvikFollow-" + pid_;
        ASSERT_TRUE(Files().CreateDirectory(dir_)) << dir_;
        rules_.emplace(*sys_);
    }

    void TearDown() override {
        EndAgents();
        if (!sys_) return;
        rules_.reset();
        RestoreStartupValues();
        if (!scratchKey_.empty()) sys_->registry().DeleteTree(RootKey::CurrentUser, scratchKey_);
        for (const std::string& file : made_) Files().Delete(file);
        for (const std::string& dir : extraDirs_) RemoveTree(dir);
        RemoveTree(dir_);
    }

    platform::Files& Files() { return sys_->files(); }

    // Ends every process running one of the agents' copies, listed or not, so that their
    // files can be removed.
    void EndAgents() {
        UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
             more = ::Process32Next(snapshot.get(), &entry)) {
            const std::string name = AsciiLower(entry.szExeFile);
            bool ours = false;
            for (const std::string& agent : agents_)
                ours = ours || name == AsciiLower(agent) || name == AsciiLower(agent) + ".bak";
            if (!ours) continue;
            UniqueHandle process(
                ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (!process) continue;
            ::TerminateProcess(process.get(), 0);
            ::WaitForSingleObject(process.get(), 10000);
        }
    }

    void RemoveTree(const std::string& path) {
        if (auto entries = Files().List(path + "\\*")) {
            for (const auto& entry : *entries) {
                if (entry.name == "." || entry.name == "..") continue;
                const std::string child = path + "\\" + entry.name;
                if (entry.attributes & platform::kAttrDirectory)
                    RemoveTree(child);
                else
                    Files().Delete(child);
            }
        }
        Files().RemoveDirectory(path);
    }

    static constexpr const char* kNoStartupFolder =
        "the shell names no start-up folder of the current user on the Windows drive";

    // The current user's start-up folder as the shell names it, on the Windows drive; empty
    // (with the test skipped) where there is none.
    std::string UserStartupFolder() {
        platform::RegKey folders = platform::OpenKey(sys_->registry(), RootKey::CurrentUser,
                                                     kShellFolders, platform::KeyAccess::Read);
        const auto value =
            folders ? sys_->registry().Query(folders.get(), "Startup") : std::nullopt;
        const std::string folder = value ? value->data.substr(0, value->data.find('\0')) : "";
        if (folder.empty() || !zorvik::PathExists(*sys_, folder)) return {};
        return RelativeToDrive(folder).empty() ? std::string() : folder;
    }

    std::string RelativeToDrive(const std::string& path) {
        const std::string drive = zorvik::GetWindowsDrive(*sys_);
        if (AsciiLower(path.substr(0, drive.size())) != AsciiLower(drive)) return {};
        return path.substr(drive.size());
    }

    void WriteRules(const std::string& text) {
        ASSERT_TRUE(Files().WriteAll(rules_->Path(), text).ok) << rules_->Path();
    }

    void MakeFile(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(Files().WriteAll(path, bytes).ok) << path;
        made_.push_back(path);
    }

    // A copy of the test agent at path, ended after the test.
    void CopyAgent(const std::string& path) {
        const std::string source = buildDir_ + "zorvik_test_agent.exe";
        ASSERT_TRUE(::CopyFileA(source.c_str(), path.c_str(), TRUE)) << path;
        made_.push_back(path);
        agents_.push_back(zorvik::ProgramFileNameOf(path));
    }

    // The event an agent sets once its sockets are up; made before the agent starts.
    UniqueHandle ReadyEvent(const std::string& name) {
        return UniqueHandle(::CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
    }

    // Waits for the agent's event; false when it never came.
    static bool AgentReady(const UniqueHandle& ready) {
        return ::WaitForSingleObject(ready.get(), 30000) == WAIT_OBJECT_0;
    }

    // Opens the file through the shell, as Explorer opens a start-up entry at logon.
    static bool ShellOpen(const std::string& file) {
        SHELLEXECUTEINFOA request{};
        request.cbSize = sizeof request;
        request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        request.lpVerb = "open";
        request.lpFile = file.c_str();
        request.nShow = SW_HIDE;
        return ::ShellExecuteExA(&request) != FALSE;
    }

    // Runs a command line as Windows runs a start-up command: CreateProcess finds its program.
    static bool Run(std::string commandLine) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
            return false;
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
        return true;
    }

    // The findings of the program at path once a scan lists it, or none.
    std::optional<zorvik::ProcInfo> ScanUntilListed(const std::string& path) {
        std::unique_ptr<zorvik::ProcInfo> findings = wintest::FindingsOnceListed(*sys_, path);
        if (!findings) return std::nullopt;
        return std::move(*findings);
    }

    // The program's hits now, as the console tool's search finds them.
    zorvik::ProcInfo SearchAgain(const std::string& path) {
        zorvik::ProcInfo findings;
        std::string details;
        zorvik::FindStartups(*sys_, options_, zorvik::ProgramFileNameOf(path), "", findings,
                             details, path);
        return findings;
    }

    // Points the user's start-up folder at folder (an expandable text), keeping the value, and
    // the value the shell writes from it into Shell Folders once it looks the folder up.
    void MoveStartupFolder(const std::string& folder) {
        for (const std::string& keyPath : {kUserShellFolders, kShellFolders}) {
            platform::RegKey key =
                platform::CreateKey(sys_->registry(), RootKey::CurrentUser, keyPath);
            ASSERT_TRUE(key);
            savedStartupValues_.emplace_back(
                keyPath,
                sys_->registry().Query(key.get(), "Startup").value_or(platform::RegValue{}));
        }
        platform::RegKey key =
            platform::CreateKey(sys_->registry(), RootKey::CurrentUser, kUserShellFolders);
        ASSERT_TRUE(sys_->registry().Set(key.get(), "Startup",
                                         {platform::RegType::ExpandSz, folder + '\0'}));
    }

    void RestoreStartupValues() {
        for (const auto& [keyPath, value] : savedStartupValues_) {
            platform::RegKey key = platform::OpenKey(sys_->registry(), RootKey::CurrentUser,
                                                     keyPath, platform::KeyAccess::All);
            if (!key) continue;
            if (value.type == platform::RegType::None)
                sys_->registry().DeleteValue(key.get(), "Startup");
            else
                sys_->registry().Set(key.get(), "Startup", value);
        }
    }

    std::unique_ptr<platform::System> sys_;
    std::string pid_, buildDir_, dir_, scratchKey_;
    std::optional<wintest::SavedRulesFile> rules_;
    std::vector<std::pair<std::string, platform::RegValue>> savedStartupValues_;
    std::vector<std::string> made_;
    std::vector<std::string> extraDirs_;
    std::vector<std::string> agents_;  // the file names of the agents' copies
    wintest::NoOptions options_;
};

TEST_F(FollowWin32Test, AgentStartedByAShortcutIsListedByItAndDisabledByRenamingIt) {
    const std::string startup = UserStartupFolder();
    if (startup.empty()) GTEST_SKIP() << kNoStartupFolder;
    const std::string agent = dir_ + "\\zvklink" + pid_ + ".exe";
    CopyAgent(agent);
    const std::string event = "ZorvikFollowLink-" + pid_;
    const std::string link = startup + "\\ZvkFollow" + pid_ + ".lnk";
    ASSERT_TRUE(WriteShortcut(link, agent, event)) << link;
    made_.push_back(link);
    made_.push_back(link + ".bak");
    WriteRules("[Shortcuts]\r\nType=LNK\r\nPath=" + RelativeToDrive(startup) + "\r\n");
    const UniqueHandle ready = ReadyEvent(event);
    ASSERT_TRUE(ready);
    ASSERT_TRUE(ShellOpen(link)) << "the shell opens the shortcut";
    ASSERT_TRUE(AgentReady(ready)) << "the agent the shortcut starts did not get its sockets up";

    std::optional<zorvik::ProcInfo> found = ScanUntilListed(agent);

    ASSERT_TRUE(found.has_value()) << "the agent was never listed";
    ASSERT_FALSE(found->LnkList.empty());
    const zorvik::LnkStart& hit = found->LnkList[0];
    EXPECT_EQ(AsciiLower(hit.Folder), AsciiLower(startup));
    EXPECT_EQ(hit.Entry, "ZvkFollow" + pid_ + ".lnk");
    EXPECT_EQ(AsciiLower(hit.Target), AsciiLower(agent + " " + event));
    EXPECT_FALSE(hit.Disabled);

    const zorvik::DisableOutcome outcome = zorvik::DisableStartup(
        *sys_, *found, {zorvik::StartupKind::Lnk, 0}, zorvik::ProgramFileNameOf(agent));
    EXPECT_EQ(outcome.result, zorvik::DisableResult::Disabled);
    EXPECT_FALSE(zorvik::PathExists(*sys_, link));
    EXPECT_TRUE(zorvik::PathExists(*sys_, link + ".bak"));
    const zorvik::ProcInfo after = SearchAgain(agent);
    ASSERT_FALSE(after.LnkList.empty());
    EXPECT_EQ(after.LnkList[0].Entry, "ZvkFollow" + pid_ + ".lnk.bak");
    EXPECT_TRUE(after.LnkList[0].Disabled);
}

TEST_F(FollowWin32Test, AgentStartedByAScriptInTheStartupFolderIsListedByItsLine) {
    const std::string startup = UserStartupFolder();
    if (startup.empty()) GTEST_SKIP() << kNoStartupFolder;
    const std::string agent = dir_ + "\\zvkscript" + pid_ + ".exe";
    CopyAgent(agent);
    const std::string event = "ZorvikFollowScript-" + pid_;
    const std::string script = startup + "\\ZvkFollow" + pid_ + ".cmd";
    MakeFile(script, "@echo off\r\nstart \"\" \"" + agent + "\" " + event + "\r\n");
    WriteRules("[Shortcuts]\r\nType=LNK\r\nPath=" + RelativeToDrive(startup) + "\r\nScripts=1\r\n");
    const UniqueHandle ready = ReadyEvent(event);
    ASSERT_TRUE(ready);
    ASSERT_TRUE(Run("cmd.exe /c \"" + script + "\"")) << script;
    ASSERT_TRUE(AgentReady(ready)) << "the agent the script starts did not get its sockets up";

    std::optional<zorvik::ProcInfo> found = ScanUntilListed(agent);

    ASSERT_TRUE(found.has_value()) << "the agent was never listed";
    ASSERT_FALSE(found->LnkList.empty());
    const zorvik::LnkStart& hit = found->LnkList[0];
    EXPECT_EQ(hit.Entry, "ZvkFollow" + pid_ + ".cmd");
    EXPECT_EQ(AsciiLower(hit.Trail.Script), AsciiLower(script));
    EXPECT_FALSE(hit.Disabled);

    const zorvik::DisableOutcome outcome = zorvik::DisableStartup(
        *sys_, *found, {zorvik::StartupKind::Lnk, 0}, zorvik::ProgramFileNameOf(agent));
    EXPECT_EQ(outcome.result, zorvik::DisableResult::Disabled);
    std::string text;
    ASSERT_TRUE(Files().ReadAll(script, text).ok);
    EXPECT_NE(text.find(agent + ".bak\""), std::string::npos) << text;
    const zorvik::ProcInfo after = SearchAgain(agent);
    ASSERT_FALSE(after.LnkList.empty());
    EXPECT_TRUE(after.LnkList[0].Disabled);
}

TEST_F(FollowWin32Test, AgentStartedFromAMovedStartupFolderIsListedThere) {
    const std::string agent = dir_ + "\\zvkmoved" + pid_ + ".exe";
    CopyAgent(agent);
    // Where a user's folders usually go when moved: below a variable of the profile.
    const std::string value = "%TEMP%\\ZorvikMoved-" + pid_;
    char expanded[MAX_PATH * 2] = {};
    ASSERT_NE(::ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded), 0u);
    const std::string moved = expanded;
    ASSERT_EQ(moved.find('%'), std::string::npos) << "no TEMP variable";
    ASSERT_TRUE(Files().CreateDirectory(moved)) << moved;
    extraDirs_.push_back(moved);
    MoveStartupFolder(value + "\\");
    const std::string event = "ZorvikFollowMoved-" + pid_;
    const std::string link = moved + "\\Updater.lnk";
    ASSERT_TRUE(WriteShortcut(link, agent, event)) << link;
    WriteRules("[Moved]\r\nType=LNK\r\nFolder=Startup\r\n");
    const UniqueHandle ready = ReadyEvent(event);
    ASSERT_TRUE(ready);
    ASSERT_TRUE(ShellOpen(link)) << "the shell opens the shortcut";
    ASSERT_TRUE(AgentReady(ready)) << "the agent the shortcut starts did not get its sockets up";

    std::optional<zorvik::ProcInfo> found = ScanUntilListed(agent);

    ASSERT_TRUE(found.has_value()) << "the agent was never listed";
    ASSERT_EQ(found->LnkList.size(), 1u) << "the folder is read once";
    EXPECT_EQ(AsciiLower(found->LnkList[0].Folder), AsciiLower(moved));
    EXPECT_EQ(found->LnkList[0].Entry, "Updater.lnk");

    EXPECT_EQ(zorvik::DisableStartup(*sys_, *found, {zorvik::StartupKind::Lnk, 0},
                                     zorvik::ProgramFileNameOf(agent))
                  .result,
              zorvik::DisableResult::Disabled);
    EXPECT_TRUE(zorvik::PathExists(*sys_, link + ".bak"));
    const zorvik::ProcInfo after = SearchAgain(agent);
    ASSERT_EQ(after.LnkList.size(), 1u);
    EXPECT_TRUE(after.LnkList[0].Disabled);
}

TEST_F(FollowWin32Test, AgentRunInPlaceOfAnUnquotedCommandIsAHitOfThatEntry) {
    // The command means "<dir>\Zvk<pid> Local\...tool.exe"; Windows tries "<dir>\Zvk<pid>.exe"
    // first, with the rest as its argument: the agent's event name.
    const std::string planted = dir_ + "\\Zvk" + pid_ + ".exe";
    CopyAgent(planted);
    made_.push_back(planted + ".bak");
    const std::string event = "Local\\ZvkUnquoted" + pid_ + "tool.exe";
    const std::string command = dir_ + "\\Zvk" + pid_ + " " + event;
    scratchKey_ = "Software\\ZorvikFollowTest-" + pid_;
    {
        platform::RegKey run =
            platform::CreateKey(sys_->registry(), RootKey::CurrentUser, scratchKey_);
        ASSERT_TRUE(run);
        ASSERT_TRUE(
            sys_->registry().Set(run.get(), "Tool", {platform::RegType::Sz, command + '\0'}));
    }
    WriteRules("[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + scratchKey_ +
               "\r\nAction=ENUM\r\nUnquoted=1\r\n");
    const UniqueHandle ready = ReadyEvent(event);
    ASSERT_TRUE(ready);
    ASSERT_TRUE(Run(command)) << command;
    ASSERT_TRUE(AgentReady(ready)) << "the program Windows tried first did not get its sockets up";

    std::optional<zorvik::ProcInfo> found = ScanUntilListed(planted);

    ASSERT_TRUE(found.has_value()) << "the agent was never listed";
    ASSERT_EQ(found->RegList.size(), 1u);
    EXPECT_EQ(found->RegList[0].Name, "Tool");
    EXPECT_EQ(AsciiLower(found->RegList[0].Trail.RunsInstead), AsciiLower(planted));
    EXPECT_FALSE(found->RegList[0].Disabled);

    EXPECT_EQ(zorvik::DisableStartup(*sys_, *found, {zorvik::StartupKind::Reg, 0},
                                     zorvik::ProgramFileNameOf(planted))
                  .result,
              zorvik::DisableResult::Disabled);
    EXPECT_TRUE(zorvik::PathExists(*sys_, planted + ".bak"));
    EXPECT_FALSE(zorvik::PathExists(*sys_, planted));
    // The running program keeps the path it started from.
    const zorvik::ProcInfo after = SearchAgain(planted);
    ASSERT_EQ(after.RegList.size(), 1u);
    EXPECT_TRUE(after.RegList[0].Disabled);
}

}  // namespace
