#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/untScan.h"
#include "platform/sim/autostart/SimTransfers.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/parse/ShellLinkBuilder.h"
#include "unit/parse/ShimDatabaseBuilder.h"

using platform::RootKey;
using scantest::Detected;

namespace {

class RulesReaderTest : public scantest::ScanTest {};

TEST_F(RulesReaderTest, RulesFileLiesBesideTheProgram) {
    EXPECT_EQ(zorvik::RulesFilePath(sys), "C:\\Zorvik\\Scan.ini");
    sys.fs().SetOwnPath("D:\\Tools\\Sub Dir\\prog.exe");
    EXPECT_EQ(zorvik::RulesFilePath(sys), "D:\\Tools\\Sub Dir\\Scan.ini");
}

TEST_F(RulesReaderTest, SectionsInFileOrderWithTheirKeys) {
    WriteRules(
        "; comment line\r\n"
        "[Zeta]\r\nType=REG\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=Software\\X\r\nAction=CHECK\r\n"
        "Name=Shell\r\n"
        "[Alpha]\r\nType=INI\r\nName=win.ini\r\nSection=windows\r\nIdent=load\r\n"
        "[Mid]\r\nType = FOL \r\nPath=\"Users\\*USER*\\Startup\"\r\n");

    const auto rules = zorvik::ReadScanRules(sys);

    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].sectionName, "Zeta");
    EXPECT_EQ(rules[0].type, "REG");
    EXPECT_EQ(rules[0].root, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(rules[0].key, "Software\\X");
    EXPECT_EQ(rules[0].action, "CHECK");
    EXPECT_EQ(rules[0].name, "Shell");
    EXPECT_EQ(rules[0].path, "");
    EXPECT_EQ(rules[1].sectionName, "Alpha");
    EXPECT_EQ(rules[1].name, "win.ini");
    EXPECT_EQ(rules[1].section, "windows");
    EXPECT_EQ(rules[1].ident, "load");
    EXPECT_EQ(rules[1].root, "");
    EXPECT_EQ(rules[2].type, "FOL");
    EXPECT_EQ(rules[2].path, "Users\\*USER*\\Startup");
}

TEST_F(RulesReaderTest, MissingOrEmptyFileGivesNoRules) {
    EXPECT_TRUE(zorvik::ReadScanRules(sys).empty());
    WriteRules("");
    EXPECT_TRUE(zorvik::ReadScanRules(sys).empty());
}

TEST_F(RulesReaderTest, EditedFileIsSeenAtTheNextRead) {
    WriteRules("[One]\r\nType=REG\r\n");
    ASSERT_EQ(zorvik::ReadScanRules(sys).size(), 1u);
    WriteRules("[One]\r\nType=FIL\r\n[Two]\r\nType=FOL\r\n");
    const auto rules = zorvik::ReadScanRules(sys);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].type, "FIL");
}

TEST_F(RulesReaderTest, LongValuesAreReadWhole) {
    const std::string longKey(3000, 'k');
    WriteRules("[Long]\r\nType=REG\r\nKey=" + longKey + "\r\n");
    const auto rules = zorvik::ReadScanRules(sys);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].key, longKey);
}

// ---- the rules file shipped beside the program ----

// The build copies the shipped rules into its root; the unit tests run from a folder below it.
std::filesystem::path ShippedRulesPath() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    for (auto dir = exe.parent_path(); !dir.empty() && dir != dir.root_path();
         dir = dir.parent_path()) {
        const auto candidate = dir / "Scan.ini";
        if (std::filesystem::exists(candidate)) return candidate;
    }
    return {};
}

