#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/ShellLink.h"
#include "unit/parse/ShellLinkBuilder.h"

namespace {

using namespace parse_test;
using zorvik::parse::ParseShellLink;
using Source = zorvik::parse::ShellLinkTargetSource;

const std::u16string kUnicodeTarget = u"C:\\Users\\Zo\u00EB\\\u0416bot.exe";

struct LinkCase {
    const char* what;
    LinkParts parts;
    std::string target;
    Source source;
    std::optional<std::string> arguments;
};

TEST(ShellLinkTest, TargetFromTheBestPartItHoldsAndTheArguments) {
    const std::string idItems = MyComputerItem() + DriveItem("C:\\") +
                                FileEntryItem('\x31', "PROGRA~1", "Program Files") +
                                FileEntryItem('\x32', "BOT~1.EXE", "bot agent.exe");
    const std::vector<LinkCase> cases{
        {"link info, arguments",
         LinkParts().WithLinkInfo(BuildLinkInfo("C:\\Apps\\bot.exe")).WithArguments("-silent"),
         "C:\\Apps\\bot.exe", Source::LinkInfo, "-silent"},
        {"link info before the id list, no arguments",
         LinkParts()
             .WithIdItems(idItems)
             .WithLinkInfo(BuildLinkInfo("C:\\Apps\\", "bot.exe"))
             .WithWorkingDirectory("C:\\"),
         "C:\\Apps\\bot.exe", Source::LinkInfo, std::nullopt},
        {"Unicode local path in ANSI",
         LinkParts().WithLinkInfo(
             BuildLinkInfo("C:\\Users\\ZOE~1\\BOT~1.EXE", "", &kUnicodeTarget)),
         "C:\\Users\\Zo\xEB\\?bot.exe", Source::LinkInfo, std::nullopt},
        {"network share",
         LinkParts().WithLinkInfo(BuildLinkInfo("", "tools\\bot.exe", nullptr, "\\\\srv\\share")),
         "\\\\srv\\share\\tools\\bot.exe", Source::LinkInfo, std::nullopt},
        {"environment block before the id list",
         LinkParts()
             .WithIdItems(idItems)
             .WithExtraBlocks(EnvironmentBlock("%APPDATA%\\bot.exe"))
             .WithMoreFlags(0x200),
         "%APPDATA%\\bot.exe", Source::EnvironmentVariables, std::nullopt},
        {"id list with long names",
         LinkParts().WithIdItems(idItems).WithRelativePath("..\\bot.exe").WithArguments("/run"),
         "C:\\Program Files\\bot agent.exe", Source::IdList, "/run"},
        {"id list of no file-system place",
         LinkParts()
             .WithIdItems(ShellItem(std::string("\x1F\x50", 2) + std::string(16, '\x11')))
             .WithRelativePath("..\\bot.exe"),
         "..\\bot.exe", Source::RelativePath, std::nullopt},
        {"id list with a root too short for its class id",
         LinkParts().WithIdItems(ShellItem("\x1F")).WithRelativePath("..\\bot.exe"), "..\\bot.exe",
         Source::RelativePath, std::nullopt},
        {"relative path only, ANSI texts",
         LinkParts()
             .InAnsi()
             .WithRelativePath("..\\..\\Roaming\\bot.exe")
             .WithArguments("-k \xE9t\xE9"),
         "..\\..\\Roaming\\bot.exe", Source::RelativePath, "-k \xE9t\xE9"},
        {"nothing to start", LinkParts().WithName("a comment"), "", Source::None, std::nullopt},
    };
    for (const LinkCase& c : cases) {
        const auto link = ParseShellLink(BuildShellLink(c.parts));
        ASSERT_TRUE(link) << c.what;
        EXPECT_EQ(link->target, c.target) << c.what;
        EXPECT_EQ(link->targetSource, c.source) << c.what;
        EXPECT_EQ(link->arguments, c.arguments) << c.what;
    }
}

TEST(ShellLinkTest, BrokenOrCutShortYieldsNothing) {
    const std::string good =
        BuildShellLink(LinkParts()
                           .WithIdItems(MyComputerItem() + DriveItem("C:\\") +
                                        FileEntryItem('\x32', "BOT.EXE", "bot.exe"))
                           .WithLinkInfo(BuildLinkInfo("C:\\bot.exe", "", &kUnicodeTarget))
                           .WithArguments("-k")
                           .WithExtraBlocks(EnvironmentBlock("%APPDATA%\\bot.exe")));
    ASSERT_TRUE(ParseShellLink(good));
    // A cut between extra blocks loses no structure; every other cut does.
    const std::size_t environmentAt = good.size() - 4 - 0x314;
    for (std::size_t length = 0; length < good.size(); ++length) {
        if (length == environmentAt || length == good.size() - 4) continue;
        EXPECT_FALSE(ParseShellLink(good.substr(0, length))) << "cut at " << length;
    }

    auto patched = [&](std::size_t at, const std::string& bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const std::size_t idListSize =
        static_cast<unsigned char>(good[0x4C]) | static_cast<unsigned char>(good[0x4D]) << 8;
    const std::size_t linkInfoAt = 0x4C + 2 + idListSize;
    const auto linkInfoSize =
        static_cast<std::uint32_t>(static_cast<unsigned char>(good[linkInfoAt]) |
                                   static_cast<unsigned char>(good[linkInfoAt + 1]) << 8);
    const std::vector<std::pair<const char*, std::string>> broken{
        {"header size", patched(0, U32(0x4D))},
        {"class id", patched(4, std::string(16, '\0'))},
        {"id list size", patched(0x4C, U16(0xFFF0))},
        {"id item size", patched(0x4E, U16(0x7FFF))},
        {"link info size", patched(linkInfoAt, U32(0xFFFFFFF0))},
        {"link info header size", patched(linkInfoAt + 4, U32(0x10))},
        {"local base path offset", patched(linkInfoAt + 0x10, U32(0x7FFFFFFF))},
        {"Unicode local base path offset", patched(linkInfoAt + 0x1C, U32(0xFFFFFFFF))},
        {"common path suffix offset", patched(linkInfoAt + 0x18, U32(linkInfoSize))},
        {"extra block size", patched(environmentAt, U32(0x319))},
    };
    for (const auto& [what, bytes] : broken) EXPECT_FALSE(ParseShellLink(bytes)) << what;
}

}  // namespace
