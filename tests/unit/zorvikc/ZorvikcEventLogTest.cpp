// The findings in the event log: the events of a scan and of a watch (ids, types, insertion
// strings in their order), and what is told when the source is missing or the log refuses.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/eventlog/EventSource.h"
#include "core/eventlog/FindingEvents.h"
#include "platform/sim/system/SimEventLog.h"
#include "platform/sim/system/SimSystem.h"
#include "unit/windows/MainTestSupport.h"
#include "zorvikc/CommandLine.h"

namespace {

using platform::EventType;
using platform::RootKey;

const maintest::Program kBot{10, "C:\\Apps\\bot.exe"};

zorvik::ProcessList ListWithVerdicts() {
    zorvik::ProcessList list;
    auto findings = std::make_unique<zorvik::ProcInfo>();
    findings->RegList.push_back(
        {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Bot", false,
         "c:\\users\\bob\\appdata\\bot.exe"});
    list.Add("C:\\Users\\bob\\AppData\\bot.exe", "1234", "Possible Bot Process, 1 Start up\\s detected",
             std::move(findings));
    list.At(0).verdict = zorvik::Verdict{
        zorvik::VerdictLevel::Suspicious,
        {{"user-folder", "It is not signed and lies in a folder the user can write."},
         {"masquerade", "It is named like Windows' svchost.exe."}}};
    list.Add("C:\\Program Files\\Sync\\sync.exe", "99", "Possible Bot Process, 0 Start up\\s detected",
             std::make_unique<zorvik::ProcInfo>());
    list.At(1).verdict = zorvik::Verdict{zorvik::VerdictLevel::Verified,
                                         {{"signed", "Signed by Sync Corp, trusted."}}};
    list.At(1).file = zorvik::ProgramFileFacts{};
    list.At(1).file->version = platform::VersionStrings{};
    list.At(1).file->version->companyName = "Sync Corp";
    return list;
}

TEST(FindingEventsTest, AScanGivesOneEventPerProgramWithItsFieldsInOrder) {
    const std::vector<zorvik::FindingEvent> events = zorvik::ScanEvents(ListWithVerdicts());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, zorvik::kSuspiciousProgramEvent);
    EXPECT_EQ(events[0].type, EventType::Warning);
    EXPECT_EQ(events[1].id, zorvik::kListedProgramEvent);
    EXPECT_EQ(events[1].type, EventType::Information);
    for (const zorvik::FindingEvent& event : events)
        EXPECT_EQ(event.strings.size(), static_cast<std::size_t>(zorvik::kProgramFieldCount));

    const std::vector<std::string>& bot = events[0].strings;
    EXPECT_EQ(bot[zorvik::kProgramPath], "C:\\Users\\bob\\AppData\\bot.exe");
    EXPECT_EQ(bot[zorvik::kProgramPid], "1234");
    EXPECT_EQ(bot[zorvik::kProgramLevel], "suspicious");
    EXPECT_EQ(bot[zorvik::kProgramReasonCodes], "user-folder,masquerade");
    EXPECT_EQ(bot[zorvik::kProgramReasons],
              "It is not signed and lies in a folder the user can write.\r\n"
              "It is named like Windows' svchost.exe.");
    EXPECT_NE(bot[zorvik::kProgramEntries].find("Bot"), std::string::npos)
        << bot[zorvik::kProgramEntries];
    EXPECT_EQ(events[1].strings[zorvik::kProgramCompany], "Sync Corp");
}

TEST(FindingEventsTest, AnOverlongTextIsCutBelowTheLogsLimit) {
    zorvik::ProcessList list;
    list.Add(std::string(20000, 'a'), "1", "", std::make_unique<zorvik::ProcInfo>());
    const std::string path = zorvik::ScanEvents(list)[0].strings[zorvik::kProgramPath];
    EXPECT_EQ(path.size(), zorvik::kMaxInsertionLength);
    EXPECT_EQ(path.substr(path.size() - 3), "...");
}

// A machine with one listed program, and zorvikc run on it.
struct LoggedWorld {
    LoggedWorld() {
        sys.fs().AddFile(scantest::kRulesPath, scantest::RunRule());
        maintest::AddParent(sys);
        maintest::AddProcess(sys, kBot);
        sys.procs().AddSocket(kBot.pid, platform::kTcpStateListen, 80);
        maintest::PutRun(sys, "Bot", kBot.path);
    }
    int Run(const std::vector<std::string>& args) {
        out.str({});
        err.str({});
        return zorvikc::RunCommandLine(args, [&]() -> platform::System& { return sys; }, out,
                                       err);
    }
    const std::vector<platform::sim::LoggedEvent>& Events() { return sys.events().Events(); }

    platform::sim::SimSystem sys;
    std::ostringstream out;
    std::ostringstream err;
};

TEST(ZorvikcEventLogTest, TheSourceIsRegisteredWithThisProgramAsItsMessageFile) {
    LoggedWorld world;
    EXPECT_EQ(world.Run({"--install-eventlog-source"}), 0) << world.err.str();
    const auto file = world.sys.reg().Get(RootKey::LocalMachine, zorvik::kEventSourceKey,
                                          "EventMessageFile");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->type, platform::RegType::ExpandSz);
    EXPECT_EQ(file->data, world.sys.files().OwnPath() + '\0');
    EXPECT_EQ(world.Run({"--uninstall-eventlog-source"}), 0);
    EXPECT_FALSE(world.sys.reg().KeyExists(RootKey::LocalMachine, zorvik::kEventSourceKey));
    EXPECT_EQ(world.Run({"--uninstall-eventlog-source"}), 0);
    EXPECT_NE(world.out.str().find("was not registered"), std::string::npos);
}