class ShippedRulesTest : public scantest::ScanTest {
protected:
    void SetUp() override {
        const auto path = ShippedRulesPath();
        if (path.empty()) GTEST_SKIP() << "Scan.ini not found in the build tree";
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        text_ = bytes.str();
        WriteRules(text_);
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(text_);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // A key of the rule's section, read as the search reads it.
    std::string Read(const zorvik::ScanRule& rule, const char* key) {
        return sys.profile().ReadString(zorvik::RulesFilePath(sys), rule.sectionName, key, "");
    }

    std::string text_;
};

TEST_F(ShippedRulesTest, EverySectionIsAWellFormedRule) {
    const std::set<std::string> roots{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};
    const std::set<std::string> actions{"CHECK", "ENUM", "ENUM2", "MATCH"};
    const std::set<std::string> pathTypes{"FOL", "FIL", "LNK", "TASK", "EXE", "SDB", "TERMINAL"};
    const std::set<std::string> folders{"Startup", "Common Startup"};
    const auto rules = zorvik::ReadScanRules(sys);
    ASSERT_GE(rules.size(), 30u);

    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.sectionName);
        for (const char* flag :
             {"Scripts", "Unquoted", "Dlls", "Classes", "TaskCache", "OtherProgram"}) {
            const std::string value = Read(rule, flag);
            EXPECT_TRUE(value.empty() || value == "1") << flag << "=" << value;
        }
        const std::string limit = Read(rule, "Limit");
        if (!limit.empty() || !Read(rule, "OtherProgram").empty()) {
            EXPECT_EQ(rule.action, "MATCH");
            EXPECT_EQ(limit.find_first_not_of("0123456789"), std::string::npos) << limit;
        }
        const std::string folder = Read(rule, "Folder");
        if (!folder.empty()) {
            EXPECT_TRUE(folders.count(folder)) << folder;
            EXPECT_TRUE(rule.type == "FOL" || rule.type == "LNK");
        }
        if (rule.type == "REG" || rule.type == "SVC") {
            EXPECT_TRUE(roots.count(rule.root)) << rule.root;
            EXPECT_FALSE(rule.key.empty());
            EXPECT_NE(rule.key.back(), '\\');
        }
        if (rule.type == "REG") {
            EXPECT_TRUE(actions.count(rule.action)) << rule.action;
            // Windows keeps an open command, a class's server and the Office test DLL in their
            // key's default value; elsewhere a CHECK without Name has lost it.
            const auto endsWith = [&](const std::string& tail) {
                return rule.key.size() > tail.size() &&
                       rule.key.compare(rule.key.size() - tail.size(), tail.size(), tail) == 0;
            };
            const bool defaultValue = endsWith("\\command") || endsWith("\\InprocServer32") ||
                                      endsWith("\\Special\\Perf");
            if (rule.action == "CHECK" && !defaultValue) {
                EXPECT_FALSE(rule.name.empty());
            }
            // Only MATCH reads a "*" part as every subkey; elsewhere it names a key "*".
            if (rule.action != "MATCH") {
                EXPECT_EQ(rule.key.find('*'), std::string::npos);
            }
        } else if (rule.type == "INI") {
            EXPECT_FALSE(rule.name.empty());
            EXPECT_FALSE(rule.section.empty());
            EXPECT_FALSE(rule.ident.empty());
        } else if (pathTypes.count(rule.type)) {
            if (folder.empty()) {
                ASSERT_FALSE(rule.path.empty());
                EXPECT_NE(rule.path.front(), '\\');
                EXPECT_NE(rule.path.back(), '\\');
            }
            if (rule.type != "FOL" && rule.type != "LNK" && rule.type != "TERMINAL") {
                EXPECT_EQ(rule.path.find("*USER*"), std::string::npos);
            }
        } else if (rule.type != "SVC" && rule.type != "WMI" && rule.type != "BITS") {
            ADD_FAILURE() << "Type " << rule.type;
        }
    }
}

// Every header of the file is a rule of its own, and no key is misspelt.
TEST_F(ShippedRulesTest, SectionNamesAreUniqueAndKeysKnown) {
    const std::set<std::string> keys{"type",    "root",     "key",  "action", "name",
                                     "section", "ident",    "path", "scripts", "unquoted",
                                     "dlls",    "folder",   "limit", "classes", "taskcache",
                                     "otherprogram"};
    std::set<std::string> seen;
    int headers = 0;
    std::size_t nameListBytes = 1;  // the list ends in a second zero byte
    for (const std::string& line : Lines()) {
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            ASSERT_EQ(line.back(), ']') << line;
            ++headers;
            nameListBytes += line.size() - 2 + 1;
            EXPECT_TRUE(seen.insert(zorvik::AsciiLower(line)).second) << "repeated " << line;
            continue;
        }
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_TRUE(keys.count(zorvik::AsciiLower(line.substr(0, equals)))) << line;
    }
    EXPECT_EQ(static_cast<std::size_t>(headers), zorvik::ReadScanRules(sys).size());
    // Every section name fits the profile reader's first buffer, so that a reader that does
    // not grow it still sees every rule.
    EXPECT_LE(nameListBytes, platform::kProfileNameListBuffer);
}

