// What a start-up entry really starts, on the simulated system: the shortcuts of a folder, the
// scripts an entry names or a folder holds, the folder the shell looks up, and the programs
// Windows runs in place of an unquoted command; each hit's Disable.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/parse/ByteBuilder.h"
#include "unit/parse/ShellLinkBuilder.h"

namespace {

using parse_test::BuildLinkInfo;
using parse_test::BuildShellLink;
using parse_test::LinkParts;
using platform::RegType;
using platform::RootKey;
using platform::sim::SimSystem;
using scantest::PathRule;
using scantest::RegRule;
using scantest::RunRule;
using zorvik::ProcInfo;

const std::string kUserStartup = "C:\\Users\\bob\\Startup";
const std::string kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services";

std::string WithKeys(std::string rule, const std::string& keys) { return rule + keys; }

// The program's environment and accounts alike for every case: bob's folders, and the
// running user's own below C:\Users\me.
void Prepare(SimSystem& sys) {
    sys.users().SetUsers({"bob"});
    sys.env().Set("USERPROFILE", "C:\\Users\\me");
    sys.env().Set("APPDATA", "C:\\Users\\me\\AppData\\Roaming");
    sys.env().Set("ProgramFiles", "C:\\Program Files");
    sys.fs().AddDirectory(kUserStartup);
}

std::string Shortcut(const std::string& target, const std::string& arguments = "") {
    LinkParts parts;
    parts.WithLinkInfo(BuildLinkInfo(target));
    if (!arguments.empty()) parts.WithArguments(arguments);
    return BuildShellLink(parts);
}

struct Hit {
    std::string where;  // LNK: the entry; other kinds: their first column
    std::string what;   // LNK: the target; other kinds: the trail
    bool disabled = false;
    bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Hit& hit) {
    return os << "{" << hit.where << " | " << hit.what << (hit.disabled ? " | disabled}" : "}");
}

// Every hit in table order, a shortcut by its entry and target, any other by its first column
// and the script or program it was found through.
std::vector<Hit> HitsOf(const ProcInfo& findings) {
    std::vector<Hit> hits;
    zorvik::ForEachHit(findings, [&](zorvik::StartupHit hit) {
        const zorvik::HitTrail& trail = *zorvik::TrailOf(findings, hit);
        const bool disabled = *zorvik::HitDisabledFlag(const_cast<ProcInfo&>(findings), hit);
        if (hit.kind == zorvik::StartupKind::Lnk) {
            const zorvik::LnkStart& lnk = findings.LnkList[hit.index];
            hits.push_back({lnk.Entry,
                            lnk.Target + (trail.Script.empty() ? "" : " < " + trail.Script),
                            disabled});
            return;
        }
        const std::string first = zorvik::RowOf(hit.kind).columns(findings, hit.index).front();
        hits.push_back({first, trail.Script + trail.RunsInstead + trail.Server, disabled});
    });
    return hits;
}

struct SearchCase {
    std::string what;
    std::string rules;
    std::function<void(SimSystem&)> arrange;
    std::vector<Hit> hits;
    std::string programPath = "C:\\Apps\\bot.exe";
};

struct Found {
    ProcInfo findings;
    bool listed = false;
};

Found Search(SimSystem& sys, const std::string& rules, const std::string& programPath) {
    sys.fs().AddFile(scantest::kRulesPath, rules);
    scantest::SwitchOptions options;
    Found found;
    std::string details;
    const std::string name = programPath.substr(programPath.rfind('\\') + 1);
    found.listed =
        zorvik::FindStartups(sys, options, name, "", found.findings, details, programPath);
    return found;
}

void RunCases(const std::vector<SearchCase>& cases) {
    for (const SearchCase& c : cases) {
        SimSystem sys;
        Prepare(sys);
        c.arrange(sys);
        EXPECT_EQ(HitsOf(Search(sys, c.rules, c.programPath).findings), c.hits) << c.what;
        EXPECT_EQ(sys.reg().OpenKeyCount(), 0) << c.what;
    }
}

std::function<void(SimSystem&)> File(const std::string& path, const std::string& bytes) {
    return [=](SimSystem& sys) { sys.fs().AddFile(path, bytes); };
}

std::function<void(SimSystem&)> Both(std::function<void(SimSystem&)> a,
                                     std::function<void(SimSystem&)> b) {
    return [=](SimSystem& sys) {
        a(sys);
        b(sys);
    };
}

std::function<void(SimSystem&)> RunValue(const std::string& name, const std::string& command) {
    return [=](SimSystem& sys) {
        sys.reg().PutString(RootKey::CurrentUser, scantest::kRunKey, name, command);
    };
}

TEST(ShortcutRuleTest, TargetAndArgumentsOfEachShortcutNameTheProgram) {
    const std::string rules = PathRule("Shortcuts", "LNK", "Users\\*USER*\\Startup") + RunRule();
    const std::string link = kUserStartup + "\\Updater.lnk";
    const std::u16string unicodeTarget = u"C:\\Users\\Zo\u00EB\\\u0416\\bot.exe";
    std::string huge = Shortcut("C:\\Apps\\bot.exe");
    huge.resize(std::size_t{1} << 21, '\0');
    const Hit runValue{"HKEY_CURRENT_USER", "", false};
    RunCases({
        {"target alone",
         rules,
         File(link, Shortcut("C:\\Users\\bob\\AppData\\Roaming\\bot.exe")),
         {{"Updater.lnk", "C:\\Users\\bob\\AppData\\Roaming\\bot.exe"}}},
        {"program in the arguments",
         rules,
         File(link, Shortcut("C:\\WINDOWS\\system32\\cmd.exe", "/c start bot.exe -q")),
         {{"Updater.lnk", "C:\\WINDOWS\\system32\\cmd.exe /c start bot.exe -q"}}},
        {"Unicode target",
         rules,
         File(link, BuildShellLink(LinkParts().WithLinkInfo(
                        BuildLinkInfo("C:\\Users\\ZOE~1\\X~1\\BOT.EXE", "", &unicodeTarget)))),
         {{"Updater.lnk", "C:\\Users\\Zo\xEB\\?\\bot.exe"}}},
        {"relative path only",
         rules,
         File(link, BuildShellLink(LinkParts().WithRelativePath("..\\..\\Apps\\bot.exe"))),
         {{"Updater.lnk", "..\\..\\Apps\\bot.exe"}}},
        {"variables of the folder's account",
         rules,
         File(link, BuildShellLink(
                        LinkParts()
                            .WithExtraBlocks(parse_test::EnvironmentBlock("%APPDATA%\\bot.exe"))
                            .WithMoreFlags(0x200))),
         {{"Updater.lnk", "C:\\Users\\bob\\AppData\\Roaming\\bot.exe"}}},
        {"renamed to .lnk.bak",
         rules,
         File(link + ".bak", Shortcut("C:\\Apps\\bot.exe")),
         {{"Updater.lnk.bak", "C:\\Apps\\bot.exe", true}}},
        {"other program", rules, File(link, Shortcut("C:\\Apps\\other.exe", "bot.ini")), {}},
        {"not a shortcut's name",
         rules,
         File(kUserStartup + "\\bot.exe.url", Shortcut("C:\\Apps\\bot.exe")),
         {}},
        {"broken, the scan goes on",
         rules,
         Both(File(link, Shortcut("C:\\Apps\\bot.exe").substr(0, 0x60)),
              RunValue("Bot", "bot.exe")),
         {runValue}},
        {"huge, the scan goes on",
         rules,
         Both(File(link, huge), RunValue("Bot", "bot.exe")),
         {runValue}},
        {"locked, the scan goes on",
         rules,
         Both(Both(File(link, Shortcut("C:\\Apps\\bot.exe")),
                   [&](SimSystem& sys) { sys.fs().Lock(link, true); }),
              RunValue("Bot", "bot.exe")),
         {runValue}},
    });
}

TEST(ShortcutRuleTest, AShortcutOfAllUsersFolderIsOneEntryWhateverTheAccounts) {
    const std::string common = "C:\\ProgramData\\Startup";
    const auto threeAccounts = [&](SimSystem& sys) {
        sys.users().SetUsers({"bob", "alice", "Public"});
        sys.fs().AddFile(common + "\\Bot.lnk", Shortcut("C:\\Apps\\bot.exe"));
        sys.fs().AddFile(common + "\\bot.exe", "MZ");
    };
    RunCases({
        {"LNK: one entry",
         PathRule("All users", "LNK", "ProgramData\\Startup"),
         threeAccounts,
         {{"Bot.lnk", "C:\\Apps\\bot.exe"}}},
        {"FOL: once per account, as always",
         PathRule("All users", "FOL", "ProgramData\\Startup"),
         threeAccounts,
         {{common, ""}, {common, ""}, {common, ""}}},
    });
}

TEST(ScriptsKeyTest, LinesOfTheScriptsAnEntryNamesOrAFolderHoldsAreItsTexts) {
    const std::string scripts = "Scripts=1\r\n";
    // As the shipped Run rules: the lines of a script are unquoted commands too.
    const std::string runRule = WithKeys(RunRule(), scripts + "Unquoted=1\r\n");
    const std::string lnkRule =
        WithKeys(PathRule("Shortcuts", "LNK", "Users\\*USER*\\Startup"), scripts);
    const std::string script = "C:\\Scripts\\start.bat";
    const std::string utf16 = "\xFF\xFE" + parse_test::Utf16(
                                               "Set s = CreateObject(\"WScript.Shell\")\r\n"
                                               "s.Run \"C:\\Apps\\bot.exe\", 0\r\n");
    std::string huge = "C:\\Apps\\bot.exe\r\n";
    huge.resize((std::size_t{1} << 20) + 1, ' ');
    RunCases({
        {"ANSI batch named by a Run value",
         runRule,
         Both(File(script, "@echo off\r\nstart \"\" C:\\Apps\\bot.exe\r\n"),
              RunValue("Go", script)),
         {{"HKEY_CURRENT_USER", script}}},
        {"UTF-16 script in quotes after its host, variables expanded",
         runRule,
         Both(File("C:\\Users\\me\\AppData\\Roaming\\run.vbs", utf16),
              RunValue("Go", "wscript.exe //B \"%APPDATA%\\run.vbs\"")),
         {{"HKEY_CURRENT_USER", "C:\\Users\\me\\AppData\\Roaming\\run.vbs"}}},
        {"unquoted path with a blank",
         runRule,
         Both(File("C:\\My Scripts\\go.cmd", "C:\\Apps\\bot.exe.bak\n"),
              RunValue("Go", "cmd.exe /c C:\\My Scripts\\go.cmd")),
         {{"HKEY_CURRENT_USER", "C:\\My Scripts\\go.cmd", true}}},
        {"a script named by the script is not followed",
         runRule,
         Both(Both(File(script, "call C:\\Scripts\\inner.bat\r\n"),
                   File("C:\\Scripts\\inner.bat", "C:\\Apps\\bot.exe\r\n")),
              RunValue("Go", script)),
         {}},
        {"script gone", runRule, RunValue("Go", script), {}},
        {"huge script", runRule, Both(File(script, huge), RunValue("Go", script)), {}},
        {"locked script",
         runRule,
         Both(Both(File(script, "C:\\Apps\\bot.exe\r\n"), RunValue("Go", script)),
              [&](SimSystem& sys) { sys.fs().Lock(script, true); }),
         {}},
        {"rule without the key",
         RunRule(),
         Both(File(script, "C:\\Apps\\bot.exe\r\n"), RunValue("Go", script)),
         {}},
        {"script lying in the start-up folder",
         lnkRule,
         File(kUserStartup + "\\go.cmd", "C:\\Apps\\bot.exe /q\r\n"),
         {{"go.cmd", " < " + kUserStartup + "\\go.cmd"}}},
        {"shortcut to a script",
         lnkRule,
         Both(File(kUserStartup + "\\Go.lnk", Shortcut(script)),
              File(script, "C:\\Apps\\bot.exe\r\n")),
         {{"Go.lnk", script + " < " + script}}},
    });
}

TEST(FolderKeyTest, TheShellsOwnFolderIsReadOnceWhereverItWasMoved) {
    const std::string moved = "C:\\Users\\me\\Moved Startup";
    const auto movedTo = [&](RootKey root, const std::string& name) {
        return [=](SimSystem& sys) {
            sys.reg().Put(root, kUserShellFolders, name, RegType::ExpandSz,
                          std::string("%USERPROFILE%\\Moved Startup\\") + '\0');
            sys.fs().AddFile(moved + "\\bot.exe", "MZ");
        };
    };
    const std::string userFolder = "[Moved]\r\nType=FOL\r\nFolder=Startup\r\n";
    const std::string fixed = PathRule("Fixed", "FOL", "Users\\me\\Moved Startup");
    const Hit hit{moved, ""};
    RunCases({
        {"the user's folder, moved", userFolder, movedTo(RootKey::CurrentUser, "Startup"), {hit}},
        {"all users' folder",
         "[Moved]\r\nType=FOL\r\nFolder=common startup\r\n",
         movedTo(RootKey::LocalMachine, "Common Startup"),
         {hit}},
        {"read by a fixed path before",
         fixed + userFolder,
         movedTo(RootKey::CurrentUser, "Startup"),
         {hit}},
        {"named twice", userFolder + userFolder, movedTo(RootKey::CurrentUser, "Startup"), {hit}},
        {"fixed paths are each read",
         fixed + fixed,
         movedTo(RootKey::CurrentUser, "Startup"),
         {hit, hit}},
        {"read first, then by a fixed path",
         userFolder + fixed,
         movedTo(RootKey::CurrentUser, "Startup"),
         {hit, hit}},
        {"no value",
         userFolder,
         [&](SimSystem& sys) { sys.fs().AddFile(moved + "\\bot.exe", "MZ"); },
         {}},
        {"shortcuts of the moved folder",
         "[Moved]\r\nType=LNK\r\nFolder=Startup\r\n",
         Both(movedTo(RootKey::CurrentUser, "Startup"),
              File(moved + "\\bot.lnk", Shortcut("C:\\Apps\\bot.exe"))),
         {{"bot.lnk", "C:\\Apps\\bot.exe"}}},
    });
}

TEST(UnquotedKeyTest, AProgramWhereWindowsLooksFirstIsAHitOfTheEntry) {
    const std::string rule =
        WithKeys(RegRule("Services", "HKEY_LOCAL_MACHINE", kServices, "ENUM2"), "Unquoted=1\r\n");
    const auto imagePath = [](const std::string& command) {
        return [=](SimSystem& sys) {
            sys.reg().Put(RootKey::LocalMachine, kServices + "\\Some", "ImagePath",
                          RegType::ExpandSz, command + '\0');
            sys.fs().AddFile("C:\\Program Files\\Some Big Service\\svc.exe", "MZ");
        };
    };
    const std::string twoBlanks = "C:\\Program Files\\Some Service\\svc.exe";
    const std::string threeBlanks = "C:\\Program Files\\Some Big Service\\svc.exe -k group";
    const Hit first{"HKEY_LOCAL_MACHINE", "C:\\Program.exe"};
    RunCases({
        {"two blanks",
         rule,
         Both(imagePath(twoBlanks), File("C:\\Program.exe", "MZ")),
         {first},
         "C:\\Program.exe"},
        {"a program of that name elsewhere",
         rule,
         Both(imagePath(twoBlanks), File("C:\\Program.exe", "MZ")),
         {},
         "D:\\Tools\\program.exe"},
        {"three blanks, the second place",
         rule,
         Both(imagePath(threeBlanks), File("C:\\Program Files\\Some Big.exe", "MZ")),
         {{"HKEY_LOCAL_MACHINE", "C:\\Program Files\\Some Big.exe"}},
         "C:\\Program Files\\Some Big.exe"},
        {"variables expanded first",
         rule,
         Both(imagePath("%ProgramFiles%\\Some Big Service\\svc.exe"),
              File("C:\\Program.exe", "MZ")),
         {first},
         "C:\\Program.exe"},
        {"quoted",
         rule,
         Both(imagePath("\"" + twoBlanks + "\""), File("C:\\Program.exe", "MZ")),
         {},
         "C:\\Program.exe"},
        {"renamed to .bak",
         rule,
         Both(imagePath(twoBlanks), File("C:\\Program.exe.bak", "MZ")),
         {{"HKEY_LOCAL_MACHINE", "C:\\Program.exe", true}},
         "C:\\Program.exe"},
        {"renamed while it runs",
         rule,
         Both(imagePath(twoBlanks), File("C:\\Program.exe.bak", "MZ")),
         {{"HKEY_LOCAL_MACHINE", "C:\\Program.exe", true}},
         "C:\\Program.exe.bak"},
        {"rule without the key",
         RegRule("Services", "HKEY_LOCAL_MACHINE", kServices, "ENUM2"),
         Both(imagePath(twoBlanks), File("C:\\Program.exe", "MZ")),
         {},
         "C:\\Program.exe"},
    });
}

TEST(ClassesKeyTest, AClassIdIsFollowedToTheServersOfThatClassAlone) {
    const std::string id = "{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}";
    const std::string providers = "Software\\Microsoft\\AMSI\\Providers";
    const std::string handlers = "Software\\Handlers";
    const std::string machineClass = "Software\\Classes\\CLSID\\" + id;
    const std::string machineServer = "HKEY_LOCAL_MACHINE\\" + machineClass + "\\InprocServer32";
    const std::string amsi =
        WithKeys(RegRule("AMSI", "HKEY_LOCAL_MACHINE", providers + "\\*", "MATCH"), "Classes=1\r\n");
    const std::string byValue =
        WithKeys(RegRule("Handlers", "HKEY_LOCAL_MACHINE", handlers + "\\*", "MATCH"),
                 "Classes=1\r\n");
    const auto server = [&](RootKey root, const std::string& classKey, const std::string& kind,
                            const std::string& text) {
        return [=](SimSystem& sys) { sys.reg().PutString(root, classKey + "\\" + kind, "", text); };
    };
    const auto provider = [&](const std::string& name) {
        return [=](SimSystem& sys) {
            sys.reg().PutString(RootKey::LocalMachine, providers + "\\" + name, "", "Provider");
        };
    };
    const auto handler = [&](const std::string& value) {
        return [=](SimSystem& sys) {
            sys.reg().PutString(RootKey::LocalMachine, handlers + "\\Menu", "", value);
        };
    };
    const std::string botDll = "C:\\Apps\\bot.exe";
    const Hit providerHit{"HKEY_LOCAL_MACHINE", machineServer};
    RunCases({
        {"key named by the class id",
         amsi,
         Both(provider(id), server(RootKey::LocalMachine, machineClass, "InprocServer32", botDll)),
         {providerHit}},
        {"class id of a value, in blanks",
         byValue,
         Both(handler(" " + id + " "),
              server(RootKey::LocalMachine, machineClass, "InprocServer32", botDll)),
         {providerHit}},
        {"the user's registration and the 32-bit view's local server",
         amsi,
         Both(Both(provider(id), server(RootKey::CurrentUser, "Software\\Classes\\CLSID\\" + id,
                                        "InprocServer32", botDll)),
              server(RootKey::LocalMachine, "Software\\Classes\\Wow6432Node\\CLSID\\" + id,
                     "LocalServer32", botDll + " -Embedding")),
         {{"HKEY_LOCAL_MACHINE",
           "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\" + id + "\\InprocServer32"},
          {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node\\CLSID\\" +
                                     id + "\\LocalServer32"}}},
        {"another class's server",
         amsi,
         Both(provider(id), server(RootKey::LocalMachine,
                                   "Software\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000000}",
                                   "InprocServer32", botDll)),
         {}},
        {"no class id",
         byValue,
         Both(handler("{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4}"),
              server(RootKey::LocalMachine, machineClass, "InprocServer32", botDll)),
         {}},
        {"rule without the key",
         RegRule("AMSI", "HKEY_LOCAL_MACHINE", providers + "\\*", "MATCH"),
         Both(provider(id), server(RootKey::LocalMachine, machineClass, "InprocServer32", botDll)),
         {}},
    });
}

struct DisableCase {
    std::string what;
    std::string rules;
    std::function<void(SimSystem&)> arrange;
    std::string programPath;
    zorvik::PlaceOpening shown;
    std::function<std::string(SimSystem&)> entry;  // what the entry holds after Disable
    std::string entryAfter;
    std::vector<Hit> hitsAfter;  // found by the next search
};

std::function<std::string(SimSystem&)> Content(const std::string& path) {
    return [=](SimSystem& sys) { return sys.fs().Content(path).value_or("<none>"); };
}

TEST(DisableFollowedTest, EachHitIsDisabledWhereItWasFoundAndShowOpensThatPlace) {
    const std::string script = "C:\\Scripts\\start.bat";
    const std::string link = kUserStartup + "\\Updater.lnk";
    const std::string lnkRule =
        PathRule("Shortcuts", "LNK", "Users\\*USER*\\Startup") + "Scripts=1\r\n";
    const std::string unquoted =
        WithKeys(RegRule("Services", "HKEY_LOCAL_MACHINE", kServices, "ENUM2"), "Unquoted=1\r\n");
    const std::string moved = "C:\\Users\\me\\Moved";
    const std::string classId = "{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}";
    const std::string classServer = "Software\\Classes\\CLSID\\" + classId + "\\InprocServer32";
    const DisableCase cases[] = {
        {"shortcut",
         lnkRule,
         File(link, Shortcut("C:\\Apps\\bot.exe", "-s")),
         "C:\\Apps\\bot.exe",
         {zorvik::kFileManager, "/select,\"" + link + "\"", std::nullopt},
         [&](SimSystem& sys) { return std::to_string(sys.fs().Exists(link + ".bak")); },
         "1",
         {{"Updater.lnk.bak", "C:\\Apps\\bot.exe -s", true}}},
        {"shortcut of a moved folder",
         "[Moved]\r\nType=LNK\r\nFolder=Startup\r\n",
         [&](SimSystem& sys) {
             sys.reg().PutString(RootKey::CurrentUser, kUserShellFolders, "Startup", moved);
             sys.fs().AddFile(moved + "\\Bot.lnk", Shortcut("C:\\Apps\\bot.exe"));
         },
         "C:\\Apps\\bot.exe",
         {zorvik::kFileManager, "/select,\"" + moved + "\\Bot.lnk\"", std::nullopt},
         [&](SimSystem& sys) { return std::to_string(sys.fs().Exists(moved + "\\Bot.lnk.bak")); },
         "1",
         {{"Bot.lnk.bak", "C:\\Apps\\bot.exe", true}}},
        {"line of a script a Run value names",
         WithKeys(RunRule(), "Scripts=1\r\n"),
         Both(RunValue("Go", script),
              File(script, "@echo off\r\nstart \"\" \"C:\\Apps\\Bot.exe\" /log C:\\x.txt\r\n")),
         "C:\\Apps\\bot.exe",
         {zorvik::kTextEditor, script, std::nullopt},
         Content(script),
         "@echo off\r\nstart \"\" \"C:\\Apps\\Bot.exe.bak\" /log C:\\x.txt\r\n",
         {{"HKEY_CURRENT_USER", script, true}}},
        {"UTF-16 script",
         WithKeys(RunRule(), "Scripts=1\r\n"),
         Both(RunValue("Go", "wscript \"C:\\Scripts\\go.vbs\""),
              File("C:\\Scripts\\go.vbs", "\xFF\xFE" + parse_test::Utf16("s.Run \"BOT.EXE\"\r\n"))),
         "C:\\Apps\\bot.exe",
         {zorvik::kTextEditor, "C:\\Scripts\\go.vbs", std::nullopt},
         Content("C:\\Scripts\\go.vbs"),
         "\xFF\xFE" + parse_test::Utf16("s.Run \"BOT.EXE.bak\"\r\n"),
         {{"HKEY_CURRENT_USER", "C:\\Scripts\\go.vbs", true}}},
        {"script in the start-up folder",
         lnkRule,
         File(kUserStartup + "\\go.cmd", "C:\\Apps\\bot.exe\r\n"),
         "C:\\Apps\\bot.exe",
         {zorvik::kTextEditor, kUserStartup + "\\go.cmd", std::nullopt},
         Content(kUserStartup + "\\go.cmd"),
         "C:\\Apps\\bot.exe.bak\r\n",
         {{"go.cmd", " < " + kUserStartup + "\\go.cmd", true}}},
        {"program run instead",
         unquoted,
         [&](SimSystem& sys) {
             sys.reg().PutString(RootKey::LocalMachine, kServices + "\\Some", "ImagePath",
                                 "C:\\Program Files\\Some Service\\svc.exe -k");
             sys.fs().AddFile("C:\\Program.exe", "MZ");
         },
         "C:\\Program.exe",
         {zorvik::kFileManager, "/select,\"C:\\Program.exe\"", std::nullopt},
         [](SimSystem& sys) {
             return std::to_string(sys.fs().Exists("C:\\Program.exe.bak")) +
                    std::to_string(sys.fs().Exists("C:\\Program.exe"));
         },
         "10",
         {{"HKEY_LOCAL_MACHINE", "C:\\Program.exe", true}}},
        {"server of a class the entry names",
         WithKeys(RegRule("AMSI", "HKEY_LOCAL_MACHINE", "Software\\AMSI\\*", "MATCH"),
                  "Classes=1\r\n"),
         [&](SimSystem& sys) {
             sys.reg().PutString(RootKey::LocalMachine, "Software\\AMSI\\" + classId, "", "P");
             sys.reg().PutString(RootKey::LocalMachine, classServer, "", "C:\\Apps\\bot.exe");
         },
         "C:\\Apps\\bot.exe",
         {zorvik::kRegistryEditor, "", "HKEY_LOCAL_MACHINE\\" + classServer},
         [&](SimSystem& sys) {
             const auto value = sys.reg().Get(RootKey::LocalMachine, classServer, "");
             return value ? value->data.substr(0, value->data.find('\0')) : "<none>";
         },
         "c:\\apps\\bot.exe.bak",
         {{"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE\\" + classServer, true}}},
    };
    for (const DisableCase& c : cases) {
        SimSystem sys;
        Prepare(sys);
        c.arrange(sys);
        Found found = Search(sys, c.rules, c.programPath);
        ASSERT_EQ(zorvik::HitCount(found.findings), 1u) << c.what;
        zorvik::StartupHit hit;
        zorvik::ForEachHit(found.findings, [&](zorvik::StartupHit h) { hit = h; });

        const zorvik::PlaceOpening shown = zorvik::OpeningOf(found.findings, hit);
        EXPECT_EQ(shown.program, c.shown.program) << c.what;
        EXPECT_EQ(shown.target, c.shown.target) << c.what;
        EXPECT_EQ(shown.editorKey, c.shown.editorKey) << c.what;

        const std::string name = c.programPath.substr(c.programPath.rfind('\\') + 1);
        EXPECT_EQ(zorvik::DisableStartup(sys, found.findings, hit, name).result,
                  zorvik::DisableResult::Disabled)
            << c.what;
        EXPECT_TRUE(*zorvik::HitDisabledFlag(found.findings, hit)) << c.what;
        EXPECT_EQ(c.entry(sys), c.entryAfter) << c.what;
        EXPECT_EQ(HitsOf(Search(sys, c.rules, c.programPath).findings), c.hitsAfter) << c.what;
    }
}

}  // namespace
