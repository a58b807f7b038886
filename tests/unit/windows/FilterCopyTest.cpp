// The filter box above the process list, and the rows of either list copied to the clipboard,
// through the keys and menus a user reaches them by.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::MainWindowTest;
using maintest::Program;
using platform::KeyStroke;
using zorvik::Verdict;
using zorvik::VerdictLevel;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};
const Program kGamma{30, "C:\\Apps\\gamma.exe"};

const KeyStroke kCtrlF{'F', true};
const KeyStroke kEscape{platform::kKeyEscape};

class FilterCopyTest : public MainWindowTest {
protected:
    // Alpha from the user's Run key, published by Acme; Beta from the machine's, signed by
    // Vendor; Gamma from the user's, judged suspicious.
    void ListThree() {
        Start(kAlpha);
        Start(kBeta);
        Start(kGamma);
        PutUserRun("AlphaTray", kAlpha.path);
        PutMachineRun("BetaSvc", kBeta.path);
        PutUserRun("Gamma", kGamma.path);
        frmMain.AddRowEvidence = [](zorvik::ProcessList& rows) {
            for (std::size_t i = 0; i < rows.Count(); ++i) {
                zorvik::ProcessRow& row = rows.At(i);
                row.file = zorvik::ProgramFileFacts{};
                if (row.caption == kAlpha.path)
                    row.file->version = platform::VersionStrings{.companyName = "Acme Tools"};
                if (row.caption == kBeta.path) row.file->signature.signer = "Vendor Inc.";
                if (row.caption == kGamma.path)
                    row.verdict = Verdict{VerdictLevel::Suspicious,
                                          {{"masquerade", "Named like svchost"}}};
            }
        };
        Rescan();
        frmMain.Form().Show();
    }
    void Press(const KeyStroke& stroke) { gui.PressKey(frmMain.Form(), stroke); }
    // Typed into whatever has the focus, letter by letter, as the keyboard would.
    void Type(const std::string& letters) {
        for (char c : letters) Press(KeyStroke{static_cast<std::uint32_t>(std::toupper(c))});
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> paths;
        for (int row = 0; row < frmMain.LstProc.RowCount(); ++row)
            paths.push_back(frmMain.LstProc.RowCaption(row));
        return paths;
    }
};

