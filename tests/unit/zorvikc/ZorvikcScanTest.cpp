// What zorvikc scan prints: the rows in text, CSV and JSON, ANSI texts as UTF-8, and the saved
// settings the console scan reads.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/base/untFunc.h"
#include "core/report/AnsiUtf8.h"
#include "core/report/SavedScanSettings.h"
#include "core/report/ScanReport.h"
#include "platform/sim/system/SimSystem.h"
#include "unit/zorvikc/ReportCheck.h"

namespace {

using zorvik::ReportFormat;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Two rows: a program with a registry hit and a disabled folder hit, and one without hits.
zorvik::ProcessList SampleList() {
    zorvik::ProcessList list;
    auto findings = std::make_unique<zorvik::ProcInfo>();
    findings->RegList.push_back(
        {"HKEY_CURRENT_USER", kRunKey, "Bot, \"new\"", false, "c:\\apps\\bot.exe /q"});
    findings->FolList.push_back({"C:\\Start\xE9", true, "Bot.lnk", "bot.lnk"});
    list.Add("C:\\Apps\\bot.exe", "1234", "Possible Bot Process, 2 Start up\\s detected",
             std::move(findings));
    platform::TcpRow listener;
    listener.state = platform::kTcpStateListen;
    listener.localPort = 80;
    platform::TcpRow connection;
    connection.state = platform::kTcpStateEstab;
    connection.family = platform::AddressFamily::V6;
    connection.localAddress = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    connection.localPort = 50000;
    connection.remoteAddress[15] = 1;
    connection.remotePort = 443;
    list.At(0).sockets = {listener, connection};
    list.Add("C:\\Dir\\stub.exe", "-1", "Probable Bot Loader, 0 Start up\\s detected",
             std::make_unique<zorvik::ProcInfo>());
    return list;
}

TEST(AnsiToUtf8Test, ConvertsByTheWindows1252Table) {
    struct Case { std::string ansi; std::string utf8; };
    const Case cases[] = {
        {"plain ASCII \\ \"", "plain ASCII \\ \""},
        {"\x80", "\xE2\x82\xAC"},          // euro sign
        {"\x92", "\xE2\x80\x99"},          // right single quote
        {"\x9F", "\xC5\xB8"},              // Y with diaeresis
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined
        {"\xA0", "\xC2\xA0"},
        {"caf\xE9", "caf\xC3\xA9"},
        {"\xFF", "\xC3\xBF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(zorvik::AnsiToUtf8(c.ansi), c.utf8) << c.ansi;
}

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(zorvik::CsvField("plain text"), "plain text");
    EXPECT_EQ(zorvik::CsvField(""), "");
    EXPECT_EQ(zorvik::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(zorvik::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(zorvik::CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(zorvik::CsvField("lf\nonly"), "\"lf\nonly\"");
}

TEST(JsonStringTest, EscapesQuotesBackslashesAndControls) {
    EXPECT_EQ(zorvik::JsonString("C:\\Apps\\\"x\""), "\"C:\\\\Apps\\\\\\\"x\\\"\"");
    EXPECT_EQ(zorvik::JsonString("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(zorvik::JsonString(std::string("\x01\x1F\0", 3)), "\"\\u0001\\u001f\\u0000\"");
    EXPECT_EQ(zorvik::JsonString("caf\xC3\xA9 \x7F"), "\"caf\xC3\xA9 \x7F\"");
}

TEST(ScanReportTest, TextListsEachProgramWithItsEntries) {
    const std::string text = reporttest::Report(SampleList(), ReportFormat::Text);
    EXPECT_NE(text.find("C:\\Apps\\bot.exe\n  PID      1234\n"
                        "  Details  Possible Bot Process, 2 Start up\\s detected\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("HKEY_CURRENT_USER"), std::string::npos);
    EXPECT_NE(text.find("  Socket   ESTAB [2001:db8::1]:50000 -> [::1]:443\n"), std::string::npos);
    EXPECT_NE(text.find("C:\\Start\xC3\xA9"), std::string::npos) << "converted to UTF-8";
    EXPECT_NE(text.find("C:\\Dir\\stub.exe\n  PID      -1\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 19), "2 programs listed.\n");

    EXPECT_EQ(reporttest::Report(zorvik::ProcessList{}, ReportFormat::Text),
              "No programs listed.\n");
}

TEST(ScanReportTest, CsvHasOneRecordPerEntryAndOneForAProgramWithout) {
    const std::string csv = reporttest::Report(SampleList(), ReportFormat::Csv);
    const std::string kBotSockets =
        "LISTEN 0.0.0.0:80 -> 0.0.0.0:0; ESTAB [2001:db8::1]:50000 -> [::1]:443";
    const std::string expected =
        "Program Path,PID,Details,Type,Data 1,Data 2,Data 3,Notes,Disabled,Approved,Sockets,File Size,SHA-256,Company Name,File Description,Product Name,File Version,Signature,Signer,Key,Text,Module,Starts,Verdict,Reason Codes,Reasons\r\n"
        "C:\\Apps\\bot.exe,1234,\"Possible Bot Process, 2 Start up\\s detected\",REG,"
        "HKEY_CURRENT_USER," + kRunKey + ",\"Bot, \"\"new\"\"\",,false,," + kBotSockets +
        ",,,,,,,,,\"REG|hkey_current_user|software\\microsoft\\windows\\currentversion\\run|"
        "bot, \"\"new\"\"\",c:\\apps\\bot.exe /q,,,,,\r\n"
        "C:\\Apps\\bot.exe,1234,\"Possible Bot Process, 2 Start up\\s detected\",FOL,"
        "C:\\Start\xC3\xA9,,,,true,," + kBotSockets +
        ",,,,,,,,,FOL|c:\\start\xC3\xA9|bot.lnk,bot.lnk,,,,,\r\n"
        "C:\\Dir\\stub.exe,-1,\"Probable Bot Loader, 0 Start up\\s detected\",,,,,,,,,,,,,,,,,,,,,,,\r\n";
    EXPECT_EQ(csv, expected);

    EXPECT_EQ(reporttest::Report(zorvik::ProcessList{}, ReportFormat::Csv),
              "Program Path,PID,Details,Type,Data 1,Data 2,Data 3,Notes,Disabled,Approved,Sockets,File Size,SHA-256,Company Name,File Description,Product Name,File Version,Signature,Signer,Key,Text,Module,Starts,Verdict,Reason Codes,Reasons\r\n");
}

TEST(ScanReportTest, JsonHoldsEveryRowAndEntry) {
    const std::string json = reporttest::Report(SampleList(), ReportFormat::Json);
    const std::string expected =
        "{\n"
        "  \"programs\": [\n"
        "    {\n"
        "      \"path\": \"C:\\\\Apps\\\\bot.exe\",\n"
        "      \"pid\": 1234,\n"
        "      \"details\": \"Possible Bot Process, 2 Start up\\\\s detected\",\n"
        "      \"verdict\": null,\n"
        "      \"startups\": [\n"
        "        {\"type\": \"REG\", \"data\": [\"HKEY_CURRENT_USER\", "
        "\"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\", \"Bot, \\\"new\\\"\"], "
        "\"disabled\": false, \"approved\": null, "
        "\"key\": \"REG|hkey_current_user|"
        "software\\\\microsoft\\\\windows\\\\currentversion\\\\run|bot, \\\"new\\\"\", "
        "\"text\": \"c:\\\\apps\\\\bot.exe /q\"},\n"
        "        {\"type\": \"FOL\", \"data\": [\"C:\\\\Start\xC3\xA9\"], \"disabled\": true, "
        "\"approved\": null, "
        "\"key\": \"FOL|c:\\\\start\xC3\xA9|bot.lnk\", \"text\": \"bot.lnk\"}\n"
        "      ],\n"
        "      \"sockets\": [\n"
        "        {\"family\": \"IPv4\", \"state\": \"LISTEN\", \"localAddress\": \"0.0.0.0\", "
        "\"localPort\": 80, \"remoteAddress\": \"0.0.0.0\", \"remotePort\": 0},\n"
        "        {\"family\": \"IPv6\", \"state\": \"ESTAB\", \"localAddress\": \"2001:db8::1\", "
        "\"localPort\": 50000, \"remoteAddress\": \"::1\", \"remotePort\": 443}\n"
        "      ],\n"
        "      \"file\": null\n"
        "    },\n"
        "    {\n"
        "      \"path\": \"C:\\\\Dir\\\\stub.exe\",\n"
        "      \"pid\": -1,\n"
        "      \"details\": \"Probable Bot Loader, 0 Start up\\\\s detected\",\n"
        "      \"verdict\": null,\n"
        "      \"startups\": [],\n"
        "      \"sockets\": [],\n"
        "      \"file\": null\n"
        "    }\n"
        "  ]\n"
        "}\n";
    EXPECT_EQ(json, expected);

    EXPECT_EQ(reporttest::Report(zorvik::ProcessList{}, ReportFormat::Json),
              "{\n  \"programs\": []\n}\n");
}

// A hit found through a script, on a program run in place of an unquoted command, names both
// in every format; a shortcut's hit gives its three columns.
TEST(ScanReportTest, HitsNameTheScriptAndTheProgramRunInstead) {
    zorvik::ProcessList list;
    auto findings = std::make_unique<zorvik::ProcInfo>();
    findings->RegList.push_back(
        {"HKEY_CURRENT_USER", kRunKey, "Go", false, {}, {"C:\\go.bat", "C:\\Program.exe"}});
    findings->LnkList.push_back({"C:\\Startup", "Up.lnk", "C:\\Program.exe /q", true});
    list.Add("C:\\Program.exe", "9", "d", std::move(findings));
    const struct {
        ReportFormat format;
        std::vector<std::string> parts;
    } cases[] = {
        {ReportFormat::Text,
         {"  REG  HKEY_CURRENT_USER\\" + kRunKey +
              "  value \"Go\"  script C:\\go.bat  runs instead C:\\Program.exe  enabled\n",
          "  LNK  C:\\Startup  Up.lnk  C:\\Program.exe /q  disabled\n"}},
        {ReportFormat::Csv,
         {",REG,HKEY_CURRENT_USER," + kRunKey + ",Go,Script: C:\\go.bat; Runs instead: C:\\Program.exe,false,",
          ",LNK,C:\\Startup,Up.lnk,C:\\Program.exe /q,,true,"}},
        {ReportFormat::Json,
         {"\"data\": [\"HKEY_CURRENT_USER\", \"" + zorvik::ReplaceAll(kRunKey, "\\", "\\\\") +
              "\", \"Go\"], \"notes\": {\"Script\": \"C:\\\\go.bat\", \"Runs instead\": "
              "\"C:\\\\Program.exe\"}, \"disabled\": false",
          "{\"type\": \"LNK\", \"data\": [\"C:\\\\Startup\", \"Up.lnk\", \"C:\\\\Program.exe /q\"], "
          "\"disabled\": true"}},
    };
    for (const auto& c : cases) {
        const std::string report = reporttest::Report(list, c.format);
        for (const std::string& part : c.parts)
            EXPECT_NE(report.find(part), std::string::npos) << part << "\nin\n" << report;
    }
}

TEST(ScanReportTest, RowWithoutFindingsPrintsNoEntries) {
    zorvik::ProcessList list;
    list.Add("C:\\a.exe", "7", "d", nullptr);
    EXPECT_NE(reporttest::Report(list, ReportFormat::Json).find("\"startups\": []"),
              std::string::npos);
    EXPECT_NE(
        reporttest::Report(list, ReportFormat::Csv).find("C:\\a.exe,7,d,,,,,,,,,,,,,,,,,,,,,,,\r\n"),
        std::string::npos);
}

TEST(ScanReportTest, JsonQuotesEveryPidThatIsNoCanonicalNumber) {
    struct Case { std::string pid; std::string written; };
    const Case cases[] = {
        {"0", "0"}, {"1234", "1234"}, {"-1", "-1"},
        {"007", "\"007\""}, {"-0", "\"-0\""}, {"-", "\"-\""}, {"", "\"\""},
        {"-012", "\"-012\""}, {"12a", "\"12a\""}, {"+5", "\"+5\""},
    };
    for (const Case& c : cases) {
        zorvik::ProcessList list;
        list.Add("C:\\a.exe", c.pid, "d", nullptr);
        EXPECT_NE(reporttest::Report(list, ReportFormat::Json).find("\"pid\": " + c.written + ",\n"),
                  std::string::npos)
            << c.pid;
    }
}

// ---- The report's schema -----------------------------------------------------------------

// The sample with every fact a report can hold: Task Manager's verdicts, a file with its
// version and hash, a file that could not be read.
zorvik::ProcessList SampleWithEveryFact() {
    zorvik::ProcessList list = SampleList();
    list.At(0).approvals = {zorvik::StartupApproval::Allowed, zorvik::StartupApproval::Disabled};
    zorvik::ProgramFileFacts facts;
    facts.readable = true;
    facts.size = 2048;
    facts.hashState = zorvik::HashState::Done;
    facts.sha256 = std::string(64, 'a');
    facts.version = platform::VersionStrings{"Vendor", "Bot", "Bot Suite", "1.0", true, "bot.exe"};
    facts.signature.state = platform::SignatureState::NotTrusted;
    facts.signature.reason = "expired";
    list.At(0).file = facts;
    list.At(0).verdict = zorvik::Verdict{zorvik::VerdictLevel::Suspicious,
                                         {{"user-folder", "Not signed, in a user's folder"}}};
    list.At(0).startsOther = {"C:\\WINDOWS\\system32\\svchost.exe", ""};
    list.At(1).file = zorvik::ProgramFileFacts{};
    list.At(1).verdict = zorvik::Verdict{zorvik::VerdictLevel::Windows, {}};
    return list;
}

TEST(ReportSchemaTest, TakesEveryFactAndRefusesWhatFleetsCouldNotRelyOn) {
    const std::string report = reporttest::Report(SampleWithEveryFact(), ReportFormat::Json);
    struct Case {
        const char* what;
        std::string from;  // replaced in the report once
        std::string to;
        bool valid;
    };
    const Case cases[] = {
        {"as written", "", "", true},
        {"an entry without its key", "\"key\": \"FOL|", "\"nokey\": \"FOL|", false},
        {"an entry without its text", ", \"text\": \"bot.lnk\"", "", false},
        {"a pid that is neither number nor text", "\"pid\": 1234", "\"pid\": true", false},
        {"a member the schema does not name", "{\n  \"programs\"", "{\"extra\": 1, \"programs\"",
         false},
        {"a change of another name", "\"text\": \"bot.lnk\"",
         "\"text\": \"bot.lnk\", \"change\": \"renamed\"", false},
        {"a port that is no integer", "\"localPort\": 80", "\"localPort\": 80.5", false},
        {"a hash state of another name", "\"hash\": \"done\"", "\"hash\": \"maybe\"", false},
        {"version facts without the string table flag", ", \"stringTable\": true", "", false},
        {"a program not judged", "{\"level\": \"windows\", \"reasons\": []}", "null", true},
        {"a program without its verdict",
         "      \"verdict\": {\"level\": \"windows\", \"reasons\": []},\n", "", false},
        {"a level of another name", "\"level\": \"suspicious\"", "\"level\": \"bad\"", false},
        {"a reason without its code", "{\"code\": \"user-folder\", ", "{", false},
        {"a file started that is no text",
         "\"startsOther\": \"C:\\\\WINDOWS\\\\system32\\\\svchost.exe\"", "\"startsOther\": 1",
         false},
    };
    for (const Case& c : cases) {
        std::string document = report;
        const std::size_t at = document.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.what;
        document.replace(at, c.from.size(), c.to);
        EXPECT_EQ(reporttest::SchemaProblems(document).empty(), c.valid)
            << c.what << "\n" << document;
    }
}

// ---- Saved settings ----------------------------------------------------------------------

TEST(SavedScanSettingsTest, NoFileTrustsNothingAndKeepsSafeStartupsListed) {
    platform::sim::SimSystem sys;
    const zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);
    EXPECT_EQ(settings.file, "C:\\Zorvik\\Settings.ini");
    EXPECT_FALSE(settings.found);
    EXPECT_EQ(settings.Count(), 0u);
    EXPECT_FALSE(settings.IgnoreSafe());
}

TEST(SavedScanSettingsTest, ReadsTheTrustedValuesInFileOrderAndTheFlag) {
    platform::sim::SimSystem sys;
    sys.fs().AddFile("C:\\Zorvik\\Settings.ini",
                     "[Core]\r\nIgnoreSafe=1\r\n[Trusted]\r\nb=C:\\B.exe\r\na=C:\\A.exe\r\n"
                     "0=\r\n");
    const std::string before = *sys.fs().Content("C:\\Zorvik\\Settings.ini");

    const zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);

    EXPECT_TRUE(settings.found);
    EXPECT_EQ(settings.trusted, (std::vector<std::string>{"C:\\B.exe", "C:\\A.exe", ""}));
    EXPECT_TRUE(zorvik::IsTrusted(settings, "c:\\a.EXE"));
    EXPECT_TRUE(settings.IgnoreSafe());
    EXPECT_EQ(*sys.fs().Content("C:\\Zorvik\\Settings.ini"), before) << "only read";
}

TEST(SavedScanSettingsTest, IgnoreSafeIsAnInteger) {
    struct Case { std::string value; bool on; };
    const Case cases[] = {{"0", false}, {"1", true}, {"-1", true}, {"2", true},
                          {"0x10", true}, {"$0", false}, {"yes", false}, {"", false},
                          {"1x", false}};
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        sys.fs().AddFile("C:\\Zorvik\\Settings.ini", "[Core]\r\nIgnoreSafe=" + c.value + "\r\n");
        EXPECT_EQ(zorvik::ReadSavedScanSettings(sys).IgnoreSafe(), c.on) << "'" << c.value << "'";
    }
}

}  // namespace
