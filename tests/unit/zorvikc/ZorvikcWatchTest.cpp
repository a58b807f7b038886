// zorvikc watch on the simulated system: the lines a run prints while another program changes
// the start-up places, one step at each wait, until Ctrl+C.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/system/SimSystem.h"
#include "unit/windows/MainTestSupport.h"
#include "zorvikc/CommandLine.h"

namespace {

using platform::RootKey;

const maintest::Program kBot{10, "C:\\Apps\\bot.exe"};
const std::string kMissingRunKey = "Software\\Vendor\\Missing\\Run";
const std::string kStartupFolder = "C:\\Users\\bob\\Startup";
const std::string kTaskFolder = "C:\\WINDOWS\\Tasks";
const std::string kBatch = "C:\\autoexec.bat";
const std::string kBotSocket =
    "[{\"family\": \"IPv4\", \"state\": \"LISTEN\", \"localAddress\": \"0.0.0.0\", "
    "\"localPort\": 80, \"remoteAddress\": \"0.0.0.0\", \"remotePort\": 0}]";

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

struct Line {
    const char* change;
    std::string kind, place, name, text, program;
    bool running = false;
    std::string sockets = "[]";
    std::string key;
    // The verdict level of the program listed with the entry: a running program here is an
    // unsigned file in a folder only administrators write, so nothing vouches for it; the
    // entry of a program that does not run is listed by no scan.
    std::string level = "";
};

std::string Printed(const Line& l) {
    return "{\"time\": \"2024-05-01T12:00:00.000Z\", \"change\": \"" + std::string(l.change) +
           "\", \"kind\": " + Json(l.kind) + ", \"place\": " + Json(l.place) +
           ", \"name\": " + Json(l.name) + ", \"text\": " + Json(l.text) +
           ", \"program\": " + Json(l.program) + ", \"running\": " +
           (l.running ? "true" : "false") + ", \"sockets\": " + l.sockets +
           ", \"level\": " + (l.level.empty() ? (l.running ? "\"unverified\"" : "null") : l.level) +
           ", \"key\": " + Json(l.key) + "}\n";
}

const std::string kRunPlace = "HKEY_CURRENT_USER\\" + scantest::kRunKey;
const std::string kRunKey =
    "REG|hkey_current_user|software\\microsoft\\windows\\currentversion\\run|";

// A system with a running program that owns a socket, and rules for a Run key, a key whose
// parent is missing, a start-up folder and the old scheduler's task folder.
struct WatchedWorld {
    WatchedWorld() {
        sys.fs().AddFile(scantest::kRulesPath,
                         scantest::RunRule() +
                             scantest::RegRule("Later", "HKEY_LOCAL_MACHINE", kMissingRunKey,
                                               "ENUM") +
                             scantest::PathRule("Startup", "FOL", "Users\\*USER*\\Startup") +
                             scantest::PathRule("Tasks", "FOL", "WINDOWS\\Tasks") +
                             scantest::PathRule("Batch", "FIL", "autoexec.bat"));
        sys.users().SetUsers({"bob"});
        sys.fs().AddDirectory(kStartupFolder);
        sys.fs().AddDirectory(kTaskFolder);
        maintest::AddParent(sys);
        maintest::AddProcess(sys, kBot);
        sys.procs().AddSocket(kBot.pid, platform::kTcpStateListen, 80);
    }

    // Runs zorvikc watch; at each wait the next step changes the system, and after the last
    // Ctrl+C stops it. Returns the exit code.
    int Watch(std::vector<std::function<void()>> steps) {
        std::size_t next = 0;
        sys.WhileWatchWaits([&] {
            if (next < steps.size()) {
                steps[next++]();
            } else if (next++ == steps.size()) {
                EXPECT_TRUE(sys.PressConsoleBreak()) << "the watch takes Ctrl+C";
            } else {
                // Ends a watch that would wait on for ever (the command line tells of it).
                throw std::runtime_error("still waiting after Ctrl+C");
            }
        });
        return zorvikc::RunCommandLine({"watch"}, [&]() -> platform::System& { return sys; }, out,
                                       err);
    }
    void PutRun(const std::string& name, const std::string& command) {
        maintest::PutRun(sys, name, command);
    }
    int Opens(RootKey root, const std::string& key) { return sys.reg().OpensOf(root, key); }

