// The console tool's command line on the simulated system: for each list of arguments, the exit
// code and what goes to standard output and to standard error.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/system/SimSystem.h"
#include "unit/windows/MainTestSupport.h"
#include "unit/zorvikc/ReportCheck.h"

namespace {

const maintest::Program kBot{10, "C:\\Apps\\bot.exe"};

enum class World {
    Bot,         // bot.exe runs, starts with Windows through the Run key and owns a socket
    Empty,       // the rules file and nothing running
    NoTcpTable,  // the bot's world on a system without a TCP-table function
    Places,      // rules for a program Windows starts by its path and for DLLs by their name
    BotWas,      // the bot's world with another command line in its Run value
    BotTwice,    // the bot's world with a second Run value naming it
    Planted,     // a Run value's unquoted command, and C:\Program.exe that Windows runs instead
    NoRules,     // the bot's world without the rules file beside the program
};

// The system: a running program with a socket that starts with Windows, unless Empty.
void Build(platform::sim::SimSystem& sys, World world) {
    if (world == World::Places) {
        sys.fs().AddFile(scantest::kRulesPath,
                         scantest::PathRule("Sticky keys", "EXE", "WINDOWS\\system32\\sethc.exe") +
                             scantest::RegRule("LSA", "HKEY_LOCAL_MACHINE", "SYSTEM\\Lsa", "ENUM") +
                             "Dlls=1\r\n");
        sys.reg().PutString(platform::RootKey::LocalMachine, "SYSTEM\\Lsa", "Packages", "bot");
        return;
    }
    if (world != World::NoRules) sys.fs().AddFile(scantest::kRulesPath, scantest::RunRule());
    if (world == World::Empty) return;
    if (world == World::Planted) {
        sys.fs().AddFile(scantest::kRulesPath, scantest::RunRule() + "Unquoted=1\r\n");
        sys.fs().AddFile("C:\\Program.exe", "MZ");
        sys.reg().PutString(platform::RootKey::CurrentUser, scantest::kRunKey, "Tool",
                            "C:\\Program Files\\Some Tool\\tool.exe /min");
        return;
    }
    maintest::AddParent(sys);
    maintest::AddProcess(sys, kBot);
    const std::string command = world == World::BotWas ? kBot.path + " /was" : kBot.path;
    sys.reg().PutString(platform::RootKey::CurrentUser, scantest::kRunKey, "Bot", command);
    if (world == World::BotTwice)
        sys.reg().PutString(platform::RootKey::CurrentUser, scantest::kRunKey, "Again", kBot.path);
    sys.procs().AddSocket(kBot.pid, platform::kTcpStateListen, 80);
    if (world == World::NoTcpTable) sys.procs().SetTcpFunctions(false, false);
}

// What zorvikc scan --json prints in a world: a baseline as a fleet keeps it.
std::string ReportOf(World world) {
    platform::sim::SimSystem sys;
    Build(sys, world);
    std::ostringstream out;
    std::ostringstream err;
    reporttest::RunZorvikc({"scan", "--json"}, [&]() -> platform::System& { return sys; }, out,
                            err);
    return out.str();
}

const std::string kBaselinePath = "C:\\Fleet\\base.json";
const std::string kBaselineError = "zorvikc scan: baseline C:\\Fleet\\base.json: ";
const std::string kUnknownVerdict = "  [Task Manager: unknown]";
const std::string kBotRunLine =
    "REG  HKEY_CURRENT_USER\\" + std::string(scantest::kRunKey) + "  value \"Bot\"  enabled";

const std::string kUsage = "usage: zorvikc <command>\n\ncommands:\n  rules     ";
const std::string kSearchUsage = "usage: zorvikc search PROGRAM\n";
const std::string kScanUsage =
    "usage: zorvikc scan [--csv | --json] [--baseline FILE] [--level LEVEL] [--eventlog]\n";
const std::string kNoTable = "XP or Higher required to use this program\n";
const std::string kNoRules =
    ": no start-up place was searched: the rules file C:\\Zorvik\\Scan.ini was not found";

struct Case {
    std::vector<std::string> args;
    World world;
    int exitCode;
    std::string outStart;  // what standard output begins with; "" with outHas empty: nothing
    std::string outHas;    // a line further on
    std::string errStart;  // what standard error begins with; "": nothing
    // What lies at kBaselinePath; none: no file.
    std::optional<std::string> baseline = std::nullopt;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    os << "zorvikc";
    for (const std::string& arg : c.args) os << " '" << arg << "'";
    return os;
}

TEST(ZorvikcCommandLineTest, ExitCodeAndOutputsForEachCommandLine) {
    const Case cases[] = {
        {{}, World::Bot, 2, "", "", kUsage},
        {{"bogus"}, World::Bot, 2, "", "", "zorvikc: unknown command \"bogus\"\n\n" + kUsage},
        {{"RULES"}, World::Bot, 2, "", "", "zorvikc: unknown command \"RULES\""},
        {{"--help"}, World::Bot, 0, kUsage, "\n  help      this usage\n", ""},
        {{"-h"}, World::Bot, 0, kUsage, "", ""},
        {{"/?"}, World::Bot, 0, kUsage, "", ""},
        {{"help"}, World::Bot, 0, kUsage, "", ""},
        // Without the rules file nothing is searched, and that is no clean machine's answer.
        {{"scan"}, World::NoRules, 3, "", "", "zorvikc scan" + kNoRules},
        {{"scan", "--json"}, World::NoRules, 3, "", "", "zorvikc scan" + kNoRules},
        {{"search", kBot.path}, World::NoRules, 3, "", "", "zorvikc search" + kNoRules},
        {{"watch"}, World::NoRules, 3, "", "", "zorvikc watch" + kNoRules},
        {{"rules"}, World::NoRules, 0, "Rules file: C:\\Zorvik\\Scan.ini\n",
         "The file does not exist", ""},
        {{"sockets"}, World::NoRules, 0, "", "C:\\Apps\\bot.exe", ""},
        {{"rules"}, World::Bot, 0, "Rules file: C:\\Zorvik\\Scan.ini\n", "\n1 rule\n", ""},
        {{"sockets"}, World::Bot, 0, "", "C:\\Apps\\bot.exe", ""},
        {{"sockets"}, World::NoTcpTable, 1, "", "", kNoTable},
        {{"search"}, World::Bot, 2, "", "", kSearchUsage},
        {{"search", ""}, World::Bot, 2, "", "", kSearchUsage},
        {{"search", "a.exe", "b.exe"}, World::Bot, 2, "", "", kSearchUsage},
        {{"search", kBot.path}, World::Bot, 0, "Program file name:     bot.exe\n",
         "Would be listed: yes\n", ""},
        {{"search", "other.exe"}, World::Bot, 0, "Program file name:     other.exe\n",
         "Would be listed: no\n", ""},
        {{"search", "C:\\WINDOWS\\system32\\sethc.exe"}, World::Places, 0, "",
         "\nEXE  C:\\WINDOWS\\system32\\sethc.exe  enabled\n", ""},
        {{"search", "sethc.exe"}, World::Places, 0, "", "Would be listed: no\n", ""},
        {{"search", "C:\\Bot\\bot.dll"}, World::Places, 0, "",
         "value \"Packages\"  module \"C:\\Bot\\bot.dll\"  enabled\n", ""},
        // A program run in place of an unquoted command is found by its whole path only.
        {{"search", "C:\\Program.exe"}, World::Planted, 0, "Program file name:     Program.exe\n",
         "value \"Tool\"  runs instead C:\\Program.exe  enabled\n", ""},
        {{"search", "program.exe"}, World::Planted, 0, "Program file name:     program.exe\n",
         "Would be listed: no\n", ""},
        {{"scan"}, World::Bot, 1, "C:\\Apps\\bot.exe\n  PID      10\n", "1 program listed.\n", ""},
        {{"scan"}, World::Empty, 0, "No programs listed.\n", "", ""},
        {{"scan", "--csv"}, World::Bot, 1, "Program Path,PID,Details,",
         "C:\\Apps\\bot.exe,10,", ""},
        {{"scan", "--json"}, World::Bot, 1, "{\n  \"programs\": [\n",
         "\"path\": \"C:\\\\Apps\\\\bot.exe\"", ""},
        {{"scan", "--xml"}, World::Bot, 2, "", "", kScanUsage},
        {{"scan", "--csv", "--json"}, World::Bot, 2, "", "", kScanUsage},
        {{"scan"}, World::NoTcpTable, 2, "", "", kNoTable},
        // A level by its name, in any case; every verdict is at or above "windows".
        {{"scan", "--level", "Windows"}, World::Bot, 1, "C:\\Apps\\bot.exe\n", "", ""},
        {{"scan", "--level", "suspicious"}, World::Empty, 0, "No programs listed.\n", "", ""},
        {{"scan", "--level", "bad"}, World::Bot, 2, "", "",
         "zorvikc scan: no level is named \"bad\" (windows, verified, unverified or "
         "suspicious)\n" + kScanUsage},
        {{"scan", "--level"}, World::Bot, 2, "", "", kScanUsage},
        {{"scan", "--level", "windows", "--level", "windows"}, World::Bot, 2, "", "", kScanUsage},
        {{"scan", "--baseline"}, World::Bot, 2, "", "", kScanUsage},
        {{"scan", "--baseline", ""}, World::Bot, 2, "", "", kScanUsage},
        {{"scan", "--baseline", kBaselinePath, "--baseline", kBaselinePath}, World::Bot, 2, "",
         "", kScanUsage, ReportOf(World::Bot)},
        // Against a baseline: exit code 1 only for an entry added or changed since.
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 0,
         "0 added, 0 changed, 0 removed since the baseline.\n", "", "", ReportOf(World::Bot)},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 1,
         "C:\\Apps\\bot.exe\n  PID      10\n",
         "\n  added    " + kBotRunLine + kUnknownVerdict + "\n  Text     c:\\apps\\bot.exe\n", "",
         ReportOf(World::Empty)},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 1,
         "C:\\Apps\\bot.exe\n  PID      10\n",
         "\n  changed  " + kBotRunLine + kUnknownVerdict +
             "\n  Text     c:\\apps\\bot.exe\n  Was      c:\\apps\\bot.exe /was\n",
         "",
         ReportOf(World::BotWas)},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 0,
         "C:\\Apps\\bot.exe\n  removed  REG  HKEY_CURRENT_USER  " + std::string(scantest::kRunKey) +
         "  Again  enabled\n", "\n0 added, 0 changed, 1 removed since the baseline.\n", "",
         ReportOf(World::BotTwice)},
        {{"scan", "--json", "--baseline", kBaselinePath}, World::Bot, 1, "{\n  \"programs\": [\n",
         "\"text\": \"c:\\\\apps\\\\bot.exe\", \"change\": \"added\"}", "",
         ReportOf(World::Empty)},
        {{"scan", "--baseline", kBaselinePath, "--csv"}, World::Bot, 0, "Program Path,PID,",
         "Key,Text,Module,Starts,Verdict,Reason Codes,Reasons,Change\r\n"
         "C:\\Apps\\bot.exe,,,REG,", "", ReportOf(World::BotTwice)},
        {{"scan", "--json", "--baseline", kBaselinePath}, World::Empty, 0,
         "{\n  \"programs\": [],\n  \"removed\": [\n", "\"change\": \"removed\"}\n  ]\n}\n", "",
         ReportOf(World::Bot)},
        // Baselines that are none: a message, exit code 2 and nothing on standard output.
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "not found\n"},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "", kBaselineError + "empty\n",
         ""},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "not JSON: line 6, column 65: ends where a member name should follow\n",
         ReportOf(World::Bot).substr(0, 140)},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "not JSON: line 1, column 1: value expected\n",
         "Program Path,PID,Details\r\n"},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "UTF-16 text, where zorvikc writes UTF-8",
         std::string("\xFF\xFE{\0", 4)},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "no zorvikc scan --json report: it has no \"programs\" list\n",
         "{\"rules\": []}"},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "no zorvikc scan --json report: entry 1 of program 1 has no \"key\"",
         "{\"programs\": [{\"path\": \"C:\\\\a.exe\", \"startups\": [{\"type\": \"REG\", "
         "\"data\": [], \"disabled\": false}]}]}"},
        {{"scan", "--baseline", kBaselinePath}, World::Bot, 2, "", "",
         kBaselineError + "no zorvikc scan --json report: it tells the changes since",
         "{\"programs\": [], \"removed\": []}"},
    };
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        Build(sys, c.world);
        if (c.baseline) sys.fs().AddFile(kBaselinePath, *c.baseline);
        int systemsAsked = 0;
        const auto system = [&]() -> platform::System& {
            ++systemsAsked;
            return sys;
        };
        std::ostringstream out;
        std::ostringstream err;

        EXPECT_EQ(reporttest::RunZorvikc(c.args, system, out, err), c.exitCode) << c;

        const std::string printed = out.str();
        const std::string errors = err.str();
        EXPECT_EQ(printed.substr(0, c.outStart.size()), c.outStart) << c << "\n" << printed;
        if (c.outStart.empty() && c.outHas.empty()) {
            EXPECT_EQ(printed, "") << c;
        }
        EXPECT_NE(printed.find(c.outHas), std::string::npos) << c << "\n" << printed;
        EXPECT_EQ(errors.substr(0, c.errStart.size()), c.errStart) << c << "\n" << errors;
        if (c.errStart.empty()) {
            EXPECT_EQ(errors, "") << c;
        }
        // A command line that names no command leaves the system alone.
        const std::vector<std::string> words = {"rules", "sockets", "search", "scan", "watch"};
        const bool known = !c.args.empty() &&
                           std::find(words.begin(), words.end(), c.args[0]) != words.end();
        EXPECT_EQ(systemsAsked, known ? 1 : 0) << c;
    }
}

}  // namespace
