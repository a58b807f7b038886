// Task Manager's verdict beside a Run-key hit: read from StartupApproved, never changing the hit.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/startup/StartupApproval.h"
#include "platform/sim/system/SimSystem.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/parse/ShellLinkBuilder.h"

namespace {

using platform::RootKey;
using zorvik::StartupApproval;

const std::string kApproved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRun32 = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(StartupApprovalTest, FirstByteOfTheEntryInTheMatchingKeyGivesTheVerdict) {
    struct Case {
        const char* root;       // as the rule writes it
        std::string key;        // the hit's key
        RootKey approvedRoot;   // where the StartupApproved entry is planted
        std::string approvedKey;
        std::string data;       // empty text: no entry planted
        StartupApproval expected;
    };
    const std::string allowed("\x02\0\0\0\0\0\0\0\0\0\0\0", 12);
    const std::string disabledAt("\x03\0\0\0\x10\x20\x30\x40\x50\x60\x70\x01", 12);
    const Case cases[] = {
        {"HKEY_CURRENT_USER", kRun, RootKey::CurrentUser, "Run", allowed, StartupApproval::Allowed},
        {"HKEY_CURRENT_USER", kRun, RootKey::CurrentUser, "Run", disabledAt, StartupApproval::Disabled},
        {"HKEY_CURRENT_USER", kRun, RootKey::CurrentUser, "Run", std::string("\x01", 1), StartupApproval::Disabled},
        {"HKEY_CURRENT_USER", kRun, RootKey::CurrentUser, "Run", std::string("\x06", 1), StartupApproval::Unknown},
        {"HKEY_CURRENT_USER", kRun, RootKey::CurrentUser, "Run", "", StartupApproval::Unknown},
        {"HKEY_LOCAL_MACHINE", kRun, RootKey::LocalMachine, "Run", disabledAt, StartupApproval::Disabled},
        // The machine's verdict does not answer for the user's Run key.
        {"HKEY_CURRENT_USER", kRun, RootKey::LocalMachine, "Run", disabledAt, StartupApproval::Unknown},
        {"HKEY_LOCAL_MACHINE", kRun32, RootKey::LocalMachine, "Run32", disabledAt, StartupApproval::Disabled},
        {"HKEY_LOCAL_MACHINE", kRun32, RootKey::LocalMachine, "Run", disabledAt, StartupApproval::Unknown},
        // RunOnce and other keys have no verdict.
        {"HKEY_CURRENT_USER", kRun + "Once", RootKey::CurrentUser, "Run", disabledAt, StartupApproval::Unknown},
        {"HKEY_CLASSES_ROOT", kRun, RootKey::ClassesRoot, "Run", disabledAt, StartupApproval::Unknown},
    };
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        if (!c.data.empty())
            sys.reg().Put(c.approvedRoot, kApproved + c.approvedKey, "Bot", platform::RegType::Binary,
                          c.data);
        const zorvik::RegStart hit{c.root, c.key, "Bot", false};
        EXPECT_EQ(zorvik::RunValueApproval(sys, hit), c.expected) << c.root << '\\' << c.key
                                                                  << " / " << c.approvedKey;
    }
}

