// The untFunc routines, on the simulated system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/base/untFunc.h"
#include "core/settings/StartWithWindows.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::RootKey;
using platform::sim::SimProcess;
using platform::sim::SimSystem;

const std::string kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\run";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Windows paths compare without regard to case.
#define EXPECT_SAME_PATH(expected, actual) EXPECT_EQ(Lower(expected), Lower(actual))

// ---- MakeBackupCommand -------------------------------------------------------------------

struct BackupCase {
    std::string command;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const BackupCase& c) { return os << "command \"" << c.command << "\""; }

class MakeBackupCommandTest : public ::testing::TestWithParam<BackupCase> {};

TEST_P(MakeBackupCommandTest, JoinsBakToTheProgramFile) {
    EXPECT_EQ(GetParam().expected, zorvik::MakeBackupCommand(GetParam().command));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MakeBackupCommandTest,
    ::testing::Values(
        BackupCase{"c:\\app.exe -x", "c:\\app.exe.bak -x"},
        BackupCase{"c:\\app.exe", "c:\\app.exe.bak"},
        BackupCase{"c:\\app\\app.exe -min", "c:\\app\\app.exe.bak -min"},
        BackupCase{"notepad", ".baknotepad"},
        BackupCase{"", ".bak"},
        // The last dot of the whole command decides, also inside an argument.
        BackupCase{"c:\\app.exe /log c:\\x.txt", "c:\\app.exe /log c:\\x.txt.bak"},
        BackupCase{"c:\\v1.2\\app -x", "c:\\v1.2\\app.bak -x"},
        BackupCase{"c:\\my app\\run.exe", "c:\\my app\\run.exe.bak"},
        // A zero character ends the file name like a blank.
        BackupCase{std::string("c:\\app.exe\0-x", 13), std::string("c:\\app.exe.bak\0-x", 17)},
        // Quoted: before the closing quote, arguments kept.
        BackupCase{"\"c:\\program files\\app.exe\" -min", "\"c:\\program files\\app.exe.bak\" -min"},
        BackupCase{"\"c:\\app.exe\"", "\"c:\\app.exe.bak\""},
        // A quote never closed: before the last character.
        BackupCase{"\"c:\\app.exe", "\"c:\\app.ex.bake"},
        BackupCase{"\"", ".bak\""}));

// ---- RootKeyFromName ---------------------------------------------------------------------

struct RootCase {
    std::string name;
    RootKey expected;
};

std::ostream& operator<<(std::ostream& os, const RootCase& c) { return os << "name \"" << c.name << "\""; }

class RootKeyFromNameTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootKeyFromNameTest, AcceptsOnlyTheThreeExactNames) {
    EXPECT_EQ(GetParam().expected, zorvik::RootKeyFromName(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Names, RootKeyFromNameTest,
    ::testing::Values(RootCase{"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
                      RootCase{"HKEY_CURRENT_USER", RootKey::CurrentUser},
                      RootCase{"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
                      RootCase{"hkey_local_machine", RootKey::None},
                      RootCase{"Hkey_Current_User", RootKey::None},
                      RootCase{"HKEY_USERS", RootKey::None},
                      RootCase{"HKLM", RootKey::None},
                      RootCase{"HKEY_LOCAL_MACHINE ", RootKey::None},
                      RootCase{"", RootKey::None}));

// ---- ExtractProgramName ------------------------------------------------------------------

struct NameCase {
    std::string command;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const NameCase& c) { return os << "command \"" << c.command << "\""; }

class ExtractProgramNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ExtractProgramNameTest, CutsTheFileNameOrLeavesTheCommand) {
    EXPECT_EQ(GetParam().expected, zorvik::ExtractProgramName(GetParam().command));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ExtractProgramNameTest,
    ::testing::Values(
        NameCase{"c:\\app\\app.exe -min", "app.exe"},
        NameCase{"c:\\app\\app.exe", "c:\\app\\app.exe"},
        NameCase{"app.exe -min", "app.exe"},
        // No blank after the last backslash: unchanged.
        NameCase{"c:\\program files\\app\\app.exe", "c:\\program files\\app\\app.exe"},
        NameCase{"c:\\app\\x -a\\b", "c:\\app\\x -a\\b"},
        // Quotes mean nothing here: the closing quote stays on.
        NameCase{"\"c:\\program files\\app.exe\" /x", "app.exe\""},
        // The last character is not looked at, so a trailing blank is not seen.
        NameCase{"c:\\app\\app.exe ", "c:\\app\\app.exe "},
        NameCase{"c:\\dir\\ x", ""},
        NameCase{"", ""}));

// ---- ReplaceAll ---------------------------------------------------------------------------

struct ReplaceCase {
    std::string text;
    std::string pattern;
    std::string replacement;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const ReplaceCase& c) {
    return os << "\"" << c.text << "\", \"" << c.pattern << "\" -> \"" << c.replacement << "\"";
}

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, LeavesNoOccurrenceAndEnds) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(c.expected, zorvik::ReplaceAll(c.text, c.pattern, c.replacement));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReplaceAllTest,
    ::testing::Values(
        ReplaceCase{"c:\\*USER*\\x\\*USER*", "*USER*", "bob", "c:\\bob\\x\\bob"},
        ReplaceCase{"*USER**USER*", "*USER*", "administrator", "administratoradministrator"},
        ReplaceCase{"c:\\app.exe.bak -x", ".bak", "", "c:\\app.exe -x"},
        // A replacement may form the pattern again; the search starts over.
        ReplaceCase{"aaa", "aa", "a", "a"},
        ReplaceCase{".b.bakak", ".bak", "", ""},
        ReplaceCase{"abc", "", "x", "abc"},
        ReplaceCase{"Hello", "hello", "x", "Hello"},
        ReplaceCase{"aaaa", "aa", "bb", "bbbb"},
        ReplaceCase{"aaa", "aa", "bb", "bba"},
        // Replacements that hold or re-form the pattern: each original occurrence once.
        ReplaceCase{"x*USER*y", "*USER*", "*USER*", "x*USER*y"},
        ReplaceCase{"*USER*", "*USER*", "<*USER*>", "<*USER*>"},
        ReplaceCase{"aa", "a", "aa", "aaaa"},
        ReplaceCase{"aaba", "aba", "baab", "abaab"},
        ReplaceCase{"aab", "ab", "bbaa", "abbaa"}));

TEST(ReplaceAllLongText, ShrinkingReplacementsOverManyOccurrences) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "*USER*\\";
    const std::string result = zorvik::ReplaceAll(text, "*USER*", "u");
    EXPECT_EQ(std::string::npos, result.find("*USER*"));
    EXPECT_EQ(20000u * 2, result.size());
}

