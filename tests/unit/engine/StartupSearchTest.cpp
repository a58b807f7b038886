#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/base/TextLines.h"
#include "unit/engine/ScanTestSupport.h"

using platform::RegType;
using platform::RootKey;
using scantest::Detected;
using scantest::IniRule;
using scantest::kRunKey;
using scantest::PathRule;
using scantest::RegRule;
using scantest::RunRule;

namespace {

class StartupSearchTest : public scantest::ScanTest {};

TEST_F(StartupSearchTest, RunValueNamingTheProgramIsOneEnabledHit) {
    WriteRules(RunRule());
    PutRun("Other", "C:\\Windows\\other.exe");
    PutRun("Prog", "C:\\Program Files\\Prog\\PROG.EXE /min");

    const auto result = Search("prog.exe", "PROG~1.EXE");

    EXPECT_TRUE(result.listed);
    ASSERT_EQ(result.info.RegList.size(), 1u);
    const zorvik::RegStart& hit = result.info.RegList[0];
    EXPECT_EQ(hit.Root, "HKEY_CURRENT_USER");
    EXPECT_EQ(hit.Key, kRunKey);
    EXPECT_EQ(hit.Name, "Prog");
    EXPECT_FALSE(hit.Disabled);
    EXPECT_TRUE(result.info.IniList.empty());
    EXPECT_TRUE(result.info.FolList.empty());
    EXPECT_TRUE(result.info.FilList.empty());
    EXPECT_EQ(result.details, Detected(1));
}

struct SafeCase {
    const char* what;
    std::vector<std::string> commands;  // Run values, in order
    bool ignoreSafe;
    bool listed;
    std::vector<bool> disabled;  // of the hits, in order
};

class IgnoreSafeTest : public scantest::ScanTest,
                       public ::testing::WithParamInterface<SafeCase> {};

TEST_P(IgnoreSafeTest, ListsUnlessEveryHitIsDisabled) {
    const SafeCase& c = GetParam();
    WriteRules(RunRule());
    for (std::size_t i = 0; i < c.commands.size(); ++i)
        PutRun("V" + std::to_string(i), c.commands[i]);
    options.ignoreSafe = c.ignoreSafe;

    const auto result = Search("prog.exe", "PROG~1.EXE");

    EXPECT_EQ(result.listed, c.listed);
    std::vector<bool> disabled;
    for (const auto& hit : result.info.RegList) disabled.push_back(hit.Disabled);
    EXPECT_EQ(disabled, c.disabled);
    // The count is appended whether or not the program is listed.
    EXPECT_EQ(result.details, Detected(static_cast<int>(c.disabled.size())));
    EXPECT_EQ(options.reads, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IgnoreSafeTest,
    ::testing::Values(
        SafeCase{"enabled", {"C:\\P\\prog.exe /min"}, false, true, {false}},
        SafeCase{"enabledIgnoring", {"C:\\P\\prog.exe /min"}, true, true, {false}},
        SafeCase{"disabled", {"C:\\P\\prog.exe.bak /min"}, false, true, {true}},
        SafeCase{"disabledIgnoring", {"C:\\P\\prog.exe.bak /min"}, true, false, {true}},
        SafeCase{"shortDisabledIgnoring", {"C:\\P\\PROG~1.EXE.BAK"}, true, false, {true}},
        SafeCase{"mixedIgnoring", {"C:\\P\\prog.exe.bak", "C:\\Q\\prog.exe"}, true, true,
                 {true, false}},
        SafeCase{"noHit", {"C:\\P\\other.exe"}, false, false, {}},
        SafeCase{"noHitIgnoring", {}, true, false, {}}),
    [](const auto& info) { return std::string(info.param.what); });

struct NameCase {
    const char* what;
    const char* programFileName;
    const char* shortFileName;
    const char* text;
    bool names;
    bool disabled;
};

class NameTestTest : public scantest::ScanTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameTestTest, SubstringOfLongElseShortNameAfterAsciiLowerCasing) {
    const NameCase& c = GetParam();
    WriteRules(RegRule("One value", "HKEY_CURRENT_USER", "Software\\Test", "CHECK", "Cmd"));
    sys.reg().PutString(RootKey::CurrentUser, "Software\\Test", "Cmd", c.text);

