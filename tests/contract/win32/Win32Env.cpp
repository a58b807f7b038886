// The contract env of the Windows build: the real system, scratch folders under the temporary
// folder, scratch keys under HKEY_CURRENT_USER\Software\ZorvikContract, real sockets and a
// real child process (this test program, held idle before its tests start).
#include "platform/win32/WindowsApi.h"
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "contract/ContractEnv.h"
#include "platform/Ui.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/ui/controls/Win32ListView.h"
#include "win32/LoopbackSockets.h"
#include "win32/ScheduledTaskRegistration.h"

namespace contract {
namespace {

using platform::win32::FindHandle;
using platform::win32::UniqueHandle;

constexpr char kIdleEventVariable[] = "ZORVIK_CONTRACT_IDLE_EVENT";
constexpr char kScratchKeyParent[] = "Software\\ZorvikContract";
constexpr DWORD kChildReadyTimeoutMs = 30000;
constexpr DWORD kChildLifetimeMs = 300000;

// A copy of this program started by StartChild stops here, before any test runs: it reports
// that it is loaded and idles until its parent ends it (or, if forgotten, for five minutes).
[[maybe_unused]] const bool kIsIdleChild = [] {
    char eventName[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA(kIdleEventVariable, eventName, sizeof eventName);
    if (n == 0 || n >= sizeof eventName) return false;
    UniqueHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
    if (ready) ::SetEvent(ready.get());
    ::Sleep(kChildLifetimeMs);
    ::ExitProcess(0);
    return true;
}();

std::string ModulePath() {
    std::string buffer(32768, '\0');
    DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(n);
    return buffer;
}

std::string TempPath() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = ::GetTempPathA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string("C:\\");
}

// Removes a folder and everything in it, read-only entries included.
void RemoveTree(const std::string& dir) {
    std::string base = dir;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA data{};
    {
        FindHandle search(::FindFirstFileA((base + "*").c_str(), &data));
        if (search) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = base + name;
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    ::DeleteFileA(path.c_str());
            } while (::FindNextFileA(search.get(), &data));
        }
    }
    ::SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(dir.c_str());
}

struct Child {
    UniqueHandle process;
    UniqueHandle thread;
};

class Win32Env : public Env {
public:
    Win32Env() : system_(platform::CreateSystem()), run_(NextRunName()) {}

