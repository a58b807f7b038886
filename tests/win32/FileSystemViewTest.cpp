// Files as both builds see them: System32 without WOW64 redirection, and path forms longer
// than MAX_PATH given whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/Wow64FsRedirection.h"
#include "win32/SystemKind.h"

namespace {

using platform::win32::FindHandle;
using platform::win32::UniqueHandle;

constexpr std::uint16_t kMachineI386 = 0x14c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

std::string WindowsDir() {
    char buffer[MAX_PATH] = {};
    return std::string(buffer, ::GetWindowsDirectoryA(buffer, MAX_PATH));
}

// The PE machine field of a program file's bytes; 0 when they are too short.
std::uint16_t MachineOf(const std::string& bytes) {
    if (bytes.size() < 64) return 0;
    std::uint32_t lfanew = 0;
    std::memcpy(&lfanew, bytes.data() + 60, 4);
    if (bytes.size() < lfanew + 6) return 0;
    std::uint16_t machine = 0;
    std::memcpy(&machine, bytes.data() + lfanew + 4, 2);
    return machine;
}

// Reads the first 4 KiB of a file with the thread's redirection as it stands.
std::string ReadHeadDirectly(const std::string& path) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string bytes(4096, '\0');
    DWORD got = 0;
    ::ReadFile(file.get(), bytes.data(), 4096, &got, nullptr);
    bytes.resize(got);
    return bytes;
}

std::set<std::string> ListDirectly(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data{};
    FindHandle search(::FindFirstFileA(pattern.c_str(), &data));
    if (!search) return names;
    do names.insert(data.cFileName);
    while (::FindNextFileA(search.get(), &data));
    return names;
}

class FileSystemView : public ::testing::Test {
protected:
    void SetUp() override { system_ = platform::CreateSystem(); }
    platform::Files& Fs() { return system_->files(); }
    std::unique_ptr<platform::System> system_;
};

TEST_F(FileSystemView, System32HoldsTheSystemsOwnProgramsInBothBuilds) {
    const std::string kernel = WindowsDir() + "\\system32\\kernel32.dll";
    const std::uint16_t native = testsupport::Is64BitWindows() ? kMachineAmd64 : kMachineI386;

    auto head = Fs().ReadAt(kernel, 0, 4096);
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(MachineOf(*head), native);
    std::string whole;
    ASSERT_TRUE(Fs().ReadAll(kernel, whole).ok);
    EXPECT_EQ(MachineOf(whole), native);
    EXPECT_TRUE(Fs().Attributes(kernel).has_value());

    // The thread's own redirection is back in force after each call.
    const std::uint16_t ownBitness = sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;
    EXPECT_EQ(MachineOf(ReadHeadDirectly(kernel)), ownBitness);
}

TEST_F(FileSystemView, ListingOfSystem32IsTheNativeFolder) {
    if (!testsupport::RunsUnderWow64()) GTEST_SKIP() << "only a 32-bit build on 64-bit Windows is redirected";
    // "Sysnative" names the native System32 to a redirected 32-bit program.
    auto native = ListDirectly(WindowsDir() + "\\sysnative\\*");
    if (native.empty()) GTEST_SKIP() << "this system has no sysnative alias";
    auto listed = Fs().List(WindowsDir() + "\\system32\\*");
    ASSERT_TRUE(listed.has_value());
    std::set<std::string> names;
    for (const auto& entry : *listed) names.insert(entry.name);
    EXPECT_EQ(names, native);
    EXPECT_NE(names, ListDirectly(WindowsDir() + "\\system32\\*")) << "the redirected folder differs";
}

TEST_F(FileSystemView, RedirectionSwitchRestoresTheThreadsSetting) {
    if (!testsupport::RunsUnderWow64()) GTEST_SKIP() << "only a 32-bit build on 64-bit Windows is redirected";
    const std::string kernel = WindowsDir() + "\\system32\\kernel32.dll";
    {
        platform::win32::Wow64FsRedirectionOff outer;
        ASSERT_TRUE(outer.active());
        {
            platform::win32::Wow64FsRedirectionOff inner;
            EXPECT_EQ(MachineOf(ReadHeadDirectly(kernel)), kMachineAmd64);
        }
        EXPECT_EQ(MachineOf(ReadHeadDirectly(kernel)), kMachineAmd64) << "inner must not re-enable";
    }
    EXPECT_EQ(MachineOf(ReadHeadDirectly(kernel)), kMachineI386);
}

// A deep folder whose long form passes MAX_PATH while its short form stays below it.
class LongPathTree {
public:
    explicit LongPathTree(const std::string& base) : base_(base) {
        std::wstring path = L"\\\\?\\" + Widen(base);
        if (!::CreateDirectoryW(path.c_str(), nullptr)) return;
        created_.push_back(path);
        for (int level = 0; level < 6; ++level) {
            path += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
            if (!::CreateDirectoryW(path.c_str(), nullptr)) return;
            created_.push_back(path);
        }
        wchar_t shortForm[MAX_PATH * 4] = {};
        DWORD n = ::GetShortPathNameW(path.c_str(), shortForm, MAX_PATH * 4);
        if (n == 0 || n >= MAX_PATH * 4) return;
        shortPath_ = Narrow(std::wstring(shortForm, n).substr(4));  // without \\?\ again
        longPath_ = Narrow(path.substr(4));
    }
    ~LongPathTree() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) ::RemoveDirectoryW(it->c_str());
    }
    const std::string& shortPath() const { return shortPath_; }
    const std::string& longPath() const { return longPath_; }

private:
    static std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
    static std::string Narrow(const std::wstring& s) {
        std::string out;
        for (wchar_t c : s) out.push_back(static_cast<char>(c));
        return out;
    }
    std::string base_;
    std::vector<std::wstring> created_;
    std::string shortPath_, longPath_;
};

TEST_F(FileSystemView, LongFormBeyondMaxPathIsGivenWhole) {
    std::string temp = Fs().TempDirectory();
    ASSERT_FALSE(temp.empty());
    temp = Fs().ShortPath(temp);  // keeps the starting point short and ASCII
    ASSERT_FALSE(temp.empty());
    LongPathTree tree(temp + "ZorvikLong" + std::to_string(::GetCurrentProcessId()));
    if (tree.shortPath().empty()) GTEST_SKIP() << "deep folders cannot be made here";
    ASSERT_LT(tree.shortPath().size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_GT(tree.longPath().size(), static_cast<std::size_t>(MAX_PATH));
    std::string longForm = Fs().LongPath(tree.shortPath());
    // Wine's GetLongPathNameA answers ERROR_FILENAME_EXCED_RANGE for a long form beyond
    // MAX_PATH instead of the size it needs; then there is nothing to give, but never a cut form.
    if (longForm.empty()) GTEST_SKIP() << "the system's ANSI call refuses long forms this long";
    std::string expected = tree.longPath();
    std::transform(longForm.begin(), longForm.end(), longForm.begin(), ::tolower);
    std::transform(expected.begin(), expected.end(), expected.begin(), ::tolower);
    EXPECT_EQ(longForm, expected);
}

TEST_F(FileSystemView, WindowsAndTemporaryFoldersAreWhole) {
    EXPECT_EQ(Fs().WindowsDirectory(), WindowsDir());
    std::string temp = Fs().TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    auto attributes = Fs().Attributes(temp);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_NE(*attributes & platform::kAttrDirectory, 0u);
}

}  // namespace