// A bot placed in the places most used finds one hit in each.
TEST_F(ShippedRulesTest, FindsAProgramInTheCommonPlaces) {
    sys.users().SetUsers({"Administrator", "bob"});
    auto& reg = sys.reg();
    reg.PutString(RootKey::CurrentUser, scantest::kRunKey, "Updater", "C:\\Temp\\bot.exe -s");
    reg.PutString(RootKey::LocalMachine,
                  "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "Updater",
                  "\"C:\\Program Files (x86)\\Bot\\BOT.EXE\"");
    reg.PutString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\BotSvc",
                  "ImagePath", "C:\\Windows\\bot.exe");
    reg.PutString(RootKey::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                  "Userinit", "C:\\Windows\\system32\\userinit.exe,C:\\Temp\\bot.exe.bak");
    sys.fs().AddFile(
        "C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\bot.exe",
        "MZ");
    sys.fs().AddFile("C:\\Windows\\System32\\Tasks\\bot.exe updater", "<Task/>");

    const auto result = Search("bot.exe");

    EXPECT_TRUE(result.listed);
    EXPECT_EQ(result.info.RegList.size(), 3u);
    ASSERT_EQ(result.info.FolList.size(), 3u);  // the tasks folder once for each account
    EXPECT_EQ(result.info.FolList[0].Path,
              "C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
    // The service is found once, by the service rule, with its start type.
    ASSERT_EQ(result.info.SvcList.size(), 1u);
    EXPECT_EQ(result.info.SvcList[0].Service, "BotSvc");
    EXPECT_EQ(result.details, Detected(7));
}

// Each MATCH and each SVC rule, read alone, finds a program placed where it looks: every "*"
// part of its key a subkey, the value it names (a list where Windows keeps one), a service
// with a start type.
TEST_F(ShippedRulesTest, EachMatchAndServiceRuleFindsAProgramPlacedWhereItLooks) {
    const std::set<std::string> listValues{"BootExecute",        "SetupExecute",      "Execute",
                                           "Authentication Packages", "Security Packages",
                                           "Notification Packages"};
    int exercised = 0;
    for (const zorvik::ScanRule& rule : zorvik::ReadScanRules(sys)) {
        const bool service = rule.kind == zorvik::StartupKind::Svc;
        if (!service && rule.regAction != zorvik::RegAction::Match) continue;
        SCOPED_TRACE(rule.sectionName);
        ++exercised;
        platform::sim::SimSystem machine;
        std::string section = "[" + rule.sectionName + "]\r\n";
        for (const auto& [name, value] : rule.keys) section += name + "=" + value + "\r\n";
        machine.fs().AddFile(scantest::kRulesPath, section);
        const RootKey root = zorvik::RootKeyFromName(rule.root);

        std::string key = rule.key + (service ? "\\BotSvc" : "");
        for (std::size_t star = key.find("\\*"); star != std::string::npos; star = key.find("\\*"))
            key.replace(star, 2, "\\Bot");
        const std::string value = service ? "ImagePath" : rule.name == "*" ? "Bot entry" : rule.name;
        if (listValues.count(value)) {
            machine.reg().Put(root, key, value, platform::RegType::MultiSz,
                              std::string("first\0C:\\Temp\\bot.exe\0\0", 23));
        } else {
            machine.reg().PutString(root, key, value, "C:\\Temp\\bot.exe /s");
        }
        machine.reg().Put(root, key, "Start", platform::RegType::Dword, std::string("\x02\0\0\0", 4));

        scantest::SwitchOptions options;
        zorvik::ProcInfo findings;
        std::string details;
        EXPECT_TRUE(zorvik::FindStartups(machine, options, "bot.exe", "", findings, details));
        if (service) {
            ASSERT_EQ(findings.SvcList.size(), 1u);
            EXPECT_EQ(findings.SvcList[0].Key, key);
            EXPECT_EQ(findings.SvcList[0].StartType, 2u);
        } else {
            EXPECT_TRUE(std::any_of(findings.RegList.begin(), findings.RegList.end(),
                                    [&](const zorvik::RegStart& hit) {
                                        return hit.Root == rule.root && hit.Key == key &&
                                               hit.Name == value && !hit.Disabled;
                                    }))
                << key << " [" << value << "]";
        }
    }
    EXPECT_GT(exercised, 0);
}

