#include <gtest/gtest.h>

#include <string>

#include "core/parse/TerminalSettings.h"

namespace {

using zorvik::parse::ParseTerminalSettings;

struct Case {
    const char* what;
    std::string json;
    bool parsed;
    bool start;
    std::string profile;
    std::string commandLine;
};

TEST(TerminalSettingsTest, TheDefaultProfilesCommandLineAndWhetherItStartsAtLogon) {
    const std::string list =
        R"("profiles": {"defaults": {"commandline": "C:\\Tools\\shell.exe"}, "list": [)"
        R"({"guid": "{61c54bbd-c2c6-5271-96e7-009a87ff44bf}", "name": "PowerShell",)"
        R"( "commandline": "powershell.exe"},)"
        R"({"guid": "{0caa0dad-35be-5f56-a8ff-afceeeaa6101}", "name": "Bot",)"
        R"( "commandline": "C:\\Temp\\bot.exe -q"},)"
        R"({"name": "Plain"}, {"name": "Ubuntu", "source": "Windows.Terminal.Wsl"}]})";
    const Case cases[] = {
        {"default by guid, any letter case",
         R"({"startOnUserLogin": true, "defaultProfile": "{0CAA0DAD-35BE-5F56-A8FF-AFCEEEAA6101}", )" +
             list + "}",
         true, true, "Bot", "C:\\Temp\\bot.exe -q"},
        {"default by name, not at logon",
         R"({"defaultProfile": "Bot", )" + list + "}", true, false, "Bot", "C:\\Temp\\bot.exe -q"},
        {"no command line of its own: the defaults'",
         R"({"startOnUserLogin": true, "defaultProfile": "Plain", )" + list + "}", true, true,
         "Plain", "C:\\Tools\\shell.exe"},
        {"a profile another program provides has none",
         R"({"startOnUserLogin": true, "defaultProfile": "Ubuntu", )" + list + "}", true, true,
         "Ubuntu", ""},
        {"no default named: the first profile",
         R"({"startOnUserLogin": true, "profiles": [{"name": "A", "commandline": "a.exe"}]})",
         true, true, "A", "a.exe"},
        {"default not among the profiles",
         R"({"startOnUserLogin": true, "defaultProfile": "Gone", )" + list + "}", true, true, "", ""},
        {"comments and trailing commas, as the terminal writes",
         "// generated\r\n{\r\n  /* start */ \"startOnUserLogin\": true, // yes\r\n"
         "  \"profiles\": [{\"name\": \"x // y\", \"commandline\": \"C:\\\\a /* b */.exe\",},],\r\n}",
         true, true, "x // y", "C:\\a /* b */.exe"},
        {"startOnUserLogin not a boolean", R"({"startOnUserLogin": "true"})", true, false, "", ""},
        {"an array", "[1, 2]", false, false, "", ""},
        {"cut short", R"({"startOnUserLogin": true, "profiles": [)", false, false, "", ""},
        {"empty", "", false, false, "", ""},
        {"unclosed comment", "{} /* ", true, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto startup = ParseTerminalSettings(c.json);
        ASSERT_EQ(startup.has_value(), c.parsed);
        if (!startup) continue;
        EXPECT_EQ(startup->startOnUserLogin, c.start);
        EXPECT_EQ(startup->profile, c.profile);
        EXPECT_EQ(startup->commandLine, c.commandLine);
    }
}

}  // namespace
