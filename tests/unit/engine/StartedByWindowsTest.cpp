// What Windows starts by itself beyond a program's own name: DLLs named by start-up places and
// loaded in a socket owner (rules with Dlls=1), the accessibility programs of the logon screen
// at their own path (EXE), WMI's event consumers (WMI) and BITS' transfer jobs (BITS).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/engine/ScanCycle.h"
#include "core/engine/watch/PlaceEntries.h"
#include "core/report/ScanReport.h"
#include "core/engine/startup/StartupActions.h"
#include "platform/sim/autostart/SimTransfers.h"
#include "platform/sim/autostart/SimWmi.h"
#include "platform/sim/system/SimFileFacts.h"
#include "unit/windows/MainTestSupport.h"
#include "unit/zorvikc/ReportCheck.h"

namespace {

using platform::RootKey;
using platform::sim::ScriptedFileFacts;
using scantest::Detected;

const std::string kAppInitKey = "Software\\Test\\Windows";
const std::string kLsaKey = "SYSTEM\\Test\\Lsa";
const std::string kPlainKey = "Software\\Test\\Plain";
const std::string kHostPath = "C:\\WINDOWS\\system32\\svchost.exe";
const std::string kBotDll = "C:\\Bot\\bot.dll";
constexpr std::uint32_t kHostPid = 10;

std::string DllRules() {
    return scantest::RegRule("AppInit", "HKEY_LOCAL_MACHINE", kAppInitKey, "CHECK",
                             "AppInit_DLLs") + "Dlls=1\r\n" +
           scantest::RegRule("LSA", "HKEY_LOCAL_MACHINE", kLsaKey, "ENUM") + "Dlls=1\r\n" +
           scantest::RegRule("Plain", "HKEY_CURRENT_USER", kPlainKey, "ENUM");
}

ScriptedFileFacts OriginalName(const std::string& name) {
    ScriptedFileFacts facts;
    facts.version.emplace();
    facts.version->originalFilename = name;
    return facts;
}

// One simulated machine with its scan; a table case makes a fresh one.
struct Machine {
    Machine() { maintest::AddParent(sys); }

    void WriteRules(const std::string& text) { sys.fs().AddFile(scantest::kRulesPath, text); }

    // A socket owner with its program file and, beside it, the given modules.
    void StartHost(const std::string& path, std::vector<std::string> modules = {},
                   bool modulesReadable = true, std::uint32_t pid = kHostPid) {
        sys.fs().AddFile(path, "MZ");
        platform::sim::SimProcess process;
        process.pid = pid;
        process.parentPid = maintest::kParentPid;
        process.imagePath = path;
        process.modules = std::move(modules);
        process.modulesReadable = modulesReadable;
        sys.procs().AddProcess(process);
        sys.procs().AddSocket(pid, platform::kTcpStateListen, static_cast<std::uint16_t>(pid));
    }

    void Scan() {
        std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    }