// ---- Paths on the simulated system --------------------------------------------------------

class PathTest : public ::testing::Test {
protected:
    SimSystem sys;
};

TEST_F(PathTest, WindowsDriveIsTheDirectoryUpToItsFirstBackslash) {
    EXPECT_EQ("C:\\", zorvik::GetWindowsDrive(sys));
    sys.fs().SetWindowsDirectory("D:\\WINNT");
    EXPECT_EQ("D:\\", zorvik::GetWindowsDrive(sys));
    sys.fs().SetWindowsDirectory("E:\\OS\\WINDOWS");
    EXPECT_EQ("E:\\", zorvik::GetWindowsDrive(sys));
    sys.fs().SetWindowsDirectory("WINDOWS");
    EXPECT_EQ("", zorvik::GetWindowsDrive(sys));
}

TEST_F(PathTest, PathExistsForDrivesFoldersAndFiles) {
    sys.fs().AddFile("C:\\Apps\\tool.exe", "MZ");
    EXPECT_TRUE(zorvik::PathExists(sys, "C:\\"));
    EXPECT_TRUE(zorvik::PathExists(sys, "C:\\Apps"));
    EXPECT_TRUE(zorvik::PathExists(sys, "c:\\apps\\TOOL.EXE"));
    EXPECT_FALSE(zorvik::PathExists(sys, "C:\\Apps\\other.exe"));
    EXPECT_FALSE(zorvik::PathExists(sys, ""));
}

TEST_F(PathTest, ShortAndLongFormsOfAnExistingPath) {
    sys.fs().AddFile("C:\\Program Files\\Tools\\app.exe", "MZ");
    sys.fs().SetShortName("C:\\Program Files", "PROGRA~1");
    EXPECT_SAME_PATH("C:\\PROGRA~1\\Tools\\app.exe",
                     zorvik::GetShortPath(sys, "C:\\Program Files\\Tools\\app.exe"));
    EXPECT_SAME_PATH("C:\\Program Files\\Tools\\app.exe",
                     zorvik::GetLongPath(sys, "C:\\PROGRA~1\\Tools\\app.exe"));
    EXPECT_EQ("", zorvik::GetShortPath(sys, "C:\\Program Files\\Tools\\gone.exe"));
    EXPECT_EQ("", zorvik::GetLongPath(sys, "C:\\PROGRA~1\\gone.exe"));
}

TEST_F(PathTest, PathsPastTheOldBufferAreNotCut) {
    std::string folder = "C:";
    for (int i = 0; i < 12; ++i) folder += "\\folder-with-a-long-name-" + std::to_string(i);
    const std::string file = folder + "\\app.exe";
    ASSERT_GT(file.size(), 300u);
    sys.fs().AddFile(file, "MZ");
    EXPECT_SAME_PATH(file, zorvik::GetLongPath(sys, file));
    const std::string shortForm = zorvik::GetShortPath(sys, file);
    EXPECT_FALSE(shortForm.empty());
    EXPECT_SAME_PATH(file, zorvik::GetLongPath(sys, shortForm));
}

