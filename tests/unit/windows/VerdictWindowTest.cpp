// The verdict in the main window: its column, the colour of a suspicious row, the reasons in
// the row's tip, the file an entry really starts in the start-up row's tip, and the option
// that hides Windows' own and verified programs, kept in Settings.ini, with the balloon counting
// only the rows shown.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/engine/process/ProgramEvidence.h"
#include "platform/sim/ui/SimWidgets.h"
#include "unit/windows/AppTestSupport.h"

namespace {

using zorvik::Verdict;
using zorvik::VerdictLevel;

const maintest::Program kWindowsOwn{41, "C:\\Apps\\own.exe"};
const maintest::Program kVerified{42, "C:\\Apps\\signed.exe"};
const maintest::Program kSuspicious{43, "C:\\Apps\\bot.exe"};
const maintest::Program kNotJudged{44, "C:\\Apps\\unjudged.exe"};
const std::string kSvchost = "C:\\WINDOWS\\system32\\svchost.exe";

class VerdictWindowTest : public apptest::AppTest {
protected:
    // The four programs listed, each judged as its name says; the bot's only entry starts
    // svchost.exe.
    void ListFour() {
        for (const maintest::Program& program : {kWindowsOwn, kVerified, kSuspicious, kNotJudged})
            ListProgram(program);
    }
    // Starts the program with the four verdicts in place of the scan's own, its other evidence
    // as the scan reads it.
    void StartJudging(const std::string& settings = "") {
        if (!settings.empty()) WriteSettings(settings);
        Create();
        Main().AddRowEvidence = [this](zorvik::ProcessList& rows) {
            zorvik::AddEvidence(sys, rows);
            const std::map<std::string, Verdict> verdicts = {
                {kWindowsOwn.path,
                 {VerdictLevel::Windows, {{"windows", "Signed as part of Windows"}}}},
                {kVerified.path, {VerdictLevel::Verified, {{"signed", "Signed by Vendor Inc."}}}},
                {kSuspicious.path,
                 {VerdictLevel::Suspicious,
                  {{"user-folder", "Not signed, in C:\\Apps"},
                   {"masquerade", "Named like svchost"}}}},
            };
            for (std::size_t i = 0; i < rows.Count(); ++i) {
                zorvik::ProcessRow& row = rows.At(i);
                const auto found = verdicts.find(row.caption);
                row.verdict = found != verdicts.end() ? std::optional(found->second) : std::nullopt;
                if (row.caption == kSuspicious.path) row.startsOther = {kSvchost};
            }
        };
        app->Run();
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> paths;
        for (int row = 0; row < Main().LstProc.RowCount(); ++row)
            paths.push_back(Main().LstProc.RowCaption(row));
        return paths;
    }
    int Row(const maintest::Program& program) {
        for (int row = 0; row < Main().LstProc.RowCount(); ++row)
            if (Main().LstProc.RowCaption(row) == program.path) return row;
        return -1;
    }
    int DetectionBalloons() const {
        int n = 0;
        for (const platform::NotifyIconData& b : Balloons()) n += b.infoTitle == "Detection!";
        return n;
    }
};

TEST_F(VerdictWindowTest, TheVerdictColumnTheColourOfASuspiciousRowAndTheReasonsInTheTip) {
    ListFour();
    StartJudging();
    ASSERT_EQ(Main().LstProc.ColumnCount(), 5);
    EXPECT_EQ(Main().LstProc.Column(3).caption, "Verdict");
    auto& list = dynamic_cast<platform::sim::SimListView&>(Main().LstProc);
    struct Case {
        const maintest::Program& program;
        std::string level;
        platform::Colour colour;
        std::string tipEnd;
    };
    const Case cases[] = {
        {kWindowsOwn, "windows", platform::kBlack,
         "Signature: not signed\r\nVerdict: windows\r\n  Signed as part of Windows"},
        {kVerified, "verified", platform::kBlack,
         "\r\nVerdict: verified\r\n  Signed by Vendor Inc."},
        {kSuspicious, "suspicious", platform::kPurple,
         "\r\nVerdict: suspicious\r\n  Not signed, in C:\\Apps\r\n  Named like svchost"},
        {kNotJudged, "", platform::kBlack, "Signature: not signed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.path);
        const int row = Row(c.program);
        ASSERT_GE(row, 0);
        EXPECT_EQ(list.SubItem(row, 2), c.level);
        EXPECT_EQ(Main().LstProcCustomDrawItem(row), c.colour);
        const std::string tip = list.InfoTip(row);
        ASSERT_GE(tip.size(), c.tipEnd.size()) << tip;
        EXPECT_EQ(tip.substr(tip.size() - c.tipEnd.size()), c.tipEnd) << tip;
    }

    // A new entry marks the row red until it is clicked; then its verdict's colour shows.
    maintest::PutRun(sys, "Again", kSuspicious.path + " /again");
    gui.ProcessMessages();
    EXPECT_EQ(Main().LstProcCustomDrawItem(Row(kSuspicious)), platform::kRed);
    gui.PressRow(Main().LstProc, platform::MouseButton::Left, Row(kSuspicious));
    EXPECT_EQ(Main().LstProcCustomDrawItem(Row(kSuspicious)), platform::kPurple);

    // The start-up row of the entry that starts another file says so.
    auto& startups = dynamic_cast<platform::sim::SimListView&>(Main().LstStart);
    ASSERT_EQ(startups.RowCount(), 2);
    EXPECT_EQ(startups.InfoTip(0), "starts " + kSvchost + ", not this program");
    EXPECT_EQ(startups.InfoTip(1), "");
}

TEST_F(VerdictWindowTest, HiddenProgramsAreNotListedAndTheBalloonCountsOnlyTheRowsShown) {
    ListProgram(kWindowsOwn);
    ListProgram(kVerified);
    StartJudging("[AutoScan]\r\nEnabled=1\r\nInterval=10\r\n[Core]\r\nHideVerified=1\r\n");
    EXPECT_TRUE(Shown().empty());
    TrayEvent(platform::kTrayDoubleClick);
    gui.AdvanceTime(10000);
    EXPECT_EQ(DetectionBalloons(), 0) << "nothing shown, nothing detected";

    ListProgram(kSuspicious);
    ListProgram(kNotJudged);
    gui.AdvanceTime(10000);
    EXPECT_EQ(Shown(), (std::vector<std::string>{kSuspicious.path, kNotJudged.path}));
    EXPECT_EQ(DetectionBalloons(), 1);

    // Unchecked, the list is made again at once with every program.
    gui.Click(Op().ChkHideVerified);
    EXPECT_EQ(Shown(), (std::vector<std::string>{kWindowsOwn.path, kVerified.path,
                                                 kSuspicious.path, kNotJudged.path}));
}

TEST_F(VerdictWindowTest, TheHideOptionIsKeptInSettingsIniAndABrokenValueReadsAsUnchecked) {
    struct Case {
        const char* stored;  // nullptr: no such key
        bool checked;
        std::string saved;  // after the box is clicked once
    };
    const Case cases[] = {
        {nullptr, false, "1"}, {"0", false, "1"}, {"1", true, "0"},
        {"0x1", true, "0"},    {"yes", false, "1"}, {"1x", false, "1"},
    };
    for (const Case& c : cases) {
        const std::string stored = c.stored ? c.stored : "<none>";
        WriteSettings(c.stored ? "[Core]\r\nHideVerified=" + std::string(c.stored) + "\r\n" : "");
        Start();
        EXPECT_EQ(Op().ChkHideVerified.Checked(), c.checked) << stored;
        gui.Click(Op().ChkHideVerified);
        Main().Exit1Click();
        EXPECT_EQ(Setting("Core", "HideVerified"), c.saved) << stored;
        EXPECT_TRUE(gui.MessageBoxes().empty()) << stored;
        app.reset();
    }
}

}  // namespace
