// The text the console tool prints: socket states and endpoints, rule descriptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "core/report/RuleDescription.h"
#include "core/base/SocketFormat.h"

namespace {

using platform::AddressFamily;
using Address = std::array<std::uint8_t, 16>;

// ---- State names --------------------------------------------------------------------------

TEST(TcpStateNameTest, NamesEveryTableState) {
    const std::vector<std::string> expected = {
        "CLOSED",    "LISTEN",     "SYN_SENT", "SYN_RCVD", "ESTAB",     "FIN_WAIT1",
        "FIN_WAIT2", "CLOSE_WAIT", "CLOSING",  "LAST_ACK", "TIME_WAIT", "DELETE_TCB"};
    for (std::uint32_t state = 1; state <= 12; ++state) {
        EXPECT_EQ(expected[state - 1], zorvik::TcpStateName(state)) << "state " << state;
    }
}

TEST(TcpStateNameTest, ValuesOutsideTheTableShowTheirNumber) {
    EXPECT_EQ("STATE(0)", zorvik::TcpStateName(0));
    EXPECT_EQ("STATE(13)", zorvik::TcpStateName(13));
    EXPECT_EQ("STATE(4294967295)", zorvik::TcpStateName(0xFFFFFFFFu));
}

// ---- Endpoints ----------------------------------------------------------------------------

struct EndpointCase {
    AddressFamily family;
    Address address;
    std::uint16_t port;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const EndpointCase& c) { return os << "expecting " << c.expected; }

class FormatEndpointTest : public ::testing::TestWithParam<EndpointCase> {};

TEST_P(FormatEndpointTest, Formats) {
    const EndpointCase& c = GetParam();
    EXPECT_EQ(c.expected, zorvik::FormatEndpoint(c.family, c.address, c.port));
}

Address V4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    Address address{};
    address[0] = a; address[1] = b; address[2] = c; address[3] = d;
    return address;
}

Address V6(std::array<std::uint16_t, 8> groups) {
    Address address{};
    for (std::size_t i = 0; i < 8; ++i) {
        address[2 * i] = static_cast<std::uint8_t>(groups[i] >> 8);
        address[2 * i + 1] = static_cast<std::uint8_t>(groups[i] & 0xFF);
    }
    return address;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, FormatEndpointTest,
    ::testing::Values(
        EndpointCase{AddressFamily::V4, V4(0, 0, 0, 0), 0, "0.0.0.0:0"},
        EndpointCase{AddressFamily::V4, V4(127, 0, 0, 1), 135, "127.0.0.1:135"},
        EndpointCase{AddressFamily::V4, V4(255, 255, 255, 255), 65535, "255.255.255.255:65535"},
        // Bytes past the fourth are not part of an IPv4 address.
        EndpointCase{AddressFamily::V4, [] { Address a = V4(10, 1, 2, 3); a[4] = 9; return a; }(),
                     8080, "10.1.2.3:8080"},
        EndpointCase{AddressFamily::V6, V6({0, 0, 0, 0, 0, 0, 0, 0}), 445, "[::]:445"},
        EndpointCase{AddressFamily::V6, V6({0, 0, 0, 0, 0, 0, 0, 1}), 80, "[::1]:80"},
        EndpointCase{AddressFamily::V6, V6({0xfe80, 0, 0, 0, 0, 0, 0, 1}), 5357, "[fe80::1]:5357"},
        EndpointCase{AddressFamily::V6, V6({0x2001, 0xdb8, 0, 0, 0, 0, 0, 0}), 1, "[2001:db8::]:1"},
        // Of two equal runs of zeros the first is shortened.
        EndpointCase{AddressFamily::V6, V6({0x2001, 0xdb8, 0, 0, 1, 0, 0, 1}), 2,
                     "[2001:db8::1:0:0:1]:2"},
        // The longer run wins even when it comes second.
        EndpointCase{AddressFamily::V6, V6({0x2001, 0, 0, 1, 0, 0, 0, 1}), 3,
                     "[2001:0:0:1::1]:3"},
        // A single zero group is not shortened; hex is lower case without leading zeros.
        EndpointCase{AddressFamily::V6, V6({0x2001, 0xdb8, 0, 0xABCD, 1, 1, 1, 0x00ff}), 4,
                     "[2001:db8:0:abcd:1:1:1:ff]:4"},
        EndpointCase{AddressFamily::V6, V6({0xffff, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff,
                                            0xffff, 0xffff}),
                     65535, "[ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff]:65535"},
        EndpointCase{AddressFamily::V6, V6({0, 0, 0, 0, 0, 0xffff, 0xc000, 0x0201}), 25,
                     "[::ffff:192.0.2.1]:25"}));

