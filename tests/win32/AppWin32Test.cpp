// The real Zorvik.exe under the real system: started in a folder of its own with a settings file
// and rules beside it, driven from outside through its window's messages as the tray icon and
// the session would drive it, and its settings file read back after it ended.
//
// The notification area of a test system sends neither balloon callbacks nor "TaskbarCreated",
// so the test posts the icon's callback message (1025, the event in lParam) itself.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/ScopedKey.h"

namespace {

using platform::win32::ScopedKey;
using platform::win32::UniqueHandle;

constexpr UINT kTrayCallback = 1025;
constexpr LPARAM kDoubleClick = 515;
constexpr LPARAM kBalloonClick = 1029;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
    for (int waited = 0; !done(); waited += 100) {
        if (waited >= milliseconds) return false;
        ::Sleep(100);
    }
    return true;
}

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char caption[64] = {};
    ::GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid != search->pid || std::string(caption) != "Pellmoor") return TRUE;
    search->found = hwnd;
    return FALSE;
}

BOOL CALLBACK CollectLists(HWND hwnd, LPARAM param) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == WC_LISTVIEWA) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

class AppWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string pid = std::to_string(::GetCurrentProcessId());
        sys_ = platform::CreateSystem();
        const std::string buildRoot = zorvik::ProgramFolderOf(sys_->files().OwnPath());
        dir_ = sys_->files().TempDirectory() + "ZorvikApp-" + pid;
        ASSERT_TRUE(sys_->files().CreateDirectory(dir_)) << dir_;
        exe_ = dir_ + "\\Zorvik.exe";
        ASSERT_TRUE(::CopyFileA((buildRoot + "Zorvik.exe").c_str(), exe_.c_str(), TRUE))
            << buildRoot << "Zorvik.exe";
        settings_ = dir_ + "\\Settings.ini";
        agentSource_ = buildRoot + "zorvik_test_agent.exe";
        agentPath_ = dir_ + "\\zvkapp" + pid + ".exe";
        runValue_ = "ZorvikAppTest-" + pid;
        Write(dir_ + "\\Scan.ini", "[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + kRunKey +
                                       "\r\nAction=ENUM\r\n");
    }

    void TearDown() override {
        for (HANDLE process : {zorvik_.get(), agent_.get()}) {
            if (process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(process, 1);
                ::WaitForSingleObject(process, 10000);
            }
        }
        HKEY raw = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey.c_str(), 0, KEY_SET_VALUE, &raw) == 0) {
            const ScopedKey run(raw);
            ::RegDeleteValueA(run.get(), runValue_.c_str());
        }
        for (const std::string& file : {exe_, settings_, dir_ + "\\Scan.ini", agentPath_})
            ::DeleteFileA(file.c_str());
        ::RemoveDirectoryA(dir_.c_str());
    }

    void Write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(sys_->files().WriteAll(path, text).ok) << path;
    }
    std::string Setting(const char* section, const char* key) {
        char value[2048] = {};
        ::GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, settings_.c_str());
        return value;
    }
    std::vector<std::string> TrustedKeys() {
        return sys_->profile().KeyNames(settings_, "Trusted");
    }

    void Launch(const std::string& args) {
        std::string commandLine = "\"" + exe_ + "\"" + (args.empty() ? "" : " " + args);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, dir_.c_str(), &startup, &info));
        const UniqueHandle thread(info.hThread);
        zorvik_ = UniqueHandle(info.hProcess);
        pid_ = info.dwProcessId;
        // The window exists before its controls are made: wait for its Rescan button too.
        ASSERT_TRUE(WaitUntil(
            [this] {
                window_ = MainWindow();
                return window_ && ::FindWindowExA(window_, nullptr, "Button", "&Rescan");
            },
            60000))
            << "no window \"Pellmoor\" of the program with its controls";
    }
    HWND MainWindow() const {
        WindowSearch search{pid_, nullptr};
        ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    bool Running() const { return ::WaitForSingleObject(zorvik_.get(), 0) == WAIT_TIMEOUT; }
    bool Visible() const { return ::IsWindowVisible(window_) != FALSE; }
    // Ends the program by its close button; true when it ended with exit code 0.
    bool CloseAndWait() {
        ::PostMessageA(window_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(zorvik_.get(), 30000) != WAIT_OBJECT_0) return false;
        DWORD code = 1;
        ::GetExitCodeProcess(zorvik_.get(), &code);
        return code == 0;
    }
    // The upper list view, the process list.
    HWND ProcessList() const {
        std::vector<HWND> lists;
        ::EnumChildWindows(window_, &CollectLists, reinterpret_cast<LPARAM>(&lists));
        HWND upper = nullptr;
        LONG upperTop = 0;
        for (HWND list : lists) {
            RECT r{};
            ::GetWindowRect(list, &r);
            if (!upper || r.top < upperTop) {
                upper = list;
                upperTop = r.top;
            }
        }
        return upper;
    }
    void ClickRescan() {
        HWND button = ::FindWindowExA(window_, nullptr, "Button", "&Rescan");
        ASSERT_TRUE(button);
        ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }

    void StartAgent() {
        if (::GetFileAttributesA(agentSource_.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no test agent " << agentSource_;
        ASSERT_TRUE(::CopyFileA(agentSource_.c_str(), agentPath_.c_str(), TRUE));
        HKEY raw = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &raw, nullptr), 0);
        const ScopedKey run(raw);
        const std::string command = "\"" + agentPath_ + "\"";
        ::RegSetValueExA(run.get(), runValue_.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>(command.size() + 1));
        const std::string eventName = "ZorvikAppTestReady-" + std::to_string(::GetCurrentProcessId());
        UniqueHandle ready(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
        std::string commandLine = command + " " + eventName;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(agentPath_.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                     0, nullptr, nullptr, &startup, &info));
        const UniqueHandle thread(info.hThread);
        agent_ = UniqueHandle(info.hProcess);
        const HANDLE waits[2] = {ready.get(), agent_.get()};
        ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, 30000), WAIT_OBJECT_0);
    }

    std::unique_ptr<platform::System> sys_;
    std::string dir_, exe_, settings_, agentSource_, agentPath_, runValue_;
    UniqueHandle zorvik_, agent_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