    platform::sim::SimSystem sys;
    std::ostringstream out;
    std::ostringstream err;
};

TEST(ZorvikcWatchTest, ALineForEachEntryAddedChangedOrRemoved) {
    struct Case {
        const char* what;
        std::function<void(WatchedWorld&)> before;  // the baseline's world
        std::function<void(WatchedWorld&)> change;
        std::string lines;
    };
    const Line botAdded{"added", "REG", kRunPlace, "Bot", "c:\\apps\\bot.exe", "c:\\apps\\bot.exe",
                        true, kBotSocket, kRunKey + "bot"};
    const Case cases[] = {
        {"a value naming a running program", nullptr,
         [](WatchedWorld& t) { t.PutRun("Bot", kBot.path); }, Printed(botAdded)},
        {"its text changed", [](WatchedWorld& t) { t.PutRun("Bot", kBot.path); },
         [](WatchedWorld& t) { t.PutRun("Bot", "\"C:\\Apps\\bot.exe\" /hide"); },
         Printed({"changed", "REG", kRunPlace, "Bot", "\"c:\\apps\\bot.exe\" /hide",
                  "c:\\apps\\bot.exe", true, kBotSocket, kRunKey + "bot"})},
        {"it removed", [](WatchedWorld& t) { t.PutRun("Bot", kBot.path); },
         [](WatchedWorld& t) {
             platform::RegKey key = platform::OpenKey(t.sys.registry(), RootKey::CurrentUser,
                                                      scantest::kRunKey, platform::KeyAccess::All);
             t.sys.registry().DeleteValue(key.get(), "Bot");
         },
         Printed({"removed", "REG", kRunPlace, "Bot", "c:\\apps\\bot.exe", "c:\\apps\\bot.exe",
                  true, kBotSocket, kRunKey + "bot", "null"})},
        {"a program that does not run", nullptr,
         [](WatchedWorld& t) { t.PutRun("Later", "C:\\Apps\\later.exe -x"); },
         Printed({"added", "REG", kRunPlace, "Later", "c:\\apps\\later.exe -x",
                  "c:\\apps\\later.exe", false, "[]", kRunKey + "later"})},
        {"a key made under a missing parent", nullptr,
         [](WatchedWorld& t) {
             t.sys.reg().PutString(RootKey::LocalMachine, kMissingRunKey, "Deep", "C:\\deep.exe");
         },
         Printed({"added", "REG", "HKEY_LOCAL_MACHINE\\" + kMissingRunKey, "Deep", "c:\\deep.exe",
                  "c:\\deep.exe", false, "[]",
                  "REG|hkey_local_machine|software\\vendor\\missing\\run|deep"})},
        {"a file in a start-up folder", nullptr,
         [](WatchedWorld& t) { t.sys.fs().AddFile(kStartupFolder + "\\bot.exe", "MZ"); },
         Printed({"added", "FOL", kStartupFolder, "bot.exe", "bot.exe", "bot.exe", true,
                  kBotSocket, "FOL|c:\\users\\bob\\startup|bot.exe"})},
        {"a task file", nullptr,
         [](WatchedWorld& t) { t.sys.fs().AddFile(kTaskFolder + "\\Update.job", "job"); },
         Printed({"added", "FOL", kTaskFolder, "Update.job", "update.job", "update.job", false,
                  "[]", "FOL|c:\\windows\\tasks|update.job"})},
        {"a line added to a batch file",
         [](WatchedWorld& t) { t.sys.fs().AddFile(kBatch, "@echo off\r\nrem\r\n"); },
         [](WatchedWorld& t) {
             t.sys.fs().AddFile(kBatch, "@echo off\r\nstart C:\\Apps\\bot.exe /q\r\nrem\r\n");
         },
         Printed({"changed", "FIL", kBatch, "", "start c:\\apps\\bot.exe /q", "c:\\apps\\bot.exe",
                  true, kBotSocket, "FIL|c:\\autoexec.bat"})},
    };
    for (const Case& c : cases) {
        WatchedWorld world;
        if (c.before) c.before(world);
        EXPECT_EQ(world.Watch({[&] { c.change(world); }}), 0) << c.what;
        EXPECT_EQ(world.out.str(), c.lines) << c.what;
        EXPECT_EQ(world.err.str(), "") << c.what;
    }
}

// Whether the program an entry names runs is asked only of the processes whose image name could
// be its own (under Wine each path asked costs milliseconds); an 8.3 name can be anyone's.
TEST(ZorvikcWatchTest, OnlyProcessesOfTheNamedProgramAreOpened) {
    const maintest::Program longNamed{30, "C:\\Apps\\Long Bot Name.exe"};
    struct Case {
        const char* what;
        std::string command;
        std::size_t opens;
        bool running;
    };
    const Case cases[] = {
        // bot.exe here and in another folder; then the judging of the line's verdict level
        // opens the named socket owner (3 opens).
        {"its long name", kBot.path, 5, true},
        // Every process; the one named owns no socket, so nothing is judged.
        {"an 8.3 name", "C:\\APPS\\LONGBO~1.EXE", 14, true},
        {"a program that does not run", "C:\\Apps\\later.exe", 0, false},
    };
    for (const Case& c : cases) {
        WatchedWorld world;
        for (std::uint32_t pid = 40; pid < 50; ++pid)
            maintest::AddProcess(world.sys, {pid, "C:\\Apps\\p" + std::to_string(pid) + ".exe"});
        maintest::AddProcess(world.sys, {50, "C:\\Other\\bot.exe"});
        maintest::AddProcess(world.sys, longNamed);
        world.sys.fs().SetShortName(longNamed.path, "LONGBO~1.EXE");
        std::size_t opensBefore = 0;
        EXPECT_EQ(world.Watch({[&] {
                      opensBefore = world.sys.procs().OpenAccesses().size();
                      world.PutRun("Bot", c.command);
                  }}),
                  0);
        EXPECT_EQ(world.sys.procs().OpenAccesses().size() - opensBefore, c.opens) << c.what;
        EXPECT_NE(world.out.str().find(c.running ? "\"running\": true" : "\"running\": false"),
                  std::string::npos)
            << c.what << ": " << world.out.str();
    }
}

// The text after label up to the next comma or closing brace: a plain JSON value as printed;
// "null" where there is no label.
std::string ValueAfter(const std::string& text, const std::string& label, std::size_t from = 0) {
    const std::size_t at = text.find(label, from);
    if (at == std::string::npos) return "null";
    const std::size_t start = at + label.size();
    return text.substr(start, text.find_first_of(",}", start) - start);
}

// An answer about one running program judges that program alone: of two a scan lists, only the
// named one's file is read, and its level is the one zorvikc scan gives it.
TEST(ZorvikcWatchTest, AnAnswerJudgesOnlyTheProgramItNames) {
    const maintest::Program other{20, "C:\\Tools\\other.exe"};
    struct Case {
        const char* what;
        std::string settings;
        std::string level;
        int hashes;
    };
    const Case cases[] = {
        // In a folder users may write, without a signature: suspicious.
        {"a program judged", "", "\"suspicious\"", 1},
        {"a trusted program", "[Trusted]\r\n0=" + kBot.path + "\r\n", "null", 0},
    };
    for (const Case& c : cases) {
        WatchedWorld world;
        world.sys.fs().AddFile("C:\\Zorvik\\Settings.ini", c.settings);
        world.sys.facts().SetFolderWritableByUsers("C:\\Apps", true);
        maintest::AddProcess(world.sys, other);
        world.sys.procs().AddSocket(other.pid, platform::kTcpStateListen, 81);
        world.PutRun("Other", other.path);
        int hashesBefore = 0;
        EXPECT_EQ(world.Watch({[&] {
                      hashesBefore = world.sys.facts().Asked().hashes;
                      world.PutRun("Bot", kBot.path);
                  }}),
                  0);
        EXPECT_EQ(world.sys.facts().Asked().hashes - hashesBefore, c.hashes) << c.what;
        const std::string watched = ValueAfter(world.out.str(), "\"level\": ");
        EXPECT_EQ(watched, c.level) << c.what << ": " << world.out.str();

        std::ostringstream report;
        zorvikc::RunCommandLine({"scan", "--json"},
                                [&]() -> platform::System& { return world.sys; }, report,
                                world.err);
        EXPECT_NE(report.str().find("\"path\": " + Json(other.path)), std::string::npos)
            << "the other program is one a scan lists";
        const std::size_t bot = report.str().find("\"path\": " + Json(kBot.path));
        std::string scanned =
            bot == std::string::npos ? "null" : ValueAfter(report.str(), "\"verdict\": ", bot);
        if (scanned.starts_with("{")) scanned = ValueAfter(scanned + "}", "\"level\": ");
        EXPECT_EQ(watched, scanned) << c.what << ": " << report.str();
    }
}

}  // namespace

