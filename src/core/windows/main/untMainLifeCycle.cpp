// The main window's life: the rest of its creation, its first show, its close, and the notice
// label that links to the maker's page.
#include <string>

#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"

namespace zorvik {

namespace {

constexpr const char* kMakerPage = "https://pellmoor.example/zorvik";
constexpr const char* kCloseNoticeTitle = "Zorvik Still Running!";
// A line feed, then a carriage return, between the two lines.
constexpr const char* kCloseNoticeText =
    "Zorvik is still running but is just minimized\n\rClick here to not show again";

}  // namespace

void TfrmMain::CreateTrayAndLoadSize() {
    platform::Ui& ui = sys_.ui();
    form_->OnShow = [this] { FormShow(); };
    form_->OnClose = [this](platform::CloseRequest& request) { FormClose(request); };
    form_->OnMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
    LblNotice.OnClick = [this] { LblNoticeClick(); };
    LblNotice.OnMouseMove = [this](int x, int y) { LblNoticeMouseMove(x, y); };
    TmrScan.OnTimer = [this] { TmrScanTimer(); };

    windowMessages_ = form_->AddMessageListener(
        [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
            WindowMessage(message, wParam);
        });
    trayIcon_ = sys_.shell().NewTrayIcon(*form_, "Zorvik");
    trayIcon_->OnEvent = [this](platform::TrayEvent event) { TrayIconEvent(event); };
    AddTrayIcon();
    // However the window is minimised, it goes to the tray.
    ui.OnApplicationMinimise = [this] { HideToTray(); };
    // As if the icon were double-clicked, once the loop runs: after the first show and scan.
    const std::vector<std::string> args = ui.CommandLineArgs();
    if (!args.empty() && args.front() == "s")
        trayIcon_->PostEvent(platform::TrayEvent::DoubleClick);
    LoadWindowSize();
}

void TfrmMain::FormShow() { LoadSettings(); }

void TfrmMain::FormClose(platform::CloseRequest& request) {
    if (!frmOp_ || !frmOp_->ChkMin.Checked()) {
        SaveSettingsAndShutDown();
        return;
    }
    request.allow = false;
    sys_.ui().MinimiseApplication();
    HideToTray();
    if (ReadCloseTip()) {
        ShowTrayBalloon(kCloseNoticeTitle, kCloseNoticeText);
        CloseNoticeShown = true;
    }
}

void TfrmMain::FormMouseMove(int, int) {
    LblNotice.SetFontColour(platform::kBlack);
    LblNotice.SetUnderline(false);
}

void TfrmMain::LblNoticeMouseMove(int, int) {
    LblNotice.SetFontColour(platform::kBlue);
    LblNotice.SetUnderline(true);
}

void TfrmMain::LblNoticeClick() {
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    request.file = kMakerPage;
    sys_.shell().Execute(request);
}

}  // namespace zorvik
