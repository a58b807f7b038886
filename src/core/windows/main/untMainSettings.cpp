// The main window's side of Settings.ini: the window size at creation, the settings and the
// trusted list at the first show, everything back at shutdown, and the close-notice switch.
#include <string>

#include "core/base/Errors.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/StartWithWindows.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/ScanInterval.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"

namespace zorvik {

namespace {

constexpr int kTrustDefaultHeight = 259;
constexpr int kTrustDefaultWidth = 345;

}  // namespace

void TfrmMain::LoadWindowSize() {
    platform::System& sys = sys_;
    const std::string file = SettingsFilePath(sys);
    if (ReadSettingsBool(sys, file, kMainZoomedSetting, false)) {
        form_->SetMaximised(true);
        return;
    }
    form_->SetOuterWidth(ReadSettingsInt(sys, file, kMainWidthSetting, kMainWindowWidth));
    form_->SetOuterHeight(ReadSettingsInt(sys, file, kMainHeightSetting, kMainWindowHeight));
}

void TfrmMain::LoadSettings() {
    // Nothing to load into before the side windows exist; the first show comes after them.
    if (SettingsLoaded || !frmTrust_ || !frmOp_) return;
    SettingsLoaded = true;
    const std::string file = SettingsFilePath(sys_);
    TfrmOp& op = *frmOp_;

    for (const std::string& entry : ReadTrustedEntries(sys_, file)) frmTrust_->Append(entry);
    op.ChkAutoScan.SetChecked(ReadSettingsBool(sys_, file, kAutoScanEnabledSetting, false));
    // The arrows hold a 16-bit position and are not limited to their range here; the box shows
    // what they hold. An interval box emptied before the last exit was saved empty: it reads as
    // no interval instead of ending the load, which would leave the rest and the first scan out.
    const std::string interval = ReadSettingsText(sys_, file, kAutoScanIntervalSetting, "0");
    op.UpInt.SetPosition(IntervalSecondsOf(interval));
    op.EdtInt.SetText(std::to_string(op.UpInt.Position()));
    op.ChkMin.SetChecked(ReadSettingsBool(sys_, file, kMinimiseOnCloseSetting, false));
    op.ChkStartWin.SetChecked(StartWithWindows(sys_, kRunValueQuery));
    op.ChkIgnoreSafe.SetChecked(ReadSettingsBool(sys_, file, kIgnoreSafeSetting, false));
    op.ChkWatch.SetChecked(ReadSettingsBool(sys_, file, kWatchPlacesSetting, true));
    op.ChkHideVerified.SetChecked(ReadSettingsBool(sys_, file, kHideVerifiedSetting, false));
    platform::Window& trust = frmTrust_->Form();
    trust.SetOuterHeight(ReadSettingsInt(sys_, file, kTrustHeightSetting, kTrustDefaultHeight));
    trust.SetOuterWidth(ReadSettingsInt(sys_, file, kTrustWidthSetting, kTrustDefaultWidth));
    LoadListLayout(file);

    BtnScanClick();
}

void TfrmMain::SaveSettings() {
    // Before the load the controls hold only their defaults: saving them would wipe the user's
    // trusted list and choices.
    if (!SettingsLoaded || !frmTrust_ || !frmOp_) return;
    const TfrmOp& op = *frmOp_;
    platform::Window& trust = frmTrust_->Form();
    SettingsWriter out(sys_, SettingsFilePath(sys_));

    out.EraseSection(kTrustedSection);
    for (std::size_t i = 0; i < frmTrust_->Count(); ++i)
        out.WriteText({kTrustedSection, std::to_string(i)}, frmTrust_->Entry(i));
    out.WriteBool(kAutoScanEnabledSetting, op.ChkAutoScan.Checked());
    out.WriteText(kAutoScanIntervalSetting, op.EdtInt.Text());
    out.WriteBool(kMinimiseOnCloseSetting, op.ChkMin.Checked());
    out.WriteBool(kIgnoreSafeSetting, op.ChkIgnoreSafe.Checked());
    out.WriteBool(kWatchPlacesSetting, op.ChkWatch.Checked());
    out.WriteBool(kHideVerifiedSetting, op.ChkHideVerified.Checked());
    out.WriteInt(kMainWidthSetting, form_->OuterWidth());
    out.WriteInt(kMainHeightSetting, form_->OuterHeight());
    out.WriteBool(kMainZoomedSetting, form_->Maximised());
    out.WriteInt(kTrustHeightSetting, trust.OuterHeight());
    out.WriteInt(kTrustWidthSetting, trust.OuterWidth());
    SaveListLayout(out);

    if (!out.Ok()) ShowErrorBox(sys_.ui(), "Unable to save Settings");
}

bool TfrmMain::ReadCloseTip() {
    return ReadSettingsBool(sys_, SettingsFilePath(sys_), kCloseTipSetting, true);
}

void TfrmMain::WriteCloseTipOff() {
    const std::string file = SettingsFilePath(sys_);
    SettingsWriter out(sys_, file);
    out.WriteBool(kCloseTipSetting, false);
    if (!out.Ok()) throw AppError("Unable to write to " + file);
}

}  // namespace zorvik