namespace {

const Line kOldRemoved{"removed", "REG", "HKEY_LOCAL_MACHINE\\" + kMissingRunKey, "Old",
                       "c:\\old.exe", "c:\\old.exe", false, "[]",
                       "REG|hkey_local_machine|software\\vendor\\missing\\run|old"};

// Only the rules whose places changed are read again: the keys of the other places are not
// opened, and their entries stay in the picture, so a later change there is told against them.
TEST(ZorvikcWatchTest, AChangeReadsOnlyThePlaceItNames) {
    WatchedWorld world;
    world.sys.reg().PutString(RootKey::LocalMachine, kMissingRunKey, "Old", "C:\\old.exe");
    int otherOpens = 0;
    EXPECT_EQ(world.Watch({[&] {
                               otherOpens = world.Opens(RootKey::LocalMachine, kMissingRunKey);
                               world.PutRun("Bot", kBot.path);
                           },
                           [&] {
                               EXPECT_EQ(world.Opens(RootKey::LocalMachine, kMissingRunKey),
                                         otherOpens)
                                   << "the answer to the Run key read no other key";
                               platform::RegKey key = platform::OpenKey(
                                   world.sys.registry(), RootKey::LocalMachine, kMissingRunKey,
                                   platform::KeyAccess::All);
                               world.sys.registry().DeleteValue(key.get(), "Old");
                           }}),
              0);
    EXPECT_EQ(world.out.str(),
              Printed({"added", "REG", kRunPlace, "Bot", "c:\\apps\\bot.exe", "c:\\apps\\bot.exe",
                       true, kBotSocket, kRunKey + "bot"}) +
                  Printed(kOldRemoved));
}

// A folder a start-up folder rule lists and a text file rule reads a file of: one change there
// answers both.
TEST(ZorvikcWatchTest, AChangeInAPlaceTwoRulesShareAnswersBoth) {
    WatchedWorld world;
    world.sys.fs().AddFile(scantest::kRulesPath,
                           *world.sys.fs().Content(scantest::kRulesPath) +
                               scantest::PathRule("Script", "FIL", "Users\\bob\\Startup\\run.bat"));
    const std::string script = kStartupFolder + "\\run.bat";
    EXPECT_EQ(world.Watch({[&] { world.sys.fs().AddFile(script, "C:\\Apps\\bot.exe\r\n"); }}), 0);
    EXPECT_EQ(world.out.str(),
              Printed({"added", "FIL", script, "", "c:\\apps\\bot.exe", "c:\\apps\\bot.exe", true,
                       kBotSocket, "FIL|c:\\users\\bob\\startup\\run.bat"}) +
                  Printed({"added", "FOL", kStartupFolder, "run.bat", "run.bat", "run.bat", false,
                           "[]", "FOL|c:\\users\\bob\\startup|run.bat"}));
}

// An installer writes 10,000 values at once: a line for each, and one read of the key, as for a
// single value.
TEST(ZorvikcWatchTest, AStormOfWritesInOneKeyIsOneRead) {
    constexpr int kStorm = 10000;
    const std::string run = scantest::kRunKey;
    WatchedWorld world;
    int opensBefore = 0;
    int oneAnswer = 0;
    int storm = 0;
    EXPECT_EQ(world.Watch({[&] {
                               world.PutRun("Single", "C:\\single.exe");
                               opensBefore = world.Opens(RootKey::CurrentUser, run);
                           },
                           [&] {
                               oneAnswer = world.Opens(RootKey::CurrentUser, run) - opensBefore;
                               for (int i = 0; i < kStorm; ++i)
                                   world.PutRun("Storm" + std::to_string(i),
                                                "C:\\storm" + std::to_string(i) + ".exe");
                               opensBefore = world.Opens(RootKey::CurrentUser, run);
                           },
                           [&] { storm = world.Opens(RootKey::CurrentUser, run) - opensBefore; }}),
              0);
    EXPECT_GT(oneAnswer, 0);
    EXPECT_EQ(storm, oneAnswer) << "one read of the key for the whole storm";
    std::istringstream lines(world.out.str());
    std::set<std::string> told;
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const std::size_t name = line.find("\"name\": \"");
        ASSERT_NE(name, std::string::npos) << line;
        EXPECT_NE(line.find("\"change\": \"added\""), std::string::npos) << line;
        told.insert(line.substr(name, line.find('"', name + 9) - name));
    }
    EXPECT_EQ(count, kStorm + 1);
    EXPECT_EQ(told.size(), static_cast<std::size_t>(kStorm + 1)) << "each value once";
}

