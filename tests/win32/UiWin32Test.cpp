// The Options and Trusted Programs windows made for real: where their controls stand, what
// kind of window each is, and the handlers driven by real messages.
#include "platform/win32/WindowsApi.h"
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/engine/TrustedList.h"
#include "core/windows/untTrust.h"

namespace {

using platform::Rect;
using uitest::ClassOf;
using uitest::ExStyleOf;
using uitest::HandleOf;
using uitest::RectInParent;
using uitest::StyleOf;

struct Placement {
    const char* name;
    Rect bounds;      // in the parent's client area, as the form lays it out
    bool inGroupBox;
    const char* windowClass;
    bool sizedToText = false;  // wider than laid out where the system's font needs it
};

// The width of the control's text in its font, by DrawText's own measure.
int DrawnTextWidth(HWND control) {
    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);
    const platform::win32::ScopedWindowDc dc(control);
    HGDIOBJ old =
        SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, 0, 0};
    // As buttons and labels draw it: an access key's "&" takes no room.
    DrawTextA(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc.get(), old);
    return r.right - r.left;
}

void ExpectFont(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA info{};
    ASSERT_NE(GetObjectA(font, sizeof info, &info), 0);
    EXPECT_STREQ(info.lfFaceName, "MS Sans Serif");
    const int expected = [] {
        const platform::win32::ScopedScreenDc screen(GetDC(nullptr));
        return -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    }();
    EXPECT_EQ(info.lfHeight, expected);
}

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM param) {
    if (ClassOf(hwnd) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(param) = hwnd;
    return TRUE;
}

void ExpectButtonFaceBackground(HWND window) {
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

class OptionsWindowWin32 : public uitest::UiTest {
protected:
    void EnableAutoScan() { SendMessageA(HandleOf(op.ChkAutoScan), BM_CLICK, 0, 0); }
    // A press and release on one of the arrows, at the middle of its half.
    void ClickArrow(bool up) {
        const Rect b = op.UpInt.Bounds();
        uitest::Click(HandleOf(op.UpInt), b.width / 2, up ? b.height / 4 : b.height * 3 / 4);
    }
    void Type(const std::string& keys) {
        HWND edit = HandleOf(op.EdtInt);
        for (char key : keys)
            SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 1);
    }
    void CaretToEnd() {
        SendMessageA(HandleOf(op.EdtInt), EM_SETSEL, 0x7FFF, 0x7FFF);
    }

    zorvik::TfrmOp op{*sys};
};

TEST_F(OptionsWindowWin32, IsAFixedTopmostToolWindowWithAClientAreaOf233By153) {
    HWND form = HandleOf(op.Form());
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 233);
    EXPECT_EQ(client.bottom, 153);
    EXPECT_EQ(op.Form().ClientWidth(), 233);
    EXPECT_TRUE(ExStyleOf(form) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyleOf(form) & WS_EX_TOPMOST);
    EXPECT_FALSE(StyleOf(form) & WS_THICKFRAME) << "not sizeable";
    EXPECT_FALSE(IsWindowVisible(form)) << "made hidden";
    EXPECT_EQ(op.Form().Caption(), "Options");
    ExpectButtonFaceBackground(form);
}