TEST(ZorvikcEventLogTest, ARegistrationRefusedSaysItNeedsAnAdministrator) {
    LoggedWorld world;
    world.sys.reg().MakeKey(RootKey::LocalMachine, zorvik::kEventSourceKey);
    world.sys.reg().DenyWrites(RootKey::LocalMachine, zorvik::kEventSourceKey);
    EXPECT_EQ(world.Run({"--install-eventlog-source"}), 1);
    EXPECT_NE(world.err.str().find("administrator"), std::string::npos) << world.err.str();
}

TEST(ZorvikcEventLogTest, AScanWritesAnEventPerListedProgram) {
    LoggedWorld world;
    ASSERT_EQ(world.Run({"--install-eventlog-source"}), 0);
    EXPECT_EQ(world.Run({"scan", "--json", "--eventlog"}), 1) << world.err.str();
    ASSERT_EQ(world.Events().size(), 1u);
    const platform::sim::LoggedEvent& event = world.Events()[0];
    EXPECT_EQ(event.source, zorvik::kEventSourceName);
    EXPECT_EQ(event.strings.at(zorvik::kProgramPath), kBot.path);
    EXPECT_EQ(event.strings.at(zorvik::kProgramPid), "10");
}

// The findings are never lost without a word: the report still goes out, the exit code and
// the message tell that the log did not get them.
TEST(ZorvikcEventLogTest, AMissingOrRefusingLogIsToldAndTheReportStillGoesOut) {
    struct Case {
        const char* what;
        bool installed;
        bool refuseOpening;
        bool refuseWrites;
        const char* told;
    };
    const Case cases[] = {
        {"source not registered", false, false, false, "is not registered"},
        {"log refuses opening", true, true, false, "cannot be opened"},
        {"log refuses the event", true, false, true, "refused an event"},
    };
    for (const Case& c : cases) {
        LoggedWorld world;
        if (c.installed) ASSERT_EQ(world.Run({"--install-eventlog-source"}), 0);
        world.sys.events().RefuseOpening(c.refuseOpening);
        world.sys.events().RefuseWrites(c.refuseWrites);
        EXPECT_EQ(world.Run({"scan", "--json", "--eventlog"}), 4) << c.what;
        EXPECT_NE(world.out.str().find("bot.exe"), std::string::npos) << c.what;
        EXPECT_NE(world.err.str().find(c.told), std::string::npos) << c.what << world.err.str();
        EXPECT_TRUE(world.Events().empty()) << c.what;
    }
}

TEST(ZorvikcEventLogTest, AWatchWritesAnEventPerChange) {
    struct Case {
        const char* what;
        bool installed;
        int exitCode;
        std::size_t events;
    };
    const Case cases[] = {{"source registered", true, 0, 2}, {"source missing", false, 4, 0}};
    for (const Case& c : cases) {
        LoggedWorld world;
        if (c.installed) ASSERT_EQ(world.Run({"--install-eventlog-source"}), 0);
        std::vector<std::function<void()>> steps = {
            [&] { maintest::PutRun(world.sys, "Later", "C:\\Apps\\later.exe"); },
            [&] {
                platform::RegKey key =
                    platform::OpenKey(world.sys.registry(), RootKey::CurrentUser,
                                      scantest::kRunKey, platform::KeyAccess::All);
                world.sys.registry().DeleteValue(key.get(), "Later");
            }};
        std::size_t next = 0;
        world.sys.WhileWatchWaits([&] {
            if (next < steps.size()) steps[next++]();
            else world.sys.PressConsoleBreak();
        });
        EXPECT_EQ(world.Run({"watch", "--eventlog"}), c.exitCode) << c.what << world.err.str();
        EXPECT_NE(world.out.str().find("later.exe"), std::string::npos) << c.what;
        ASSERT_EQ(world.Events().size(), c.events) << c.what;
        if (c.events == 0) continue;
        EXPECT_EQ(world.Events()[0].id, zorvik::kEntryAddedEvent);
        EXPECT_EQ(world.Events()[0].type, EventType::Warning);
        EXPECT_EQ(world.Events()[1].id, zorvik::kEntryRemovedEvent);
        EXPECT_EQ(world.Events()[1].type, EventType::Information);
        const std::vector<std::string>& added = world.Events()[0].strings;
        ASSERT_EQ(added.size(), static_cast<std::size_t>(zorvik::kEntryFieldCount));
        EXPECT_EQ(added[zorvik::kEntryChange], "added");
        EXPECT_EQ(added[zorvik::kEntryKind], "REG");
        EXPECT_EQ(added[zorvik::kEntryName], "Later");
        EXPECT_EQ(added[zorvik::kEntryText], "c:\\apps\\later.exe");
        EXPECT_EQ(added[zorvik::kEntryRunning], "false");
    }
}

}  // namespace
