// The process snapshot and the image comparison against the real system. Wine keeps no thread
// states (every ThreadState and WaitReason reads 0), so the suspended-first-thread sign can
// only be exercised on the simulated system; here the snapshot's records and the image
// comparison are checked against real processes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/HijackTest.h"
#include "core/engine/process/ProcessSnapshot.h"
#include "core/base/untFunc.h"
#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"

namespace {

using platform::win32::UniqueHandle;
using zorvik::NtHeadersBlock;

// A console program without a console that waits on an open pipe for input, so it stays idle
// until ended. Its output goes to NUL: nothing it or the system starts for it holds on to this
// test's own output (a runner that waits for the end of that output would wait for it).
class IdleChild {
public:
    explicit IdleChild(const std::string& exePath) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readRaw = nullptr;
        HANDLE writeRaw = nullptr;
        if (!CreatePipe(&readRaw, &writeRaw, &inherit, 0)) return;
        const UniqueHandle readEnd(readRaw);
        writeEnd_.Reset(writeRaw);
        SetHandleInformation(writeEnd_.get(), HANDLE_FLAG_INHERIT, 0);
        const UniqueHandle nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherit, OPEN_EXISTING, 0, nullptr));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = readEnd.get();
        startup.hStdOutput = nul.get();
        startup.hStdError = nul.get();
        std::string commandLine = "\"" + exePath + "\"";
        PROCESS_INFORMATION info{};
        if (nul && CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                  DETACHED_PROCESS, nullptr, nullptr, &startup, &info)) {
            process_.Reset(info.hProcess);
            const UniqueHandle thread(info.hThread);
            pid_ = info.dwProcessId;
        }
    }
    ~IdleChild() {
        if (process_) {
            TerminateProcess(process_.get(), 0);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    IdleChild(const IdleChild&) = delete;
    IdleChild& operator=(const IdleChild&) = delete;

    DWORD pid() const { return pid_; }

private:
    UniqueHandle process_;
    UniqueHandle writeEnd_;
    DWORD pid_ = 0;
};

std::string SystemDirectory() {
    char buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length);
}

std::string OwnExePath() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

std::uint16_t Field16(const NtHeadersBlock& h, std::size_t offset) {
    return static_cast<std::uint16_t>(h[offset] | (h[offset + 1] << 8));
}
std::uint32_t Field32(const NtHeadersBlock& h, std::size_t offset) {
    return h[offset] | (h[offset + 1] << 8) | (h[offset + 2] << 16) |
           (static_cast<std::uint32_t>(h[offset + 3]) << 24);
}

bool AllThreeDiffer(const NtHeadersBlock& a, const NtHeadersBlock& b) {
    return Field16(a, platform::kNtNumberOfSectionsOffset) !=
               Field16(b, platform::kNtNumberOfSectionsOffset) &&
           Field32(a, platform::kNtAddressOfEntryPointOffset) !=
               Field32(b, platform::kNtAddressOfEntryPointOffset) &&
           Field32(a, platform::kNtSizeOfImageOffset) != Field32(b, platform::kNtSizeOfImageOffset);
}

class HijackOnWindows : public ::testing::Test {
protected:
    void SetUp() override { sys_ = platform::CreateSystem(); }

    // Waits until the child's path can be read: from its module list, or early in its start
    // from its image name alone, when its memory may not be readable yet (see WaitForImage).
    std::string WaitForPath(std::uint32_t pid) {
        for (int i = 0; i < 100; ++i) {
            const std::string path = zorvik::GetProcessPath(*sys_, pid);
            if (!path.empty() && path != "Unknown") return path;
            Sleep(50);
        }
        return {};
    }

    // Waits until the child's image can be read from its memory: its first module is known and
    // its headers, the DOS header and the NT headers it points to, are mapped. Before that the
    // image comparison reads nothing and finds no difference from any file.
    bool WaitForImage(std::uint32_t pid) {
        platform::Processes& procs = sys_->processes();
        for (int i = 0; i < 100; ++i) {
            if (ImageReadable(procs, pid)) return true;
            Sleep(50);
        }
        return false;
    }

    static bool ImageReadable(platform::Processes& procs, std::uint32_t pid) {
        const platform::ProcessHandle process = platform::OpenProcess(
            procs, pid, platform::kProcessQueryInformation | platform::kProcessVmRead);
        if (!process) return false;
        const std::optional<std::uintptr_t> base = procs.FirstModuleBase(pid);
        if (!base) return false;
        std::uint8_t dos[platform::kDosHeaderSize] = {};
        if (!procs.ReadMemory(process.get(), *base, dos, sizeof dos)) return false;
        if ((dos[0] | (dos[1] << 8)) != platform::kDosMagic) return false;
        std::uint32_t ntOffset = 0;
        std::memcpy(&ntOffset, dos + platform::kDosLfanewOffset, sizeof ntOffset);
        NtHeadersBlock nt{};
        return procs.ReadMemory(process.get(), *base + ntOffset, nt.data(), nt.size());
    }

