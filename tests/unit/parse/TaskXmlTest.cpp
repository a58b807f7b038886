#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/TaskXml.h"
#include "unit/parse/ByteBuilder.h"

namespace {

using parse_test::Utf16;
using zorvik::parse::ParseTaskXml;

// A task file as the Task Scheduler writes it: UTF-16LE with a byte order mark.
std::string AsTaskSchedulerWrites(const std::string& xml) { return "\xFF\xFE" + Utf16(xml); }

std::string TaskXml(const std::string& settings, const std::string& actions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <RegistrationInfo><URI>\\Vendor\\Updater</URI></RegistrationInfo>\r\n"
           "  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
           "  <Settings>" +
           settings +
           "</Settings>\r\n"
           "  <Actions Context=\"Author\">" +
           actions +
           "</Actions>\r\n"
           "</Task>\r\n";
}

std::string Exec(const std::string& command, const std::string& arguments = "") {
    std::string exec = "<Exec>\r\n      <Command>" + command + "</Command>\r\n";
    if (!arguments.empty()) exec += "      <Arguments>" + arguments + "</Arguments>\r\n";
    return exec + "    </Exec>";
}

struct TaskCase {
    const char* what;
    std::string bytes;
    std::vector<std::pair<std::string, std::string>> commandsAndArguments;
    bool enabled;
    bool hidden;
};

TEST(TaskXmlTest, ExecActionsAndSettingsInEachEncoding) {
    const std::vector<TaskCase> cases{
        {"command only",
         AsTaskSchedulerWrites(TaskXml("", Exec("C:\\Users\\x\\bot.exe"))),
         {{"C:\\Users\\x\\bot.exe", ""}},
         true,
         false},
        {"program in the arguments",
         AsTaskSchedulerWrites(TaskXml("", Exec("cmd.exe", "/c C:\\Users\\x\\bot.exe"))),
         {{"cmd.exe", "/c C:\\Users\\x\\bot.exe"}},
         true,
         false},
        {"hidden",
         AsTaskSchedulerWrites(TaskXml("<Hidden>true</Hidden>", Exec("bot.exe"))),
         {{"bot.exe", ""}},
         true,
         true},
        {"disabled",
         AsTaskSchedulerWrites(TaskXml("<Enabled>false</Enabled>", Exec("bot.exe"))),
         {{"bot.exe", ""}},
         false,
         false},
        {"UTF-8 without a byte order mark, as Wine writes",
         TaskXml("<Enabled>true</Enabled><Hidden>false</Hidden>", Exec("C:\\Caf\xC3\xA9\\bot.exe")),
         {{"C:\\Caf\xE9\\bot.exe", ""}},
         true,
         false},
        {"UTF-16 big-endian",
         "\xFE\xFF" + Utf16(u"<Task><Actions><Exec><Command>a\u263A.exe</Command>"
                            u"</Exec></Actions></Task>",
                            true),
         {{"a?.exe", ""}},
         true,
         false},
        {"entities, CDATA and comments",
         AsTaskSchedulerWrites(
             TaskXml("", Exec("C:\\A&amp;B\\bot.exe",
                              "/c &quot;x&quot; &lt;&gt;&apos; &#65;&#x42;&#x263A; "
                              "&bogus; <![CDATA[<&amp;>]]><!-- no -->z"))),
         {{"C:\\A&B\\bot.exe", "/c \"x\" <>' AB? &bogus; <&amp;>z"}},
         true,
         false},
        {"prefixes, other actions between",
         "<t:Task xmlns:t=\"urn:t\"><t:Actions><t:Exec><t:Command>one.exe</t:Command></t:Exec>"
         "<t:ComHandler><t:ClassId>{0}</t:ClassId></t:ComHandler>"
         "<t:Exec><t:Arguments>-x</t:Arguments><t:Command>two.exe</t:Command></t:Exec>"
         "</t:Actions></t:Task>",
         {{"one.exe", ""}, {"two.exe", "-x"}},
         true,
         false},
    };
    for (const TaskCase& c : cases) {
        const auto task = ParseTaskXml(c.bytes);
        ASSERT_TRUE(task) << c.what;
        std::vector<std::pair<std::string, std::string>> found;
        for (const auto& action : task->execActions)
            found.emplace_back(action.command, action.arguments);
        EXPECT_EQ(found, c.commandsAndArguments) << c.what;
        EXPECT_EQ(task->enabled, c.enabled) << c.what;
        EXPECT_EQ(task->hidden, c.hidden) << c.what;
    }
    EXPECT_EQ(ParseTaskXml(AsTaskSchedulerWrites(TaskXml("", Exec("a.exe"))))->uri,
              "\\Vendor\\Updater");
}

TEST(TaskXmlTest, NoTaskFromBrokenOrOtherDocuments) {
    const std::string whole = TaskXml("<Hidden>true</Hidden>", Exec("bot.exe"));
    std::string tooDeep = "<Task>";
    for (int i = 0; i < 64; ++i) tooDeep += "<x>";
    for (int i = 0; i < 64; ++i) tooDeep += "</x>";
    tooDeep += "</Task>";
    const std::vector<std::pair<const char*, std::string>> broken{
        {"empty", ""},
        {"cut short", AsTaskSchedulerWrites(whole.substr(0, whole.size() - 12))},
        {"cut inside a tag", whole.substr(0, whole.find("<Command>") + 4)},
        {"cut inside a comment", "<Task><!-- </Task>"},
        {"another root", "<Job><Actions><Exec><Command>a.exe</Command></Exec></Actions></Job>"},
        {"crossed end tags", "<Task><Actions><Exec></Actions></Exec></Task>"},
        {"nested too deep", tooDeep},
    };
    for (const auto& [what, bytes] : broken) EXPECT_FALSE(ParseTaskXml(bytes)) << what;
}

}  // namespace