    platform::sim::SimSystem sys;
    scantest::SwitchOptions options;
    scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;
};

// ---- DLLs loaded in socket owners -----------------------------------------------------------

TEST(StartedByWindowsTest, ADllNamedByARuleWithDllsListsTheSocketOwnerThatLoadedIt) {
    const std::string systemDll = "C:\\WINDOWS\\system32\\winhttp.dll";
    struct Case {
        const char* what;
        std::vector<std::string> modules;
        std::string appInit, lsa, plain;
        const char* systemDllOriginalName = "winhttp.dll";
        std::string module;  // the module the one hit names; none: not listed
        bool disabled = false;
    };
    const Case cases[] = {
        {"a DLL named by its path", {systemDll, kBotDll}, kBotDll, "", "", "winhttp.dll", kBotDll},
        {"an LSA package named without .dll", {"C:\\WINDOWS\\system32\\bot.dll"}, "", "bot", "",
         "winhttp.dll", "C:\\WINDOWS\\system32\\bot.dll"},
        {"a DLL in a list without .dll", {kBotDll}, "C:\\Bot\\bot,other", "", "", "winhttp.dll",
         kBotDll},
        {"the system's own DLL", {systemDll}, "winhttp.dll", "", "", "winhttp.dll", ""},
        {"a DLL in the system folder built under another name", {systemDll}, "winhttp.dll", "",
         "", "evil.dll", systemDll},
        {"a rule without Dlls=1", {kBotDll}, "", "", kBotDll, "winhttp.dll", ""},
        {"a DLL named by a path with spaces", {"C:\\Program Files\\My Bot\\my bot.dll"},
         "\"C:\\Program Files\\My Bot\\my bot.dll\" /s", "", "", "winhttp.dll",
         "C:\\Program Files\\My Bot\\my bot.dll"},
        {"a DLL its entry names with .bak", {kBotDll}, kBotDll + ".bak", "", "", "winhttp.dll",
         kBotDll, true},
        {"a DLL whose name ends another", {kBotDll}, "C:\\Bot\\robot.dll", "", "",
         "winhttp.dll", ""},
    };
    // A lambda per case, so that a failed ASSERT ends that case only.
    for (const Case& c : cases) [&] {
        SCOPED_TRACE(c.what);
        Machine m;
        m.WriteRules(DllRules());
        m.StartHost(kHostPath, c.modules);
        for (const std::string& module : c.modules) m.sys.fs().AddFile(module, "MZ");
        m.sys.facts().Script(systemDll, OriginalName(c.systemDllOriginalName));
        platform::sim::SimRegistry& reg = m.sys.reg();
        if (!c.appInit.empty())
            reg.PutString(RootKey::LocalMachine, kAppInitKey, "AppInit_DLLs", c.appInit);
        if (!c.lsa.empty()) reg.PutString(RootKey::LocalMachine, kLsaKey, "Packages", c.lsa);
        if (!c.plain.empty()) reg.PutString(RootKey::CurrentUser, kPlainKey, "Dll", c.plain);

        m.Scan();
        const zorvik::ProcessList& list = m.list;

        if (c.module.empty()) {
            EXPECT_EQ(list.Count(), 0u);
            return;
        }
        ASSERT_EQ(list.Count(), 1u);
        const zorvik::ProcessRow& row = list.At(0);
        EXPECT_EQ(row.caption, kHostPath);
        EXPECT_EQ(row.details, Detected(1));
        ASSERT_EQ(row.data->RegList.size(), 1u);
        EXPECT_EQ(row.data->RegList[0].Disabled, c.disabled);
        ASSERT_EQ(row.data->ModuleHits.size(), 1u);
        EXPECT_EQ(row.data->ModuleHits[0].Module, c.module);
    }();
}

TEST(StartedByWindowsTest, AProcessWhoseModulesCannotBeReadIsExaminedAsBefore) {
    Machine m;
    m.WriteRules(DllRules() + scantest::RunRule());
    const std::string closed = "C:\\Apps\\closed.exe";
    m.StartHost(closed, {kBotDll}, false, 10);
    m.StartHost(kHostPath, {kBotDll}, true, 20);
    m.sys.reg().PutString(RootKey::CurrentUser, scantest::kRunKey, "Closed", closed);
    m.sys.reg().PutString(RootKey::LocalMachine, kAppInitKey, "AppInit_DLLs", kBotDll);

    m.Scan();

    const zorvik::ProcessList& list = m.list;
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0).caption, closed);
    EXPECT_EQ(list.At(0).details, Detected(1));
    EXPECT_TRUE(list.At(0).data->ModuleHits.empty());
    EXPECT_EQ(list.At(1).caption, kHostPath);
    ASSERT_EQ(list.At(1).data->ModuleHits.size(), 1u);
}

TEST(StartedByWindowsTest, AHitByTheProgramsOwnNameTakesNoModule) {
    Machine m;
    m.WriteRules(DllRules());
    m.StartHost(kHostPath, {kBotDll});
    m.sys.reg().PutString(RootKey::LocalMachine, kAppInitKey, "AppInit_DLLs",
                          kHostPath + " " + kBotDll);

    m.Scan();
    const zorvik::ProcessList& list = m.list;

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).data->RegList.size(), 1u);
    EXPECT_TRUE(list.At(0).data->ModuleHits.empty());
}

TEST(StartedByWindowsTest, ReportsNameTheModuleAHitWasFoundThrough) {
    Machine m;
    m.WriteRules(DllRules());
    m.StartHost(kHostPath, {kBotDll});
    m.sys.reg().PutString(RootKey::LocalMachine, kAppInitKey, "AppInit_DLLs", kBotDll);
    m.Scan();
    const zorvik::ProcessList& list = m.list;
    ASSERT_EQ(list.Count(), 1u);

    using zorvik::ReportFormat;
    EXPECT_NE(reporttest::Report(list, ReportFormat::Text)
                  .find("value \"AppInit_DLLs\"  module \"C:\\Bot\\bot.dll\"  enabled\n"),
              std::string::npos);
    const std::string csv = reporttest::Report(list, ReportFormat::Csv);
    EXPECT_NE(csv.find(",Module,Starts,Verdict,Reason Codes,Reasons\r\n"), std::string::npos);
    EXPECT_NE(csv.find(",C:\\Bot\\bot.dll,,,,\r\n"), std::string::npos);
    EXPECT_NE(reporttest::Report(list, ReportFormat::Json)
                  .find("\"module\": \"C:\\\\Bot\\\\bot.dll\"}"),
              std::string::npos);
}

