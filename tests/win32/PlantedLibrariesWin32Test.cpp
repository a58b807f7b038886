// Libraries planted beside the programs, as by someone who can drop files into the folder the
// programs were unpacked to: a library (planted/PlantedDll.cpp) under the name of each library
// the programs load themselves, and of each they import that no Windows maps itself (the
// common controls), that notes every program loading it. The programs run in that folder, as
// their current folder too. Under Wine the runner tells Wine to search for these names as
// Windows does (WINEDLLOVERRIDES n,b: a file beside the program before the system's own; see
// ZORVIK_WINE_NATIVE_FIRST in cmake/WineTestCases.cmake); Wine reads that when this test
// program starts, and its children inherit it. A bare LoadLibraryA of each name
// loads the planted copy; the system-folder loader, a scan by zorvikc and the window's start
// load none, and still read what those libraries give.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RunningAgent.h"
#include "contract/WineQuirks.h"
#include "core/base/PathParts.h"
#include "platform/System.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/ScopedKey.h"
#include "platform/win32/system/SystemLibrary.h"
#include "win32/agent/TestAgentVersion.h"

namespace {

using platform::win32::UniqueHandle;

// Each library the programs load by name at run time (ntdll and kernel32 aside: they are in
// every process before its first instruction), and the common controls they import.
const std::vector<std::string> kPlanted = {"iphlpapi.dll", "psapi.dll",   "netapi32.dll",
                                           "ws2_32.dll",   "version.dll", "wintrust.dll",
                                           "crypt32.dll",  "comctl32.dll"};
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kProgramTimeout = 120000;

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char caption[64] = {};
    ::GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid != found->first || std::string(caption) != "Pellmoor") return TRUE;
    found->second = hwnd;
    return FALSE;
}

class PlantedLibrariesWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        pid_ = std::to_string(::GetCurrentProcessId());
        buildDir_ = zorvik::ProgramFolderOf(sys_->files().OwnPath());
        dir_ = sys_->files().TempDirectory() + "ZorvikPlanted-" + pid_;
        ASSERT_TRUE(sys_->files().CreateDirectory(dir_)) << dir_;
        for (const char* program : {"Zorvik.exe", "zorvikc.exe", "zorvik_library_probe.exe"})
            Copy(buildDir_ + program, dir_ + "\\" + program);
        for (const std::string& dll : kPlanted)
            Copy(buildDir_ + "zorvik_planted_dll.dll", dir_ + "\\" + dll);
    }

    void TearDown() override {
        agent_.reset();
        if (!runValue_.empty()) {
            HKEY raw = nullptr;
            if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey.c_str(), 0, KEY_SET_VALUE, &raw) == 0) {
                const platform::win32::ScopedKey run(raw);
                ::RegDeleteValueA(run.get(), runValue_.c_str());
            }
        }
        if (!agentPath_.empty()) ::DeleteFileA(agentPath_.c_str());
        if (auto entries = sys_->files().List(dir_ + "\\*")) {
            for (const platform::FindEntry& entry : *entries)
                ::DeleteFileA((dir_ + "\\" + entry.name).c_str());
        }
        ::RemoveDirectoryA(dir_.c_str());
    }

    void Copy(const std::string& from, const std::string& to) {
        ASSERT_TRUE(::CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
    }
    void Write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(sys_->files().WriteAll(path, text).ok) << path;
    }

    // Starts the program of the folder, with the folder as its current one and its output in a
    // file.
    UniqueHandle Start(const std::string& program, const std::string& args) {
        std::string commandLine = "\"" + dir_ + "\\" + program + "\" " + args;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const UniqueHandle output(::CreateFileA((dir_ + "\\output.txt").c_str(), GENERIC_WRITE,
                                                FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                              nullptr, dir_.c_str(), &startup, &info))
            return UniqueHandle();
        ::CloseHandle(info.hThread);
        startedPid_ = info.dwProcessId;
        return UniqueHandle(info.hProcess);
    }
    // Runs it to its end: its exit code, or -1 when it did not start or end.
    int Run(const std::string& program, const std::string& args) {
        const UniqueHandle process = Start(program, args);
        if (!process || ::WaitForSingleObject(process.get(), kProgramTimeout) != WAIT_OBJECT_0) {
            if (process) ::TerminateProcess(process.get(), 1);
            return -1;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(process.get(), &code);
        return static_cast<int>(code);
    }
    std::string Output() { return ReadWhole(dir_ + "\\output.txt").value_or(""); }

    // The planted libraries some program loaded, each with the programs that did.
    std::string Loaded() {
        std::string loaded;
        for (const std::string& dll : kPlanted) {
            if (auto marker = ReadWhole(dir_ + "\\" + dll + ".loaded")) loaded += dll + ": " + *marker;
        }
        return loaded;
    }
    void ForgetLoads() {
        for (const std::string& dll : kPlanted) ::DeleteFileA((dir_ + "\\" + dll + ".loaded").c_str());
    }

    // A program with sockets started from the Run key, which the rules beside the programs
    // search, with a rule that asks for the user accounts too; its signed copy where the build
    // made one, so that the scan asks for the signer.
    void StartListedAgent() {
        std::string source = buildDir_ + "zorvik_test_agent_signed.exe";
        if (::GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES)
            source = buildDir_ + "zorvik_test_agent.exe";
        // Outside the folder: it is not the program under test.
        agentPath_ = sys_->files().TempDirectory() + "zvkplant" + pid_ + ".exe";
        Copy(source, agentPath_);
        Write(dir_ + "\\Scan.ini",
              "[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + kRunKey +
                  "\r\nAction=ENUM\r\n[Each user]\r\nType=FOL\r\nPath=Users\\*USER*\\Startup\r\n");
        runValue_ = "ZorvikPlantedTest-" + pid_;
        HKEY raw = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &raw, nullptr), 0);
        const platform::win32::ScopedKey run(raw);
        const std::string command = "\"" + agentPath_ + "\"";
        ::RegSetValueExA(run.get(), runValue_.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>(command.size() + 1));
        agent_ = std::make_unique<wintest::RunningAgent>(agentPath_, "ZorvikPlantedReady-" + pid_);
        ASSERT_TRUE(agent_->Started());
    }

    // Wine's own user32 imports version.dll, and Wine takes a known DLL's imports by the search
    // order like any other (Windows maps them with it, and its user32 imports no version.dll):
    // under Wine a planted version.dll is in every windowed process before its first
    // instruction. The probe alone shows the programs' own loader passing it over.
    void UnplantWhatWineLoadsForItsOwnUser32() {
        if (contract::RunningUnderWine()) ::DeleteFileA((dir_ + "\\version.dll").c_str());
    }

    std::unique_ptr<platform::System> sys_;
    std::string pid_, buildDir_, dir_, agentPath_, runValue_;
    std::unique_ptr<wintest::RunningAgent> agent_;
    DWORD startedPid_ = 0;
};

