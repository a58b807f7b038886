// The start-up entry actions on a hit record, without a window: Disable changes the entry the hit
// was found at and marks the hit only when it did; Show's target names the place to open.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "platform/sim/ui/SimUi.h"
#include "unit/engine/ScanTestSupport.h"

namespace {

using platform::RegType;
using platform::RootKey;
using platform::sim::SimSystem;
using zorvik::DisableResult;
using zorvik::ProcInfo;
using zorvik::StartupHit;
using zorvik::StartupKind;

const std::string kProgram = "C:\\Apps\\alpha.exe";
const std::string kProgramFileName = "alpha.exe";
const std::string kRunKey = scantest::kRunKey;
const std::string kWinIni = "C:\\WINDOWS\\win.ini";
const std::string kFolder = "C:\\Startup";
const std::string kBatchFile = "C:\\autoexec.bat";

ProcInfo RunValueHit(const std::string& name = "Alpha") {
    ProcInfo findings;
    findings.RegList.push_back({"HKEY_CURRENT_USER", kRunKey, name, false});
    return findings;
}
ProcInfo WinIniHit() {
    ProcInfo findings;
    findings.IniList.push_back({"win.ini", "windows", "load", false});
    return findings;
}
ProcInfo FolderHit() {
    ProcInfo findings;
    findings.FolList.push_back({kFolder, false, "alpha.exe"});
    return findings;
}
ProcInfo BatchFileHit() {
    ProcInfo findings;
    findings.FilList.push_back({"C:\\other.bat", false, {}});
    findings.FilList.push_back({kBatchFile, false, {}});
    return findings;
}

const std::string kListKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const std::string kServiceKey = "SYSTEM\\CurrentControlSet\\Services\\AlphaSvc";

ProcInfo ListValueHit() {
    ProcInfo findings;
    findings.RegList.push_back({"HKEY_LOCAL_MACHINE", kListKey, "BootExecute", false});
    return findings;
}
ProcInfo ServiceHit() {
    ProcInfo findings;
    findings.SvcList.push_back({"HKEY_LOCAL_MACHINE", kServiceKey, "AlphaSvc", "ImagePath", 2, false});
    return findings;
}

// A REG_MULTI_SZ value's strings joined by "|".
std::string ListValue(SimSystem& sys) {
    const auto value = sys.reg().Get(RootKey::LocalMachine, kListKey, "BootExecute");
    if (!value) return "<none>";
    std::string text = value->data;
    for (char& c : text) c = c == '\0' ? '|' : c;
    return text;
}
void PutList(SimSystem& sys, const std::string& strings) {
    std::string data = strings;
    for (char& c : data) c = c == '|' ? '\0' : c;
    sys.reg().Put(RootKey::LocalMachine, kListKey, "BootExecute", RegType::MultiSz, data);
}
void PutStart(SimSystem& sys, const std::string& name, char start) {
    sys.reg().Put(RootKey::LocalMachine, kServiceKey, name, RegType::Dword, std::string{start, 0, 0, 0});
}
// The service's Start and Start.bak as numbers, "-" for a missing one.
std::string StartValues(SimSystem& sys) {
    std::string text;
    for (const char* name : {"Start", "Start.bak"}) {
        const auto value = sys.reg().Get(RootKey::LocalMachine, kServiceKey, name);
        text += std::string(text.empty() ? "" : " ") +
                (value ? std::to_string(static_cast<int>(value->type)) + ":" +
                             std::to_string(static_cast<int>(value->data.at(0)))
                       : "-");
    }
    return text;
}

std::string RunValue(SimSystem& sys) {
    const auto value = sys.reg().Get(RootKey::CurrentUser, kRunKey, "Alpha");
    return value ? value->data.substr(0, value->data.find('\0')) : "<none>";
}
std::string WinIniLoad(SimSystem& sys) { return sys.profile().ReadString("win.ini", "windows", "load", ""); }
std::string FolderEntries(SimSystem& sys) {
    std::string names;
    for (const auto& entry : sys.files().List(kFolder + "\\*").value_or(std::vector<platform::FindEntry>{}))
        if (entry.name[0] != '.') names += entry.name + ";";
    return names;
}
std::string BatchText(SimSystem& sys) { return sys.fs().Content(kBatchFile).value_or("<none>"); }

struct DisableCase {
    std::string what;
    std::function<void(SimSystem&)> arrange;
    std::function<ProcInfo()> findings;
    StartupHit hit;
    DisableResult result;
    std::string place;
    std::function<std::string(SimSystem&)> entry;
    std::string entryAfter;
};

TEST(DisableStartupTest, ChangesTheEntryOfTheHitAndMarksItOnlyWhenItDid) {
    const auto putRun = [](const std::string& command) {
        return [command](SimSystem& sys) {
            sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Alpha", command);
        };
    };
    const StartupHit reg{StartupKind::Reg, 0};
    const StartupHit ini{StartupKind::Ini, 0};
    const StartupHit fol{StartupKind::Fol, 0};
    const StartupHit fil{StartupKind::Fil, 1};
    const StartupHit svc{StartupKind::Svc, 0};
    const auto putList = [](const std::string& strings) {
        return [strings](SimSystem& sys) { PutList(sys, strings); };
    };
    const auto putStart = [](char start) {
        return [start](SimSystem& sys) { PutStart(sys, "Start", start); };
    };
    const DisableCase cases[] = {
        {"bare program path: its long form",
         [&](SimSystem& sys) {
             sys.fs().AddFile("C:\\Program Files\\alpha.exe", "MZ");
             sys.fs().SetShortName("C:\\Program Files", "PROGRA~1");
             putRun("C:\\PROGRA~1\\ALPHA.EXE")(sys);
         },
         [] { return RunValueHit(); }, reg, DisableResult::Disabled, "", RunValue,
         "c:\\program files\\alpha.exe.bak"},
        {"command with arguments", putRun("\"C:\\Apps\\Alpha.exe\" /Min"), [] { return RunValueHit(); },
         reg, DisableResult::Disabled, "", RunValue, "\"c:\\apps\\alpha.exe.bak\" /min"},
        {"key refusing full access",
         [&](SimSystem& sys) {
             putRun(kProgram)(sys);
             sys.reg().DenyFullAccess(RootKey::CurrentUser, kRunKey);
         },
         [] { return RunValueHit(); }, reg, DisableResult::Unchanged, "", RunValue, kProgram},
        {"value gone since the scan", putRun(kProgram), [] { return RunValueHit("Gone"); }, reg,
         DisableResult::Unchanged, "",
         [](SimSystem& sys) { return sys.reg().Get(RootKey::CurrentUser, kRunKey, "Gone") ? "added" : "absent"; },
         "absent"},
        {"value become a number",
         [](SimSystem& sys) {
             sys.reg().Put(RootKey::CurrentUser, kRunKey, "Alpha", RegType::Dword, std::string("\x01\0\0\0", 4));
         },
         [] { return RunValueHit(); }, reg, DisableResult::RegistryRefused, "",
         [](SimSystem& sys) { return std::to_string(static_cast<int>(sys.reg().Get(RootKey::CurrentUser, kRunKey, "Alpha")->type)); },
         std::to_string(static_cast<int>(RegType::Dword))},
        {"key refusing writes",
         [&](SimSystem& sys) {
             putRun(kProgram)(sys);
             sys.reg().DenyWrites(RootKey::CurrentUser, kRunKey);
         },
         [] { return RunValueHit(); }, reg, DisableResult::RegistryRefused, "", RunValue, kProgram},
        {"profile entry",
         [](SimSystem& sys) { sys.fs().AddFile(kWinIni, "[windows]\r\nload=\"C:\\Apps\\Alpha.EXE\" -q\r\n"); },
         WinIniHit, ini, DisableResult::Disabled, "", WinIniLoad, "\"c:\\apps\\alpha.exe.bak\" -q"},
        {"read-only profile file",
         [](SimSystem& sys) {
             sys.fs().AddFile(kWinIni, "[windows]\r\nload=C:\\Apps\\alpha.exe\r\n");
             sys.fs().SetAttributes(kWinIni, platform::kAttrReadOnly);
         },
         WinIniHit, ini, DisableResult::ProfileNotWritten, "win.ini", WinIniLoad, kProgram},
        {"folder entry", [](SimSystem& sys) { sys.fs().AddFile(kFolder + "\\alpha.exe", "MZ"); },
         FolderHit, fol, DisableResult::Disabled, "", FolderEntries, "alpha.exe.bak;"},
        {"folder entry under another name",
         [](SimSystem& sys) { sys.fs().AddFile(kFolder + "\\alpha.exe.lnk", "shortcut"); }, FolderHit,
         fol, DisableResult::Unchanged, "", FolderEntries, "alpha.exe.lnk;"},
        {"text file lines",
         [](SimSystem& sys) { sys.fs().AddFile(kBatchFile, "@echo off\r\nC:\\Apps\\ALPHA.EXE /X\r\nrem MyAlpha.exe"); },
         BatchFileHit, fil, DisableResult::Disabled, "", BatchText,
         "@echo off\r\nc:\\apps\\alpha.exe.bak /x\r\nrem myalpha.exe.bak\r\n"},
        {"text file no longer naming the program",
         [](SimSystem& sys) { sys.fs().AddFile(kBatchFile, "one\rtwo\r"); }, BatchFileHit, fil,
         DisableResult::Unchanged, "", BatchText, "one\r\ntwo\r\n"},
        {"locked text file",
         [](SimSystem& sys) {
             sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
             sys.fs().Lock(kBatchFile, true);
         },
         BatchFileHit, fil, DisableResult::FileNotRead, kBatchFile,
         [](SimSystem& sys) {
             sys.fs().Lock(kBatchFile, false);
             return BatchText(sys);
         },
         "C:\\Apps\\alpha.exe\r\n"},
        {"read-only text file",
         [](SimSystem& sys) {
             sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
             sys.fs().SetAttributes(kBatchFile, platform::kAttrReadOnly);
         },
         BatchFileHit, fil, DisableResult::FileNotWritten, kBatchFile, BatchText, "C:\\Apps\\alpha.exe\r\n"},
        {"scratch name taken by a folder",
         [](SimSystem& sys) {
             sys.fs().AddFile(kBatchFile, "C:\\Apps\\alpha.exe\r\n");
             sys.fs().AddDirectory(kBatchFile + ".~zorvik");
         },
         BatchFileHit, fil, DisableResult::FileNotWritten, kBatchFile, BatchText, "C:\\Apps\\alpha.exe\r\n"},
        {"list value: each string naming the program, the rest kept",
         putList("autocheck autochk *|C:\\Apps\\Alpha.exe /X|c:\\old\\alpha.exe.bak||C:\\hidden\\alpha.exe|"),
         ListValueHit, reg, DisableResult::Disabled, "", ListValue,
         "autocheck autochk *|c:\\apps\\alpha.exe.bak /x|c:\\old\\alpha.exe.bak||C:\\hidden\\alpha.exe|"},
        {"list value: every string disabled already", putList("c:\\old\\alpha.exe.bak||"), ListValueHit,
         reg, DisableResult::Disabled, "", ListValue, "c:\\old\\alpha.exe.bak.bak||"},
        {"list value no longer naming the program", putList("autocheck autochk *||"), ListValueHit, reg,
         DisableResult::Unchanged, "", ListValue, "autocheck autochk *||"},
        {"service: disabled, its start type kept", putStart(2), ServiceHit, svc, DisableResult::Disabled,
         "", StartValues, "4:4 4:2"},
        {"service without a start type", [](SimSystem& sys) { sys.reg().MakeKey(RootKey::LocalMachine, kServiceKey); },
         ServiceHit, svc, DisableResult::Disabled, "", StartValues, "4:4 -"},
        {"service disabled already: its former start type stays",
         [](SimSystem& sys) {
             PutStart(sys, "Start", 4);
             PutStart(sys, "Start.bak", 3);
         },
         ServiceHit, svc, DisableResult::Disabled, "", StartValues, "4:4 4:3"},
        {"service key refusing full access",
         [&](SimSystem& sys) {
             putStart(3)(sys);
             sys.reg().DenyFullAccess(RootKey::LocalMachine, kServiceKey);
         },
         ServiceHit, svc, DisableResult::RegistryRefused, "", StartValues, "4:3 -"},
        {"service key refusing writes",
         [&](SimSystem& sys) {
             putStart(3)(sys);
             sys.reg().DenyWrites(RootKey::LocalMachine, kServiceKey);
         },
         ServiceHit, svc, DisableResult::RegistryRefused, "", StartValues, "4:3 -"},
        {"service gone since the scan", [](SimSystem&) {}, ServiceHit, svc, DisableResult::Unchanged, "",
         [](SimSystem& sys) { return sys.reg().KeyExists(RootKey::LocalMachine, kServiceKey) ? "added" : "absent"; },
         "absent"},
        {"hit past its list", putRun(kProgram), [] { return RunValueHit(); }, StartupHit{StartupKind::Reg, 1},
         DisableResult::Unchanged, "", RunValue, kProgram},
    };
    for (const DisableCase& c : cases) {
        SimSystem sys;
        sys.fs().AddFile(kProgram, "MZ");
        sys.reg().MakeKey(RootKey::CurrentUser, kRunKey);
        sys.fs().AddDirectory(kFolder);
        c.arrange(sys);
        ProcInfo findings = c.findings();

        const zorvik::DisableOutcome outcome =
            zorvik::DisableStartup(sys, findings, c.hit, kProgramFileName);

        EXPECT_EQ(outcome.result, c.result) << c.what;
        EXPECT_EQ(outcome.place, c.place) << c.what;
        EXPECT_EQ(c.entry(sys), c.entryAfter) << c.what;
        // Only the hit acted on, and only once its entry is disabled; a text file's other hits
        // keep their own flags.
        zorvik::ForEachHit(findings, [&](StartupHit hit) {
            const bool marked = c.result == DisableResult::Disabled && hit.kind == c.hit.kind &&
                                hit.index == c.hit.index;
            EXPECT_EQ(*zorvik::HitDisabledFlag(findings, hit), marked) << c.what << ", hit " << hit.index;
        });
        EXPECT_EQ(sys.reg().OpenKeyCount(), 0) << c.what;
    }
}

ProcInfo SchedulerOnlyTaskHit() {
    ProcInfo findings;
    findings.TaskList.push_back({"\\Alpha", "", "C:\\Apps\\alpha.exe", false});
    return findings;
}

// Windows' own programs by their full paths in this system's Windows and system folders, never
// by bare names the shell would search for beside the program first.
TEST(ShowStartupTest, OpensEachKindInItsToolAndPointsTheRegistryEditorAtTheKey) {
    struct Case {
        ProcInfo findings;
        StartupHit hit;
        std::string file;
        std::string parameters;
        std::optional<std::string> editorKey;
    };
    const std::string windows = "D:\\WINNT";
    const std::string system = windows + "\\system32";
    const Case cases[] = {
        {RunValueHit(), {StartupKind::Reg, 0}, windows + "\\regedit.exe", "", "HKEY_CURRENT_USER\\" + kRunKey},
        {WinIniHit(), {StartupKind::Ini, 0}, system + "\\notepad.exe", "win.ini", std::nullopt},
        {FolderHit(), {StartupKind::Fol, 0}, kFolder, "", std::nullopt},
        {BatchFileHit(), {StartupKind::Fil, 1}, system + "\\notepad.exe", kBatchFile, std::nullopt},
        {ServiceHit(), {StartupKind::Svc, 0}, windows + "\\regedit.exe", "", "HKEY_LOCAL_MACHINE\\" + kServiceKey},
        {SchedulerOnlyTaskHit(), {StartupKind::Task, 0}, system + "\\control.exe", "schedtasks", std::nullopt},
    };
    SimSystem sys;
    sys.fs().SetWindowsDirectory(windows);
    platform::sim::SimShell& shell = platform::sim::ShellOf(sys);
    for (const Case& c : cases) {
        const zorvik::PlaceOpening opening = zorvik::OpeningOf(c.findings, c.hit);
        EXPECT_EQ(opening.editorKey, c.editorKey) << c.file;
        zorvik::OpenPlace(sys, opening);
        ASSERT_FALSE(shell.Executions().empty());
        const platform::ShellExecuteRequest& run = shell.Executions().back();
        EXPECT_EQ(run.verb, "OPEN");
        EXPECT_EQ(run.file, c.file);
        EXPECT_EQ(run.parameters, c.parameters) << c.file;
        EXPECT_EQ(run.show, platform::kShowNormal);
    }

    const std::string editorKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
    EXPECT_FALSE(zorvik::PointRegistryEditorAt(sys, "HKEY_CURRENT_USER\\Software")) << "never created";
    EXPECT_FALSE(sys.reg().KeyExists(RootKey::CurrentUser, editorKey));
    sys.reg().MakeKey(RootKey::CurrentUser, editorKey);
    EXPECT_TRUE(zorvik::PointRegistryEditorAt(sys, "HKEY_CURRENT_USER\\Software"));
    const auto lastKey = sys.reg().Get(RootKey::CurrentUser, editorKey, "LastKey");
    ASSERT_TRUE(lastKey.has_value());
    EXPECT_EQ(lastKey->type, RegType::Sz);
    EXPECT_EQ(lastKey->data, std::string("HKEY_CURRENT_USER\\Software") + '\0');
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

}  // namespace
