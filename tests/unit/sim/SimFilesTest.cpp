// The simulated file system where it must match Windows exactly: generated 8.3 names,
// per-component path conversion, locks, drives, listing order and patterns.
#include <gtest/gtest.h>

#include "platform/sim/system/SimSystem.h"

namespace {

using platform::sim::SimFiles;
using platform::sim::SimSystem;

class SimFilesTest : public ::testing::Test {
protected:
    SimFiles& Fs() { return sys.fs(); }
    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<std::string> names;
        if (auto entries = Fs().List(pattern))
            for (const auto& e : *entries) names.push_back(e.name);
        return names;
    }
    SimSystem sys;
};

TEST_F(SimFilesTest, GeneratedShortNamesFollowTheWindowsPattern) {
    struct Case {
        const char* longName;
        const char* shortName;
    };
    const Case cases[] = {
        {"Program Files", "PROGRA~1"},
        {"Program Files (x86)", "PROGRA~2"},  // the same six letters: the next number
        {"Long Name.html", "LONGNA~1.HTM"},
        {"a.b.c.txt", "ABC~1.TXT"},
        {".profile", "PROFIL~1"},
        {"my app+v2;beta.exe", "MYAPP_~1.EXE"},
        {"lowercase.jpeg", "LOWERC~1.JPE"},
    };
    for (const Case& c : cases) {
        Fs().AddDirectory(std::string("C:\\") + c.longName);
        EXPECT_EQ(Fs().ShortPath(std::string("C:\\") + c.longName), std::string("C:\\") + c.shortName)
            << c.longName;
    }
}

TEST_F(SimFilesTest, NamesThatFitEightDotThreeAreTheirOwnShortForm) {
    for (const char* name : {"APP.EXE", "readme.txt", "Setup", "a.b", "12345678.123"}) {
        Fs().AddFile(std::string("C:\\Tools\\") + name, "x");
        EXPECT_EQ(Fs().ShortPath(std::string("C:\\Tools\\") + name), std::string("C:\\Tools\\") + name);
    }
    // Too long a base or extension, two dots, a blank: each needs a short name.
    for (const char* name : {"123456789.txt", "name.html", "a.b.c", "my app.exe"}) {
        Fs().AddFile(std::string("C:\\Tools\\") + name, "x");
        EXPECT_NE(Fs().ShortPath(std::string("C:\\Tools\\") + name), std::string("C:\\Tools\\") + name)
            << name;
    }
}

TEST_F(SimFilesTest, EveryComponentConvertsAndEitherFormIsAccepted) {
    Fs().AddFile("C:\\Program Files\\Common Files\\Setup Tool\\setup.exe", "MZ");
    const std::string longPath = "C:\\Program Files\\Common Files\\Setup Tool\\setup.exe";
    const std::string shortPath = "C:\\PROGRA~1\\COMMON~1\\SETUPT~1\\setup.exe";
    EXPECT_EQ(Fs().ShortPath(longPath), shortPath);
    EXPECT_EQ(Fs().LongPath(shortPath), longPath);
    EXPECT_EQ(Fs().LongPath("c:\\progra~1\\Common Files\\setupt~1\\SETUP.EXE"), "c:\\Program Files\\Common Files\\Setup Tool\\setup.exe");
    EXPECT_EQ(Fs().ShortPath("C:\\PROGRA~1\\Common Files\\SETUPT~1\\setup.exe"), shortPath);
    EXPECT_EQ(*Fs().Content("c:\\progra~1\\common~1\\setupt~1\\setup.exe"), "MZ");
    EXPECT_EQ(Fs().ShortPath("C:\\Program Files\\"), "C:\\PROGRA~1\\");
    EXPECT_EQ(Fs().ShortPath("C:\\"), "C:\\");
    EXPECT_EQ(Fs().ShortPath("C:\\PROGRA~2"), "");
    EXPECT_EQ(Fs().LongPath("C:\\Program Files\\setup.exe\\"), "") << "a file has no trailing backslash";
}

TEST_F(SimFilesTest, ScriptedShortNamesWinAndMovesGetNewOnes) {
    Fs().AddFile("C:\\Apps\\Program Launcher.exe", "x");
    Fs().SetShortName("C:\\Apps\\Program Launcher.exe", "PROG~1.EXE");
    EXPECT_EQ(Fs().ShortPath("C:\\Apps\\Program Launcher.exe"), "C:\\Apps\\PROG~1.EXE");
    EXPECT_TRUE(Fs().Exists("C:\\Apps\\prog~1.exe"));

    ASSERT_TRUE(Fs().Move("C:\\Apps\\Program Launcher.exe", "C:\\Apps\\Program Launcher.exe.bak"));
    EXPECT_EQ(Fs().ShortPath("C:\\Apps\\Program Launcher.exe.bak"), "C:\\Apps\\PROGRA~1.BAK");
    EXPECT_FALSE(Fs().Exists("C:\\Apps\\PROG~1.EXE"));
}