TEST_F(FilterCopyTest, TheFilterKeepsTheProgramsWhosePathVerdictPublisherOrEntriesHoldIt) {
    ListThree();
    struct Case {
        std::string typed;
        std::vector<std::string> shown;
        std::string count;
    };
    const Case cases[] = {
        {"", {kAlpha.path, kBeta.path, kGamma.path}, "3 of 3 programs"},
        {"apps\\BETA.exe", {kBeta.path}, "1 of 3 programs"},          // the path
        {"hkey_local_MACHINE", {kBeta.path}, "1 of 3 programs"},      // an entry's root
        {"alphatray", {kAlpha.path}, "1 of 3 programs"},              // an entry's name
        {"SUSPICIOUS", {kGamma.path}, "1 of 3 programs"},             // the verdict's level
        {"like svchost", {kGamma.path}, "1 of 3 programs"},           // a reason
        {"vendor INC", {kBeta.path}, "1 of 3 programs"},              // the signer
        {"acme", {kAlpha.path}, "1 of 3 programs"},                   // the company
        {"a.exe", {kAlpha.path, kBeta.path, kGamma.path}, "3 of 3 programs"},
        {"nowhere", {}, "0 of 3 programs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        frmMain.EdtFilter.SetText(c.typed);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(frmMain.LblShown.Text(), c.count);
    }
}

TEST_F(FilterCopyTest, CtrlFTypesTheFilterEscClearsItAndARescanKeepsIt) {
    ListThree();
    Press(kCtrlF);
    ASSERT_EQ(frmMain.Form().FocusedControl(), &frmMain.EdtFilter);
    Type("gamma");
    ASSERT_EQ(Shown(), std::vector<std::string>{kGamma.path});

    // The row shown alone is the scan's own: its entries, and it stays selected when all show.
    LeftClick(0);
    EXPECT_EQ(StartupCaptions(), std::vector<std::string>{"REG"});
    EXPECT_EQ(frmMain.LstStart.SubItem(0, 2), "Gamma");
    Press(kCtrlF);
    Press(kEscape);
    EXPECT_EQ(frmMain.EdtFilter.Text(), "");
    EXPECT_EQ(Shown(), (std::vector<std::string>{kAlpha.path, kBeta.path, kGamma.path}));
    EXPECT_EQ(frmMain.LstProc.SelectedRow(), 2);
    EXPECT_EQ(StartupCaptions(), std::vector<std::string>{"REG"});

    // Filtered out, the program's entries leave the start-up list with it.
    Type("beta");
    EXPECT_EQ(Shown(), std::vector<std::string>{kBeta.path});
    EXPECT_TRUE(StartupCaptions().empty());

    Rescan();
    EXPECT_EQ(frmMain.EdtFilter.Text(), "beta");
    EXPECT_EQ(Shown(), std::vector<std::string>{kBeta.path});
    EXPECT_EQ(frmMain.LblShown.Text(), "1 of 3 programs");
}

TEST_F(FilterCopyTest, CopyPutsTheSelectedRowsUnderTheirColumnsCaptions) {
    sys.fs().AddFile(maintest::kStartupFolder + "\\gamma.exe", "MZ");
    ListThree();
    const std::string processHead = "Program Path\tPID\tDetails\tVerdict\tPublisher\r\n";
    const std::string oneEntry = "Possible Bot Process, 1 Start up\\s detected";
    struct Case {
        const char* what;
        std::function<void()> copy;
        std::string text;
    };
    const Case cases[] = {
        {"Ctrl+A and Ctrl+C in the process list",
         [&] {
             frmMain.Form().FocusControl(frmMain.LstProc);
             Press(KeyStroke{'A', true});
             Press(KeyStroke{'C', true});
         },
         processHead + kAlpha.path + "\t10\t" + oneEntry + "\t\t\r\n" + kBeta.path + "\t20\t" +
             oneEntry + "\t\t\r\n" + kGamma.path +
             "\t30\tPossible Bot Process, 2 Start up\\s detected\tsuspicious\t\r\n"},
        {"Copy in the process menu of a row",
         [&] {
             LeftClick(1);
             gui.QueueMenuChoice(zorvik::kCopyRowsId);
             RightClick(1);
         },
         processHead + kBeta.path + "\t20\t" + oneEntry + "\t\t\r\n"},
        {"Ctrl+C in the start-up list, a folder's row with empty cells",
         [&] {
             ShowStartups(kGamma.path);
             frmMain.LstStart.SelectAll();
             frmMain.Form().FocusControl(frmMain.LstStart);
             Press(KeyStroke{'C', true});
         },
         "Type\tData 1\tData 2\tData 3\r\nREG\tHKEY_CURRENT_USER\t" + scantest::kRunKey +
             "\tGamma\r\nFOL\t" + maintest::kStartupFolder + "\t\t\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gui.SetClipboardText("before");
        c.copy();
        EXPECT_EQ(sys.ui().ClipboardText(), c.text);
    }
}

// The box, its caption and the count keep clear of the sentence, the lists and each other, the
// box ending with the process list, however narrow the window is dragged.
TEST_F(FilterCopyTest, TheFilterBoxAndTheCountOverlapNothingAtAnyWidth) {
    frmMain.Form().Show();
    const platform::Control* controls[] = {&frmMain.Label1,  &frmMain.LblFilter,
                                           &frmMain.EdtFilter, &frmMain.LstProc,
                                           &frmMain.LblStart, &frmMain.LblShown,
                                           &frmMain.LstStart};
    for (int width : {729, 1200, 400, 150}) {
        gui.UserResize(frmMain.Form(), width, 427);
        SCOPED_TRACE(width);
        const platform::Rect box = frmMain.EdtFilter.Bounds();
        const platform::Rect list = frmMain.LstProc.Bounds();
        EXPECT_EQ(box.left + box.width, list.left + list.width);
        for (const platform::Control* a : controls) {
            for (const platform::Control* b : controls) {
                if (a >= b) continue;
                const platform::Rect p = a->Bounds(), q = b->Bounds();
                const bool apart = p.left + p.width <= q.left || q.left + q.width <= p.left ||
                                   p.top + p.height <= q.top || q.top + q.height <= p.top;
                EXPECT_TRUE(apart) << a->Name() << " and " << b->Name();
            }
        }
    }
}

}  // namespace
