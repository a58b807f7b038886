// The main window's lists as their user arranges them: sorted by a header's click, with the
// header's arrow, kept across rescans and in Settings.ini; the Publisher column; the columns'
// widths kept in Settings.ini; the full text of a cut cell in the row's tip.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/engine/process/ProgramEvidence.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/ui/SimWidgets.h"
#include "unit/windows/AppTestSupport.h"

namespace {

using platform::SortArrow;
using zorvik::Verdict;
using zorvik::VerdictLevel;

const std::string kFolder = "C:\\Apps\\";
// Started in this order, which the first scan keeps: B, c, a. Each column sorts them its own
// way, none of them the way a plain comparison of the texts would.
const maintest::Program kNothingKnown{100, "C:\\Apps\\B.exe"};  // 1 start-up, no verdict
const maintest::Program kSigned{9, "C:\\Apps\\c.exe"};          // 2 start-ups, verified
const maintest::Program kBot{40, "C:\\Apps\\a.exe"};            // 10 start-ups, suspicious

class ListLayoutTest : public apptest::AppTest {
protected:
    void ListThree() {
        const std::map<const maintest::Program*, int> starts = {
            {&kNothingKnown, 1}, {&kSigned, 2}, {&kBot, 10}};
        for (const maintest::Program* program : {&kNothingKnown, &kSigned, &kBot}) {
            ListProgram(*program);
            for (int n = 2; n <= starts.at(program); ++n)
                maintest::PutRun(sys, "Run " + std::to_string(n) + " of " +
                                          std::to_string(program->pid),
                                 program->path + " /" + std::to_string(n));
        }
        platform::sim::ScriptedFileFacts vendor;
        vendor.signature = {platform::SignatureState::Trusted, "", "Vendor Inc."};
        sys.facts().Script(kSigned.path, vendor);
        platform::sim::ScriptedFileFacts bot;
        bot.version = platform::VersionStrings{"beta Ltd", "Bot", "Bot", "1.0", true, ""};
        sys.facts().Script(kBot.path, bot);
    }
    void StartJudging() {
        Create();
        Main().AddRowEvidence = [this](zorvik::ProcessList& rows) {
            zorvik::AddEvidence(sys, rows);
            for (std::size_t i = 0; i < rows.Count(); ++i) {
                zorvik::ProcessRow& row = rows.At(i);
                row.verdict = std::nullopt;
                if (row.caption == kSigned.path) row.verdict = Verdict{VerdictLevel::Verified, {}};
                if (row.caption == kBot.path) row.verdict = Verdict{VerdictLevel::Suspicious, {}};
            }
        };
        app->Run();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < Main().LstProc.RowCount(); ++row)
            names.push_back(Main().LstProc.RowCaption(row).substr(kFolder.size()));
        return names;
    }
    std::vector<SortArrow> Arrows(const platform::ListView& list) {
        std::vector<SortArrow> arrows;
        for (int column = 0; column < list.ColumnCount(); ++column)
            arrows.push_back(list.SortArrowOf(column));
        return arrows;
    }
    std::vector<SortArrow> ArrowOn(int column, SortArrow arrow, std::size_t columns = 5) {
        std::vector<SortArrow> arrows(columns, SortArrow::None);
        arrows[static_cast<std::size_t>(column)] = arrow;
        return arrows;
    }
    using Names_ = std::vector<std::string>;
};