TEST_F(PlantedLibrariesWin32Test, ABareNameLoadsThePlantedLibraryTheSystemFolderLoaderNone) {
    for (const std::string& dll : kPlanted) {
        EXPECT_EQ(Run("zorvik_library_probe.exe", dll + " bare"), 0) << dll;
        const std::string loaded = Loaded();
        EXPECT_EQ(loaded.rfind(dll + ": ", 0), 0u) << loaded;
        EXPECT_NE(loaded.find("\\zorvik_library_probe.exe\r\n"), std::string::npos)
            << dll << ": the planted library is not loaded by its bare name, so the test proves "
            << "nothing: " << loaded;
        ForgetLoads();
        std::vector<const char*> ways = {"path"};
        if (platform::win32::SystemFolderSearchHere() == platform::win32::SystemFolderSearch::LoaderFlag)
            ways.push_back("flag");
        for (const char* way : ways) {
            EXPECT_EQ(Run("zorvik_library_probe.exe", dll + " " + way), 0) << dll << " " << way;
            EXPECT_EQ(Loaded(), "") << dll << " " << way;
            ForgetLoads();
        }
    }
}

TEST_F(PlantedLibrariesWin32Test, AScanLoadsNoneAndStillReadsTheProgramsFile) {
    StartListedAgent();
    UnplantWhatWineLoadsForItsOwnUser32();
    const std::string agentName = zorvik::ProgramFileNameOf(agentPath_);
    int code = -1;
    // The system names a socket's owner a moment after its first I/O.
    for (int attempt = 0; attempt < 10; ++attempt) {
        code = Run("zorvikc.exe", "scan");
        if (code != 0) break;
        ::Sleep(500);
    }
    const std::string report = Output();
    EXPECT_EQ(code, 1) << report;
    EXPECT_NE(report.find(agentName), std::string::npos) << report;
    // From version.dll, wintrust.dll and, for the signed copy, crypt32.dll.
    EXPECT_NE(report.find("Company  " ZORVIK_AGENT_COMPANY), std::string::npos) << report;
    EXPECT_EQ(report.find("no wintrust.dll"), std::string::npos) << report;
    if (::GetFileAttributesA((buildDir_ + "zorvik_test_agent_signed.exe").c_str()) !=
        INVALID_FILE_ATTRIBUTES)
        EXPECT_NE(report.find(", by " ZORVIK_AGENT_SIGNER), std::string::npos) << report;
    EXPECT_EQ(Loaded(), "");
}

TEST_F(PlantedLibrariesWin32Test, TheWindowStartsAndEndsLoadingNone) {
    UnplantWhatWineLoadsForItsOwnUser32();
    const UniqueHandle zorvik = Start("Zorvik.exe", "");
    ASSERT_TRUE(zorvik);
    // The window exists before its controls are made: wait for the button too.
    std::pair<DWORD, HWND> window{startedPid_, nullptr};
    HWND rescan = nullptr;
    for (int waited = 0; !rescan && waited < 60000; waited += 100) {
        ::Sleep(100);
        if (!window.second) ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&window));
        if (window.second) rescan = ::FindWindowExA(window.second, nullptr, "Button", "&Rescan");
    }
    ASSERT_TRUE(window.second) << "no window \"Pellmoor\": " << Output();
    ASSERT_TRUE(rescan) << "no button \"Rescan\" in the window";
    ::SendMessageA(window.second, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(rescan), BN_CLICKED),
                   reinterpret_cast<LPARAM>(rescan));
    ::PostMessageA(window.second, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(zorvik.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(zorvik.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Loaded(), "");
}

}  // namespace