    std::unique_ptr<platform::System> sys_;
};

TEST_F(HijackOnWindows, SnapshotHoldsThisProcessAndItsChildWithItsParent) {
    IdleChild child(SystemDirectory() + "\\cmd.exe");
    ASSERT_NE(child.pid(), 0u);
    ASSERT_FALSE(WaitForPath(child.pid()).empty());

    const std::optional<zorvik::ProcessSnapshot> snapshot = zorvik::TakeProcessSnapshot(*sys_);
    ASSERT_TRUE(snapshot.has_value());

    const std::optional<zorvik::ProcessRecord> own = snapshot->Find(GetCurrentProcessId());
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->uniqueProcessId, GetCurrentProcessId());
    EXPECT_GE(own->numberOfThreads, 1u);
    ASSERT_TRUE(own->firstThread.has_value());
    // The thread record's own process id confirms that the records are read in this build's
    // layout: a misplaced thread record would not name this process.
    EXPECT_EQ(own->firstThread->ClientIdProcess, GetCurrentProcessId());

    const std::optional<zorvik::ProcessRecord> record = snapshot->Find(child.pid());
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->inheritedFromUniqueProcessId, GetCurrentProcessId());
    ASSERT_TRUE(record->firstThread.has_value());
    EXPECT_EQ(record->firstThread->ClientIdProcess, child.pid());
}

TEST_F(HijackOnWindows, RunningChildMatchesItsOwnFileAndNotAnotherProgram) {
    IdleChild child(SystemDirectory() + "\\cmd.exe");
    ASSERT_NE(child.pid(), 0u);
    const std::string childPath = WaitForPath(child.pid());
    ASSERT_FALSE(childPath.empty());
    ASSERT_TRUE(WaitForImage(child.pid())) << "the child's image never became readable";

    NtHeadersBlock childFile{};
    ASSERT_TRUE(zorvik::ReadImageHeaders(*sys_, childPath, childFile)) << childPath;

    // Another program whose three compared fields all differ from the child's file; checked
    // here, so that a true answer below means the memory was compared field by field.
    std::string otherPath;
    for (const std::string& candidate :
         {OwnExePath(), SystemDirectory() + "\\notepad.exe", SystemDirectory() + "\\xcopy.exe"}) {
        NtHeadersBlock other{};
        if (zorvik::ReadImageHeaders(*sys_, candidate, other) && AllThreeDiffer(childFile, other)) {
            otherPath = candidate;
            break;
        }
    }
    ASSERT_FALSE(otherPath.empty()) << "no program whose headers differ from " << childPath;

    EXPECT_FALSE(zorvik::ImageHeadersDiffer(*sys_, child.pid(), childPath));
    EXPECT_TRUE(zorvik::ImageHeadersDiffer(*sys_, child.pid(), otherPath)) << otherPath;
    EXPECT_FALSE(zorvik::ImageHeadersDiffer(*sys_, child.pid(), "Unknown"));

    // The full test on the child: nothing flagged, nothing appended.
    const std::optional<zorvik::ProcessSnapshot> snapshot = zorvik::TakeProcessSnapshot(*sys_);
    std::string details = "Possible Bot Process, 0 Start up\\s detected";
    EXPECT_FALSE(zorvik::HijackTest(*sys_, snapshot ? &*snapshot : nullptr, child.pid(), details,
                                    childPath));
    EXPECT_EQ(details, "Possible Bot Process, 0 Start up\\s detected");
}

TEST_F(HijackOnWindows, ThisProcessMatchesItsOwnFile) {
    EXPECT_FALSE(zorvik::ImageHeadersDiffer(*sys_, GetCurrentProcessId(), OwnExePath()));
    const std::string cmd = SystemDirectory() + "\\cmd.exe";
    NtHeadersBlock own{}, other{};
    ASSERT_TRUE(zorvik::ReadImageHeaders(*sys_, OwnExePath(), own));
    ASSERT_TRUE(zorvik::ReadImageHeaders(*sys_, cmd, other));
    EXPECT_EQ(zorvik::ImageHeadersDiffer(*sys_, GetCurrentProcessId(), cmd),
              AllThreeDiffer(own, other));
}

TEST_F(HijackOnWindows, ProcessThatHasExitedIsNotCompared) {
    std::uint32_t pid = 0;
    {
        IdleChild child(SystemDirectory() + "\\cmd.exe");
        pid = child.pid();
        ASSERT_NE(pid, 0u);
        ASSERT_FALSE(WaitForPath(pid).empty());
    }
    EXPECT_FALSE(zorvik::ImageHeadersDiffer(*sys_, pid, OwnExePath()));
}

}  // namespace
