// The main window's side of Settings.ini: the window size at creation, the settings and the
// trusted list at the first show, everything back at shutdown, and the close-notice switch.
#include <string>

#include "core/base/Errors.h"
#include "core/windows/ScanInterval.h"
#include "core/windows/SettingsFile.h"
#include "core/base/untFunc.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"

namespace zorvik {

namespace {

constexpr int kQueryRunValue = 0;
constexpr int kTrustDefaultHeight = 259;
constexpr int kTrustDefaultWidth = 345;

}  // namespace

void TfrmMain::LoadWindowSize() {
    platform::System& sys = sys_;
    const std::string file = SettingsFilePath(sys);
    if (ReadSettingsBool(sys, file, "GUI", "Zoomed", false)) {
        form_->SetMaximised(true);
        return;
    }
    form_->SetOuterWidth(ReadSettingsInt(sys, file, "GUI", "frmMainWidth", kMainWindowWidth));
    form_->SetOuterHeight(ReadSettingsInt(sys, file, "GUI", "frmMainHeight", kMainWindowHeight));
}

void TfrmMain::LoadSettings() {
    // Nothing to load into before the side windows exist; the first show comes after them.
    if (SettingsLoaded || !frmTrust_ || !frmOp_) return;
    SettingsLoaded = true;
    const std::string file = SettingsFilePath(sys_);
    TfrmOp& op = *frmOp_;

    for (const std::string& entry : ReadTrustedEntries(sys_, file)) frmTrust_->Append(entry);
    op.ChkAutoScan.SetChecked(ReadSettingsBool(sys_, file, "AutoScan", "Enabled", false));
    // The arrows hold a 16-bit position and are not limited to their range here; the box shows
    // what they hold. An interval box emptied before the last exit was saved empty: it reads as
    // no interval instead of ending the load, which would leave the rest and the first scan out.
    const std::string interval = sys_.profile().ReadString(file, "AutoScan", "Interval", "0");
    op.UpInt.SetPosition(IntervalSecondsOf(interval));
    op.EdtInt.SetText(std::to_string(op.UpInt.Position()));
    op.ChkMin.SetChecked(ReadSettingsBool(sys_, file, "GUI", "Close", false));
    op.ChkStartWin.SetChecked(StartWithWindows(sys_, kQueryRunValue));
    op.ChkIgnoreSafe.SetChecked(ReadSettingsBool(sys_, file, kCoreSection, kIgnoreSafeKey, false));
    platform::Window& trust = frmTrust_->Form();
    trust.SetOuterHeight(ReadSettingsInt(sys_, file, "GUI", "frmTrustHeight", kTrustDefaultHeight));
    trust.SetOuterWidth(ReadSettingsInt(sys_, file, "GUI", "frmTrustWidth", kTrustDefaultWidth));

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
        out.WriteText(kTrustedSection, std::to_string(i), frmTrust_->Entry(i));
    out.WriteBool("AutoScan", "Enabled", op.ChkAutoScan.Checked());
    out.WriteText("AutoScan", "Interval", op.EdtInt.Text());
    out.WriteBool("GUI", "Close", op.ChkMin.Checked());
    out.WriteBool(kCoreSection, kIgnoreSafeKey, op.ChkIgnoreSafe.Checked());
    out.WriteInt("GUI", "frmMainWidth", form_->OuterWidth());
    out.WriteInt("GUI", "frmMainHeight", form_->OuterHeight());
    out.WriteBool("GUI", "Zoomed", form_->Maximised());
    out.WriteInt("GUI", "frmTrustHeight", trust.OuterHeight());
    out.WriteInt("GUI", "frmTrustWidth", trust.OuterWidth());

    if (!out.Ok()) {
        sys_.ui().ShowMessageBox(nullptr, "Unable to save Settings", "ERROR",
                                 platform::MessageIcon::Error);
    }
}

bool TfrmMain::ReadCloseTip() {
    return ReadSettingsBool(sys_, SettingsFilePath(sys_), kCoreSection, kCloseTipKey, true);
}

void TfrmMain::WriteCloseTipOff() {
    const std::string file = SettingsFilePath(sys_);
    if (!sys_.profile().WriteString(file, kCoreSection, kCloseTipKey, "0"))
        throw AppError("Unable to write to " + file);
}

}  // namespace zorvik
