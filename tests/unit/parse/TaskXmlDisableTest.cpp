#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/parse/TaskXmlDisable.h"
#include "unit/parse/TaskFileBuilder.h"

namespace {

using namespace parse_test;
using zorvik::parse::DisableTaskXml;

// The ASCII text as UTF-16LE with a byte order mark, each '@' a character past ANSI (U+263A).
std::string WideWithSmiley(const std::string& text) {
    std::u16string units;
    for (const char c : text) units += c == '@' ? u'\u263A' : static_cast<char16_t>(c);
    std::string bytes = "\xFF\xFE";
    return bytes.append(Utf16(units));
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

struct DisableCase {
    const char* what;
    std::string bytes;
    std::optional<std::string> disabled;
};

TEST(TaskXmlDisableTest, SettingsSayDisabledAndEverythingElseStaysByteForByte) {
    const std::string enabled = TaskDefinitionText("<Enabled>true</Enabled>", "C:\\bot.exe");
    const std::string disabled = TaskDefinitionText("<Enabled>false</Enabled>", "C:\\bot.exe");
    const std::string hidden = TaskDefinitionText("<Hidden>true</Hidden>", "bot.exe", "-q");
    const std::string utf8 =
        TaskDefinitionText("<Enabled> true </Enabled>", "C:\\Caf\xC3\xA9\\bot.exe");
    const std::string smiley = TaskDefinitionText("<Enabled>1</Enabled>", "C:\\@\\bot.exe");
    const DisableCase cases[] = {
        {"as the Task Scheduler writes it; the trigger's Enabled stays",
         TaskFileBytes(enabled), TaskFileBytes(disabled)},
        {"no Enabled: one added", TaskFileBytes(hidden),
         TaskFileBytes(Replaced(hidden, "<Hidden>", "<Enabled>false</Enabled><Hidden>"))},
        {"UTF-8 as Wine writes it", utf8,
         Replaced(utf8, "<Enabled> true </Enabled>", "<Enabled>false</Enabled>")},
        {"a character past ANSI before the change", WideWithSmiley(smiley),
         WideWithSmiley(Replaced(smiley, ">1<", ">false<"))},
        {"an empty Enabled", TaskFileBytes(Replaced(enabled, "<Settings><Enabled>true</Enabled>", "<Settings><Enabled/>")),
         TaskFileBytes(disabled)},
        {"empty Settings",
         TaskFileBytes(Replaced(enabled, "<Settings><Enabled>true</Enabled></Settings>", "<Settings/>")),
         TaskFileBytes(disabled)},
        {"no task", TaskFileBytes(Replaced(Replaced(enabled, "<Task ", "<Job "), "</Task>", "</Job>")),
         std::nullopt},
        {"cut short", TaskFileBytes(enabled.substr(0, enabled.size() - 9)), std::nullopt},
    };
    for (const DisableCase& c : cases) EXPECT_EQ(DisableTaskXml(c.bytes), c.disabled) << c.what;
}

}  // namespace
