// Files other programs read at start, on the simulated system: installed shim databases (SDB)
// and Windows Terminal's settings (TERMINAL); each hit's Show and Disable.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/parse/ShimDatabaseBuilder.h"

namespace {

using platform::RootKey;
using platform::sim::SimSystem;

const std::string kCustom = "C:\\Windows\\AppPatch\\Custom";
const std::string kShimRule = "[Shims]\r\nType=SDB\r\nPath=Windows\\AppPatch\\Custom\r\n";
const std::string kTerminalRule =
    "[Terminal]\r\nType=TERMINAL\r\nPath=Users\\*USER*\\wt\\settings.json\r\n";
const std::string kInstalled =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\InstalledSDB\\{1}";

struct Case {
    const char* what;
    std::string rules;
    std::function<void(SimSystem&)> arrange;
    std::vector<std::string> hits;  // the start-up list's columns, joined by " | "
};

zorvik::ProcInfo Search(SimSystem& sys, const std::string& rules) {
    sys.fs().AddFile(scantest::kRulesPath, rules);
    scantest::SwitchOptions options;
    zorvik::ProcInfo findings;
    std::string details;
    zorvik::FindStartups(sys, options, "bot.exe", "", findings, details);
    return findings;
}

std::vector<std::string> Rows(const zorvik::ProcInfo& findings) {
    std::vector<std::string> rows;
    zorvik::ForEachHit(findings, [&](zorvik::StartupHit hit) {
        std::string row;
        for (const std::string& column : zorvik::RowOf(hit.kind).columns(findings, hit.index))
            row += (row.empty() ? "" : " | ") + column;
        if (*zorvik::HitDisabledFlag(const_cast<zorvik::ProcInfo&>(findings), hit)) row += " (off)";
        rows.push_back(row);
    });
    return rows;
}

std::string Settings(const std::string& start, const std::string& commandLine) {
    return "{\"startOnUserLogin\": " + start +
           ", \"profiles\": [{\"name\": \"Bot\", \"commandline\": \"" + commandLine + "\"}]}";
}

TEST(SettingsFilesTest, ShimDatabasesAndTerminalSettingsNameWhatTheyStart) {
    const std::string injects = parse_test::InjectingDatabase("explorer.exe", "C:\\Temp\\bot.exe");
    const auto file = [](std::string path, std::string bytes) {
        return [=](SimSystem& sys) { sys.fs().AddFile(path, bytes); };
    };
    const Case cases[] = {
        {"a database of the folder", kShimRule, file(kCustom + "\\a.sdb", injects),
         {kCustom + "\\a.sdb | explorer.exe: InjectDll"}},
        {"its shim's own DLL, in Custom64",
         kShimRule,
         file(kCustom + "\\Custom64\\b.sdb",
              parse_test::InjectingDatabase("x.exe", "C:\\x.dll", "C:\\Temp\\bot.exe")),
         {kCustom + "\\Custom64\\b.sdb | shim DLL"}},
        {"registered elsewhere, and renamed since",
         kShimRule,
         [&](SimSystem& sys) {
             sys.reg().PutString(RootKey::LocalMachine, kInstalled, "DatabasePath", "C:\\Db\\c.sdb");
             sys.fs().AddFile("C:\\Db\\c.sdb.bak", injects);
         },
         {"C:\\Db\\c.sdb.bak | explorer.exe: InjectDll (off)"}},
        {"registered in the folder: once",
         kShimRule,
         [&](SimSystem& sys) {
             sys.reg().PutString(RootKey::LocalMachine, kInstalled, "DatabasePath", kCustom + "\\A.SDB");
             sys.fs().AddFile(kCustom + "\\a.sdb", injects);
         },
         {kCustom + "\\a.sdb | explorer.exe: InjectDll"}},
        {"no database", kShimRule, file(kCustom + "\\a.sdb", "sdbf, not quite"), {}},
        {"terminal at logon",
         kTerminalRule,
         file("C:\\Users\\bob\\wt\\settings.json", Settings("true", "C:\\\\Temp\\\\bot.exe")),
         {"C:\\Users\\bob\\wt\\settings.json | Bot"}},
        {"the user's variables",
         kTerminalRule,
         file("C:\\Users\\bob\\wt\\settings.json", Settings("true", "%USERPROFILE%\\\\bot.exe")),
         {"C:\\Users\\bob\\wt\\settings.json | Bot"}},
        {"terminal not at logon",
         kTerminalRule,
         file("C:\\Users\\bob\\wt\\settings.json", Settings("false", "C:\\\\Temp\\\\bot.exe")),
         {}},
    };
    for (const Case& c : cases) {
        SimSystem sys;
        sys.users().SetUsers({"bob"});
        c.arrange(sys);
        EXPECT_EQ(Rows(Search(sys, c.rules)), c.hits) << c.what;
    }
}

TEST(SettingsFilesTest, ADatabaseIsDisabledByItsRenameAndATerminalEntryIsNot) {
    SimSystem sys;
    sys.users().SetUsers({"bob"});
    sys.fs().AddFile(kCustom + "\\a.sdb", parse_test::InjectingDatabase("explorer.exe", "bot.exe"));
    sys.fs().AddFile("C:\\Users\\bob\\wt\\settings.json", Settings("true", "bot.exe"));
    zorvik::ProcInfo findings = Search(sys, kShimRule + kTerminalRule);
    ASSERT_EQ(zorvik::HitCount(findings), 2u);
    const zorvik::StartupHit shim{zorvik::StartupKind::Sdb, 0};
    const zorvik::StartupHit terminal{zorvik::StartupKind::Terminal, 0};

    EXPECT_EQ(zorvik::OpeningOf(findings, shim).target, "/select,\"" + kCustom + "\\a.sdb\"");
    EXPECT_EQ(zorvik::OpeningOf(findings, terminal).target, "C:\\Users\\bob\\wt\\settings.json");
    EXPECT_EQ(zorvik::DisableStartup(sys, findings, shim, "bot.exe").result,
              zorvik::DisableResult::Disabled);
    EXPECT_TRUE(sys.fs().Exists(kCustom + "\\a.sdb.bak"));
    EXPECT_NE(zorvik::RowOf(zorvik::StartupKind::Terminal).noDisable, nullptr);
    EXPECT_EQ(zorvik::DisableStartup(sys, findings, terminal, "bot.exe").result,
              zorvik::DisableResult::Unchanged);
    EXPECT_EQ(Rows(Search(sys, kShimRule)), (std::vector<std::string>{
                                                kCustom + "\\a.sdb.bak | explorer.exe: InjectDll (off)"}));
}

}  // namespace
