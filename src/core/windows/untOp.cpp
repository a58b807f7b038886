#include "core/windows/untOp.h"

#include <limits>
#include <string>

#include "core/base/IntText.h"
#include "core/settings/StartWithWindows.h"
#include "core/windows/FormParts.h"

namespace zorvik {

namespace {

using platform::ControlSpec;

constexpr int kOptionsClientWidth = 233;

std::unique_ptr<platform::Window> MakeForm(platform::System& sys) {
    platform::WindowSpec desc =
        CentredWindowSpec("frmOp", "Options", platform::WindowFrame::FixedToolWindow, true);
    // Wide enough for the longest caption, "Hide Windows' own and verified programs".
    desc.clientWidth = kOptionsClientWidth;
    desc.clientHeight = 153;
    return sys.ui().NewWindow(desc);
}

platform::Edit& MakeEdtInt(platform::Window& form, platform::GroupBox& group) {
    ControlSpec desc = ControlAt("EdtInt", {48, 16, 49, 21}, "0", &group);
    desc.enabled = false;
    desc.hint = "Interval is in Seconds";
    return form.AddEdit(desc);
}

platform::UpDown& MakeUpInt(platform::Window& form, platform::GroupBox& group) {
    platform::UpDownSpec desc;
    static_cast<ControlSpec&>(desc) = ControlAt("UpInt", {96, 16, 17, 21}, "", &group);
    desc.enabled = false;
    desc.min = 0;
    desc.max = 100;
    desc.position = 0;
    desc.wrap = false;
    return form.AddUpDown(desc);
}

}  // namespace

TfrmOp::TfrmOp(platform::System& sys)
    : sys_(sys),
      form_(MakeForm(sys)),
      GroupBox1(form_->AddGroupBox(ControlAt("GroupBox1", {8, 8, 121, 49}))),
      // Stands on the group's top edge in place of a caption.
      ChkAutoScan(form_->AddCheckBox(ControlAt("ChkAutoScan", {8, -2, 105, 17}, "&Enable Auto Scan",
                                          &GroupBox1))),
      Label1(form_->AddLabel(ControlAt("Label1", {8, 24, 38, 13}, "Interval:", &GroupBox1))),
      EdtInt(MakeEdtInt(*form_, GroupBox1)),
      UpInt(MakeUpInt(*form_, GroupBox1)),
      ChkMin(form_->AddCheckBox(ControlAt("ChkMin", {8, 64, 105, 17}, "&Minimize on Close"))),
      ChkStartWin(form_->AddCheckBox(
          ControlAt("ChkStartWin", {8, 80, 113, 17}, "&Start with Windows"))),
      ChkIgnoreSafe(form_->AddCheckBox(
          ControlAt("ChkIgnoreSafe", {8, 96, 121, 17}, "&Ignore Safe Start ups"))),
      ChkWatch(form_->AddCheckBox(
          ControlAt("ChkWatch", {8, 112, 129, 17}, "&Watch Start up places"))),
      ChkHideVerified(form_->AddCheckBox(ControlAt("ChkHideVerified",
                                                   {8, 128, kOptionsClientWidth - 16, 17},
                                                   "&Hide Windows' own and verified programs"))) {
    // Before its handler is set: nothing watches yet.
    ChkWatch.SetChecked(true);
    ChkAutoScan.OnClick = [this] { ChkAutoScanClick(); };
    EdtInt.OnKeyPress = [this](char& key) { EdtIntKeyPress(key); };
    UpInt.OnChangingEx = [this](platform::UpDownDirection d) { return UpIntChangingEx(d); };
    ChkStartWin.OnClick = [this] { ChkStartWinClick(); };
    ChkWatch.OnClick = [this] { ChkWatchClick(); };
    ChkHideVerified.OnClick = [this] { ChkHideVerifiedClick(); };
}

void TfrmOp::ChkAutoScanClick() {
    // A running timer is left alone: the choice takes effect at the next hide to the tray.
    const bool on = ChkAutoScan.Checked();
    EdtInt.SetEnabled(on);
    UpInt.SetEnabled(on);
}

void TfrmOp::EdtIntKeyPress(char& key) {
    // Also drops the control characters of copy, cut, paste and undo.
    const bool digit = key >= '0' && key <= '9';
    if (key != platform::kBackspaceKey && !digit) key = 0;
}

bool TfrmOp::UpIntChangingEx(platform::UpDownDirection direction) {
    // The box's number is not bounded by the arrows' range: only the arrows' own position is.
    if (direction == platform::UpDownDirection::Up) {
        const int value = StrToInt(EdtInt.Text());
        if (value < std::numeric_limits<int>::max()) EdtInt.SetText(std::to_string(value + 1));
    } else if (direction == platform::UpDownDirection::Down) {
        const int value = StrToInt(EdtInt.Text());
        if (value > std::numeric_limits<int>::min()) EdtInt.SetText(std::to_string(value - 1));
    }
    return true;
}

void TfrmOp::ChkStartWinClick() {
    // Acts on the Run value at once; whether it worked is not shown.
    StartWithWindows(sys_, ChkStartWin.Checked() ? kRunValueRegister : kRunValueRemove);
}

void TfrmOp::ChkWatchClick() {
    if (OnWatchChoice) OnWatchChoice();
}

void TfrmOp::ChkHideVerifiedClick() {
    if (OnHideChoice) OnHideChoice();
}

}  // namespace zorvik
