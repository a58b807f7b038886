// The main window from the keyboard: F5 and the access keys, Enter on a program, the lists'
// menus from the context menu key and Shift+F10, and Tab; every window's access keys.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::MainWindowTest;
using maintest::Program;
using platform::KeyStroke;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};

const KeyStroke kApps{platform::kKeyApps};
const KeyStroke kShiftF10{platform::kKeyF10, false, true};

class KeysTest : public MainWindowTest {
protected:
    // Alpha starts from two places; Beta starts after the first scan.
    void ListAlpha() {
        Start(kAlpha);
        PutUserRun("Alpha", kAlpha.path);
        PutMachineRun("AlphaToo", kAlpha.path);
        Rescan();
        frmMain.Form().Show();
        // Far from every row: a menu at the cursor would be seen.
        gui.SetCursorPosition({1, 1});
    }
    void Press(const KeyStroke& stroke) { gui.PressKey(frmMain.Form(), stroke); }
};

TEST_F(KeysTest, F5AndAltRRescanAndEnterShowsTheSelectedProgramsStartups) {
    ListAlpha();
    Start(kBeta);
    PutUserRun("Beta", kBeta.path);
    frmMain.Form().FocusControl(frmMain.EdtFilter);
    Press(KeyStroke{platform::kKeyF5});
    EXPECT_EQ(frmMain.LstProc.RowCount(), 2) << "F5 rescans wherever the focus is";

    sys.procs().RemoveProcess(kBeta.pid);
    Press(KeyStroke{'R', false, false, true});
    EXPECT_EQ(frmMain.LstProc.RowCount(), 1) << "Alt+R presses Rescan";

    frmMain.Form().FocusControl(frmMain.LstProc);
    frmMain.LstProc.SetSelectedRow(0);
    Press(KeyStroke{platform::kKeyReturn});
    EXPECT_EQ(StartupCaptions(), (std::vector<std::string>{"REG", "REG"}));
}

TEST_F(KeysTest, TheMenuKeysOpenTheFocusedListsMenuAtItsSelectedRow) {
    ListAlpha();
    frmMain.Form().FocusControl(frmMain.LstProc);
    frmMain.LstProc.SetSelectedRow(0);
    Press(KeyStroke{platform::kKeyReturn});
    ASSERT_EQ(frmMain.LstStart.RowCount(), 2);
    struct Case {
        platform::ListView& list;
        int selected;
        KeyStroke stroke;
        const char* firstEntry;  // nullptr: no menu
        bool firstEnabled;
    };
    const Case cases[] = {
        {frmMain.LstProc, 0, kApps, "Terminate Process", true},
        {frmMain.LstProc, 0, kShiftF10, "Terminate Process", true},
        {frmMain.LstProc, -1, kApps, nullptr, false},
        {frmMain.LstStart, 1, kShiftF10, "Show Start up", true},
        // As a right click on the list's empty space: the menu, its commands greyed.
        {frmMain.LstStart, -1, kApps, "Show Start up", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list.Name() + " row " + std::to_string(c.selected));
        gui.ClearRecords();
        frmMain.Form().FocusControl(c.list);
        c.list.SetSelectedRow(c.selected);
        Press(c.stroke);
        if (!c.firstEntry) {
            EXPECT_TRUE(gui.Menus().empty());
            continue;
        }
        ASSERT_EQ(gui.Menus().size(), 1u);
        const platform::sim::MenuRecord& menu = gui.Menus()[0];
        EXPECT_EQ(menu.screen, c.list.RowScreenPoint(c.selected));
        ASSERT_FALSE(menu.entries.empty());
        EXPECT_EQ(menu.entries[0].caption, c.firstEntry);
        EXPECT_EQ(menu.entries[0].enabled, c.firstEnabled);
    }
}

TEST_F(KeysTest, TabGoesDownTheWindowThenAlongTheButtons) {
    ListAlpha();
    frmMain.Form().FocusControl(frmMain.EdtFilter);
    std::vector<std::string> visited;
    for (int i = 0; i < 8; ++i) {
        Press(KeyStroke{platform::kKeyTab});
        visited.push_back(frmMain.Form().FocusedControl()->Name());
    }
    EXPECT_EQ(visited,
              (std::vector<std::string>{"LstProc", "LstStart", "BtnSaveReport", "BtnHelp", "BtnOp",
                                        "BtnTrust", "BtnScan", "EdtFilter"}));
}

TEST_F(KeysTest, EveryButtonAndCheckBoxOfEveryWindowHasAnAccessKeyOfItsOwn) {
    struct Case {
        platform::Window& window;
        std::vector<std::string> controls;  // every one with a caption
    };
    const Case cases[] = {
        {frmMain.Form(), {"BtnSaveReport", "BtnHelp", "BtnOp", "BtnTrust", "BtnScan"}},
        {frmTrust.Form(), {"BtnAdd", "BtnDelete"}},
        {frmOp.Form(),
         {"ChkAutoScan", "ChkMin", "ChkStartWin", "ChkIgnoreSafe", "ChkWatch", "ChkHideVerified"}},
    };
    for (const Case& c : cases) {
        std::set<char> letters;
        for (const std::string& name : c.controls) {
            SCOPED_TRACE(c.window.Name() + "." + name);
            const platform::Control* control = c.window.FindControl(name);
            ASSERT_NE(control, nullptr);
            const std::string caption = control->Text();
            const std::size_t mark = caption.find('&');
            ASSERT_TRUE(mark != std::string::npos && mark + 1 < caption.size()) << "no access key";
            EXPECT_TRUE(letters.insert(static_cast<char>(std::toupper(caption[mark + 1]))).second)
                << "a letter of another";
        }
    }
}

}  // namespace