// Each LNK rule, read alone, finds a shortcut to the program in the folder it reads (below the
// account's profile, or where the shell's User Shell Folders value puts it) and, with
// Scripts=1, a script lying there.
TEST_F(ShippedRulesTest, EachShortcutRuleFindsAShortcutAndAScriptInItsFolder) {
    const std::string userShellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    int exercised = 0;
    for (const zorvik::ScanRule& rule : zorvik::ReadScanRules(sys)) {
        if (rule.kind != zorvik::StartupKind::Lnk) continue;
        SCOPED_TRACE(rule.sectionName);
        ++exercised;
        platform::sim::SimSystem machine;
        machine.users().SetUsers({"bob"});
        std::string section = "[" + rule.sectionName + "]\r\n";
        for (const auto& [name, value] : rule.keys) section += name + "=" + value + "\r\n";
        machine.fs().AddFile(scantest::kRulesPath, section);
        std::string folder = "C:\\" + zorvik::ReplaceAll(rule.path, "*USER*", "bob");
        const std::string shellName = rule.Value("Folder");
        if (!shellName.empty()) {
            folder = "C:\\Moved\\" + shellName;
            machine.reg().PutString(shellName == "Startup" ? RootKey::CurrentUser : RootKey::LocalMachine,
                                    userShellFolders, shellName, folder);
        }
        machine.fs().AddFile(folder + "\\Updater.lnk",
                             parse_test::BuildShellLink(parse_test::LinkParts()
                                                            .WithLinkInfo(parse_test::BuildLinkInfo("C:\\Temp\\bot.exe"))
                                                            .WithArguments("/s")));
        machine.fs().AddFile(folder + "\\run.cmd", "start C:\\Temp\\bot.exe\r\n");

        scantest::SwitchOptions options;
        zorvik::ProcInfo findings;
        std::string details;
        EXPECT_TRUE(zorvik::FindStartups(machine, options, "bot.exe", "", findings, details));
        std::vector<std::string> entries;
        for (const zorvik::LnkStart& hit : findings.LnkList) {
            EXPECT_EQ(hit.Folder, folder);
            entries.push_back(hit.Entry + (hit.Trail.Script.empty() ? "" : " < " + hit.Trail.Script));
        }
        std::vector<std::string> expected{"Updater.lnk"};
        if (rule.Value("Scripts") == "1") expected.push_back("run.cmd < " + folder + "\\run.cmd");
        EXPECT_EQ(entries, expected);
    }
    EXPECT_GT(exercised, 0);
}

