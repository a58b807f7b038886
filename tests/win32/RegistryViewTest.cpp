// The registry as both builds see it: one 64-bit view, values of any size, long names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/win32/system/ScopedKey.h"
#include "win32/SystemKind.h"

namespace {

using platform::KeyAccess;
using platform::RegType;
using platform::RegValue;
using platform::RootKey;
using platform::win32::ScopedKey;

class RegistryView : public ::testing::Test {
protected:
    void SetUp() override {
        system_ = platform::CreateSystem();
        path_ = "Software\\ZorvikWin32Test-" + std::to_string(::GetCurrentProcessId());
    }
    void TearDown() override {
        Reg().DeleteTree(RootKey::LocalMachine, path_);
        Reg().DeleteTree(RootKey::CurrentUser, path_);
    }
    platform::Registry& Reg() { return system_->registry(); }

    // Whether the key exists in the given view, opened directly.
    static bool ExistsInView(HKEY root, const std::string& path, REGSAM view) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
            return false;
        ScopedKey owned(key);
        return true;
    }

    std::unique_ptr<platform::System> system_;
    std::string path_;
};

TEST_F(RegistryView, MachineSoftwareKeysLieInThe64BitView) {
    {
        platform::RegKey key = platform::CreateKey(Reg(), RootKey::LocalMachine, path_);
        ASSERT_TRUE(key) << "needs rights to write under HKEY_LOCAL_MACHINE";
        ASSERT_TRUE(Reg().Set(key.get(), "Marker", {RegType::Sz, std::string("64\0", 3)}));
    }
    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, path_, KEY_WOW64_64KEY));
    if (testsupport::Is64BitWindows()) {
        EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, path_, KEY_WOW64_32KEY))
            << "the key must not land in the 32-bit view (Wow6432Node)";
    }

    platform::RegKey reader = platform::OpenKey(Reg(), RootKey::LocalMachine, path_, KeyAccess::Read);
    ASSERT_TRUE(reader);
    auto marker = Reg().Query(reader.get(), "Marker");
    ASSERT_TRUE(marker.has_value());
    EXPECT_EQ(marker->data, std::string("64\0", 3));
    reader.Reset();

    EXPECT_TRUE(Reg().DeleteTree(RootKey::LocalMachine, path_));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, path_, KEY_WOW64_64KEY));
}

TEST_F(RegistryView, DeleteTreeRemovesNestedKeysAndNothingBeside) {
    for (const char* sub : {"\\A", "\\A\\B", "\\A\\B\\C", "\\D"}) {
        platform::RegKey key = platform::CreateKey(Reg(), RootKey::CurrentUser, path_ + sub);
        ASSERT_TRUE(key) << sub;
        ASSERT_TRUE(Reg().Set(key.get(), "v", {RegType::Dword, std::string("\1\0\0\0", 4)}));
    }
    EXPECT_TRUE(Reg().DeleteTree(RootKey::CurrentUser, path_ + "\\A"));
    EXPECT_FALSE(ExistsInView(HKEY_CURRENT_USER, path_ + "\\A", 0));
    EXPECT_TRUE(ExistsInView(HKEY_CURRENT_USER, path_ + "\\D", 0));
    EXPECT_FALSE(Reg().DeleteTree(RootKey::CurrentUser, path_ + "\\A")) << "already gone";
    EXPECT_FALSE(Reg().DeleteTree(RootKey::CurrentUser, "")) << "a root is never deleted";
}

TEST_F(RegistryView, LargeValuesAndLongNamesComeBackWhole) {
    platform::RegKey key = platform::CreateKey(Reg(), RootKey::CurrentUser, path_);
    ASSERT_TRUE(key);
    std::string big(1 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + 3);
    const std::string longValueName(2000, 'v');
    const std::string longKeyName(255, 'k');
    ASSERT_TRUE(Reg().Set(key.get(), longValueName, {RegType::Binary, big}));
    ASSERT_TRUE(Reg().Set(key.get(), "short", {RegType::Sz, std::string("x\0", 2)}));
    // Made through the wide call: Wine's RegCreateKeyExA refuses a sub-key path of more than
    // about 260 characters (ERROR_MORE_DATA), while Windows takes names of up to 255 in any path.
    {
        std::wstring wide(path_.begin(), path_.end());
        wide += L"\\" + std::wstring(longKeyName.begin(), longKeyName.end());
        HKEY created = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        ScopedKey owned(created);
    }
    ASSERT_TRUE(platform::CreateKey(Reg(), RootKey::CurrentUser, path_ + "\\s"));

    auto stored = Reg().Query(key.get(), longValueName);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, RegType::Binary);
    EXPECT_TRUE(stored->data == big) << "size " << stored->data.size();

    auto values = Reg().ValueNames(key.get());
    EXPECT_EQ(values.size(), 2u);
    EXPECT_NE(std::find(values.begin(), values.end(), longValueName), values.end());
    auto subkeys = Reg().SubKeyNames(key.get());
    EXPECT_EQ(subkeys.size(), 2u);
    EXPECT_NE(std::find(subkeys.begin(), subkeys.end(), longKeyName), subkeys.end());
}

TEST_F(RegistryView, EmptyPathOpensTheRootWhichClosingLeavesUsable) {
    for (int round = 0; round < 2; ++round) {
        platform::RegKey root = platform::OpenKey(Reg(), RootKey::CurrentUser, "", KeyAccess::Read);
        ASSERT_TRUE(root);
        auto names = Reg().SubKeyNames(root.get());
        EXPECT_NE(std::find(names.begin(), names.end(), "Software"), names.end());
    }
    EXPECT_EQ(Reg().Open(RootKey::None, "Software", KeyAccess::Read), 0u);
}

}  // namespace
