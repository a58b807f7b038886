// Registry services against a scratch key under HKEY_CURRENT_USER: typed values, listing,
// missing keys and values, the default value, the root handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

#include "ContractEnv.h"

namespace {

using platform::KeyAccess;
using platform::RegType;
using platform::RegValue;
using platform::RootKey;

platform::Registry& Reg() { return contract::env().System().registry(); }

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The registry documents no order for its lists, so they are compared as sets.
std::set<std::string> AsSet(const std::vector<std::string>& names) {
    return std::set<std::string>(names.begin(), names.end());
}

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = contract::env().ScratchKey();
        key_ = platform::CreateKey(Reg(), RootKey::CurrentUser, path_);
        ASSERT_TRUE(key_) << path_;
    }
    void TearDown() override {
        key_.Reset();
        Reg().DeleteTree(RootKey::CurrentUser, path_);
    }

    std::string path_;
    platform::RegKey key_;
};

TEST_F(RegistryContract, TypedValuesComeBackWithTheirTypeAndBytes) {
    const std::vector<std::pair<std::string, RegValue>> cases = {
        {"Text", {RegType::Sz, std::string("C:\\Tools\\app.exe s\0", 19)}},
        {"Expand", {RegType::ExpandSz, std::string("%SystemRoot%\\x.exe\0", 19)}},
        {"Binary", {RegType::Binary, std::string("\x01\x00\xff\x7f", 4)}},
        {"Number", {RegType::Dword, std::string("\x2a\x00\x00\x80", 4)}},
        {"List", {RegType::MultiSz, std::string("one\0two\0\0", 9)}},
        {"Wide", {RegType::Qword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
        {"NoZero", {RegType::Sz, std::string("unterminated")}},
        {"EmptyBinary", {RegType::Binary, std::string()}},
    };
    for (const auto& [name, value] : cases) ASSERT_TRUE(Reg().Set(key_.get(), name, value)) << name;

    platform::RegKey reader = platform::OpenKey(Reg(), RootKey::CurrentUser, path_, KeyAccess::Read);
    ASSERT_TRUE(reader);
    for (const auto& [name, value] : cases) {
        auto stored = Reg().Query(reader.get(), name);
        ASSERT_TRUE(stored.has_value()) << name;
        EXPECT_EQ(stored->type, value.type) << name;
        EXPECT_EQ(stored->data, value.data) << name;
    }
}

TEST_F(RegistryContract, ValueNamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_TRUE(Reg().Set(key_.get(), "MixedCase", {RegType::Sz, std::string("a\0", 2)}));
    ASSERT_TRUE(Reg().Set(key_.get(), "MIXEDCASE", {RegType::Sz, std::string("b\0", 2)}));
    auto stored = Reg().Query(key_.get(), "mixedcase");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->data, std::string("b\0", 2));
    EXPECT_EQ(Reg().ValueNames(key_.get()), std::vector<std::string>{"MixedCase"});
}

TEST_F(RegistryContract, ListsSubkeysAndValuesOfAKey) {
    for (const char* sub : {"Beta", "alpha", "Gamma"}) {
        platform::RegKey child = platform::CreateKey(Reg(), RootKey::CurrentUser, path_ + "\\" + sub);
        ASSERT_TRUE(child) << sub;
    }
    // A grandchild is not a subkey of the key itself.
    ASSERT_TRUE(platform::CreateKey(Reg(), RootKey::CurrentUser, path_ + "\\Beta\\Deep"));
    for (const char* value : {"Zorvik", "other", "Third"})
        ASSERT_TRUE(Reg().Set(key_.get(), value, {RegType::Sz, std::string("x\0", 2)}));

    EXPECT_EQ(AsSet(Reg().SubKeyNames(key_.get())), (std::set<std::string>{"Beta", "alpha", "Gamma"}));
    EXPECT_EQ(AsSet(Reg().ValueNames(key_.get())), (std::set<std::string>{"Zorvik", "other", "Third"}));
}

TEST_F(RegistryContract, OpenNeverCreatesAMissingKey) {
    const std::string missing = path_ + "\\Missing";
    EXPECT_EQ(Reg().Open(RootKey::CurrentUser, missing, KeyAccess::Read), 0u);
    EXPECT_EQ(Reg().Open(RootKey::CurrentUser, missing, KeyAccess::All), 0u);
    EXPECT_EQ(Reg().Open(RootKey::CurrentUser, missing + "\\Below", KeyAccess::Read), 0u);
    EXPECT_TRUE(Reg().SubKeyNames(key_.get()).empty());
}

TEST_F(RegistryContract, LeadingBackslashIsIgnoredAndNamesIgnoreCase) {
    ASSERT_TRUE(Reg().Set(key_.get(), "Marker", {RegType::Sz, std::string("here\0", 5)}));
    for (const std::string& spelling : {"\\" + path_, Lower(path_)}) {
        platform::RegKey again = platform::OpenKey(Reg(), RootKey::CurrentUser, spelling, KeyAccess::Read);
        ASSERT_TRUE(again) << spelling;
        auto marker = Reg().Query(again.get(), "Marker");
        ASSERT_TRUE(marker.has_value()) << spelling;
        EXPECT_EQ(marker->data, std::string("here\0", 5));
    }
}

TEST_F(RegistryContract, EmptyPathOpensTheRootItself) {
    platform::RegKey root = platform::OpenKey(Reg(), RootKey::CurrentUser, "", KeyAccess::Read);
    ASSERT_TRUE(root);
    auto names = Reg().SubKeyNames(root.get());
    EXPECT_TRUE(std::any_of(names.begin(), names.end(),
                            [](const std::string& n) { return Lower(n) == "software"; }));
}

TEST_F(RegistryContract, TheNoneRootOpensNothing) {
    EXPECT_EQ(Reg().Open(RootKey::None, "", KeyAccess::Read), 0u);
    EXPECT_EQ(Reg().Open(RootKey::None, "Software", KeyAccess::Read), 0u);
    EXPECT_EQ(Reg().Open(RootKey::None, path_, KeyAccess::All), 0u);
}

// A key opened below an open one: its path relative to it, names without regard to case, the
// same key through an empty path; a missing key, the zero key and writing through a read
// handle give nothing.
TEST_F(RegistryContract, OpenBelowWalksFromTheOpenKey) {
    {
        platform::RegKey leaf = platform::CreateKey(Reg(), RootKey::CurrentUser, path_ + "\\Mid\\Leaf");
        ASSERT_TRUE(leaf);
        ASSERT_TRUE(Reg().Set(leaf.get(), "Marker", {RegType::Sz, std::string("leaf\0", 5)}));
    }
    ASSERT_TRUE(Reg().Set(key_.get(), "Marker", {RegType::Sz, std::string("top\0", 4)}));
    struct Case {
        std::string path;
        std::optional<std::string> marker;  // none: the key does not open
    };
    const Case cases[] = {
        {"Mid\\Leaf", std::string("leaf\0", 5)},
        {"mid\\LEAF", std::string("leaf\0", 5)},
        {"", std::string("top\0", 4)},
        {"Mid\\Missing", std::nullopt},
        {"Leaf", std::nullopt},
    };
    for (const Case& c : cases) {
        platform::RegKey below = platform::OpenKeyBelow(Reg(), key_.get(), c.path, KeyAccess::Read);
        EXPECT_EQ(static_cast<bool>(below), c.marker.has_value()) << c.path;
        if (!below || !c.marker) continue;
        const auto marker = Reg().Query(below.get(), "Marker");
        ASSERT_TRUE(marker.has_value()) << c.path;
        EXPECT_EQ(marker->data, *c.marker) << c.path;
    }
    EXPECT_EQ(Reg().OpenBelow(0, "Mid", KeyAccess::Read), 0u);

    platform::RegKey reader = platform::OpenKey(Reg(), RootKey::CurrentUser, path_, KeyAccess::Read);
    platform::RegKey writable = platform::OpenKeyBelow(Reg(), reader.get(), "Mid", KeyAccess::All);
    ASSERT_TRUE(writable) << "the access asked for is the new key's own";
    EXPECT_TRUE(Reg().Set(writable.get(), "New", {RegType::Sz, std::string("1\0", 2)}));
    platform::RegKey readOnly = platform::OpenKeyBelow(Reg(), key_.get(), "Mid", KeyAccess::Read);
    EXPECT_FALSE(Reg().Set(readOnly.get(), "New", {RegType::Sz, std::string("2\0", 2)}));
}

TEST_F(RegistryContract, DefaultValueIsTheEmptyName) {
    EXPECT_FALSE(Reg().Query(key_.get(), "").has_value()) << "a new key has no default value";
    ASSERT_TRUE(Reg().Set(key_.get(), "", {RegType::Sz, std::string("default\0", 8)}));
    ASSERT_TRUE(Reg().Set(key_.get(), "Named", {RegType::Sz, std::string("named\0", 6)}));
    auto stored = Reg().Query(key_.get(), "");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, RegType::Sz);
    EXPECT_EQ(stored->data, std::string("default\0", 8));
}