// ---- ExtractProgramPath -------------------------------------------------------------------

struct ProgramPathCase {
    std::string command;
    std::string expected;  // long form, compared without regard to case; empty: none
};

std::ostream& operator<<(std::ostream& os, const ProgramPathCase& c) { return os << "command \"" << c.command << "\""; }

class ExtractProgramPathTest : public ::testing::TestWithParam<ProgramPathCase> {
protected:
    void SetUp() override {
        sys.fs().AddFile("C:\\WINDOWS\\notepad.exe", "MZ");
        sys.fs().AddFile("C:\\Program Files\\App\\app.exe", "MZ");
        sys.fs().SetShortName("C:\\Program Files", "PROGRA~1");
    }
    SimSystem sys;
};

TEST_P(ExtractProgramPathTest, GivesTheLongPathOfAnExistingProgram) {
    EXPECT_SAME_PATH(GetParam().expected, zorvik::ExtractProgramPath(sys, GetParam().command));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ExtractProgramPathTest,
    ::testing::Values(
        ProgramPathCase{"\"c:\\windows\\notepad.exe\" /a", "C:\\WINDOWS\\notepad.exe"},
        ProgramPathCase{"c:\\windows\\notepad.exe", "C:\\WINDOWS\\notepad.exe"},
        ProgramPathCase{"c:\\progra~1\\app\\app.exe /s", "C:\\Program Files\\App\\app.exe"},
        ProgramPathCase{"\"c:\\program files\\app\\app.exe\"", "C:\\Program Files\\App\\app.exe"},
        ProgramPathCase{"\"c:\\program files\\app\\app.exe\" -min", "C:\\Program Files\\App\\app.exe"},
        // Unquoted: cut at the first blank, and c:\program does not exist.
        ProgramPathCase{"c:\\program files\\app\\app.exe", ""},
        // An unclosed quote loses the last character: ...app.ex does not exist.
        ProgramPathCase{"\"c:\\program files\\app\\app.exe", ""},
        ProgramPathCase{"c:\\missing.exe -x", ""},
        ProgramPathCase{"\"\" c:\\windows\\notepad.exe", ""},
        ProgramPathCase{"", ""}));

// ---- StartWithWindows ---------------------------------------------------------------------

class StartWithWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys.fs().SetOwnPath("C:\\Program Files\\Tools\\app.exe");
        sys.reg().MakeKey(RootKey::CurrentUser, kRunKey);
    }
    std::optional<platform::RegValue> RunValue() {
        return sys.reg().Get(RootKey::CurrentUser, kRunKey, "Zorvik");
    }
    SimSystem sys;
};

TEST_F(StartWithWindowsTest, RegistersTheQuotedPathAndRemovesIt) {
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 0));

    EXPECT_FALSE(zorvik::StartWithWindows(sys, 1));
    const auto value = RunValue();
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(platform::RegType::Sz, value->type);
    EXPECT_EQ(std::string("\"C:\\Program Files\\Tools\\app.exe\" s") + '\0', value->data);
    EXPECT_TRUE(zorvik::StartWithWindows(sys, 0));

    EXPECT_FALSE(zorvik::StartWithWindows(sys, 2));
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 0));
    EXPECT_EQ(0, sys.reg().OpenKeyCount());
}

TEST_F(StartWithWindowsTest, AValueOfAnyTypeCountsAsRegistered) {
    sys.reg().Put(RootKey::CurrentUser, kRunKey, "Zorvik", platform::RegType::Dword,
                  std::string(4, '\0'));
    EXPECT_TRUE(zorvik::StartWithWindows(sys, 0));
}

TEST_F(StartWithWindowsTest, RemovingLeavesOtherRunValuesAlone) {
    sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Other", "c:\\other.exe");
    zorvik::StartWithWindows(sys, 1);
    zorvik::StartWithWindows(sys, 2);
    const auto other = sys.reg().Get(RootKey::CurrentUser, kRunKey, "Other");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(std::string("c:\\other.exe") + '\0', other->data);
}

TEST_F(StartWithWindowsTest, OtherModesChangeNothing) {
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 3));
    EXPECT_FALSE(zorvik::StartWithWindows(sys, -1));
    EXPECT_FALSE(RunValue().has_value());
    zorvik::StartWithWindows(sys, 1);
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 7));
    EXPECT_TRUE(RunValue().has_value());
}