// ---- Programs the logon screen starts -------------------------------------------------------

TEST(StartedByWindowsTest, AnAccessibilityProgramAtItsPathIsListedAndMarkedWhenReplaced) {
    const std::string sethc = "C:\\WINDOWS\\system32\\sethc.exe";
    struct Case {
        const char* what;
        std::string path;
        ScriptedFileFacts facts;
        bool listed;
        std::string replaced;  // why the file is not the system's own; empty: it is
    };
    ScriptedFileFacts signedByOther = OriginalName("sethc.exe");
    signedByOther.signature = {platform::SignatureState::Trusted, "", "Bot Corp"};
    ScriptedFileFacts signedByMicrosoft = OriginalName("sethc.exe");
    signedByMicrosoft.signature = {platform::SignatureState::Trusted, "", "Microsoft Windows"};
    const Case cases[] = {
        {"cmd.exe copied over it", sethc, OriginalName("Cmd.Exe"), true,
         "original file name Cmd.Exe"},
        {"the genuine program", sethc, OriginalName("sethc.exe.mui"), true, ""},
        {"signed by Microsoft", sethc, signedByMicrosoft, true, ""},
        {"signed by another", sethc, signedByOther, true, "signed by Bot Corp"},
        {"a file without version information", sethc, ScriptedFileFacts{}, true,
         "no original file name"},
        {"the same name elsewhere", "C:\\Temp\\sethc.exe", OriginalName("Cmd.Exe"), false, ""},
    };
    for (const Case& c : cases) [&] {
        SCOPED_TRACE(c.what);
        Machine m;
        m.WriteRules(scantest::PathRule("Sticky keys", "EXE", "WINDOWS\\system32\\sethc.exe"));
        m.StartHost(c.path);
        m.sys.facts().Script(c.path, c.facts);

        m.Scan();
        const zorvik::ProcessList& list = m.list;

        if (!c.listed) {
            EXPECT_EQ(list.Count(), 0u);
            return;
        }
        ASSERT_EQ(list.Count(), 1u);
        const zorvik::ProcInfo& found = *list.At(0).data;
        ASSERT_EQ(found.ExeList.size(), 1u);
        EXPECT_EQ(found.ExeList[0].Path, sethc);
        EXPECT_EQ(found.ExeList[0].Replaced, c.replaced);
        EXPECT_EQ(list.At(0).details,
                  Detected(1) + (c.replaced.empty() ? "" : ", Replaced System Program"));
    }();
}

// ---- WMI event consumers --------------------------------------------------------------------

TEST(StartedByWindowsTest, WmiConsumersOfBothKindsNameTheirProgram) {
    Machine m;
    m.WriteRules("[WMI]\r\nType=WMI\r\n");
    const std::string bot = "C:\\Bot\\bot.exe";
    m.StartHost(bot);
    platform::WmiEventConsumer command;
    command.kind = platform::WmiConsumerKind::CommandLine;
    command.name = "Updater";
    command.executablePath = bot;
    command.commandLineTemplate = bot + " /q";
    platform::WmiEventConsumer script;
    script.kind = platform::WmiConsumerKind::ActiveScript;
    script.name = "Runner";
    script.scriptText = "Set s = CreateObject(\"WScript.Shell\")\r\ns.Run \"" + bot + "\"";
    platform::WmiEventConsumer other = command;
    other.name = "Other";
    other.commandLineTemplate = other.executablePath = "C:\\Tools\\tool.exe";
    for (const auto& consumer : {command, script, other})
        m.sys.wmiRepository().AddEventConsumer(consumer);

    m.Scan();
    const zorvik::ProcessList& list = m.list;

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).details, Detected(3));
    const std::vector<zorvik::WmiStart>& hits = list.At(0).data->WmiList;
    ASSERT_EQ(hits.size(), 3u);
    struct Expected { const char* consumerClass; const char* name; const char* property; };
    const Expected expected[] = {
        {"CommandLineEventConsumer", "Updater", "CommandLineTemplate"},
        {"CommandLineEventConsumer", "Updater", "ExecutablePath"},
        {"ActiveScriptEventConsumer", "Runner", "ScriptText"},
    };
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(hits[i].Class, expected[i].consumerClass) << i;
        EXPECT_EQ(hits[i].Name, expected[i].name) << i;
        EXPECT_EQ(hits[i].Property, expected[i].property) << i;
    }
    // A new consumer as a watch tells of it.
    const zorvik::EntryPlace told =
        zorvik::EntryPlaceOf(*list.At(0).data, {zorvik::StartupKind::Wmi, 0});
    EXPECT_EQ(told.place, "CommandLineEventConsumer Updater");
    EXPECT_EQ(told.name, "CommandLineTemplate");
    // The script on one line in the start-up list and the reports.
    const std::string csv = reporttest::Report(list, zorvik::ReportFormat::Csv);
    EXPECT_NE(csv.find(",WMI,ActiveScriptEventConsumer,Runner,\"Set s = CreateObject("
                       "\"\"WScript.Shell\"\") s.Run \"\"C:\\Bot\\bot.exe\"\"\","),
              std::string::npos);
}

