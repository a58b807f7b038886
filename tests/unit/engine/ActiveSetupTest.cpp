#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "unit/engine/ScanTestSupport.h"

using platform::RegType;
using platform::RootKey;
using scantest::Detected;

namespace {

const std::string kComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

class ActiveSetupTest : public scantest::ScanTest {
protected:
    void SetUp() override {
        WriteRules(scantest::RunRule());
        sys.fs().AddFile("C:\\Dir\\tool.exe", "MZ");
    }

    void PutStub(const std::string& component, const std::string& stub) {
        sys.reg().PutString(RootKey::LocalMachine, kComponents + "\\" + component, "StubPath", stub);
    }

    bool Check() { return zorvik::CheckActiveSetup(sys, options, trusted, list); }

    scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;
};

TEST_F(ActiveSetupTest, StubStartedWithWindowsGivesALoaderRow) {
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");

    EXPECT_TRUE(Check());

    ASSERT_EQ(list.Count(), 1u);
    const zorvik::ProcessRow& row = list.At(0);
    EXPECT_EQ(row.caption, "C:\\Dir\\tool.exe");
    EXPECT_EQ(row.pid, "-1");
    EXPECT_EQ(row.details, Detected(1, "Probable Bot Loader, "));
    ASSERT_NE(row.data, nullptr);
    ASSERT_EQ(row.data->RegList.size(), 1u);
    EXPECT_EQ(row.data->RegList[0].Name, "Tool");
}

TEST_F(ActiveSetupTest, NoComponentsKeyGivesNoRows) {
    PutRun("Tool", "C:\\Dir\\tool.exe /x");
    EXPECT_FALSE(Check());
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ActiveSetupTest, StubThatNoRuleFindsGivesNoRow) {
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    PutRun("Other", "C:\\Dir\\other.exe");
    EXPECT_FALSE(Check());
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ActiveSetupTest, ComponentWithIsInstalledIsNeverExamined) {
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    sys.reg().Put(RootKey::LocalMachine, kComponents + "\\{A}", "IsInstalled", RegType::Dword,
                  std::string(4, '\0'));
    PutStub("{B}", "C:\\Dir\\tool.exe /y");
    sys.reg().Put(RootKey::LocalMachine, kComponents + "\\{B}", "IsInstalled", RegType::Sz, "");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");

    EXPECT_FALSE(Check());
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ActiveSetupTest, EmptyStubPathIsPassedOver) {
    PutStub("{A}", "");
    sys.reg().MakeKey(RootKey::LocalMachine, kComponents + "\\{B}");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");
    EXPECT_FALSE(Check());
}

TEST_F(ActiveSetupTest, TrustedStubIsPassedOverOnlyForTheWholeCommand) {
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    PutStub("{B}", "C:\\Dir\\tool.exe");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");
    trusted.entries = {"c:\\dir\\TOOL.EXE"};

    EXPECT_TRUE(Check());

    // {B} is trusted as a whole; {A} carries an argument that the entry does not.
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).caption, "C:\\Dir\\tool.exe");

    trusted.entries.push_back("C:\\DIR\\tool.exe /X");
    list.Clear();
    EXPECT_FALSE(Check());
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ActiveSetupTest, BakIsRemovedFromTheCaption) {
    sys.fs().AddFile("C:\\Dir\\tool.exe.bak", "MZ");
    PutStub("{A}", "C:\\Dir\\tool.exe.bak /x");
    PutRun("Tool", "C:\\Dir\\tool.exe.bak /x");

    EXPECT_TRUE(Check());

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).caption, "C:\\Dir\\tool.exe");
}

TEST_F(ActiveSetupTest, FoundOnlyDisabledGivesARowUnlessIgnoringSafeStartups) {
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    PutRun("Tool", "C:\\Dir\\tool.exe.bak /x");

    options.ignoreSafe = true;
    EXPECT_FALSE(Check());
    EXPECT_EQ(list.Count(), 0u);

    options.ignoreSafe = false;
    EXPECT_TRUE(Check());
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_TRUE(list.At(0).data->RegList[0].Disabled);
}

TEST_F(ActiveSetupTest, TwoComponentsGiveTwoRowsAfterTheExistingOnes) {
    list.Add("C:\\Dir\\tool.exe", "1234", "Possible Bot Process, 1 Start up\\s detected",
             std::make_unique<zorvik::ProcInfo>());
    PutStub("{A}", "C:\\Dir\\tool.exe /x");
    PutStub("{B}", "C:\\Dir\\tool.exe /y");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");

    EXPECT_TRUE(Check());

    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).pid, "1234");
    EXPECT_EQ(list.At(1).pid, "-1");
    EXPECT_EQ(list.At(2).pid, "-1");
    EXPECT_EQ(list.At(1).caption, list.At(2).caption);
    EXPECT_NE(list.At(1).data.get(), list.At(2).data.get());
    EXPECT_EQ(list.At(2).details, Detected(1, "Probable Bot Loader, "));
}

// A StubPath that is a number or bytes cannot stop the check; the components after it count.
TEST_F(ActiveSetupTest, StubPathThatIsNotTextIsPassedOver) {
    sys.reg().Put(RootKey::LocalMachine, kComponents + "\\{A}", "StubPath", RegType::Dword,
                  std::string("\x01\0\0\0", 4));
    sys.reg().Put(RootKey::LocalMachine, kComponents + "\\{B}", "StubPath", RegType::Binary,
                  "C:\\Dir\\tool.exe /x");
    PutStub("{C}", "C:\\Dir\\tool.exe /x");
    PutRun("Tool", "C:\\Dir\\tool.exe /x");

    EXPECT_TRUE(Check());
    EXPECT_EQ(list.Count(), 1u);
}

TEST_F(ActiveSetupTest, ExpandableStubPathIsText) {
    sys.reg().Put(RootKey::LocalMachine, kComponents + "\\{A}", "StubPath", RegType::ExpandSz,
                  std::string("C:\\Dir\\tool.exe /x\0", 19));
    PutRun("Tool", "C:\\Dir\\tool.exe /x");

    EXPECT_TRUE(Check());
    EXPECT_EQ(list.Count(), 1u);
}

TEST_F(ActiveSetupTest, StubWithoutArgumentsIsSearchedByItsWholePath) {
    PutStub("{A}", "C:\\Dir\\tool.exe");
    PutRun("Name only", "tool.exe");
    PutRun("Full path", "c:\\dir\\tool.exe -q");

    EXPECT_TRUE(Check());

    ASSERT_EQ(list.Count(), 1u);
    ASSERT_EQ(list.At(0).data->RegList.size(), 1u);
    EXPECT_EQ(list.At(0).data->RegList[0].Name, "Full path");
}

}  // namespace