// An edited Scan.ini is read with every place it names, as at the start.
TEST(ZorvikcWatchTest, AChangedRulesFileReadsEverything) {
    WatchedWorld world;
    world.sys.reg().PutString(RootKey::LocalMachine, scantest::kRunKey, "Machine",
                              "C:\\machine.exe");
    const std::string rules = *world.sys.fs().Content(scantest::kRulesPath);
    int otherOpens = 0;
    EXPECT_EQ(world.Watch({[&] {
                               otherOpens = world.Opens(RootKey::LocalMachine, kMissingRunKey);
                               world.sys.fs().AddFile(
                                   scantest::kRulesPath,
                                   rules + scantest::RegRule("Machine", "HKEY_LOCAL_MACHINE",
                                                             scantest::kRunKey, "ENUM"));
                           }}),
              0);
    EXPECT_GT(world.Opens(RootKey::LocalMachine, kMissingRunKey), otherOpens)
        << "every place was watched and read anew";
    EXPECT_EQ(world.out.str(),
              Printed({"added", "REG", "HKEY_LOCAL_MACHINE\\" + scantest::kRunKey, "Machine",
                       "c:\\machine.exe", "c:\\machine.exe", false, "[]",
                       "REG|hkey_local_machine|software\\microsoft\\windows\\currentversion\\run|"
                       "machine"}));
}