// The places added beside the common ones, one family each: the rule of that section, read
// alone, finds the program planted where Windows reads it, and nothing else.
TEST_F(ShippedRulesTest, EachFamilyOfFurtherPlacesFindsAProgramPlantedThere) {
    using platform::sim::SimSystem;
    const std::string bot = "C:\\Temp\\bot.exe";
    const std::string nt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\";
    const std::string amsiClass = "{2781761E-28E0-4109-99FE-B9D127C57AFE}";
    const auto text = [&](RootKey root, std::string key, std::string value) {
        return [=](SimSystem& m) { m.reg().PutString(root, key, value, bot + " /s"); };
    };
    const auto file = [&](std::string path, std::string bytes) {
        return [=](SimSystem& m) { m.fs().AddFile(path, bytes); };
    };
    struct Family {
        const char* section;
        std::function<void(SimSystem&)> plant;
        zorvik::StartupKind kind;
    };
    using K = zorvik::StartupKind;
    const Family families[] = {
        {"RunEx (current user)",
         text(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunEx", "Go"),
         K::Reg},
        {"RunEx entries (machine)",
         text(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunEx\\0001",
              "1"),
         K::Reg},
        {"Winlogon mpnotify", text(RootKey::LocalMachine, nt + "Winlogon", "mpnotify"), K::Reg},
        {"Winlogon Notify (current user)",
         text(RootKey::CurrentUser, nt + "Winlogon\\Notify", "logon"), K::Reg},
        {"Winlogon Notify packages (current user)",
         text(RootKey::CurrentUser, nt + "Winlogon\\Notify\\Bot", "DllName"), K::Reg},
        {"Terminal Services policy InitialProgram (machine)",
         text(RootKey::LocalMachine, "Software\\Policies\\Microsoft\\Windows NT\\Terminal Services",
              "InitialProgram"),
         K::Reg},
        {"Open command Recycle Bin (current user)",
         text(RootKey::CurrentUser,
              "Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\open\\command",
              ""),
         K::Reg},
        {"Open command mscfile (current user)",
         text(RootKey::CurrentUser, "Software\\Classes\\mscfile\\shell\\open\\command", ""),
         K::Reg},
        {"WinSock2 AutodialDLL",
         text(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\WinSock2\\Parameters",
              "AutodialDLL"),
         K::Reg},
        {"DNS ServerLevelPluginDll",
         text(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\DNS\\Parameters",
              "ServerLevelPluginDll"),
         K::Reg},
        {"HTML Help author Location (current user)",
         text(RootKey::CurrentUser, "Software\\Microsoft\\HtmlHelp Author", "Location"), K::Reg},
        {".NET startup hooks (current user)",
         text(RootKey::CurrentUser, "Environment", "DOTNET_STARTUP_HOOKS"), K::Reg},
        {"COM HTML Help control",
         text(RootKey::ClassesRoot, "CLSID\\{52A2AAAE-085D-4187-97EA-8C30DB990436}\\InprocServer32",
              ""),
         K::Reg},
        {"Office test (current user)",
         text(RootKey::CurrentUser, "Software\\Microsoft\\Office test\\Special\\Perf", ""), K::Reg},
        // A provider is its class id, followed to the class's server.
        {"AMSI providers",
         [&](SimSystem& m) {
             m.reg().PutString(RootKey::LocalMachine, "Software\\Microsoft\\AMSI\\Providers\\" + amsiClass,
                               "", "Some provider");
             m.reg().PutString(RootKey::LocalMachine,
                               "Software\\Classes\\CLSID\\" + amsiClass + "\\InprocServer32", "",
                               bot);
         },
         K::Reg},
        {"Setup ErrorHandler.cmd", file("C:\\Windows\\Setup\\Scripts\\ErrorHandler.cmd", "start " + bot + "\r\n"),
         K::Fil},
        {"Word STARTUP (each user)",
         file("C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Word\\STARTUP\\bot.exe", "MZ"), K::Fol},
        {"Office ai.exe", file("C:\\Program Files\\Microsoft Office\\root\\Office16\\ai.exe", "MZ"),
         K::Exe},
        {"PowerShell profiles (each user)",
         file("C:\\Users\\bob\\Documents\\WindowsPowerShell\\Microsoft.PowerShell_profile.ps1",
              "Start-Process " + bot + "\r\n"),
         K::Lnk},
        // svchost.exe takes a ServiceDll from the service's own key when Parameters has none.
        {"Services",
         [&](SimSystem& m) {
             m.reg().PutString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Bot",
                               "ServiceDll", bot);
         },
         K::Svc},
        {"Shim databases",
         file("C:\\Windows\\AppPatch\\Custom\\{5d5e1f4a-0000-4000-8000-000000000001}.sdb",
              parse_test::InjectingDatabase("explorer.exe", bot)),
         K::Sdb},
        {"Windows Terminal (each user)",
         file("C:\\Users\\bob\\AppData\\Local\\Packages\\Microsoft.WindowsTerminal_8wekyb3d8bbwe"
              "\\LocalState\\settings.json",
              "{\"startOnUserLogin\": true, \"defaultProfile\": \"Bot\", \"profiles\": {\"list\": "
              "[{\"name\": \"Bot\", \"commandline\": \"C:\\\\Temp\\\\bot.exe\"}]}}"),
         K::Terminal},
        {"PowerShell 7 profile.ps1 (all users)",
         file("C:\\Program Files\\PowerShell\\7\\profile.ps1", "& " + bot + "\r\n"), K::Fil},
        // A name Windows or the user starts, sent to the bot.
        {"App Paths (machine, 32-bit)",
         text(RootKey::LocalMachine,
              "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msedge.exe", ""),
         K::Reg},
        {"BITS jobs",
         [&](SimSystem& m) {
             m.bitsQueue().AddJob({"{0B1E7A11-0000-4000-8000-000000000001}", "Updater", bot,
                                   bot + " /retry", false});
         },
         K::Bits},
    };
    const auto rules = zorvik::ReadScanRules(sys);
    for (const Family& family : families) {
        SCOPED_TRACE(family.section);
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const zorvik::ScanRule& r) {
            return r.sectionName == family.section;
        });
        ASSERT_NE(rule, rules.end());
        SimSystem machine;
        machine.users().SetUsers({"bob"});
        std::string section = "[" + rule->sectionName + "]\r\n";
        for (const auto& [name, value] : rule->keys) section += name + "=" + value + "\r\n";
        machine.fs().AddFile(scantest::kRulesPath, section);
        scantest::SwitchOptions options;
        const auto search = [&](const std::string& program, const std::string& path) {
            zorvik::ProcInfo findings;
            std::string details;
            zorvik::FindStartups(machine, options, zorvik::ProgramFileNameOf(program), "", findings,
                                 details, path);
            return findings;
        };
        // An EXE rule names its path, and the program found there is the one running from it.
        const bool exe = family.kind == K::Exe;
        const std::string program = exe ? "C:\\" + rule->path : bot;
        // The program an EXE rule names is found by its path alone, planted or not.
        if (!exe) EXPECT_EQ(zorvik::HitCount(search(program, program)), 0u) << "found before planting";
        family.plant(machine);
        const zorvik::ProcInfo findings = search(program, program);
        EXPECT_EQ(zorvik::HitCount(findings), 1u);
        EXPECT_EQ(zorvik::RowOf(family.kind).hits.count(findings), 1u);
    }
}

}  // namespace