TEST(StartupApprovalTest, EachHitGetsItsVerdictInRowOrderAndKeepsItsDisabledFlag) {
    platform::sim::SimSystem sys;
    sys.reg().Put(RootKey::CurrentUser, kApproved + "Run", "Second", platform::RegType::Binary,
                  std::string("\x03\0\0\0", 4));
    zorvik::ProcInfo findings;
    findings.RegList.push_back({"HKEY_CURRENT_USER", kRun, "First", false});
    findings.RegList.push_back({"HKEY_CURRENT_USER", kRun, "Second", false});
    findings.FolList.push_back({"C:\\Startup", false, {}});

    const std::vector<StartupApproval> approvals = zorvik::ApprovalsOf(sys, findings);

    EXPECT_EQ(approvals, (std::vector<StartupApproval>{StartupApproval::Unknown,
                                                        StartupApproval::Disabled,
                                                        StartupApproval::Unknown}));
    EXPECT_FALSE(findings.RegList[1].Disabled);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

class FolderEntryApprovalTest : public scantest::ScanTest {};

// The search keeps each folder entry's own name, under which the verdict of the current user's
// folder or the folder of all users is found; other accounts' folders have none here.
TEST_F(FolderEntryApprovalTest, EntryOfTheUsersOrTheCommonFolderGetsTheVerdictOfItsName) {
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    sys.users().SetUsers({"alice", "bob"});
    WriteRules(scantest::PathRule("Each user", "FOL", "Users\\*USER*\\Startup") +
               scantest::PathRule("All users", "FOL", "ProgramData\\Startup"));
    sys.reg().PutString(RootKey::CurrentUser, shellFolders, "Startup", "c:\\users\\BOB\\Startup\\");
    sys.reg().PutString(RootKey::LocalMachine, shellFolders, "Common Startup", "C:\\ProgramData\\Startup");
    sys.fs().AddFile("C:\\Users\\alice\\Startup\\Prog.exe", "x");
    sys.fs().AddFile("C:\\Users\\bob\\Startup\\Prog.exe", "x");
    sys.fs().AddFile("C:\\ProgramData\\Startup\\prog.exe.lnk", "x");
    const std::string disabled("\x03\0\0\0", 4);
    const std::string allowed("\x02\0\0\0", 4);
    sys.reg().Put(RootKey::CurrentUser, kApproved + "StartupFolder", "Prog.exe",
                  platform::RegType::Binary, disabled);
    // Under the entry's name only: the machine's verdict on the bare program name is not it.
    sys.reg().Put(RootKey::LocalMachine, kApproved + "StartupFolder", "prog.exe",
                  platform::RegType::Binary, disabled);
    sys.reg().Put(RootKey::LocalMachine, kApproved + "StartupFolder", "prog.exe.lnk",
                  platform::RegType::Binary, allowed);

    const scantest::SearchResult result = Search("prog.exe");

    // One hit per account for the folder of all users, as the search lists it.
    ASSERT_EQ(result.info.FolList.size(), 4u);
    EXPECT_EQ(zorvik::ApprovalsOf(sys, result.info),
              (std::vector<StartupApproval>{StartupApproval::Unknown, StartupApproval::Disabled,
                                            StartupApproval::Allowed, StartupApproval::Allowed}));
    for (const zorvik::FilStart& hit : result.info.FolList) EXPECT_FALSE(hit.Disabled) << hit.Path;
}

// A shortcut's verdict is kept under the shortcut's name, as for any entry of the folder.
TEST_F(FolderEntryApprovalTest, ShortcutOfTheUsersFolderGetsTheVerdictOfItsName) {
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    sys.users().SetUsers({"bob"});
    WriteRules(scantest::PathRule("Shortcuts", "LNK", "Users\\*USER*\\Startup") +
               scantest::PathRule("Elsewhere", "LNK", "Other"));
    sys.reg().PutString(RootKey::CurrentUser, shellFolders, "Startup", "C:\\Users\\bob\\Startup");
    const std::string link = parse_test::BuildShellLink(
        parse_test::LinkParts().WithLinkInfo(parse_test::BuildLinkInfo("C:\\Apps\\prog.exe")));
    sys.fs().AddFile("C:\\Users\\bob\\Startup\\Updater.lnk", link);
    sys.fs().AddFile("C:\\Other\\Updater.lnk", link);
    sys.reg().Put(RootKey::CurrentUser, kApproved + "StartupFolder", "Updater.lnk",
                  platform::RegType::Binary, std::string("\x03\0\0\0", 4));

    const scantest::SearchResult result = Search("prog.exe");

    ASSERT_EQ(result.info.LnkList.size(), 2u);
    EXPECT_EQ(zorvik::ApprovalsOf(sys, result.info),
              (std::vector<StartupApproval>{StartupApproval::Disabled, StartupApproval::Unknown}));
    EXPECT_FALSE(result.info.LnkList[0].Disabled);
}

}  // namespace