// ---- BITS transfer jobs --------------------------------------------------------------------

TEST(StartedByWindowsTest, BitsJobsThatRunTheProgramAreFoundAndDisabledBySuspending) {
    Machine m;
    m.WriteRules("[BITS]\r\nType=BITS\r\n");
    const std::string bot = "C:\\Bot\\bot.exe";
    m.StartHost(bot);
    const std::string updater = "{0B1E7A11-0000-4000-8000-000000000001}";
    const std::string held = "{0B1E7A11-0000-4000-8000-000000000002}";
    // BITS' own tools may leave the command line empty: the program alone is run.
    const std::string alone = "{0B1E7A11-0000-4000-8000-000000000003}";
    const platform::TransferJob jobs[] = {
        {updater, "Updater", bot, "bot.exe /retry", false},
        {"{0B1E7A11-0000-4000-8000-000000000004}", "Download", "", "", false},
        {"{0B1E7A11-0000-4000-8000-000000000005}", "Tool", "C:\\Tools\\tool.exe", "tool.exe", false},
        {held, "Held", bot, "bot.exe", true},
        {alone, "Alone", bot, "", false},
    };
    for (const platform::TransferJob& job : jobs) m.sys.bitsQueue().AddJob(job);

    m.Scan();

    ASSERT_EQ(m.list.Count(), 1u);
    zorvik::ProcInfo& findings = *m.list.At(0).data;
    const std::vector<zorvik::BitsStart>& hits = findings.BitsList;
    ASSERT_EQ(hits.size(), 3u);
    struct Expected { std::string id; const char* job; std::string command; bool disabled; };
    const Expected expected[] = {
        {updater, "Updater", "\"" + bot + "\" bot.exe /retry", false},
        {held, "Held", "\"" + bot + "\" bot.exe", true},
        {alone, "Alone", "\"" + bot + "\"", false},
    };
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(hits[i].Id, expected[i].id) << i;
        EXPECT_EQ(hits[i].Job, expected[i].job) << i;
        EXPECT_EQ(hits[i].Command, expected[i].command) << i;
        EXPECT_EQ(hits[i].Disabled, expected[i].disabled) << i;
    }
    const zorvik::EntryPlace told = zorvik::EntryPlaceOf(findings, {zorvik::StartupKind::Bits, 0});
    EXPECT_EQ(told.place, "BITS job Updater");
    EXPECT_EQ(told.name, updater);
    const std::string csv = reporttest::Report(m.list, zorvik::ReportFormat::Csv);
    EXPECT_NE(csv.find(",BITS,Updater," + updater + ",\"\"\"C:\\Bot\\bot.exe\"\" bot.exe /retry\","),
              std::string::npos)
        << csv;

    // Disable suspends the job, keeping its command line; a job BITS will not suspend for this
    // account is refused and stays enabled.
    EXPECT_EQ(zorvik::DisableStartup(m.sys, findings, {zorvik::StartupKind::Bits, 0}, "bot.exe").result,
              zorvik::DisableResult::Disabled);
    EXPECT_TRUE(hits[0].Disabled);
    const std::vector<platform::TransferJob> after = m.sys.bitsQueue().Jobs();
    EXPECT_TRUE(after[0].suspended);
    EXPECT_EQ(after[0].notifyParameters, "bot.exe /retry");
    EXPECT_FALSE(after[4].suspended);
    m.sys.bitsQueue().RefuseChanges();
    const zorvik::DisableOutcome refused =
        zorvik::DisableStartup(m.sys, findings, {zorvik::StartupKind::Bits, 2}, "bot.exe");
    EXPECT_EQ(refused.result, zorvik::DisableResult::JobRefused);
    EXPECT_EQ(refused.place, "Alone");
    EXPECT_FALSE(hits[2].Disabled);
}

}  // namespace
