// The report saved from the main window: the same bytes as zorvikc scan's for the machine, in
// the form chosen in the save dialog, whatever the filter box shows.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "unit/windows/MainWindowFixture.h"
#include "unit/zorvikc/ReportCheck.h"

namespace {

using maintest::MainWindowTest;
using maintest::Program;
using platform::KeyStroke;
using platform::SaveFileChoice;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};

class SaveReportTest : public MainWindowTest {
protected:
    // Two programs, the filter box showing only Beta.
    void ListTwoShowingOne() {
        Start(kAlpha);
        Start(kBeta);
        PutUserRun("AlphaTray", kAlpha.path);
        PutMachineRun("BetaSvc", kBeta.path);
        Rescan();
        frmMain.Form().Show();
        frmMain.EdtFilter.SetText("beta");
        ASSERT_EQ(frmMain.LstProc.RowCount(), 1);
    }
    // What zorvikc scan prints on the same machine, redirected to a file on Windows: the
    // console's text mode ends the text and JSON lines in CR LF.
    std::string ZorvikcFile(const std::string& formatArg) {
        std::ostringstream out;
        std::ostringstream err;
        std::vector<std::string> args{"scan"};
        if (!formatArg.empty()) args.push_back(formatArg);
        reporttest::RunZorvikc(args, [&]() -> platform::System& { return sys; }, out, err);
        EXPECT_EQ(err.str(), "");
        if (formatArg == "--csv") return out.str();
        std::string file;
        for (char c : out.str()) file += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return file;
    }
    std::optional<std::string> FileText(const std::string& path) {
        std::string bytes;
        if (!sys.files().ReadAll(path, bytes).ok) return std::nullopt;
        return bytes;
    }
};

TEST_F(SaveReportTest, TheSavedReportIsZorvikcScansInTheFormChosen) {
    ListTwoShowingOne();
    struct Case {
        bool byKey;  // Ctrl+S, else the button
        std::size_t filter;
        std::string path;
        std::string zorvikcArg;
    };
    const Case cases[] = {
        {false, 0, "C:\\Reports\\scan.txt", ""},
        {true, 1, "C:\\Reports\\scan.csv", "--csv"},
        {false, 2, "C:\\Reports\\scan.json", "--json"},
    };
    sys.fs().AddDirectory("C:\\Reports");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        gui.QueueSaveFileResult(SaveFileChoice{c.path, c.filter});
        if (c.byKey) {
            gui.PressKey(frmMain.Form(), KeyStroke{'S', true});
        } else {
            gui.Click(frmMain.BtnSaveReport);
        }
        const std::string expected = ZorvikcFile(c.zorvikcArg);
        EXPECT_NE(expected.find("alpha.exe"), std::string::npos);  // not only the row shown
        EXPECT_EQ(FileText(c.path), expected);
    }
    ASSERT_EQ(gui.SaveFileDialogs().size(), 3u);
    const platform::sim::SaveFileRecord& dialog = gui.SaveFileDialogs().back();
    EXPECT_EQ(dialog.owner, "frmMain");
    ASSERT_EQ(dialog.filters.size(), 3u);
    EXPECT_EQ(dialog.filters[1].description, "CSV (*.csv)");
    EXPECT_EQ(dialog.filters[2].pattern, "*.json");
    EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(SaveReportTest, CancelWritesNothingAndARefusedWriteIsTold) {
    ListTwoShowingOne();
    const std::string missing = "C:\\Nowhere\\scan.txt";
    struct Case {
        std::optional<SaveFileChoice> choice;
        std::size_t boxes;
    };
    const Case cases[] = {{std::nullopt, 0}, {SaveFileChoice{missing, 0}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boxes);
        gui.QueueSaveFileResult(c.choice);
        gui.Click(frmMain.BtnSaveReport);
        EXPECT_EQ(FileText(missing), std::nullopt);
        ASSERT_EQ(BoxCount(), c.boxes);
    }
    EXPECT_EQ(gui.MessageBoxes().back().text, zorvik::kReportNotSavedMessage + missing);
}

}  // namespace