// What no notification tells of (here an account made since, whose start-up folder nobody
// watches yet) is found by the full read every ten minutes.
TEST(ZorvikcWatchTest, EveryTenMinutesEverythingIsReadAgain) {
    const std::string annFolder = "C:\\Users\\ann\\Startup";
    for (const int minutes : {9, 10}) {
        WatchedWorld world;
        EXPECT_EQ(world.Watch({[&] {
                      world.sys.users().SetUsers({"ann", "bob"});
                      world.sys.fs().AddFile(annFolder + "\\bot.exe", "MZ");
                      world.sys.SetUtcNow({2024, 5, 1, 12, minutes, 0, 0});
                  }}),
                  0);
        EXPECT_EQ(world.out.str(),
                  minutes < 10 ? ""
                               : "{\"time\": \"2024-05-01T12:10:00.000Z\", \"change\": \"added\", "
                                 "\"kind\": \"FOL\", \"place\": " +
                                     Json(annFolder) +
                                     ", \"name\": \"bot.exe\", \"text\": \"bot.exe\", "
                                     "\"program\": \"bot.exe\", \"running\": true, \"sockets\": " +
                                     kBotSocket + ", \"level\": \"unverified\", \"key\": " +
                                     Json("FOL|c:\\users\\ann\\startup|bot.exe") + "}\n")
            << minutes;
    }
}

}  // namespace