TEST_F(OptionsWindowWin32, ControlsStandWhereTheFormPutsThem) {
    const std::vector<Placement> placements{
        {"GroupBox1", {8, 8, 121, 49}, false, "Button"},
        {"ChkAutoScan", {8, -2, 105, 17}, true, "Button", true},
        {"Label1", {8, 24, 38, 13}, true, "Static", true},
        {"EdtInt", {48, 16, 49, 21}, true, "Edit"},
        {"UpInt", {96, 16, 17, 21}, true, "msctls_updown32"},
        {"ChkMin", {8, 64, 105, 17}, false, "Button", true},
        {"ChkStartWin", {8, 80, 113, 17}, false, "Button", true},
        {"ChkIgnoreSafe", {8, 96, 121, 17}, false, "Button", true},
        {"ChkWatch", {8, 112, 129, 17}, false, "Button", true},
        {"ChkHideVerified", {8, 128, 217, 17}, false, "Button", true},
    };
    HWND form = HandleOf(op.Form());
    HWND group = HandleOf(op.GroupBox1);
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        platform::Control* control = op.Form().FindControl(p.name);
        ASSERT_NE(control, nullptr);
        HWND hwnd = HandleOf(*control);
        EXPECT_EQ(GetParent(hwnd), p.inGroupBox ? group : form);
        Rect expected = p.bounds;
        if (p.sizedToText) {
            EXPECT_GE(RectInParent(hwnd).width, p.bounds.width);
            expected.width = std::max(p.bounds.width, RectInParent(hwnd).width);
        }
        EXPECT_EQ(RectInParent(hwnd), expected);
        EXPECT_EQ(control->Bounds(), expected);
        EXPECT_EQ(ClassOf(hwnd), p.windowClass);
        // The arrows draw no text and keep no font.
        if (control != &op.UpInt) ExpectFont(hwnd);
    }
    // The check box stands on the group's top edge, 2 pixels above the group's top.
    RECT box{};
    GetWindowRect(HandleOf(op.ChkAutoScan), &box);
    MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, 16);
    EXPECT_EQ(box.top, 6);
}

// Whatever font the system gives for the layout's, the texts stand whole on one line: the
// main window's sentence and the Options window's captions, a check box's beside its box.
TEST_F(OptionsWindowWin32, LabelsAndCheckBoxesAreWideEnoughForTheirText) {
    zorvik::TfrmMain frmMain(*sys);
    struct Case { const platform::Control& control; int besideText; };
    const int box = GetSystemMetrics(SM_CXMENUCHECK);
    const Case cases[] = {
        {frmMain.Label1, 0},   {frmMain.LblStart, 0}, {frmMain.LblNotice, 0},
        {op.Label1, 0},        {op.ChkAutoScan, box}, {op.ChkMin, box},
        {op.ChkStartWin, box}, {op.ChkIgnoreSafe, box}, {op.ChkWatch, box},
        {op.ChkHideVerified, box},
    };
    for (const Case& c : cases) {
        HWND hwnd = HandleOf(c.control);
        const int text = DrawnTextWidth(hwnd);
        ASSERT_GT(text, 0) << c.control.Name();
        EXPECT_GE(c.control.Bounds().width, text + c.besideText)
            << c.control.Name() << " \"" << c.control.Text() << "\"";
    }
    // The window is as wide as its longest caption needs: no check box runs past its edge.
    EXPECT_LE(op.ChkHideVerified.Left() + op.ChkHideVerified.Width(), op.Form().ClientWidth());
    std::cout << "note: \"" << op.ChkHideVerified.Text() << "\" needs "
              << DrawnTextWidth(HandleOf(op.ChkHideVerified)) + box << " pixels, laid out for "
              << op.ChkHideVerified.Width() << "\n";
    std::cout << "note: the main window's sentence needs " << DrawnTextWidth(HandleOf(frmMain.Label1))
              << " pixels, laid out for 354\n";
}

