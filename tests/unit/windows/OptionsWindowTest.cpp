#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/windows/untOp.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"

namespace {

using platform::MessageIcon;
using platform::RootKey;
using platform::sim::GuiOf;

const std::string kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\run";

class OptionsWindowTest : public ::testing::Test {
protected:
    OptionsWindowTest() {
        sys.reg().MakeKey(RootKey::CurrentUser, kRunKey);
    }

    void EnableAutoScan() { gui.Click(op.ChkAutoScan); }
    std::optional<platform::RegValue> RunValue() {
        return sys.reg().Get(RootKey::CurrentUser, kRunKey, "Zorvik");
    }

    platform::sim::SimSystem sys;
    platform::sim::SimUi& gui = GuiOf(sys);
    zorvik::TfrmOp op{sys};
};

TEST_F(OptionsWindowTest, StartsHiddenWithTheFormsLayoutAndStates) {
    platform::Window& form = op.Form();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Caption(), "Options");
    EXPECT_EQ(form.ClientWidth(), 233);
    EXPECT_EQ(form.ClientHeight(), 153);

    struct Expected {
        const char* name;
        platform::Rect bounds;
        const char* text;
        bool enabled;
    };
    const std::vector<Expected> controls{
        {"GroupBox1", {8, 8, 121, 49}, "", true},
        {"ChkAutoScan", {8, -2, 105, 17}, "Enable Auto Scan", true},
        {"Label1", {8, 24, 38, 13}, "Interval:", true},
        {"EdtInt", {48, 16, 49, 21}, "0", false},
        {"UpInt", {96, 16, 17, 21}, "", false},
        {"ChkMin", {8, 64, 105, 17}, "Minimize on Close", true},
        {"ChkStartWin", {8, 80, 113, 17}, "Start with Windows", true},
        {"ChkIgnoreSafe", {8, 96, 121, 17}, "Ignore Safe Start ups", true},
        {"ChkWatch", {8, 112, 129, 17}, "Watch Start up places", true},
        {"ChkHideVerified", {8, 128, 217, 17}, "Hide Windows' own and verified programs", true},
    };
    for (const Expected& e : controls) {
        SCOPED_TRACE(e.name);
        platform::Control* c = form.FindControl(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Bounds(), e.bounds);
        EXPECT_EQ(platform::CaptionAsShown(c->Text()), e.text);
        EXPECT_EQ(c->Enabled(), e.enabled);
    }
    EXPECT_EQ(op.EdtInt.Hint(), "Interval is in Seconds");
    EXPECT_EQ(op.UpInt.Min(), 0);
    EXPECT_EQ(op.UpInt.Max(), 100);
    EXPECT_EQ(op.UpInt.Position(), 0);
    for (platform::CheckBox* box : {&op.ChkAutoScan, &op.ChkMin, &op.ChkStartWin, &op.ChkIgnoreSafe,
                                    &op.ChkHideVerified})
        EXPECT_FALSE(box->Checked()) << box->Name();
    EXPECT_TRUE(op.ChkWatch.Checked()) << "watching is on until switched off";
}

TEST_F(OptionsWindowTest, AutoScanEnablesAndDisablesTheIntervalControls) {
    gui.TypeChar(op.EdtInt, '5');
    gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "0") << "disabled controls take no input";
    EXPECT_EQ(op.UpInt.Position(), 0);

    EnableAutoScan();
    EXPECT_TRUE(op.EdtInt.Enabled());
    EXPECT_TRUE(op.UpInt.Enabled());

    gui.Click(op.ChkAutoScan);
    EXPECT_FALSE(op.EdtInt.Enabled());
    EXPECT_FALSE(op.UpInt.Enabled());
}

TEST_F(OptionsWindowTest, SettingAutoScanFromCodeRunsItsHandlerOnlyOnChange) {
    op.ChkAutoScan.SetChecked(true);
    EXPECT_TRUE(op.EdtInt.Enabled());
    // Disable behind the check box's back: a second set to the same state must not run the
    // handler, so the controls stay as they are.
    op.EdtInt.SetEnabled(false);
    op.ChkAutoScan.SetChecked(true);
    EXPECT_FALSE(op.EdtInt.Enabled());
    op.ChkAutoScan.SetChecked(false);
    EXPECT_FALSE(op.UpInt.Enabled());
}

TEST_F(OptionsWindowTest, KeyFilterKeepsOnlyDigitsAndBackspace) {
    EnableAutoScan();
    op.EdtInt.SetText("");
    struct KeyCase {
        char key;
        bool kept;
    };
    const std::vector<KeyCase> cases{
        {'a', false}, {' ', false}, {'-', false}, {'+', false}, {'.', false}, {'/', false},
        {':', false}, {3, false},   {22, false},  {24, false},  {26, false},  {'0', true},
        {'5', true},  {'9', true},  {8, true},
    };
    for (const KeyCase& c : cases) {
        char key = c.key;
        op.EdtIntKeyPress(key);
        EXPECT_EQ(key, c.kept ? c.key : '\0') << "code " << int(c.key);
    }

    gui.SetClipboardText("77");
    gui.TypeText(op.EdtInt, "1a -2\x16");  // \x16 = Ctrl+V, which would paste 77
    EXPECT_EQ(op.EdtInt.Text(), "12");
    gui.TypeChar(op.EdtInt, 8);
    EXPECT_EQ(op.EdtInt.Text(), "1");
}