// ---- Socket lines -------------------------------------------------------------------------

TEST(SocketLineTest, ColumnsLineUpWithTheHeader) {
    platform::TcpRow row;
    row.state = platform::kTcpStateEstab;
    row.localAddress = V4(192, 168, 1, 20);
    row.localPort = 50123;
    row.remoteAddress = V4(93, 184, 216, 34);
    row.remotePort = 443;
    row.owningPid = 4242;
    const std::string header = zorvik::SocketHeaderLine();
    const std::string line = zorvik::SocketLine(row, "C:\\Apps\\bot.exe");

    EXPECT_EQ(0u, line.find("ESTAB "));
    EXPECT_EQ(header.find("Local"), line.find("192.168.1.20:50123"));
    EXPECT_EQ(header.find("Remote"), line.find("93.184.216.34:443"));
    // The pid is right-aligned under its head, the program follows in its column.
    EXPECT_EQ(header.find("PID") + 3, line.find("4242") + 4);
    EXPECT_EQ(header.find("Program"), line.find("C:\\Apps\\bot.exe"));
    EXPECT_EQ(line.size(), line.find("C:\\Apps\\bot.exe") + std::string("C:\\Apps\\bot.exe").size());
}

TEST(SocketLineTest, WideIpv6EndpointsStaySeparated) {
    platform::TcpRow row;
    row.state = platform::kTcpStateListen;
    row.family = AddressFamily::V6;
    row.localAddress = V6({0xfe80, 0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666, 0x7777});
    row.localPort = 65535;
    row.remoteAddress = V6({0, 0, 0, 0, 0, 0, 0, 0});
    row.owningPid = 0;
    const std::string line = zorvik::SocketLine(row, "");
    EXPECT_NE(std::string::npos,
              line.find("[fe80:1111:2222:3333:4444:5555:6666:7777]:65535 [::]:0 "));
    EXPECT_EQ(0u, line.find("LISTEN "));
}

// ---- Rule descriptions --------------------------------------------------------------------

zorvik::ScanRule Rule(const std::string& section, const std::string& type) {
    zorvik::ScanRule rule;
    rule.sectionName = section;
    rule.type = type;
    return rule;
}

// Described as the reader would give the rule: its keys as written, Type and Action understood.
zorvik::RuleDescription Describe(const zorvik::ScanRule& rule, const std::string& windowsDrive) {
    return zorvik::DescribeRule(
        zorvik::MakeScanRule(rule.sectionName, {{"Type", rule.type},
                                                {"Root", rule.root},
                                                {"Key", rule.key},
                                                {"Action", rule.action},
                                                {"Name", rule.name},
                                                {"Section", rule.section},
                                                {"Ident", rule.ident},
                                                {"Path", rule.path}}),
        windowsDrive);
}