TEST_F(OptionsWindowWin32, StartsWithTheIntervalControlsDisabledAndTheArrowsRange) {
    EXPECT_FALSE(IsWindowEnabled(HandleOf(op.EdtInt)));
    EXPECT_FALSE(IsWindowEnabled(HandleOf(op.UpInt)));
    EXPECT_EQ(uitest::ClassOf(HandleOf(op.EdtInt)), "Edit");
    EXPECT_EQ(op.EdtInt.Text(), "0");
    int low = -1, high = -1;
    SendMessageA(HandleOf(op.UpInt), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);
    EXPECT_EQ(SendMessageA(HandleOf(op.UpInt), UDM_GETBUDDY, 0, 0), 0) << "attached to nothing";
    for (platform::CheckBox* box : {&op.ChkAutoScan, &op.ChkMin, &op.ChkStartWin, &op.ChkIgnoreSafe})
        EXPECT_EQ(SendMessageA(HandleOf(*box), BM_GETCHECK, 0, 0), BST_UNCHECKED) << box->Name();
    EXPECT_EQ(SendMessageA(HandleOf(op.ChkWatch), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(OptionsWindowWin32, ClickingAutoScanTogglesTheBoxAndEnablesTheIntervalControls) {
    EnableAutoScan();
    EXPECT_EQ(SendMessageA(HandleOf(op.ChkAutoScan), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(HandleOf(op.EdtInt)));
    EXPECT_TRUE(IsWindowEnabled(HandleOf(op.UpInt)));
    EnableAutoScan();
    EXPECT_FALSE(op.ChkAutoScan.Checked());
    EXPECT_FALSE(IsWindowEnabled(HandleOf(op.EdtInt)));
}

TEST_F(OptionsWindowWin32, SettingAutoScanFromCodeRunsTheClickHandlerOnce) {
    op.ChkAutoScan.SetChecked(true);
    EXPECT_EQ(SendMessageA(HandleOf(op.ChkAutoScan), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(HandleOf(op.EdtInt)));
    op.EdtInt.SetEnabled(false);
    op.ChkAutoScan.SetChecked(true);  // no change: no handler
    EXPECT_FALSE(IsWindowEnabled(HandleOf(op.EdtInt)));
}

TEST_F(OptionsWindowWin32, TypedCharactersPassTheKeyFilter) {
    EnableAutoScan();
    op.EdtInt.SetText("");
    Type("a7");
    EXPECT_EQ(op.EdtInt.Text(), "7") << "'a' dropped, '7' kept";
    Type(" -+.x\x16\x18");  // blank, signs, letters, Ctrl+V, Ctrl+X
    EXPECT_EQ(op.EdtInt.Text(), "7");
    Type("0");
    EXPECT_EQ(op.EdtInt.Text(), "70");
    CaretToEnd();
    Type("\b");
    EXPECT_EQ(op.EdtInt.Text(), "7") << "Backspace passes";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsWindowWin32, ArrowClicksNudgeTheIntervalWithinTheArrowsRange) {
    EnableAutoScan();
    ClickArrow(false);
    EXPECT_EQ(op.EdtInt.Text(), "0") << "down at 0 would leave the range";
    EXPECT_EQ(op.UpInt.Position(), 0);
    ClickArrow(true);
    EXPECT_EQ(op.EdtInt.Text(), "1");
    EXPECT_EQ(op.UpInt.Position(), 1);
    EXPECT_EQ(SendMessageA(HandleOf(op.UpInt), UDM_GETPOS32, 0, 0), 1) << "the control moved too";
    ClickArrow(true);
    ClickArrow(false);
    EXPECT_EQ(op.EdtInt.Text(), "1");

    // The box's number is not bounded by the arrows: only their own position is.
    op.EdtInt.SetText("300");
    ClickArrow(true);
    EXPECT_EQ(op.EdtInt.Text(), "301");
    op.UpInt.SetPosition(100);
    ClickArrow(true);
    EXPECT_EQ(op.EdtInt.Text(), "301") << "the arrows are at the end of their range";
    EXPECT_EQ(op.UpInt.Position(), 100);
    ClickArrow(false);
    EXPECT_EQ(op.EdtInt.Text(), "300");
    EXPECT_EQ(op.UpInt.Position(), 99);
}

TEST_F(OptionsWindowWin32, ArrowClickOnAnEmptyBoxGoesToTheGeneralErrorHandler) {
    EnableAutoScan();
    op.EdtInt.SetText("");
    ClickArrow(true);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'' is not a valid integer value");
    EXPECT_EQ(boxes[0].title, ui.ApplicationTitle());
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(op.EdtInt.Text(), "");
    EXPECT_EQ(op.UpInt.Position(), 1) << "a failing handler leaves the change allowed";
}

TEST_F(OptionsWindowWin32, TheIntervalBoxCarriesItsHint) {
    HWND tooltip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), HandleOf(op.Form()));
    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = HandleOf(op.Form());
    tool.uId = reinterpret_cast<UINT_PTR>(HandleOf(op.EdtInt));
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Interval is in Seconds");
    EXPECT_EQ(op.EdtInt.Hint(), "Interval is in Seconds");
}

class TrustedWindowWin32 : public uitest::UiTest {
protected:
    void Press(platform::Button& button) { SendMessageA(HandleOf(button), BM_CLICK, 0, 0); }
    std::vector<std::string> Items() {
        std::vector<std::string> items;
        HWND list = HandleOf(trust.LstProg);
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    zorvik::TfrmTrust trust{*sys};
};

TEST_F(TrustedWindowWin32, IsASizeableTopmostToolWindowOf345By259) {
    HWND form = HandleOf(trust.Form());
    RECT outer{};
    GetWindowRect(form, &outer);
    EXPECT_EQ(outer.right - outer.left, 345);
    EXPECT_EQ(outer.bottom - outer.top, 259);
    EXPECT_TRUE(ExStyleOf(form) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyleOf(form) & WS_EX_TOPMOST);
    EXPECT_TRUE(StyleOf(form) & WS_THICKFRAME);
    EXPECT_EQ(trust.Form().Caption(), "Trusted Programs");
    ExpectButtonFaceBackground(form);
}

TEST_F(TrustedWindowWin32, ControlsStandWhereTheFormPutsThemUntilTheFirstShow) {
    const std::vector<Placement> placements{
        {"LstProg", {8, 8, 321, 153}, false, "ListBox"},
        {"EdtPath", {8, 168, 297, 21}, false, "Edit"},
        {"SpdOpen", {304, 168, 23, 22}, false, "ZorvikFlatButton"},
        {"BtnAdd", {8, 200, 75, 25}, false, "Button"},
        {"BtnDelete", {88, 200, 75, 25}, false, "Button"},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        HWND hwnd = HandleOf(*trust.Form().FindControl(p.name));
        EXPECT_EQ(GetParent(hwnd), HandleOf(trust.Form()));
        EXPECT_EQ(RectInParent(hwnd), p.bounds);
        EXPECT_EQ(ClassOf(hwnd), p.windowClass);
        ExpectFont(hwnd);
    }
    HWND list = HandleOf(trust.LstProg);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_FALSE(StyleOf(list) & LBS_SORT);
    EXPECT_FALSE(StyleOf(list) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_FALSE(StyleOf(HandleOf(trust.SpdOpen)) & WS_TABSTOP) << "the flat button takes no focus";

    // The first show lays the window out from its outer size: one pixel off the form's places.
    trust.Show();
    EXPECT_TRUE(IsWindowVisible(HandleOf(trust.Form())));
    EXPECT_EQ(RectInParent(list), (Rect{8, 8, 321, 153}));
    EXPECT_EQ(RectInParent(HandleOf(trust.EdtPath)), (Rect{8, 169, 297, 21}));
    EXPECT_EQ(RectInParent(HandleOf(trust.SpdOpen)), (Rect{305, 169, 23, 22}));
    EXPECT_EQ(RectInParent(HandleOf(trust.BtnAdd)), (Rect{8, 200, 75, 25}));
}

TEST_F(TrustedWindowWin32, ResizingTheFrameLaysTheControlsOut) {
    trust.Show();
    SetWindowPos(HandleOf(trust.Form()), nullptr, 0, 0, 445, 359,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RectInParent(HandleOf(trust.LstProg)), (Rect{8, 8, 421, 253}));
    EXPECT_EQ(RectInParent(HandleOf(trust.EdtPath)), (Rect{8, 269, 397, 21}));
    EXPECT_EQ(RectInParent(HandleOf(trust.SpdOpen)), (Rect{405, 269, 23, 22}));
    EXPECT_EQ(RectInParent(HandleOf(trust.BtnDelete)), (Rect{88, 300, 75, 25}));
    // Set from code while hidden, as the settings load does.
    trust.Form().Hide();
    trust.Form().SetOuterHeight(300);
    EXPECT_EQ(RectInParent(HandleOf(trust.BtnAdd)).top, 241);
}

TEST_F(TrustedWindowWin32, AddAndDeleteButtonsEditTheList) {
    trust.Show();
    trust.EdtPath.SetText("C:\\Tools\\App.exe");
    Press(trust.BtnAdd);
    EXPECT_EQ(Items(), (std::vector<std::string>{"C:\\Tools\\App.exe"}));
    EXPECT_EQ(uitest::ClassOf(HandleOf(trust.EdtPath)), "Edit");
    EXPECT_EQ(trust.EdtPath.Text(), "") << "cleared after the add";
    Press(trust.BtnAdd);
    EXPECT_EQ(Items().size(), 1u) << "an empty box adds nothing";
    trust.EdtPath.SetText("  ");
    Press(trust.BtnAdd);
    trust.EdtPath.SetText("C:\\Tools\\App.exe");
    Press(trust.BtnAdd);
    EXPECT_EQ(Items(), (std::vector<std::string>{"C:\\Tools\\App.exe", "  ", "C:\\Tools\\App.exe"}));
    EXPECT_TRUE(zorvik::IsTrusted(trust, "c:\\tools\\app.EXE"));

    Press(trust.BtnDelete);
    EXPECT_EQ(Items().size(), 3u) << "nothing selected";
    SendMessageA(HandleOf(trust.LstProg), LB_SETCURSEL, 2, 0);
    Press(trust.BtnDelete);
    EXPECT_EQ(Items(), (std::vector<std::string>{"C:\\Tools\\App.exe", "  "}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TrustedWindowWin32, BrowsingPutsTheChosenFileIntoThePathBox) {
    trust.Show();
    trust.EdtPath.SetText("typed");
    HWND owner = nullptr;
    std::string title;
    uitest::DialogWatcher watcher([&](HWND dialog) {
        if (!title.empty()) return true;  // answered already, closing
        owner = GetWindow(dialog, GW_OWNER);
        char caption[100] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        title = caption;
        // The file name box: an edit (edt1) in some dialog forms, a combo box (cmb13) in others.
        const char* path = "C:\\windows\\notepad.exe";
        if (!SetDlgItemTextA(dialog, 0x480, path)) SetDlgItemTextA(dialog, 0x47C, path);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    SendMessageA(HandleOf(trust.SpdOpen), BM_CLICK, 0, 0);
    ASSERT_GT(watcher.Seen(), 0) << "no dialog was shown";
    EXPECT_EQ(title, "Add Trusted Program");
    EXPECT_EQ(owner, HandleOf(trust.Form()));
    std::string chosen = trust.EdtPath.Text();
    CharLowerBuffA(chosen.data(), static_cast<DWORD>(chosen.size()));
    EXPECT_EQ(chosen, "c:\\windows\\notepad.exe");
    EXPECT_TRUE(Items().empty()) << "browsing adds nothing";
}

TEST_F(TrustedWindowWin32, CancellingTheBrowseLeavesThePathBoxAlone) {
    trust.Show();
    trust.EdtPath.SetText("typed");
    uitest::DialogWatcher watcher([](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    SendMessageA(HandleOf(trust.SpdOpen), BM_CLICK, 0, 0);
    EXPECT_GT(watcher.Seen(), 0);
    EXPECT_EQ(trust.EdtPath.Text(), "typed");
}

}  // namespace