    ~Win32Env() override {
        for (auto& [pid, child] : children_) {
            ::TerminateProcess(child.process.get(), 0);
            ::WaitForSingleObject(child.process.get(), 10000);
        }
        children_.clear();
        CloseOwnSockets();
        for (const auto& dir : scratchDirs_) RemoveTree(dir);
        for (const auto& key : scratchKeys_) ::SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        // Leaves the parent in place while another run still has keys under it.
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKeyParent);
    }

    platform::System& System() override { return *system_; }
    bool IsSimulated() const override { return false; }

    std::string ScratchDir() override {
        std::string dir = TempPath() + "ZorvikContract-" + run_ + "-" +
                          std::to_string(++scratchCount_) + "\\";
        RemoveTree(dir);  // a leftover of an earlier run with the same name
        ::CreateDirectoryA(dir.c_str(), nullptr);
        scratchDirs_.push_back(dir);
        return dir;
    }

    std::string ScratchKey() override {
        std::string key = std::string(kScratchKeyParent) + "\\" + run_ + "-" +
                          std::to_string(++scratchCount_);
        ::SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        scratchKeys_.push_back(key);
        return key;
    }

    std::uint32_t OwnPid() override { return ::GetCurrentProcessId(); }
    std::string OwnImagePath() override { return ModulePath(); }

    std::uint16_t OpenOwnSockets() override {
        sockets_.reset();
        sockets_ = std::make_unique<testsupport::LoopbackSockets>();
        return sockets_->port();
    }

    void CloseOwnSockets() override { sockets_.reset(); }

    std::uint32_t StartChild(const std::string& exePath) override {
        std::string eventName = "ZorvikContractChild-" + run_ + "-" + std::to_string(++childCount_);
        UniqueHandle ready(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
        if (!ready) return 0;
        ::SetEnvironmentVariableA(kIdleEventVariable, eventName.c_str());
        std::string commandLine = "\"" + exePath + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        BOOL created = ::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr,
                                        FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
        ::SetEnvironmentVariableA(kIdleEventVariable, nullptr);
        if (!created) return 0;
        Child child{UniqueHandle(info.hProcess), UniqueHandle(info.hThread)};
        // Ready once loaded and idle; a process that ends first never becomes ready.
        HANDLE waits[2] = {ready.get(), child.process.get()};
        if (::WaitForMultipleObjects(2, waits, FALSE, kChildReadyTimeoutMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(child.process.get(), 1);
            return 0;
        }
        children_[info.dwProcessId] = std::move(child);
        return info.dwProcessId;
    }

    std::string RegisterTask(const std::string& name, const std::string& command,
                             const std::string& arguments) override {
        const std::string path = "\\ZorvikContract-" + run_ + "-" +
                                 std::to_string(++scratchCount_) + "\\" + name;
        return tasks_.Register(path, command, arguments) ? path : std::string();
    }

    std::string RegisterWorkItem(const std::string& name, const std::string& command,
                                 const std::string& arguments) override {
        const std::string itemName = "ZorvikContract-" + run_ + "-" +
                                     std::to_string(++scratchCount_) + "-" + name;
        return workItems_.Register(itemName, command, arguments) ? "\\" + itemName + ".job"
                                                                 : std::string();
    }

    void ClickColumnHeader(platform::ListView& list, int column) override {
        const HWND view = dynamic_cast<platform::win32::Win32ListView&>(list).Handle();
        const auto header = reinterpret_cast<HWND>(::SendMessageA(view, LVM_GETHEADER, 0, 0));
        RECT item{};
        if (!::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item)))
            return;
        // Away from the item's edges, where a press would start a resize instead.
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(header, WM_LBUTTONUP, 0, at);
    }
    bool AddWmiEventConsumer(const platform::WmiEventConsumer&) override { return false; }

    void PressKey(platform::Window& window, const platform::KeyStroke& stroke) override {
        // The modifiers as the thread's key state holds them while the key's messages are
        // read and translated; the state before comes back afterwards.
        BYTE before[256] = {};
        ::GetKeyboardState(before);
        BYTE held[256];
        std::copy(std::begin(before), std::end(before), std::begin(held));
        auto hold = [&](int key, bool down) { held[key] = down ? 0x80 : 0; };
        hold(VK_CONTROL, stroke.ctrl);
        hold(VK_LCONTROL, stroke.ctrl);
        hold(VK_SHIFT, stroke.shift);
        hold(VK_LSHIFT, stroke.shift);
        hold(VK_MENU, stroke.alt);
        hold(VK_LMENU, stroke.alt);
        ::SetKeyboardState(held);
        HWND focus = ::GetFocus();
        HWND target = focus ? focus : static_cast<HWND>(window.NativeHandle());
        const bool system = stroke.alt || stroke.key == VK_F10;
        LPARAM flags = 1;  // one press
        if (stroke.alt) flags |= LPARAM{1} << 29;
        ::PostMessageA(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, stroke.key, flags);
        System().ui().ProcessMessages();
        ::SetKeyboardState(before);
    }

    void StopChild(std::uint32_t pid) override {
        auto it = children_.find(pid);
        if (it == children_.end()) return;
        ::TerminateProcess(it->second.process.get(), 0);
        ::WaitForSingleObject(it->second.process.get(), 10000);
        children_.erase(it);
    }

    void SetVariable(const std::string& name, const std::string& value) override {
        ::SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }

private:
    static std::string NextRunName() {
        return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount());
    }

    std::unique_ptr<platform::System> system_;
    std::string run_;
    int scratchCount_ = 0;
    int childCount_ = 0;
    std::vector<std::string> scratchDirs_;
    std::vector<std::string> scratchKeys_;
    std::unique_ptr<testsupport::LoopbackSockets> sockets_;
    testsupport::RegisteredTasks tasks_;
    testsupport::RegisteredWorkItems workItems_;
    std::map<std::uint32_t, Child> children_;
};

}  // namespace

Env& env() {
    static Win32Env instance;
    return instance;
}

}  // namespace contract
