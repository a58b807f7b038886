// The main window in the notification area: the icon, its balloons and menu, what the icon
// reports, the session's end, hiding to the tray and the auto-scan timer.
#include <string>

#include "core/windows/ScanInterval.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"

namespace zorvik {

namespace {

constexpr std::uint32_t kBalloonTimeout = 5000;

}  // namespace

PopupMenuItem& TfrmMain::AddTrayItemAfterSeparator(const char* name, const char* caption,
                                                   void (TfrmMain::*handler)()) {
    PopTray.AddSeparator();
    return PopTray.Add(name, caption, [this, handler] { (this->*handler)(); });
}

void TfrmMain::TrayIconEvent(platform::TrayEvent event) {
    switch (event) {
        case platform::TrayEvent::DoubleClick:
            TrayIconDoubleClick();
            break;
        case platform::TrayEvent::ContextMenu:
            PopTrayAtCursor();
            break;
        case platform::TrayEvent::BalloonClicked:
            if (CloseNoticeShown) {
                // Cleared first: the notice is gone whether or not the write is taken.
                CloseNoticeShown = false;
                WriteCloseTipOff();
            } else {
                TrayIconDoubleClick();
            }
            break;
        case platform::TrayEvent::BalloonTimedOut:
            CloseNoticeShown = false;
            break;
    }
}

void TfrmMain::WindowMessage(std::uint32_t message, std::uintptr_t wParam) {
    // Only a session that really ends: wParam false says the end was called off.
    if (message == platform::kEndSessionMessage && wParam != 0) SaveSettingsAndShutDown();
    if (message == kPlacesChangedMessage) PlacesChanged();
}

void TfrmMain::TrayIconDoubleClick() {
    platform::Ui& ui = sys_.ui();
    if (ui.ApplicationMinimised()) {
        ui.ShowTaskbarButton(true);
        ui.RestoreApplication();
        ui.BringApplicationToFront();
        TmrScan.SetEnabled(false);
    } else {
        ui.MinimiseApplication();
        HideToTray();
    }
}

void TfrmMain::PopTrayAtCursor() {
    platform::Ui& ui = sys_.ui();
    // In front first, or the menu would not close when the user clicks elsewhere.
    ui.BringApplicationToFront();
    const platform::Point cursor = ui.CursorPosition();
    ui.ProcessMessages();
    PopTray.Popup(ui, *form_, cursor);
}

void TfrmMain::AddTrayIcon() { trayIcon_->Add(); }

void TfrmMain::ShowTrayBalloon(const std::string& Title, const std::string& Text) {
    // The icon cuts texts longer than the notification area shows.
    trayIcon_->ShowBalloon(Title, Text, kBalloonTimeout);
}

void TfrmMain::HideToTray() {
    form_->Hide();
    sys_.ui().ShowTaskbarButton(false);
    if (!frmOp_ || shutDown_) {
        TmrScan.SetEnabled(false);
        return;
    }
    // An interval that is no number, or 0, leaves the timer off: a zero period would rescan
    // without a pause. A long one is cut to the longest period a timer takes.
    const std::uint32_t period = TimerPeriodOf(IntervalSecondsOf(frmOp_->EdtInt.Text()));
    if (period > 0) TmrScan.SetInterval(period);
    TmrScan.SetEnabled(period > 0 && frmOp_->ChkAutoScan.Checked());
}

void TfrmMain::SaveSettingsAndShutDown() {
    if (!shutDown_) {
        // Marked first: a timer tick inside the message box of a failed save must not scan
        // with the library already given back.
        shutDown_ = true;
        TmrScan.SetEnabled(false);
        // No thread of the watch outlives the shutdown.
        ArmPlaceWatch();
        FreeTcpTableEntry();
        sys_.sockets().Cleanup();
    }
    SaveSettings();
    // Once only; a shell that restarts later gets no icon back.
    trayIcon_->Remove();
}

void TfrmMain::TmrScanTimer() {
    if (shutDown_) return;
    BtnScanClick();
    // Whatever the filter shows: the scan found them.
    if (ListedCount() > 0) {
        // This balloon takes the close notice's place: a click on it brings the window back.
        CloseNoticeShown = false;
        ShowTrayBalloon("Detection!", "New program detected");
    }
}

void TfrmMain::Rescan1Click() {
    platform::Ui& ui = sys_.ui();
    ui.ShowTaskbarButton(true);
    ui.RestoreApplication();
    ui.BringApplicationToFront();
    BtnScanClick();
}

void TfrmMain::Show1Click() { TrayIconDoubleClick(); }

void TfrmMain::Exit1Click() {
    SaveSettingsAndShutDown();
    sys_.ui().Terminate();
}

TfrmMain::LifeCycleGuard::~LifeCycleGuard() {
    platform::System& sys = form.sys_;
    form.trayIcon_.reset();
    sys.ui().OnApplicationMinimise = nullptr;
}

}  // namespace zorvik