TEST_F(OptionsWindowTest, ArrowsAtTheStart) {
    EnableAutoScan();
    gui.ClickArrow(op.UpInt, false);
    EXPECT_EQ(op.EdtInt.Text(), "0") << "down at 0 would leave the range";
    EXPECT_EQ(op.UpInt.Position(), 0);

    gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "1");
    EXPECT_EQ(op.UpInt.Position(), 1);
    gui.ClickArrow(op.UpInt, false);
    EXPECT_EQ(op.EdtInt.Text(), "0");
    EXPECT_EQ(op.UpInt.Position(), 0);
}

TEST_F(OptionsWindowTest, ArrowsStopAtTheEndOfTheirOwnRange) {
    EnableAutoScan();
    for (int i = 0; i < 100; ++i) gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "100");
    EXPECT_EQ(op.UpInt.Position(), 100);
    gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "100");
    EXPECT_EQ(op.UpInt.Position(), 100);
    gui.ClickArrow(op.UpInt, false);
    EXPECT_EQ(op.EdtInt.Text(), "99");
}

TEST_F(OptionsWindowTest, TheBoxIsNotBoundByTheArrowsRange) {
    EnableAutoScan();
    op.EdtInt.SetText("");
    gui.TypeText(op.EdtInt, "300");
    gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "301");
    EXPECT_EQ(op.UpInt.Position(), 1);
    EXPECT_TRUE(gui.MessageBoxes().empty());

    // A loaded 300 puts the arrows themselves beyond their range: they no longer act.
    op.UpInt.SetPosition(300);
    op.EdtInt.SetText("300");
    gui.ClickArrow(op.UpInt, true);
    gui.ClickArrow(op.UpInt, false);
    EXPECT_EQ(op.EdtInt.Text(), "300");
}

TEST_F(OptionsWindowTest, ANonNumberInTheBoxIsReportedAndLeftAlone) {
    EnableAutoScan();
    gui.TypeChar(op.EdtInt, 8);  // "0" emptied with Backspace
    ASSERT_EQ(op.EdtInt.Text(), "");
    gui.ClickArrow(op.UpInt, true);
    ASSERT_EQ(gui.MessageBoxes().size(), 1u);
    const auto& box = gui.MessageBoxes()[0];
    EXPECT_EQ(box.text, "'' is not a valid integer value");
    EXPECT_EQ(box.title, "Zorvik");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(op.EdtInt.Text(), "");

    gui.PasteText(op.EdtInt, "12a");  // the box's own Paste is not filtered
    gui.ClickArrow(op.UpInt, false);
    ASSERT_EQ(gui.MessageBoxes().size(), 2u);
    EXPECT_EQ(gui.MessageBoxes()[1].text, "'12a' is not a valid integer value");
    EXPECT_EQ(op.EdtInt.Text(), "12a");

    // The window goes on working after the reports.
    op.EdtInt.SetText("7");
    gui.ClickArrow(op.UpInt, true);
    EXPECT_EQ(op.EdtInt.Text(), "8");
    EXPECT_EQ(gui.MessageBoxes().size(), 2u);
}

TEST_F(OptionsWindowTest, StartWithWindowsActsOnTheRunValueAtOnce) {
    gui.Click(op.ChkStartWin);
    auto value = RunValue();
    ASSERT_TRUE(value.has_value());
    EXPECT_NE(value->data.find("C:\\Zorvik\\Zorvik.exe"), std::string::npos);
    EXPECT_NE(value->data.find(" s"), std::string::npos);

    gui.Click(op.ChkStartWin);
    EXPECT_FALSE(RunValue().has_value());

    // From code as well, and only when the state changes.
    op.ChkStartWin.SetChecked(true);
    ASSERT_TRUE(RunValue().has_value());
    sys.registry().DeleteTree(RootKey::CurrentUser, kRunKey);
    sys.reg().MakeKey(RootKey::CurrentUser, kRunKey);
    op.ChkStartWin.SetChecked(true);
    EXPECT_FALSE(RunValue().has_value()) << "no change, so no second write";
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

TEST_F(OptionsWindowTest, IgnoreSafeIsTheCheckBox) {
    const zorvik::ScanOptions& options = op;
    EXPECT_FALSE(options.IgnoreSafe());
    gui.Click(op.ChkIgnoreSafe);
    EXPECT_TRUE(options.IgnoreSafe());
}

TEST_F(OptionsWindowTest, ClosingOnlyHidesAndKeepsTheValues) {
    op.Show();
    EnableAutoScan();
    gui.Click(op.ChkMin);
    gui.UserClose(op.Form());
    EXPECT_FALSE(op.Form().Visible());
    EXPECT_FALSE(gui.Terminated());
    EXPECT_TRUE(op.ChkAutoScan.Checked());
    EXPECT_TRUE(op.ChkMin.Checked());
    op.Show();
    EXPECT_TRUE(op.Form().Visible());
}

}  // namespace
