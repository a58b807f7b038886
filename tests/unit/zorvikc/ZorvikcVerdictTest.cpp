// The verdict on each listed program as zorvikc prints it: in the three reports, with the file
// an entry really starts, and zorvikc scan --level's rows and exit code, against a baseline too.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/ListedLevel.h"
#include "core/report/BaselineReport.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/zorvikc/ReportCheck.h"
#include "zorvikc/ScanOutput.h"

namespace {

using zorvik::ReportFormat;
using zorvik::VerdictLevel;
using Level = std::optional<VerdictLevel>;

const std::string kRunKey = scantest::kRunKey;
const std::string kSvchost = "C:\\WINDOWS\\system32\\svchost.exe";

// One program per level, none for a program not judged, each with a Run value of its own:
// C:\P0.exe, C:\P1.exe, ...
zorvik::ProcessList Judged(const std::vector<Level>& levels) {
    zorvik::ProcessList list;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::string name = "P" + std::to_string(i);
        auto findings = std::make_unique<zorvik::ProcInfo>();
        findings->RegList.push_back(
            {"HKEY_CURRENT_USER", kRunKey, name, false, "c:\\" + name + ".exe"});
        list.Add("C:\\" + name + ".exe", std::to_string(100 + i), "d", std::move(findings));
        if (levels[i]) list.At(i).verdict = zorvik::Verdict{*levels[i], {}};
    }
    return list;
}

// The programs a text report lists, by their numbers.
std::string ListedIn(const std::string& text) {
    std::string listed;
    for (int i = 0; i < 10; ++i)
        if (text.find("C:\\P" + std::to_string(i) + ".exe\n") != std::string::npos)
            listed += std::to_string(i);
    return listed;
}

TEST(ScanReportTest, VerdictAndTheFileAnEntryStartsInEveryFormat) {
    zorvik::ProcessList list;
    auto findings = std::make_unique<zorvik::ProcInfo>();
    findings->RegList.push_back({"HKEY_LOCAL_MACHINE", "SYSTEM\\Services\\Dhcp", "ImagePath",
                                 false, kSvchost + " -k netsvcs"});
    findings->RegList.push_back({"HKEY_CURRENT_USER", kRunKey, "Host", false, "svchost.exe"});
    list.Add("C:\\Users\\bob\\svchost.exe", "7", "d", std::move(findings));
    list.At(0).verdict = zorvik::Verdict{
        VerdictLevel::Suspicious,
        {{"user-folder", "Not signed, in C:\\Users\\bob, a folder the user can write"},
         {"masquerade", "Named like Windows' svchost.exe, outside C:\\WINDOWS\\syst\xE8m32"}}};
    list.At(0).startsOther = {kSvchost, ""};
    const std::string starts = "starts " + kSvchost + ", not this program";
    const struct {
        ReportFormat format;
        std::vector<std::string> parts;
    } cases[] = {
        {ReportFormat::Text,
         {"  Details  d\n  Verdict  suspicious\n"
          "           Not signed, in C:\\Users\\bob, a folder the user can write (user-folder)\n"
          "           Named like Windows' svchost.exe, outside C:\\WINDOWS\\syst\xC3\xA8m32 "
          "(masquerade)\n",
          "value \"ImagePath\"  enabled  " + starts + "\n",
          "value \"Host\"  enabled\n"}},
        {ReportFormat::Csv,
         {",Module,Starts,Verdict,Reason Codes,Reasons\r\n",
          " -k netsvcs,," + kSvchost + ",suspicious,user-folder;masquerade,\"Not signed, in "
          "C:\\Users\\bob, a folder the user can write; Named like Windows' svchost.exe, "
          "outside C:\\WINDOWS\\syst\xC3\xA8m32\"\r\n",
          ",svchost.exe,,,suspicious,"}},
        {ReportFormat::Json,
         {"\"verdict\": {\"level\": \"suspicious\", \"reasons\": [{\"code\": \"user-folder\", "
          "\"text\": \"Not signed, in C:\\\\Users\\\\bob, a folder the user can write\"}, "
          "{\"code\": \"masquerade\", \"text\": \"Named like Windows' svchost.exe, outside "
          "C:\\\\WINDOWS\\\\syst\xC3\xA8m32\"}]},\n",
          "-k netsvcs\", \"startsOther\": \"C:\\\\WINDOWS\\\\system32\\\\svchost.exe\"}",
          "\"text\": \"svchost.exe\"}"}},
    };
    for (const auto& c : cases) {
        const std::string report = reporttest::Report(list, c.format);
        for (const std::string& part : c.parts)
            EXPECT_NE(report.find(part), std::string::npos) << part << "\nin\n" << report;
    }
}