bool HasLine(const zorvik::RuleDescription& d, const std::string& text) {
    return std::any_of(d.lines.begin(), d.lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

std::string Joined(const zorvik::RuleDescription& d) {
    std::string all;
    for (const std::string& line : d.lines) all += line + '\n';
    return all;
}

TEST(DescribeRuleTest, RegistryEnumShowsItsKeysButNoName) {
    zorvik::ScanRule rule = Rule("RunUser", "REG");
    rule.root = "HKEY_CURRENT_USER";
    rule.key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    rule.action = "ENUM";
    rule.name = "ignored";
    const auto d = Describe(rule, "C:\\");
    EXPECT_EQ(zorvik::RuleVerdict::Searched, d.verdict);
    ASSERT_FALSE(d.lines.empty());
    EXPECT_EQ("[RunUser]", d.lines.front());
    EXPECT_TRUE(HasLine(d, "Type:    REG")) << Joined(d);
    EXPECT_TRUE(HasLine(d, "Root:    HKEY_CURRENT_USER")) << Joined(d);
    EXPECT_TRUE(HasLine(d, "Key:     Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_TRUE(HasLine(d, "Action:  ENUM"));
    EXPECT_FALSE(HasLine(d, "Name")) << Joined(d);
    EXPECT_FALSE(HasLine(d, "finds nothing"));
}

TEST(DescribeRuleTest, RegistryCheckShowsTheValueOrTheDefaultValue) {
    zorvik::ScanRule rule = Rule("Shell", "REG");
    rule.root = "HKEY_LOCAL_MACHINE";
    rule.key = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    rule.action = "CHECK";
    rule.name = "Shell";
    EXPECT_TRUE(HasLine(Describe(rule, "C:\\"), "Name:    Shell"));
    rule.name.clear();
    const auto d = Describe(rule, "C:\\");
    EXPECT_TRUE(HasLine(d, "default value")) << Joined(d);
    EXPECT_EQ(zorvik::RuleVerdict::Searched, d.verdict);
}

struct UnacceptedRegCase {
    std::string root;
    std::string action;
    std::vector<std::string> complaints;
};

std::ostream& operator<<(std::ostream& os, const UnacceptedRegCase& c) {
    return os << "Root \"" << c.root << "\", Action \"" << c.action << "\"";
}

class DescribeUnacceptedRegTest : public ::testing::TestWithParam<UnacceptedRegCase> {};

TEST_P(DescribeUnacceptedRegTest, FindsNothingAndSaysWhy) {
    zorvik::ScanRule rule = Rule("Odd", "REG");
    rule.root = GetParam().root;
    rule.key = "Software";
    rule.action = GetParam().action;
    const auto d = Describe(rule, "C:\\");
    EXPECT_EQ(zorvik::RuleVerdict::FindsNothing, d.verdict);
    for (const std::string& complaint : GetParam().complaints) {
        EXPECT_TRUE(HasLine(d, complaint)) << Joined(d);
    }
    const auto count = std::count_if(d.lines.begin(), d.lines.end(), [](const std::string& l) {
        return l.find("finds nothing") != std::string::npos;
    });
    EXPECT_EQ(GetParam().complaints.size(), static_cast<std::size_t>(count));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DescribeUnacceptedRegTest,
    ::testing::Values(
        UnacceptedRegCase{"HKEY_USERS", "ENUM", {"finds nothing: Root must be"}},
        UnacceptedRegCase{"hkey_local_machine", "ENUM", {"finds nothing: Root must be"}},
        UnacceptedRegCase{"", "ENUM2", {"finds nothing: Root must be"}},
        UnacceptedRegCase{"HKEY_LOCAL_MACHINE", "check", {"finds nothing: Action must be"}},
        UnacceptedRegCase{"HKEY_LOCAL_MACHINE", "", {"finds nothing: Action must be"}},
        UnacceptedRegCase{"HKLM", "LIST",
                          {"finds nothing: Root must be", "finds nothing: Action must be"}}));

TEST(DescribeRuleTest, ExeWmiBitsDllsAndOtherProgramRulesSayWhatTheyRead) {
    using Keys = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        Keys keys;
        std::string line;
        zorvik::RuleVerdict verdict;
    };
    const Case cases[] = {
        {{{"Type", "EXE"}, {"Path", "Windows\\System32\\sethc.exe"}},
         "Program: C:\\Windows\\System32\\sethc.exe", zorvik::RuleVerdict::Searched},
        {{{"Type", "EXE"}}, "finds nothing: Path must name a program",
         zorvik::RuleVerdict::FindsNothing},
        {{{"Type", "WMI"}}, "the permanent event consumers of root\\subscription",
         zorvik::RuleVerdict::Searched},
        {{{"Type", "REG"}, {"Root", "HKEY_LOCAL_MACHINE"}, {"Key", "SYSTEM\\Lsa"},
          {"Action", "ENUM"}, {"dlls", "1"}},
         "Dlls:    1 (also compared with the DLLs loaded", zorvik::RuleVerdict::Searched},
        {{{"Type", "BITS"}}, "the transfer jobs of BITS", zorvik::RuleVerdict::Searched},
        {{{"Type", "REG"}, {"Root", "HKEY_CURRENT_USER"}, {"Key", "Software\\App Paths\\*"},
          {"Action", "MATCH"}, {"OtherProgram", "1"}},
         "OtherProgram: 1 (a key naming its own program is passed over",
         zorvik::RuleVerdict::Searched},
    };
    for (const Case& c : cases) {
        const auto d = zorvik::DescribeRule(zorvik::MakeScanRule("Rule", c.keys), "C:\\");
        EXPECT_TRUE(HasLine(d, c.line)) << c.line << "\n" << Joined(d);
        EXPECT_EQ(d.verdict, c.verdict) << Joined(d);
    }
}

TEST(DescribeRuleTest, MatchAndServiceRulesSayWhatTheyRead) {
    using Keys = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        Keys keys;
        std::vector<std::string> lines;
        zorvik::RuleVerdict verdict;
    };
    const Keys com{{"Type", "REG"}, {"Root", "HKEY_CURRENT_USER"},
                   {"Key", "Software\\Classes\\CLSID\\*\\InprocServer32"}, {"Action", "MATCH"}};
    Keys limited = com;
    limited.emplace_back("Limit", "20000");
    Keys badLimit = com;
    badLimit.emplace_back("Limit", "lots");
    const Case cases[] = {
        {com,
         {"Name:    (empty: the default value)", "Limit:   100000 (the default)",
          "each \"*\" part of Key stands for every subkey at its depth; at most 100000",
          "REG_MULTI_SZ value gives each of its strings"},
         zorvik::RuleVerdict::Searched},
        {limited, {"Limit:   20000", "at most 20000 subkeys"}, zorvik::RuleVerdict::Searched},
        {badLimit, {"Limit:   lots (taken as 100000)"}, zorvik::RuleVerdict::Searched},
        {{{"Type", "REG"}, {"Root", "HKEY_LOCAL_MACHINE"}, {"Key", "SYSTEM\\Lsa"}, {"Action", "MATCH"},
          {"Name", "*"}},
         {"Name:    * (every value)", "no \"*\" part in Key: the key itself is read"},
         zorvik::RuleVerdict::Searched},
        {{{"Type", "SVC"}, {"Root", "HKEY_LOCAL_MACHINE"}, {"Key", "SYSTEM\\CurrentControlSet\\Services"}},
         {"Key:     SYSTEM\\CurrentControlSet\\Services",
          "each subkey a service: its ImagePath, FailureCommand and ServiceDll (in Parameters or its "
          "own key), with"},
         zorvik::RuleVerdict::Searched},
        {{{"Type", "SVC"}, {"Root", "HKLM"}, {"Key", "Services"}},
         {"finds nothing: Root must be"},
         zorvik::RuleVerdict::FindsNothing},
    };
    for (const Case& c : cases) {
        const auto d = zorvik::DescribeRule(zorvik::MakeScanRule("Rule", c.keys), "C:\\");
        for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(d, line)) << line << "\n" << Joined(d);
        EXPECT_EQ(d.verdict, c.verdict) << Joined(d);
    }
}

TEST(DescribeRuleTest, UnknownTypesAreSkipped) {
    for (const std::string type : {"reg", "Reg", "", "REGISTRY", "fol"}) {
        zorvik::ScanRule rule = Rule("Odd", type);
        rule.root = "HKEY_LOCAL_MACHINE";
        rule.path = "Windows";
        const auto d = Describe(rule, "C:\\");
        EXPECT_EQ(zorvik::RuleVerdict::Skipped, d.verdict) << type;
        EXPECT_TRUE(
            HasLine(d, "skipped: Type must be REG, INI, FOL, FIL, SVC, TASK, LNK, EXE, WMI, SDB, "
                       "TERMINAL or BITS"))
            << type;
        EXPECT_FALSE(HasLine(d, "Root:")) << type;
        EXPECT_FALSE(HasLine(d, "Folder:")) << type;
    }
}

TEST(DescribeRuleTest, ProfileRuleShowsFileSectionAndEntry) {
    zorvik::ScanRule rule = Rule("WinIniLoad", "INI");
    rule.name = "win.ini";
    rule.section = "windows";
    rule.ident = "load";
    rule.root = "HKEY_USERS";  // not a key this type reads
    const auto d = Describe(rule, "C:\\");
    EXPECT_EQ(zorvik::RuleVerdict::Searched, d.verdict);
    EXPECT_TRUE(HasLine(d, "Name:    win.ini (in the Windows folder)")) << Joined(d);
    EXPECT_TRUE(HasLine(d, "Section: windows"));
    EXPECT_TRUE(HasLine(d, "Ident:   load"));
    EXPECT_FALSE(HasLine(d, "Root"));

    rule.name = "C:\\boot.ini";
    EXPECT_TRUE(HasLine(Describe(rule, "C:\\"), "Name:    C:\\boot.ini"));
    EXPECT_FALSE(HasLine(Describe(rule, "C:\\"), "Windows folder"));
}

TEST(DescribeRuleTest, FolderRuleResolvesAgainstTheWindowsDrive) {
    zorvik::ScanRule rule = Rule("UserStartup", "FOL");
    rule.path = "Users\\*USER*\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    const auto d = Describe(rule, "D:\\");
    EXPECT_EQ(zorvik::RuleVerdict::Searched, d.verdict);
    EXPECT_TRUE(HasLine(d, "Path:    Users\\*USER*\\AppData"));
    EXPECT_TRUE(HasLine(d, "Folder:  D:\\Users\\*USER*\\AppData\\Roaming")) << Joined(d);
    EXPECT_TRUE(HasLine(d, "\"*USER*\" replaced by the account's name")) << Joined(d);

    rule.path = "ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
    const auto common = Describe(rule, "C:\\");
    EXPECT_TRUE(HasLine(common, "Folder:  C:\\ProgramData\\Microsoft")) << Joined(common);
    EXPECT_TRUE(HasLine(common, "once per user account")) << Joined(common);
}

// Folder= in place of Path, and the keys any rule may add.
TEST(DescribeRuleTest, ShellFolderAndFollowingKeysAreShown) {
    const struct {
        std::vector<std::pair<std::string, std::string>> keys;
        zorvik::RuleVerdict verdict;
        std::vector<std::string> lines;
        std::vector<std::string> absent;
    } cases[] = {
        {{{"Type", "LNK"}, {"Folder", "common startup"}, {"Scripts", "1"}},
         zorvik::RuleVerdict::Searched,
         {"Folder:  common startup", "the folder the shell looks up", "Scripts: 1 (",
          "each shortcut's target and arguments"},
         {"Path:", "Unquoted"}},
        {{{"Type", "FOL"}, {"Folder", "Desktop"}},
         zorvik::RuleVerdict::FindsNothing,
         {"finds nothing: Folder must be Startup or Common Startup"},
         {"Scripts"}},
        {{{"Type", "REG"}, {"Root", "HKEY_CURRENT_USER"}, {"Key", "Run"}, {"Action", "ENUM"},
          {"Unquoted", "1"}, {"Scripts", "0"}},
         zorvik::RuleVerdict::Searched,
         {"Unquoted: 1 (a program Windows would run in place"},
         {"Scripts"}},
    };
    for (const auto& c : cases) {
        const auto d = zorvik::DescribeRule(zorvik::MakeScanRule("Rule", c.keys), "C:\\");
        EXPECT_EQ(d.verdict, c.verdict) << Joined(d);
        for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(d, line)) << line << "\n" << Joined(d);
        for (const std::string& line : c.absent) EXPECT_FALSE(HasLine(d, line)) << line << "\n" << Joined(d);
    }
}

TEST(DescribeRuleTest, FileRuleResolvesAgainstTheWindowsDrive) {
    zorvik::ScanRule rule = Rule("Autoexec", "FIL");
    rule.path = "autoexec.bat";
    const auto d = Describe(rule, "C:\\");
    EXPECT_EQ(zorvik::RuleVerdict::Searched, d.verdict);
    EXPECT_TRUE(HasLine(d, "File:    C:\\autoexec.bat")) << Joined(d);
    EXPECT_FALSE(HasLine(d, "user account"));

    rule.path.clear();
    EXPECT_TRUE(HasLine(Describe(rule, "C:\\"), "File:    C:\\"));
}

}  // namespace