    const auto result = Search(c.programFileName, c.shortFileName);

    ASSERT_EQ(result.info.RegList.size(), c.names ? 1u : 0u);
    EXPECT_EQ(result.listed, c.names);
    if (c.names) {
        EXPECT_EQ(result.info.RegList[0].Disabled, c.disabled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameTestTest,
    ::testing::Values(
        NameCase{"exact", "prog.exe", "", "prog.exe", true, false},
        NameCase{"substring", "prog.exe", "", "C:\\Apps\\myprog.exe -q", true, false},
        NameCase{"caseFolded", "Prog.Exe", "", "C:\\APPS\\PROG.EXE", true, false},
        NameCase{"cutShort", "prog.exe", "", "C:\\Apps\\prog.ex", false, false},
        NameCase{"shortNameOnly", "program file.exe", "PROGRA~1.EXE",
                 "C:\\PROGRA~1\\PROGRA~1.EXE /s", true, false},
        NameCase{"shortNameDisabled", "program file.exe", "PROGRA~1.EXE",
                 "C:\\PROGRA~1\\progra~1.exe.bak", true, true},
        NameCase{"longDisabled", "prog.exe", "PROG~1.EXE", "C:\\P\\PROG.EXE.BAK -x", true, true},
        NameCase{"bakElsewhereIsNotDisabled", "prog.exe", "PROG~1.EXE",
                 "C:\\P\\prog.exe /log c:\\x.bak", true, false},
        // Without a short name its disabled form is ".bak" alone.
        NameCase{"bakElsewhereWithoutShortName", "prog.exe", "", "C:\\P\\prog.exe /log c:\\x.bak",
                 true, true},
        NameCase{"emptyShortNameNamesNothing", "absent.exe", "", "C:\\P\\prog.exe", false, false},
        // Only A to Z are folded: \xD6 and \xF6 are different letters here.
        NameCase{"nonAsciiNotFolded", "pr\xD6g.exe", "", "C:\\pr\xF6g.exe", false, false},
        NameCase{"nonAsciiSame", "pr\xD6g.exe", "", "C:\\PR\xD6G.EXE", true, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(StartupSearchTest, DetailsAreAppendedToTheCallersText) {
    WriteRules(RunRule());
    PutRun("A", "c:\\prog.exe");
    PutRun("B", "c:\\prog.exe.bak");

    EXPECT_EQ(Search("prog.exe", "", "Probable Bot Loader, ").details,
              Detected(2, "Probable Bot Loader, "));
    EXPECT_EQ(Search("prog.exe", "", "").details, "2 Start up\\s detected");
}

TEST_F(StartupSearchTest, OptionIsReadAtTheEndOfEverySearch) {
    WriteRules(RunRule());
    PutRun("A", "c:\\prog.exe.bak");

    EXPECT_TRUE(Search("prog.exe").listed);
    options.ignoreSafe = true;
    EXPECT_FALSE(Search("prog.exe").listed);
    options.ignoreSafe = false;
    EXPECT_TRUE(Search("prog.exe").listed);
    EXPECT_EQ(options.reads, 3);
}

TEST_F(StartupSearchTest, CheckWithoutNameExaminesTheDefaultValue) {
    WriteRules(RegRule("Default", "HKEY_LOCAL_MACHINE", "Software\\Test", "CHECK"));
    sys.reg().PutString(RootKey::LocalMachine, "Software\\Test", "", "c:\\prog.exe");
    sys.reg().PutString(RootKey::LocalMachine, "Software\\Test", "Named", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 1u);
    EXPECT_EQ(result.info.RegList[0].Root, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(result.info.RegList[0].Name, "");
}

TEST_F(StartupSearchTest, LeadingBackslashInKeyIsIgnored) {
    WriteRules(RegRule("Run", "HKEY_CURRENT_USER", "\\" + kRunKey, "ENUM"));
    PutRun("Prog", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 1u);
    EXPECT_EQ(result.info.RegList[0].Key, "\\" + kRunKey);
}

TEST_F(StartupSearchTest, Enum2TestsTextValuesOfEverySubkeyAndPassesOverOthers) {
    const std::string services = "SYSTEM\\CurrentControlSet\\Services";
    WriteRules(RegRule("Services", "HKEY_LOCAL_MACHINE", services, "ENUM2"));
    auto& reg = sys.reg();
    const std::string a = services + "\\AlphaSvc";
    reg.Put(RootKey::LocalMachine, a, "Start", RegType::Dword, std::string("\x02\0\0\0", 4));
    reg.Put(RootKey::LocalMachine, a, "Blob", RegType::Binary, "c:\\prog.exe");
    reg.Put(RootKey::LocalMachine, a, "List", RegType::MultiSz, std::string("c:\\prog.exe\0\0", 13));
    reg.PutString(RootKey::LocalMachine, a, "ImagePath", "c:\\bots\\prog.exe");
    const std::string b = services + "\\BetaSvc";
    reg.Put(RootKey::LocalMachine, b, "ImagePath", RegType::ExpandSz,
            std::string("%SystemRoot%\\prog.exe.bak\0", 26));
    reg.PutString(RootKey::LocalMachine, services + "\\Gamma", "ImagePath", "c:\\other.exe");
    // A value of the walked key itself is not examined, only those of its subkeys.
    reg.PutString(RootKey::LocalMachine, services, "Direct", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 2u);
    EXPECT_EQ(result.info.RegList[0].Key, a);
    EXPECT_EQ(result.info.RegList[0].Name, "ImagePath");
    EXPECT_FALSE(result.info.RegList[0].Disabled);
    EXPECT_EQ(result.info.RegList[1].Key, b);
    EXPECT_TRUE(result.info.RegList[1].Disabled);
    EXPECT_EQ(result.details, Detected(2));
}

// A number planted in a Run key must not hide what follows it, nor stop the rules after it.
TEST_F(StartupSearchTest, EnumAndCheckPassOverValuesThatAreNotText) {
    WriteRules(RunRule() +
               RegRule("Number", "HKEY_CURRENT_USER", "Software\\Test", "CHECK", "Count") +
               RegRule("Bytes", "HKEY_CURRENT_USER", "Software\\Test", "CHECK", "Blob") +
               RegRule("Shell", "HKEY_CURRENT_USER", "Software\\Test", "CHECK", "Shell"));
    auto& reg = sys.reg();
    reg.Put(RootKey::CurrentUser, kRunKey, "Planted", RegType::Dword, std::string("\x01\0\0\0", 4));
    reg.Put(RootKey::CurrentUser, kRunKey, "Wide", RegType::Qword, std::string(8, '\x07'));
    PutRun("Prog", "c:\\prog.exe");
    reg.Put(RootKey::CurrentUser, "Software\\Test", "Count", RegType::Dword,
            std::string("\x05\0\0\0", 4));
    reg.Put(RootKey::CurrentUser, "Software\\Test", "Blob", RegType::Binary, "c:\\prog.exe");
    reg.PutString(RootKey::CurrentUser, "Software\\Test", "Shell", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 2u);
    EXPECT_EQ(result.info.RegList[0].Name, "Prog");
    EXPECT_EQ(result.info.RegList[1].Name, "Shell");
    EXPECT_EQ(result.details, Detected(2));
}

TEST_F(StartupSearchTest, TextIsComparedUpToItsFirstZeroByte) {
    WriteRules(RunRule());
    sys.reg().Put(RootKey::CurrentUser, kRunKey, "Hidden", RegType::Sz,
                  std::string("c:\\a.exe\0c:\\prog.exe\0", 21));
    sys.reg().Put(RootKey::CurrentUser, kRunKey, "NoZero", RegType::Sz, "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 1u);
    EXPECT_EQ(result.info.RegList[0].Name, "NoZero");
}

struct AcceptCase {
    const char* what;
    const char* rule;
    bool found;
};

class AcceptedWordsTest : public scantest::ScanTest,
                          public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(AcceptedWordsTest, TypeRootAndActionAreExactAfterTrimming) {
    WriteRules(GetParam().rule);
    PutRun("Prog", "c:\\prog.exe");
    // The same value under the other roots, so that a root taken wrongly would find it.
    sys.reg().PutString(RootKey::LocalMachine, kRunKey, "Prog", "c:\\prog.exe");
    sys.reg().PutString(RootKey::ClassesRoot, kRunKey, "Prog", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    EXPECT_EQ(result.info.RegList.size(), GetParam().found ? 1u : 0u);
    EXPECT_EQ(result.listed, GetParam().found);
}

#define RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedWordsTest,
    ::testing::Values(
        AcceptCase{"plain", "[R]\nType=REG\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=ENUM\n", true},
        AcceptCase{"blanksAroundType",
                   "[R]\nType =   REG  \nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=ENUM\n", true},
        AcceptCase{"quotedAction",
                   "[R]\nType=REG\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=\"ENUM\"\n", true},
        AcceptCase{"keyNamesAnyCase",
                   "[R]\nTYPE=REG\nroot=HKEY_CURRENT_USER\nKEY=" RUN_KEY "\naction=ENUM\n", true},
        AcceptCase{"lowerType", "[R]\nType=reg\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=ENUM\n", false},
        AcceptCase{"mixedType", "[R]\nType=Reg\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=ENUM\n", false},
        AcceptCase{"lowerAction", "[R]\nType=REG\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=enum\n", false},
        AcceptCase{"noAction", "[R]\nType=REG\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\n", false},
        AcceptCase{"lowerRoot", "[R]\nType=REG\nRoot=hkey_current_user\nKey=" RUN_KEY "\nAction=ENUM\n", false},
        AcceptCase{"usersRoot", "[R]\nType=REG\nRoot=HKEY_USERS\nKey=" RUN_KEY "\nAction=ENUM\n", false},
        AcceptCase{"noRoot", "[R]\nType=REG\nKey=" RUN_KEY "\nAction=ENUM\n", false},
        AcceptCase{"noType", "[R]\nRoot=HKEY_CURRENT_USER\nKey=" RUN_KEY "\nAction=ENUM\n", false}),
    [](const auto& info) { return std::string(info.param.what); });
#undef RUN_KEY

TEST_F(StartupSearchTest, TwoSectionsNamingTheSamePlaceCountTwice) {
    WriteRules(RunRule("Run one") + RunRule("Run two"));
    PutRun("Prog", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.RegList.size(), 2u);
    EXPECT_EQ(result.info.RegList[0].Name, result.info.RegList[1].Name);
    EXPECT_EQ(result.details, Detected(2));
}

TEST_F(StartupSearchTest, RulesAreReadAfreshForEverySearch) {
    WriteRules(RunRule());
    PutRun("Prog", "c:\\prog.exe");
    ASSERT_EQ(Search("prog.exe").hits(), 1);

    ASSERT_TRUE(sys.files().Delete(scantest::kRulesPath));
    const auto without = Search("prog.exe");
    EXPECT_EQ(without.hits(), 0);
    EXPECT_FALSE(without.listed);
    EXPECT_EQ(without.details, Detected(0));

    WriteRules(RunRule());
    EXPECT_EQ(Search("prog.exe").hits(), 1);
}

TEST_F(StartupSearchTest, IniRuleReadsTheEntryOfAProfileFile) {
    WriteRules(IniRule("win.ini load", "win.ini", "windows", "load") +
               IniRule("full path", "C:\\Data\\boot.ini", "boot", "shell") +
               IniRule("missing entry", "win.ini", "windows", "run") +
               IniRule("missing file", "C:\\none.ini", "boot", "shell"));
    sys.fs().AddFile("C:\\WINDOWS\\win.ini", "[windows]\r\nload = C:\\P\\PROG.EXE.bak\r\n");
    sys.fs().AddFile("C:\\Data\\boot.ini", "[Boot]\r\nShell=explorer.exe c:\\p\\prog.exe\r\n");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.IniList.size(), 2u);
    EXPECT_EQ(result.info.IniList[0].FileName, "win.ini");
    EXPECT_EQ(result.info.IniList[0].Section, "windows");
    EXPECT_EQ(result.info.IniList[0].Ident, "load");
    EXPECT_TRUE(result.info.IniList[0].Disabled);
    EXPECT_EQ(result.info.IniList[1].FileName, "C:\\Data\\boot.ini");
    EXPECT_EQ(result.info.IniList[1].Section, "boot");
    EXPECT_FALSE(result.info.IniList[1].Disabled);
    EXPECT_EQ(result.details, Detected(2));
}

class FolderRuleTest : public scantest::ScanTest {
protected:
    void SetUp() override { sys.users().SetUsers({"bob"}); }
};

TEST_F(FolderRuleTest, EntriesNamingTheProgramAreHitsDotNamesAreNot) {
    WriteRules(PathRule("Startup", "FOL", "Users\\*USER*\\Startup"));
    const std::string folder = "C:\\Users\\bob\\Startup";
    sys.fs().AddFile(folder + "\\.prog.exe", "x");
    sys.fs().AddFile(folder + "\\..prog.exe.bak", "x");
    sys.fs().AddDirectory(folder + "\\a-prog.exe");  // a sub-folder named like the program
    sys.fs().AddFile(folder + "\\notes.txt", "prog.exe");
    sys.fs().AddFile(folder + "\\prog.exe", "x");
    sys.fs().AddFile(folder + "\\prog.exe.bak", "x");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.FolList.size(), 3u);
    int disabled = 0;
    for (const auto& hit : result.info.FolList) {
        EXPECT_EQ(hit.Path, folder);
        disabled += hit.Disabled ? 1 : 0;
    }
    EXPECT_EQ(disabled, 1);
    EXPECT_EQ(result.details, Detected(3));
}

TEST_F(FolderRuleTest, HitsFollowTheOrderOfTheListing) {
    WriteRules(PathRule("Startup", "FOL", "Startup"));
    sys.fs().AddFile("C:\\Startup\\prog.exe", "x");
    sys.fs().AddFile("C:\\Startup\\prog.exe.bak", "x");

    const auto listing = sys.files().List("C:\\Startup\\*");
    ASSERT_TRUE(listing.has_value());
    std::vector<bool> expected;
    for (const auto& entry : *listing)
        if (entry.name[0] != '.') expected.push_back(entry.name.size() > 8);

    const auto result = Search("prog.exe");

    std::vector<bool> disabled;
    for (const auto& hit : result.info.FolList) disabled.push_back(hit.Disabled);
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(disabled.size(), 2u);
}

TEST_F(FolderRuleTest, EachAccountGetsItsOwnFolder) {
    sys.users().SetUsers({"alice", "bob", "carol"});
    WriteRules(PathRule("Startup", "FOL", "Users\\*USER*\\Startup\\*USER*"));
    sys.fs().AddFile("C:\\Users\\alice\\Startup\\alice\\other.exe", "x");
    sys.fs().AddFile("C:\\Users\\bob\\Startup\\bob\\prog.exe", "x");
    sys.fs().AddFile("C:\\Users\\carol\\Startup\\carol\\PROG.EXE", "x");

    const auto result = Search("prog.exe");

    ASSERT_EQ(result.info.FolList.size(), 2u);
    EXPECT_EQ(result.info.FolList[0].Path, "C:\\Users\\bob\\Startup\\bob");
    EXPECT_EQ(result.info.FolList[1].Path, "C:\\Users\\carol\\Startup\\carol");
}

TEST_F(FolderRuleTest, FolderWithoutPlaceholderIsListedOncePerAccount) {
    sys.users().SetUsers({"alice", "bob", "carol"});
    WriteRules(PathRule("All users", "FOL", "ProgramData\\Startup"));
    sys.fs().AddFile("C:\\ProgramData\\Startup\\prog.exe", "x");

    const auto result = Search("prog.exe");

    EXPECT_EQ(result.info.FolList.size(), 3u);
    EXPECT_EQ(result.details, Detected(3));
}

TEST_F(FolderRuleTest, NoAccountsMeansNoFolderIsListed) {
    sys.users().SetUsers({});
    WriteRules(PathRule("All users", "FOL", "ProgramData\\Startup"));
    sys.fs().AddFile("C:\\ProgramData\\Startup\\prog.exe", "x");

    const auto result = Search("prog.exe");

    EXPECT_TRUE(result.info.FolList.empty());
    EXPECT_FALSE(result.listed);
}

TEST_F(FolderRuleTest, MissingFolderGivesNoHitsAndTheSearchGoesOn) {
    WriteRules(PathRule("Missing", "FOL", "Nowhere\\*USER*") + RunRule());
    PutRun("Prog", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    EXPECT_TRUE(result.info.FolList.empty());
    EXPECT_EQ(result.info.RegList.size(), 1u);
}

struct LinesCase {
    const char* what;
    std::string bytes;
    std::vector<bool> disabled;  // of the hits, in order
};

class TextFileRuleTest : public scantest::ScanTest,
                         public ::testing::WithParamInterface<LinesCase> {};

TEST_P(TextFileRuleTest, EachLineNamingTheProgramIsAHit) {
    WriteRules(PathRule("Batch", "FIL", "autoexec.bat"));
    sys.fs().AddFile("C:\\autoexec.bat", GetParam().bytes);

    const auto result = Search("prog.exe", "PROG~1.EXE");

    std::vector<bool> disabled;
    for (const auto& hit : result.info.FilList) {
        EXPECT_EQ(hit.Path, "C:\\autoexec.bat");
        disabled.push_back(hit.Disabled);
    }
    EXPECT_EQ(disabled, GetParam().disabled);
    EXPECT_EQ(result.details, Detected(static_cast<int>(GetParam().disabled.size())));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFileRuleTest,
    ::testing::Values(
        LinesCase{"crLf", "prog.exe\r\nprog.exe\r\nprog.exe\r\n", {false, false, false}},
        LinesCase{"crAlone", "prog.exe\rprog.exe\rprog.exe", {false, false, false}},
        LinesCase{"lfAloneIsOneLine", "prog.exe\nprog.exe\nprog.exe\n", {false}},
        // The ".bak" after a line feed belongs to the same line and disables it.
        LinesCase{"lfStaysInLine", "prog.exe\nprog.exe.bak\r\nprog.exe", {true, false}},
        LinesCase{"disabledLine", "rem prog.exe.bak\r\nstart prog.exe\r\n", {true, false}},
        LinesCase{"ctrlZEndsTheFile", "prog.exe\r\n\x1Aprog.exe\r\nprog.exe\r\n", {false}},
        LinesCase{"ctrlZMidLine", "set x=1\r\nstart \x1Aprog.exe\r\n", {}},
        LinesCase{"empty", "", {}},
        LinesCase{"noMatch", "echo off\r\npath c:\\dos\r\n", {}}),
    [](const auto& info) { return std::string(info.param.what); });

// A folder, a locked file or one too large for a start-up list in place of a text file gives no
// hits; the rules after it still run.
TEST_F(StartupSearchTest, UnreadableTextFileGivesNoHitsAndTheSearchGoesOn) {
    std::string huge = "prog.exe\r\n";
    huge.resize(platform::kReadAllLimit + 1, 'x');
    sys.fs().AddFile("C:\\huge.bat", huge);
    sys.fs().AddDirectory("C:\\Batch.bat");
    sys.fs().AddFile("C:\\locked.bat", "prog.exe\r\n");
    sys.fs().Lock("C:\\locked.bat", true);
    sys.fs().AddFile("C:\\open.bat", "prog.exe\r\n");
    WriteRules(PathRule("Folder", "FIL", "Batch.bat") + PathRule("Locked", "FIL", "locked.bat") +
               PathRule("Drive root", "FIL", "") + PathRule("Missing", "FIL", "none.bat") +
               PathRule("Huge", "FIL", "huge.bat") + RunRule() + PathRule("Open", "FIL", "open.bat"));
    PutRun("Prog", "c:\\prog.exe");

    const auto result = Search("prog.exe");

    EXPECT_TRUE(result.listed);
    EXPECT_EQ(result.info.RegList.size(), 1u);
    ASSERT_EQ(result.info.FilList.size(), 1u);
    EXPECT_EQ(result.info.FilList[0].Path, "C:\\open.bat");
    EXPECT_EQ(result.details, Detected(2));
}

TEST_F(StartupSearchTest, HitsOfAllRulesAreGatheredInRuleOrder) {
    sys.users().SetUsers({"bob"});
    WriteRules(PathRule("Batch", "FIL", "start.bat") + RunRule("Run one") +
               IniRule("Ini", "win.ini", "windows", "run") +
               PathRule("Folder", "FOL", "Users\\*USER*\\Startup") + RunRule("Run two"));
    sys.fs().AddFile("C:\\start.bat", "prog.exe\r\n");
    sys.fs().AddFile("C:\\WINDOWS\\win.ini", "[windows]\r\nrun=prog.exe\r\n");
    sys.fs().AddFile("C:\\Users\\bob\\Startup\\prog.exe", "x");
    PutRun("Prog", "c:\\prog.exe.bak");

    options.ignoreSafe = true;
    const auto result = Search("prog.exe");

    EXPECT_TRUE(result.listed);
    EXPECT_EQ(result.info.FilList.size(), 1u);
    EXPECT_EQ(result.info.IniList.size(), 1u);
    EXPECT_EQ(result.info.FolList.size(), 1u);
    ASSERT_EQ(result.info.RegList.size(), 2u);
    EXPECT_TRUE(result.info.RegList[0].Disabled);
    EXPECT_EQ(result.details, Detected(5));
}

TEST_F(StartupSearchTest, FindingsAreOnlyAppendedTo) {
    WriteRules(RunRule());
    PutRun("Prog", "c:\\prog.exe");
    zorvik::ProcInfo info;
    info.RegList.push_back(zorvik::RegStart{"HKEY_LOCAL_MACHINE", "Earlier", "Kept", true});
    std::string details;

    EXPECT_TRUE(zorvik::FindStartups(sys, options, "prog.exe", "", info, details));

    ASSERT_EQ(info.RegList.size(), 2u);
    EXPECT_EQ(info.RegList[0].Name, "Kept");
    EXPECT_TRUE(info.RegList[0].Disabled);
    EXPECT_EQ(info.RegList[1].Name, "Prog");
    EXPECT_EQ(details, "1 Start up\\s detected");
}

// ---- user accounts ----

class UserAccountsTest : public scantest::ScanTest {};

std::vector<std::string> ManyNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("user" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7), 'x'));
    return names;
}

TEST_F(UserAccountsTest, ManyAccountsArePagedAndEachListedOnceInOrder) {
    const auto names = ManyNames(250);
    sys.users().SetUsers(names);

    zorvik::StrAr listed;
    zorvik::GetUserAccounts(sys, listed);

    EXPECT_EQ(listed, names);
    EXPECT_GE(sys.users().CallCount(), 3);  // at most 100 a call
}

TEST_F(UserAccountsTest, NamesAreAppendedToTheList) {
    sys.users().SetUsers({"bob", "carol"});
    zorvik::StrAr listed{"earlier"};
    zorvik::GetUserAccounts(sys, listed);
    EXPECT_EQ(listed, (zorvik::StrAr{"earlier", "bob", "carol"}));
}

TEST_F(UserAccountsTest, FirstCallFailingGivesNoNames) {
    sys.users().SetUsers({"bob"});
    sys.users().FailFromCall(0, platform::kErrorAccessDenied);
    zorvik::StrAr listed;
    zorvik::GetUserAccounts(sys, listed);
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(sys.users().CallCount(), 1);
}

struct PagingFailure {
    const char* what;
    std::uint32_t result;
};

class UserPagingFailureTest : public scantest::ScanTest,
                              public ::testing::WithParamInterface<PagingFailure> {};

// A later call that fails, or that answers "more data" with nothing in it, ends the listing
// with the names of the calls before it.
TEST_P(UserPagingFailureTest, LaterCallEndsTheListingKeepingEarlierNames) {
    const auto names = ManyNames(250);
    sys.users().SetUsers(names);
    sys.users().FailFromCall(1, GetParam().result);

    zorvik::StrAr listed;
    zorvik::GetUserAccounts(sys, listed);

    ASSERT_FALSE(listed.empty());
    ASSERT_LT(listed.size(), names.size());
    EXPECT_TRUE(std::equal(listed.begin(), listed.end(), names.begin()));
    EXPECT_EQ(sys.users().CallCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, UserPagingFailureTest,
                         ::testing::Values(PagingFailure{"accessDenied", 5},
                                           PagingFailure{"moreDataWithoutEntries", 234},
                                           PagingFailure{"successWithoutEntries", 0}),
                         [](const auto& info) { return std::string(info.param.what); });

// Answers the same page for ever, and fails the test rather than hanging once the listing
// has asked far more often than any paging needs.
class EndlessAccounts : public platform::Accounts {
public:
    platform::UserPage page;
    int calls = 0;
    platform::UserPage QueryDisplayUsers(std::uint32_t, std::uint32_t, std::uint32_t) override {
        if (++calls > 50) throw std::runtime_error("the listing does not end");
        return page;
    }
};

class EndlessAccountsSystem : public platform::System {
public:
    platform::sim::SimSystem sim;
    EndlessAccounts endless;
    platform::Registry& registry() override { return sim.registry(); }
    platform::Files& files() override { return sim.files(); }
    platform::Profile& profile() override { return sim.profile(); }
    platform::Accounts& accounts() override { return endless; }
    platform::Processes& processes() override { return sim.processes(); }
    platform::Sockets& sockets() override { return sim.sockets(); }
    platform::Shell& shell() override { return sim.shell(); }
    platform::Ui& ui() override { return sim.ui(); }
};

TEST(UserAccountsEndTest, MoreDataWithoutEntriesEndsTheListing) {
    EndlessAccountsSystem sys;
    sys.endless.page.result = platform::kNetMoreData;
    zorvik::StrAr listed;
    EXPECT_NO_THROW(zorvik::GetUserAccounts(sys, listed));
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(sys.endless.calls, 1);
}

TEST(UserAccountsEndTest, MoreDataThatDoesNotMoveOnEndsTheListing) {
    EndlessAccountsSystem sys;
    sys.endless.page.result = platform::kNetMoreData;
    sys.endless.page.entries = {{"alice", 7}, {"bob", 0}};
    zorvik::StrAr listed;
    EXPECT_NO_THROW(zorvik::GetUserAccounts(sys, listed));
    EXPECT_EQ(listed, (zorvik::StrAr{"alice", "bob"}));
    EXPECT_EQ(sys.endless.calls, 1);
}

// ---- line splitting ----

struct SplitCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
};

class SplitTextLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextLinesTest, CarriageReturnEndsALine) {
    EXPECT_EQ(zorvik::SplitTextLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextLinesTest,
    ::testing::Values(
        SplitCase{"crLf", "a\r\nb\r\n", {"a", "b"}},
        SplitCase{"cr", "a\rb", {"a", "b"}},
        SplitCase{"lf", "a\nb\n", {"a\nb\n"}},
        SplitCase{"lfBeforeCr", "a\n\rb", {"a\n", "b"}},
        SplitCase{"crCrLf", "a\r\r\nb", {"a", "", "b"}},
        SplitCase{"crLfLf", "a\r\n\nb", {"a", "\nb"}},
        SplitCase{"blankLines", "\r\n\r\nx", {"", "", "x"}},
        SplitCase{"ctrlZ", "a\r\nb\x1A\r\nc", {"a", "b"}},
        SplitCase{"ctrlZFirst", "\x1A" "a", {}},
        SplitCase{"zeroByteKept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
        SplitCase{"empty", "", {}}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
