// The simulated registry's scripting: refused access, refused writes, open-key counting,
// handles that outlive their key, listing order.
#include <gtest/gtest.h>

#include "platform/sim/system/SimSystem.h"

namespace {

using platform::KeyAccess;
using platform::RegType;
using platform::RootKey;
using platform::sim::SimSystem;

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(SimRegistryTest, DeniedFullAccessStillOpensForReading) {
    SimSystem sys;
    sys.reg().PutString(RootKey::LocalMachine, kRun, "Agent", "C:\\agent.exe");
    sys.reg().DenyFullAccess(RootKey::LocalMachine, kRun);
    EXPECT_EQ(sys.registry().Open(RootKey::LocalMachine, kRun, KeyAccess::All), 0u);
    EXPECT_EQ(sys.registry().Create(RootKey::LocalMachine, kRun), 0u);
    EXPECT_FALSE(sys.registry().DeleteTree(RootKey::LocalMachine, kRun));
    platform::RegKey reader = platform::OpenKey(sys.registry(), RootKey::LocalMachine, kRun, KeyAccess::Read);
    ASSERT_TRUE(reader);
    EXPECT_EQ(sys.registry().Query(reader.get(), "agent")->data, std::string("C:\\agent.exe\0", 13));
}

TEST(SimRegistryTest, DeniedWritesRefuseSetAndDeleteEvenWithAllAccess) {
    SimSystem sys;
    sys.reg().PutString(RootKey::CurrentUser, kRun, "Zorvik", "C:\\Zorvik\\Zorvik.exe s");
    sys.reg().DenyWrites(RootKey::CurrentUser, kRun);
    platform::RegKey key = platform::OpenKey(sys.registry(), RootKey::CurrentUser, kRun, KeyAccess::All);
    ASSERT_TRUE(key);
    EXPECT_FALSE(sys.registry().Set(key.get(), "Other", {RegType::Sz, std::string("x\0", 2)}));
    EXPECT_FALSE(sys.registry().DeleteValue(key.get(), "Zorvik"));
    EXPECT_TRUE(sys.reg().Get(RootKey::CurrentUser, kRun, "Zorvik").has_value());
    EXPECT_FALSE(sys.reg().Get(RootKey::CurrentUser, kRun, "Other").has_value());
}

TEST(SimRegistryTest, OpenKeyCountFollowsOpensAndCloses) {
    SimSystem sys;
    sys.reg().MakeKey(RootKey::ClassesRoot, "exefile\\shell");
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
    {
        platform::RegKey a = platform::OpenKey(sys.registry(), RootKey::ClassesRoot, "exefile", KeyAccess::Read);
        platform::RegKey b = platform::OpenKey(sys.registry(), RootKey::ClassesRoot, "", KeyAccess::Read);
        platform::RegKey missing = platform::OpenKey(sys.registry(), RootKey::ClassesRoot, "nofile", KeyAccess::Read);
        EXPECT_FALSE(missing);
        EXPECT_EQ(sys.reg().OpenKeyCount(), 2);
    }
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

TEST(SimRegistryTest, HandleOfADeletedKeyReachesNothing) {
    SimSystem sys;
    sys.reg().PutString(RootKey::CurrentUser, "Software\\Gone", "v", "1");
    platform::RegKey key = platform::OpenKey(sys.registry(), RootKey::CurrentUser, "Software\\Gone", KeyAccess::All);
    ASSERT_TRUE(key);
    ASSERT_TRUE(sys.registry().DeleteTree(RootKey::CurrentUser, "Software\\Gone"));
    EXPECT_FALSE(sys.registry().Query(key.get(), "v").has_value());
    EXPECT_FALSE(sys.registry().Set(key.get(), "v", {RegType::Sz, std::string("2\0", 2)}));
    EXPECT_FALSE(sys.reg().KeyExists(RootKey::CurrentUser, "Software\\Gone"));
    EXPECT_TRUE(sys.reg().KeyExists(RootKey::CurrentUser, "software"));
}

TEST(SimRegistryTest, ListsInCreationOrderAndSettingAgainKeepsThePlace) {
    SimSystem sys;
    for (const char* sub : {"Zeta", "alpha", "Mid"}) sys.reg().MakeKey(RootKey::LocalMachine, std::string("S\\") + sub);
    sys.reg().PutString(RootKey::LocalMachine, "S", "b", "1");
    sys.reg().PutString(RootKey::LocalMachine, "S", "A", "2");
    sys.reg().Put(RootKey::LocalMachine, "S", "B", RegType::Dword, std::string("\3\0\0\0", 4));
    platform::RegKey key = platform::OpenKey(sys.registry(), RootKey::LocalMachine, "S", KeyAccess::Read);
    EXPECT_EQ(sys.registry().SubKeyNames(key.get()), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(sys.registry().ValueNames(key.get()), (std::vector<std::string>{"b", "A"}));
    EXPECT_EQ(sys.reg().Get(RootKey::LocalMachine, "s", "b")->type, RegType::Dword);
}

TEST(SimRegistryTest, MalformedPathsOpenNothing) {
    SimSystem sys;
    sys.reg().MakeKey(RootKey::CurrentUser, "Software\\A");
    for (const char* path : {"Software\\\\A", "Software\\A\\", "\\\\Software"})
        EXPECT_EQ(sys.registry().Open(RootKey::CurrentUser, path, KeyAccess::Read), 0u) << path;
    EXPECT_EQ(sys.registry().Open(RootKey::None, "", KeyAccess::Read), 0u);
    EXPECT_FALSE(sys.reg().KeyExists(RootKey::None, ""));
    EXPECT_EQ(sys.registry().Create(RootKey::None, "Software"), 0u);
}

}  // namespace