TEST_F(RegistryContract, MissingValuesAndTheZeroKeyGiveNothing) {
    EXPECT_FALSE(Reg().Query(key_.get(), "NotThere").has_value());
    EXPECT_FALSE(Reg().Query(0, "").has_value());
    EXPECT_TRUE(Reg().SubKeyNames(0).empty());
    EXPECT_TRUE(Reg().ValueNames(0).empty());
    EXPECT_FALSE(Reg().Set(0, "x", {RegType::Sz, std::string("x\0", 2)}));
}

TEST_F(RegistryContract, DeleteValueRemovesOnlyThatValue) {
    ASSERT_TRUE(Reg().Set(key_.get(), "Gone", {RegType::Sz, std::string("1\0", 2)}));
    ASSERT_TRUE(Reg().Set(key_.get(), "Kept", {RegType::Dword, std::string("\1\0\0\0", 4)}));
    EXPECT_TRUE(Reg().DeleteValue(key_.get(), "GONE"));
    EXPECT_FALSE(Reg().Query(key_.get(), "Gone").has_value());
    EXPECT_TRUE(Reg().Query(key_.get(), "Kept").has_value());
    EXPECT_FALSE(Reg().DeleteValue(key_.get(), "Gone")) << "a second delete finds nothing";
}

TEST_F(RegistryContract, ReadOnlyKeyRefusesChanges) {
    ASSERT_TRUE(Reg().Set(key_.get(), "Value", {RegType::Sz, std::string("old\0", 4)}));
    platform::RegKey reader = platform::OpenKey(Reg(), RootKey::CurrentUser, path_, KeyAccess::Read);
    ASSERT_TRUE(reader);
    EXPECT_FALSE(Reg().Set(reader.get(), "Value", {RegType::Sz, std::string("new\0", 4)}));
    EXPECT_FALSE(Reg().DeleteValue(reader.get(), "Value"));
    EXPECT_EQ(Reg().Query(key_.get(), "Value")->data, std::string("old\0", 4));
}

TEST_F(RegistryContract, DeleteTreeRemovesTheKeyWithEverythingBelow) {
    const std::string branch = path_ + "\\Branch";
    {
        platform::RegKey deep = platform::CreateKey(Reg(), RootKey::CurrentUser, branch + "\\Leaf\\Deeper");
        ASSERT_TRUE(deep);
        ASSERT_TRUE(Reg().Set(deep.get(), "v", {RegType::Sz, std::string("1\0", 2)}));
    }
    EXPECT_TRUE(Reg().DeleteTree(RootKey::CurrentUser, branch));
    EXPECT_EQ(Reg().Open(RootKey::CurrentUser, branch, KeyAccess::Read), 0u);
    EXPECT_TRUE(Reg().SubKeyNames(key_.get()).empty());
    EXPECT_FALSE(Reg().DeleteTree(RootKey::CurrentUser, branch)) << "nothing left to delete";
}

}  // namespace