TEST_F(ListLayoutTest, AHeaderClickSortsByItsColumnAndASecondReversesTheOrderStaysAndIsSaved) {
    ListThree();
    StartJudging();
    ASSERT_EQ(Names(), (Names_{"B.exe", "c.exe", "a.exe"}));
    ASSERT_EQ(Arrows(Main().LstProc), std::vector<SortArrow>(5, SortArrow::None));
    EXPECT_EQ(Main().LstProc.SubItem(1, 3), "Vendor Inc.");
    EXPECT_EQ(Main().LstProc.SubItem(2, 3), "beta Ltd (unsigned)");
    EXPECT_EQ(Main().LstProc.SubItem(0, 3), "");

    struct Case { int column; Names_ ascending; };
    const Case cases[] = {
        {0, {"a.exe", "B.exe", "c.exe"}},  // letters without case
        {1, {"c.exe", "a.exe", "B.exe"}},  // 9, 40, 100
        {2, {"B.exe", "c.exe", "a.exe"}},  // 1, 2, 10 start-ups
        {3, {"a.exe", "c.exe", "B.exe"}},  // suspicious, verified, none
        {4, {"B.exe", "a.exe", "c.exe"}},  // "", beta, Vendor
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        gui.ClickHeader(Main().LstProc, c.column);
        EXPECT_EQ(Names(), c.ascending);
        EXPECT_EQ(Arrows(Main().LstProc), ArrowOn(c.column, SortArrow::Up));
        gui.ClickHeader(Main().LstProc, c.column);
        EXPECT_EQ(Names(), (Names_(c.ascending.rbegin(), c.ascending.rend())));
        EXPECT_EQ(Arrows(Main().LstProc), ArrowOn(c.column, SortArrow::Down));
    }

    // PID, descending; the selected program stays selected through a sort and a rescan.
    gui.ClickHeader(Main().LstProc, 1);
    gui.ClickHeader(Main().LstProc, 1);
    gui.PressRow(Main().LstProc, platform::MouseButton::Left, 1);
    ASSERT_EQ(Main().LstProc.RowCaption(1), kBot.path);
    gui.ClickHeader(Main().LstProc, 0);
    EXPECT_EQ(Main().LstProc.SelectedRow(), 0);
    gui.ClickHeader(Main().LstProc, 1);
    gui.ClickHeader(Main().LstProc, 1);
    EXPECT_EQ(Main().LstProc.SelectedRow(), 1);
    gui.Click(Main().BtnScan);
    EXPECT_EQ(Names(), (Names_{"B.exe", "a.exe", "c.exe"}));
    EXPECT_EQ(Arrows(Main().LstProc), ArrowOn(1, SortArrow::Down));

    // The start-up list sorts on its own, and keeps its order for the next program shown.
    const auto startupNames = [this] {
        Names_ names;
        for (int row = 0; row < Main().LstStart.RowCount(); ++row)
            names.push_back(Main().LstStart.SubItem(row, 2));
        return names;
    };
    gui.PressRow(Main().LstProc, platform::MouseButton::Left, 1);
    ASSERT_EQ(Main().LstStart.RowCount(), 10);
    gui.ClickHeader(Main().LstStart, 3);
    gui.ClickHeader(Main().LstStart, 3);
    gui.PressRow(Main().LstProc, platform::MouseButton::Left, 2);
    EXPECT_EQ(startupNames(), (Names_{"Run 2 of 9", "Agent9"}));
    EXPECT_EQ(Arrows(Main().LstStart), ArrowOn(3, SortArrow::Down, 4));
    EXPECT_EQ(Arrows(Main().LstProc), ArrowOn(1, SortArrow::Down));

    Main().Exit1Click();
    EXPECT_EQ(Setting("GUI", "LstProcSort"), "-2");
    EXPECT_EQ(Setting("GUI", "LstStartSort"), "-4");
    app.reset();
    Start();
    EXPECT_EQ(Names(), (Names_{"B.exe", "a.exe", "c.exe"}));
    EXPECT_EQ(Arrows(Main().LstProc), ArrowOn(1, SortArrow::Down));
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

TEST_F(ListLayoutTest, ColumnWidthsAreSavedAndRestoredAndACutCellShowsInTheTip) {
    ListProgram();
    Start();
    auto& list = dynamic_cast<platform::sim::SimListView&>(Main().LstProc);
    EXPECT_EQ(list.InfoTip(0).find(apptest::kAgent.path), std::string::npos) << "the path fits";
    Main().LstProc.SetColumnWidth(0, 60);
    const std::string tip = list.InfoTip(0);
    const std::string cut = "\r\n" + apptest::kAgent.path;
    ASSERT_GT(tip.size(), cut.size());
    EXPECT_EQ(tip.substr(tip.size() - cut.size()), cut) << tip;
    EXPECT_EQ(tip.rfind("Sockets:\r\n", 0), 0u) << "the program's own tip comes first";
    Main().Exit1Click();
    EXPECT_EQ(Setting("GUI", "LstProcWidths"), "60,50,370,70,150");
    EXPECT_EQ(Setting("GUI", "LstStartWidths"), "50,216,216,216");

    struct Case { std::string stored; std::vector<int> widths; };
    const Case cases[] = {
        {"300,40,200,80,90", {300, 40, 200, 80, 90}},
        // What is no width leaves its column as made; widths beyond the columns count for none.
        {"300,abc,,0,-5,99", {300, 50, 370, 70, 150}},
        {"", {280, 50, 370, 70, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        app.reset();
        WriteSettings("[GUI]\r\nLstProcWidths=" + c.stored + "\r\nLstStartWidths=60\r\n");
        Start();
        std::vector<int> widths;
        for (int column = 0; column < Main().LstProc.ColumnCount(); ++column)
            widths.push_back(Main().LstProc.Column(column).width);
        EXPECT_EQ(widths, c.widths);
        EXPECT_EQ(Main().LstStart.Column(0).width, 60);
        EXPECT_EQ(Main().LstStart.Column(1).width, 216);
    }
}

}  // namespace