TEST(ZorvikcLevelTest, ListsTheProgramsAtOrAboveTheLevelAndExitsOneOnlyForThem) {
    const Level W = VerdictLevel::Windows, V = VerdictLevel::Verified,
                U = VerdictLevel::Unverified, S = VerdictLevel::Suspicious, none = std::nullopt;
    struct Case {
        std::vector<Level> rows;
        Level level;
        std::string listed;  // the programs' numbers
        int exitCode;
    };
    const Case cases[] = {
        {{W, V, U, S, none}, none, "01234", 1},
        {{W, V, U, S, none}, W, "01234", 1},
        {{W, V, U, S, none}, V, "1234", 1},
        {{W, V, U, S, none}, U, "234", 1},
        {{W, V, U, S, none}, S, "34", 1},
        {{W, V, U}, S, "", 0},
        {{W, V}, U, "", 0},
        {{none}, S, "0", 1},  // not judged, so not cleared
        {{}, none, "", 0},
    };
    for (const Case& c : cases) {
        zorvik::ProcessList list = Judged(c.rows);
        const zorvikc::ScanOutput output =
            zorvikc::ReportScan(list, std::nullopt, c.level, ReportFormat::Text);
        const std::string at = c.level ? zorvik::VerdictLevelName(*c.level) : "no level";
        EXPECT_EQ(ListedIn(output.report), c.listed) << at << "\n" << output.report;
        EXPECT_EQ(output.exitCode, c.exitCode) << at;
        EXPECT_EQ(list.Count(), c.listed.size()) << at;
    }
}

// The baseline is compared with every program the scan lists: an entry of a program the level
// leaves out is no entry removed, and one added to it is neither told nor counted.
TEST(ZorvikcLevelTest, AgainstABaselineOnlyTheChangesOfProgramsAtTheLevelCount) {
    const Level V = VerdictLevel::Verified, S = VerdictLevel::Suspicious;
    const std::string kNoChange = "0 added, 0 changed, 0 removed since the baseline.\n";
    const std::string sameScan = reporttest::Report(Judged({V, S}), ReportFormat::Json);
    const std::string noPrograms = "{\"programs\": []}";
    struct Case {
        const char* what;
        std::string baseline;
        std::vector<Level> rows;
        std::string listed;
        std::string ending;
        int exitCode;
    };
    const Case cases[] = {
        {"nothing changed", sameScan, {V, S}, "", kNoChange, 0},
        {"a suspicious program added", noPrograms, {V, S}, "1",
         "1 added, 0 changed, 0 removed since the baseline.\n", 1},
        {"only verified programs added", noPrograms, {V, V}, "", kNoChange, 0},
    };
    for (const Case& c : cases) {
        zorvik::BaselineReading reading = zorvik::ReadBaselineReport(c.baseline);
        ASSERT_TRUE(reading.entries) << c.what << ": " << reading.error;
        zorvik::ProcessList list = Judged(c.rows);
        const zorvikc::ScanOutput output = zorvikc::ReportScan(
            list, std::move(reading.entries), VerdictLevel::Suspicious, ReportFormat::Text);
        EXPECT_EQ(ListedIn(output.report), c.listed) << c.what << "\n" << output.report;
        ASSERT_GE(output.report.size(), c.ending.size()) << c.what;
        EXPECT_EQ(output.report.substr(output.report.size() - c.ending.size()), c.ending)
            << c.what;
        EXPECT_EQ(output.exitCode, c.exitCode) << c.what;
    }
}

// A watch line's level is the highest among the judged programs that hold its entry.
TEST(LevelsByEntryTest, TakesTheHighestLevelOfTheRowsHoldingAnEntry) {
    // The higher level first, so that a later row's lower one must not replace it.
    zorvik::ProcessList list = Judged({VerdictLevel::Suspicious, VerdictLevel::Verified, {}});
    for (std::size_t i = 0; i < list.Count(); ++i)
        list.At(i).data->RegList.push_back(
            {"HKEY_CURRENT_USER", kRunKey, "Shared", false, "c:\\shared.exe"});

    const auto levels = zorvik::LevelsByEntry(list);

    const std::string run =
        "REG|hkey_current_user|software\\microsoft\\windows\\currentversion\\run|";
    const std::map<std::string, VerdictLevel> expected = {
        {run + "p0", VerdictLevel::Suspicious},
        {run + "p1", VerdictLevel::Verified},
        {run + "shared", VerdictLevel::Suspicious},
    };
    EXPECT_EQ(levels, expected) << "the row not judged holds no level";
}

}  // namespace