TEST_F(StartWithWindowsTest, AMissingRunKeyIsNotCreated) {
    sys.reg().DeleteTree(RootKey::CurrentUser, kRunKey);
    ASSERT_FALSE(sys.reg().KeyExists(RootKey::CurrentUser, kRunKey));
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 1));
    EXPECT_FALSE(sys.reg().KeyExists(RootKey::CurrentUser, kRunKey));
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 0));
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 2));
    EXPECT_EQ(0, sys.reg().OpenKeyCount());
}

TEST_F(StartWithWindowsTest, ARefusedWriteLeavesTheValueAsItWas) {
    sys.reg().DenyWrites(RootKey::CurrentUser, kRunKey);
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 1));
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_FALSE(zorvik::StartWithWindows(sys, 0));
    EXPECT_EQ(0, sys.reg().OpenKeyCount());
}

// ---- GetProcessPath -----------------------------------------------------------------------

class GetProcessPathTest : public ::testing::Test {
protected:
    SimProcess Process(std::uint32_t pid, const std::string& path) {
        SimProcess p;
        p.pid = pid;
        p.imagePath = path;
        return p;
    }
    const std::vector<std::uint32_t>& Accesses() { return sys.procs().OpenAccesses(); }
    SimSystem sys;
};

constexpr std::uint32_t kQueryAndRead = 0x410;
constexpr std::uint32_t kLimitedQuery = 0x1000;

TEST_F(GetProcessPathTest, ProcessZeroMakesNoSystemCall) {
    sys.procs().AddProcess(Process(0, "C:\\idle.exe"));
    EXPECT_EQ("", zorvik::GetProcessPath(sys, 0));
    EXPECT_TRUE(Accesses().empty());
}

TEST_F(GetProcessPathTest, GivesTheMainModulePath) {
    sys.procs().AddProcess(Process(1200, "C:\\Program Files\\Bot\\bot.exe"));
    EXPECT_EQ("C:\\Program Files\\Bot\\bot.exe", zorvik::GetProcessPath(sys, 1200));
    EXPECT_EQ(std::vector<std::uint32_t>{kQueryAndRead}, Accesses());
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, AnUnreadableFileNameIsUnknown) {
    SimProcess p = Process(1300, "C:\\bot.exe");
    p.fileNameReadable = false;
    p.imageNameReadable = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("Unknown", zorvik::GetProcessPath(sys, 1300));
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, AnUnreadableModuleNameFallsBackToTheImageName) {
    SimProcess p = Process(1310, "C:\bot.exe");
    p.fileNameReadable = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("C:\bot.exe", zorvik::GetProcessPath(sys, 1310));
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, NoModuleListFallsBackToTheImageNameOnTheSameHandle) {
    SimProcess p = Process(1400, "C:\\bot.exe");
    p.modulesReadable = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("C:\\bot.exe", zorvik::GetProcessPath(sys, 1400));
    EXPECT_EQ(std::vector<std::uint32_t>{kQueryAndRead}, Accesses());
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, NoModuleListAndNoImageNameGivesNothing) {
    sys.procs().SetLimitedQueries(false);  // XP: no image-name query
    SimProcess p = Process(1410, "C:\\bot.exe");
    p.modulesReadable = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("", zorvik::GetProcessPath(sys, 1410));
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, ARefusedOpenFallsBackToTheLimitedRight) {
    SimProcess p = Process(1500, "C:\\Windows\\System32\\svchost.exe");
    p.openable = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("C:\\Windows\\System32\\svchost.exe", zorvik::GetProcessPath(sys, 1500));
    EXPECT_EQ((std::vector<std::uint32_t>{kQueryAndRead, kLimitedQuery}), Accesses());
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, BothOpensRefusedGivesNothing) {
    SimProcess p = Process(1600, "C:\\Windows\\System32\\csrss.exe");
    p.openable = false;
    p.openableLimited = false;
    sys.procs().AddProcess(p);
    EXPECT_EQ("", zorvik::GetProcessPath(sys, 1600));
    EXPECT_EQ((std::vector<std::uint32_t>{kQueryAndRead, kLimitedQuery}), Accesses());
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, AnEndedProcessGivesNothing) {
    sys.procs().AddProcess(Process(1700, "C:\\gone.exe"));
    sys.procs().RemoveProcess(1700);
    EXPECT_EQ("", zorvik::GetProcessPath(sys, 1700));
    EXPECT_EQ(0, sys.procs().OpenHandleCount());
}

TEST_F(GetProcessPathTest, LongPathsAreNotCut) {
    const std::string path = "C:\\" + std::string(600, 'd') + "\\bot.exe";
    sys.procs().AddProcess(Process(1800, path));
    EXPECT_EQ(path, zorvik::GetProcessPath(sys, 1800));
}

}  // namespace
