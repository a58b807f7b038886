#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/TaskCacheActions.h"
#include "unit/parse/TaskCacheBuilder.h"

namespace {

using namespace parse_test;
using zorvik::parse::ParseTaskCacheActions;

struct Case {
    const char* what;
    std::string bytes;
    bool parsed;
    std::vector<std::string> programs;  // command + "|" + arguments + "|" + folder
    std::vector<std::string> handlers;
    bool complete = true;
};

TEST(TaskCacheActionsTest, ProgramsAndHandlersOfWellFormedAndDamagedValues) {
    const std::string bot = ExecAction("C:\\Apps\\bot.exe", "-s", "C:\\Apps");
    const std::string cmd = ExecAction("cmd.exe", "/c start x");
    const std::string handler = "{01234567-89AB-CDEF-0123-456789ABCDEF}";
    const Case cases[] = {
        {"one program", CachedActionsValue(bot), true, {"C:\\Apps\\bot.exe|-s|C:\\Apps"}, {}},
        {"two programs and a COM handler",
         CachedActionsValue(bot + ComHandlerAction("data") + cmd),
         true,
         {"C:\\Apps\\bot.exe|-s|C:\\Apps", "cmd.exe|/c start x|"},
         {handler}},
        {"version 1, no flags word",
         CachedActionsValue(ExecAction("C:\\bot.exe", "", "", 1), 1),
         true,
         {"C:\\bot.exe||"},
         {}},
        {"no context text",
         U16(3) + ExecAction("C:\\bot.exe"),
         true,
         {"C:\\bot.exe||"},
         {}},
        {"no actions", CachedActionsValue(""), true, {}, {}},
        {"empty", "", false, {}, {}},
        {"a lone byte", "\x03", false, {}, {}},
        {"context cut short", U16(3) + U32(40) + Utf16("Auth"), true, {}, {}, false},
        {"second program cut short",
         CachedActionsValue(bot + cmd.substr(0, cmd.size() - 5)),
         true,
         {"C:\\Apps\\bot.exe|-s|C:\\Apps"},
         {},
         false},
        {"text length past the end",
         CachedActionsValue(U16(0x6666) + CachedText("") + U32(0xFFFFFFF0) + Utf16("C:\\bot.exe")),
         true,
         {},
         {},
         false},
        {"odd text length",
         CachedActionsValue(U16(0x6666) + CachedText("") + U32(3) + "abc" + bot),
         true,
         {},
         {},
         false},
        {"unknown action ends the reading",
         CachedActionsValue(bot + U16(0x1234) + cmd),
         true,
         {"C:\\Apps\\bot.exe|-s|C:\\Apps"},
         {},
         false},
        {"mail action ends the reading",
         CachedActionsValue(bot + U16(0x8888) + CachedText("") + CachedText("a@b")),
         true,
         {"C:\\Apps\\bot.exe|-s|C:\\Apps"},
         {},
         false},
        {"zero inside a text ends it",
         CachedActionsValue(U16(0x6666) + CachedText("") + U32(10) + Utf16("ab") + U16(0) +
                            Utf16("cd") + CachedText("") + CachedText("") + U16(0)),
         true,
         {"ab||"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto actions = ParseTaskCacheActions(c.bytes);
        ASSERT_EQ(actions.has_value(), c.parsed);
        if (!actions) continue;
        std::vector<std::string> programs;
        for (const auto& exec : actions->execActions)
            programs.push_back(exec.command + "|" + exec.arguments + "|" + exec.workingDirectory);
        EXPECT_EQ(programs, c.programs);
        EXPECT_EQ(actions->comHandlers, c.handlers);
        EXPECT_EQ(actions->complete, c.complete);
    }
}

}  // namespace