TEST_F(AppWin32Test, WithSItScansGoesToTheTrayAndSavesItsSettingsAtExit) {
    Write(settings_,
          "[AutoScan]\r\nEnabled=1\r\nInterval=300\r\n[GUI]\r\nClose=0\r\nfrmMainWidth=700\r\n"
          "frmMainHeight=450\r\n[Core]\r\nIgnoreSafe=1\r\n[Trusted]\r\na=C:\\Trusted\\one.exe\r\n"
          "b=C:\\Trusted\\two.exe\r\n");
    Launch("s");
    EXPECT_TRUE(WaitUntil([this] { return !Visible(); }, 30000)) << "not hidden to the tray";
    EXPECT_TRUE(Running());

    // A double click on the icon brings it back, at the saved size.
    ::PostMessageA(window_, kTrayCallback, 0, kDoubleClick);
    EXPECT_TRUE(WaitUntil([this] { return Visible(); }, 10000)) << "not back from the tray";
    RECT r{};
    ::GetWindowRect(window_, &r);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 450);

    // A session end that was called off changes nothing.
    ::SendMessageA(window_, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(TrustedKeys(), (std::vector<std::string>{"a", "b"}));

    ASSERT_TRUE(CloseAndWait()) << "the program did not end cleanly at its close";
    EXPECT_EQ(TrustedKeys(), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(Setting("Trusted", "0"), "C:\\Trusted\\one.exe");
    EXPECT_EQ(Setting("Trusted", "1"), "C:\\Trusted\\two.exe");
    EXPECT_EQ(Setting("AutoScan", "Enabled"), "1");
    EXPECT_EQ(Setting("AutoScan", "Interval"), "300");
    EXPECT_EQ(Setting("GUI", "Close"), "0");
    EXPECT_EQ(Setting("Core", "IgnoreSafe"), "1");
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), "700");
    EXPECT_EQ(Setting("GUI", "frmMainHeight"), "450");
    EXPECT_EQ(Setting("GUI", "Zoomed"), "0");
    EXPECT_EQ(Setting("GUI", "frmTrustWidth"), "345");
    EXPECT_EQ(Setting("GUI", "frmTrustHeight"), "259");
    EXPECT_EQ(Setting("Core", "CloseTip"), "<none>");
}

TEST_F(AppWin32Test, WithoutAFileItOpensAtItsDefaultSizeAndMakesTheFileAtExit) {
    Launch("");
    EXPECT_TRUE(WaitUntil([this] { return Visible(); }, 30000));
    RECT r{};
    ::GetWindowRect(window_, &r);
    EXPECT_EQ(r.right - r.left, 729);
    EXPECT_EQ(r.bottom - r.top, 427);
    ::Sleep(500);
    EXPECT_TRUE(Visible()) << "without \"s\" the window stays";
    EXPECT_EQ(::GetFileAttributesA(settings_.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CloseAndWait());
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), "729");
    EXPECT_EQ(Setting("AutoScan", "Interval"), "0");
    EXPECT_TRUE(TrustedKeys().empty());
}

TEST_F(AppWin32Test, ClosedToTheTrayItKeepsRunningAndTheNoticeClickIsSaved) {
    Write(settings_, "[GUI]\r\nClose=1\r\n[AutoScan]\r\nInterval=\r\n");
    Launch("");
    ASSERT_TRUE(WaitUntil([this] { return Visible(); }, 30000));
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([this] { return !Visible(); }, 10000)) << "not hidden to the tray";
    EXPECT_TRUE(Running()) << "Minimize on Close keeps the program";

    // The user clicks the close notice.
    ::PostMessageA(window_, kTrayCallback, 0, kBalloonClick);
    EXPECT_TRUE(WaitUntil([this] { return Setting("Core", "CloseTip") == "0"; }, 10000));
    EXPECT_FALSE(Visible());

    // The session ends: everything is saved while the program still runs.
    ::SendMessageA(window_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Setting("GUI", "Close"), "1");
    EXPECT_EQ(Setting("AutoScan", "Interval"), "0") << "the empty interval loaded as 0";
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), "729");
    EXPECT_EQ(Setting("Core", "CloseTip"), "0");
}

TEST_F(AppWin32Test, TheFirstScanListsARunningProgramStartedWithWindows) {
    StartAgent();
    if (IsSkipped()) return;
    Write(settings_, "[GUI]\r\nClose=0\r\n");
    Launch("");
    ASSERT_TRUE(WaitUntil([this] { return Visible(); }, 30000));
    HWND list = ProcessList();
    ASSERT_TRUE(list);
    // The system may take a moment to name the socket's owner: rescan until it does.
    const bool listed = WaitUntil(
        [&] {
            if (::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) return true;
            ClickRescan();
            return false;
        },
        20000);
    EXPECT_TRUE(listed) << "the agent was never listed";
    ASSERT_TRUE(CloseAndWait());
}

}  // namespace