TEST_F(SimFilesTest, LockedFilesFailWithASharingViolation) {
    Fs().AddFile("C:\\data\\busy.txt", "line");
    Fs().Lock("C:\\data\\busy.txt", true);
    std::string bytes;
    platform::FileResult read = Fs().ReadAll("C:\\data\\busy.txt", bytes);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, platform::kErrorSharingViolation);
    EXPECT_EQ(Fs().WriteAll("C:\\data\\busy.txt", "x").error, platform::kErrorSharingViolation);
    EXPECT_FALSE(Fs().ReadAt("C:\\data\\busy.txt", 0, 4).has_value());
    EXPECT_FALSE(Fs().Move("C:\\data\\busy.txt", "C:\\data\\busy.bak"));
    EXPECT_FALSE(Fs().Delete("C:\\data\\busy.txt"));
    EXPECT_TRUE(Fs().Attributes("C:\\data\\busy.txt").has_value()) << "its attributes still read";

    Fs().Lock("C:\\data\\busy.txt", false);
    EXPECT_TRUE(Fs().ReadAll("C:\\data\\busy.txt", bytes).ok);
    EXPECT_EQ(bytes, "line");
}

TEST_F(SimFilesTest, StartsWithTheWindowsFoldersAndTakesOtherDrives) {
    EXPECT_EQ(Fs().WindowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(Fs().OwnPath(), "C:\\Zorvik\\Zorvik.exe");
    EXPECT_EQ(Fs().TempDirectory(), "C:\\TEMP\\");
    for (const char* dir : {"C:\\WINDOWS", "C:\\Zorvik", "C:\\TEMP"}) EXPECT_TRUE(Fs().Exists(dir)) << dir;
    EXPECT_FALSE(Fs().Exists("D:\\"));

    Fs().SetWindowsDirectory("D:\\WINNT\\");
    EXPECT_EQ(Fs().WindowsDirectory(), "D:\\WINNT");
    EXPECT_TRUE(Fs().Exists("D:\\WINNT"));
    EXPECT_EQ(Names("D:\\*"), std::vector<std::string>{"WINNT"}) << "a drive root lists no dots";

    Fs().SetOwnPath("E:\\Portable Tools\\Zorvik.exe");
    EXPECT_EQ(Fs().OwnPath(), "E:\\Portable Tools\\Zorvik.exe");
    EXPECT_TRUE(Fs().Exists("E:\\Portable Tools"));
}

TEST_F(SimFilesTest, ListingKeepsCreationOrderAndMatchesPatterns) {
    Fs().AddFile("C:\\Start\\zeta.exe", "");
    Fs().AddFile("C:\\Start\\Alpha.lnk", "");
    Fs().AddDirectory("C:\\Start\\middle");
    Fs().AddFile("C:\\Start\\Long Program Name.exe", "");
    EXPECT_EQ(Names("C:\\Start\\*"),
              (std::vector<std::string>{".", "..", "zeta.exe", "Alpha.lnk", "middle", "Long Program Name.exe"}));
    EXPECT_EQ(Names("C:\\Start\\*.EXE"), (std::vector<std::string>{"zeta.exe", "Long Program Name.exe"}));
    EXPECT_EQ(Names("C:\\Start\\?lpha.*"), std::vector<std::string>{"Alpha.lnk"});
    EXPECT_EQ(Names("C:\\Start\\LONGPR~1.EXE"), std::vector<std::string>{"Long Program Name.exe"})
        << "a short name matches too";
    EXPECT_FALSE(Fs().List("C:\\Start\\*.dll").has_value()) << "nothing matches: the listing fails";
    EXPECT_FALSE(Fs().List("C:\\Start\\zeta.exe\\*").has_value()) << "a file is no folder";
}

TEST_F(SimFilesTest, AttributesOfNewEntriesAndTheirChanges) {
    Fs().AddFile("C:\\a\\file.txt", "x");
    EXPECT_EQ(*Fs().Attributes("C:\\a\\file.txt"), 0x20u) << "archive, as a new file has";
    EXPECT_EQ(*Fs().Attributes("C:\\a"), platform::kAttrDirectory);
    ASSERT_TRUE(Fs().SetAttributes("C:\\a\\file.txt", 0));
    EXPECT_EQ(*Fs().Attributes("C:\\a\\file.txt"), platform::kAttrNormal);
    ASSERT_TRUE(Fs().SetAttributes("C:\\a", platform::kAttrHidden));
    EXPECT_EQ(*Fs().Attributes("C:\\a"), platform::kAttrHidden | platform::kAttrDirectory)
        << "a folder stays a folder";
    EXPECT_FALSE(Fs().SetAttributes("C:\\a\\missing", platform::kAttrNormal));
}

TEST_F(SimFilesTest, ReplaceRefusesReadOnlyTargetsAndFolders) {
    Fs().AddFile("C:\\w\\new.ini", "new");
    Fs().AddFile("C:\\w\\old.ini", "old");
    Fs().AddDirectory("C:\\w\\dir");
    ASSERT_TRUE(Fs().SetAttributes("C:\\w\\old.ini", platform::kAttrReadOnly));
    EXPECT_FALSE(Fs().Replace("C:\\w\\new.ini", "C:\\w\\old.ini"));
    EXPECT_FALSE(Fs().Replace("C:\\w\\new.ini", "C:\\w\\dir"));
    EXPECT_EQ(*Fs().Content("C:\\w\\old.ini"), "old");
    EXPECT_TRUE(Fs().Replace("C:\\w\\new.ini", "C:\\w\\fresh.ini")) << "a missing target is a move";
    EXPECT_EQ(*Fs().Content("C:\\w\\fresh.ini"), "new");
    EXPECT_FALSE(Fs().Move("C:\\w\\dir", "C:\\w\\dir\\inside")) << "not into itself";
}

}  // namespace
