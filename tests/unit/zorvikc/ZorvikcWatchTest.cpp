// zorvikc watch on the simulated system: the lines a run prints while another program changes
// the start-up places, one step at each wait, until Ctrl+C.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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
};

std::string Printed(const Line& l) {
    return "{\"time\": \"2024-05-01T12:00:00.000Z\", \"change\": \"" + std::string(l.change) +
           "\", \"kind\": " + Json(l.kind) + ", \"place\": " + Json(l.place) +
           ", \"name\": " + Json(l.name) + ", \"text\": " + Json(l.text) +
           ", \"program\": " + Json(l.program) + ", \"running\": " +
           (l.running ? "true" : "false") + ", \"sockets\": " + l.sockets +
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
                  true, kBotSocket, kRunKey + "bot"})},
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

}  // namespace
