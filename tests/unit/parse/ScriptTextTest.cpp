#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/ScriptText.h"
#include "unit/parse/ByteBuilder.h"

namespace {

using parse_test::Utf16;
using zorvik::parse::TextEncoding;

TEST(ScriptTextTest, LinesInEachEncoding) {
    const std::vector<std::string> lines{"@echo off", "start \"\" \"C:\\Caf\xE9\\bot.exe\"", "",
                                         "exit"};
    const std::u16string unicode =
        u"@echo off\r\nstart \"\" \"C:\\Caf\u00E9\\bot.exe\"\r\n\r\nexit\r\n";
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        std::vector<std::string> lines;
    } cases[] = {
        {"ANSI", "@echo off\r\nstart \"\" \"C:\\Caf\xE9\\bot.exe\"\r\n\r\nexit\r\n",
         TextEncoding::Ansi, lines},
        {"ANSI, line feeds alone, no last line end",
         "@echo off\nstart \"\" \"C:\\Caf\xE9\\bot.exe\"\n\nexit", TextEncoding::Ansi, lines},
        {"UTF-16LE", "\xFF\xFE" + Utf16(unicode), TextEncoding::Utf16Le, lines},
        {"UTF-16BE", "\xFE\xFF" + Utf16(unicode, true), TextEncoding::Utf16Be, lines},
        {"UTF-8", "\xEF\xBB\xBF@echo off\rstart \"\" \"C:\\Caf\xC3\xA9\\bot.exe\"\r\rexit\r",
         TextEncoding::Utf8, lines},
        {"UTF-16LE, a character beyond ANSI",
         "\xFF\xFE" + Utf16(u"Run \u0416.exe\n"),
         TextEncoding::Utf16Le,
         {"Run ?.exe"}},
    };
    for (const auto& c : cases) {
        const auto script = zorvik::parse::DecodeScriptText(c.bytes);
        EXPECT_EQ(script.encoding, c.encoding) << c.what;
        EXPECT_EQ(script.lines, c.lines) << c.what;
    }
}

TEST(ScriptTextTest, ScriptFileNamesByExtensionInAnyCase) {
    for (const char* name :
         {"run.bat", "C:\\x\\RUN.CMD", "a.b.Vbs", "x.js", "p.PS1", "C:/x/.bat"}) {
        EXPECT_TRUE(zorvik::parse::IsScriptFileName(name)) << name;
    }
    for (const char* name : {"run.exe", "bat", "x.jse", "x.bat.bak", "C:\\x.bat\\y", "x.ps", ""}) {
        EXPECT_FALSE(zorvik::parse::IsScriptFileName(name)) << name;
    }
}

TEST(ScriptTextTest, AnsiTextWrittenBackInEachEncoding) {
    const std::string ansi = "Caf\xE9 \x80";
    const struct {
        TextEncoding encoding;
        std::string bytes;
    } cases[] = {
        {TextEncoding::Ansi, ansi},
        {TextEncoding::Utf8, "Caf\xC3\xA9 \xE2\x82\xAC"},
        {TextEncoding::Utf16Le, Utf16(u"Caf\u00E9 \u20AC")},
        {TextEncoding::Utf16Be, Utf16(u"Caf\u00E9 \u20AC", true)},
    };
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    for (const auto& c : cases) {
        EXPECT_EQ(zorvik::parse::EncodeAnsi(ansi, c.encoding), c.bytes);
        EXPECT_EQ(zorvik::parse::DecodeToAnsi(zorvik::parse::EncodeAnsi(everyByte, c.encoding), c.encoding),
                  everyByte);
    }
}

TEST(ScriptTextTest, ScriptNamesOfACommandNearestStartFirst) {
    using Mentions = std::vector<std::vector<std::string>>;
    const struct {
        const char* command;
        Mentions mentions;
    } cases[] = {
        {"C:\\Scripts\\start.bat", {{"C:\\Scripts\\start.bat"}}},
        {"cmd /c C:\\My Scripts\\go.CMD /q",
         {{"Scripts\\go.CMD", "C:\\My Scripts\\go.CMD", "/c C:\\My Scripts\\go.CMD",
           "cmd /c C:\\My Scripts\\go.CMD"}}},
        {"wscript.exe //B \"%APPDATA%\\a b.vbs\" \"x.js\"", {{"%APPDATA%\\a b.vbs"}, {"x.js"}}},
        {"s.Run \"C:\\x.ps1\", 0", {{"C:\\x.ps1"}}},
        {"powershell -File='C:\\p.ps1';", {{"C:\\p.ps1", "'C:\\p.ps1", "-File='C:\\p.ps1", "powershell -File='C:\\p.ps1"}}},
        // No name before the extension, one that goes on, a disabled one, or none at all.
        {"C:\\dir\\.bat x.json C:\\run.bat.bak \".cmd\" .vbs", {}},
        {"prog.exe /x", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zorvik::parse::ScriptNamesIn(c.command), c.mentions) << c.command;

    std::string many;
    for (int i = 0; i < 40; ++i) many += "a" + std::to_string(i) + ".bat ";
    const Mentions bounded = zorvik::parse::ScriptNamesIn(many);
    ASSERT_EQ(bounded.size(), zorvik::parse::kMaxScriptMentions);
    EXPECT_EQ(bounded.back().size(), zorvik::parse::kMaxScriptNameStarts);
    EXPECT_EQ(bounded.back().front(), "a15.bat");
}

}  // namespace
