// Times the main window's watch from the notification area, with the rules beside this program
// (benchmarks/watch-tray.sh puts the shipped ones there): the window scans once, goes to the
// tray, and from then on prints when each balloon is asked for and when the rescan after it has
// listed the rows. Times are the system clock, as WatchProbe's, so that a script can put them
// beside the moment a value was written.
//
//   TrayWatchProbe.exe COUNT     "armed CPU_MS" after the first scan, then for each change that
//                                brings news "balloon MICROSECONDS TEXT" and "listed
//                                MICROSECONDS ROWS CPU_MS", until COUNT balloons
//
// CPU_MS is this process's processor time so far. A message box the program would show is
// printed as "box TITLE: TEXT" instead. Exit code 0 when done, 2 on bad arguments.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/win32/ui/Win32Ui.h"

namespace {

constexpr unsigned long long kFileTimeTo1970 = 116444736000000000ULL;  // 100-ns ticks

unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

unsigned long long NowMicroseconds() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (Ticks(now) - kFileTimeTo1970) / 10;
}

unsigned long long ProcessorMilliseconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (Ticks(kernel) + Ticks(user)) / 10000;
}

// The icon as the system makes it, telling the moment a balloon is asked for.
class TimedTrayIcon : public platform::TrayIcon {
public:
    explicit TimedTrayIcon(std::unique_ptr<platform::TrayIcon> icon) : icon_(std::move(icon)) {
        icon_->OnEvent = [this](platform::TrayEvent event) {
            if (OnEvent) OnEvent(event);
        };
    }
    bool Add() override { return icon_->Add(); }
    void Remove() override { icon_->Remove(); }
    bool Added() const override { return icon_->Added(); }
    bool ShowBalloon(const std::string& title, const std::string& text,
                     std::uint32_t timeoutMs) override {
        const unsigned long long at = NowMicroseconds();
        std::string line = text;
        for (char& c : line)
            if (c == '\n' || c == '\r') c = ' ';
        std::printf("balloon %llu %s: %s\n", at, title.c_str(), line.c_str());
        std::fflush(stdout);
        return icon_->ShowBalloon(title, text, timeoutMs);
    }
    void PostEvent(platform::TrayEvent event) override { icon_->PostEvent(event); }

private:
    std::unique_ptr<platform::TrayIcon> icon_;
};

class TimedShell : public platform::Shell {
public:
    explicit TimedShell(platform::Shell& shell) : shell_(shell) {}
    std::intptr_t Execute(const platform::ShellExecuteRequest& request) override {
        return shell_.Execute(request);
    }
    std::unique_ptr<platform::TrayIcon> NewTrayIcon(platform::Window& window,
                                                    const std::string& tip) override {
        return std::make_unique<TimedTrayIcon>(shell_.NewTrayIcon(window, tip));
    }
    platform::ShellNamespace& Namespace() override { return shell_.Namespace(); }

private:
    platform::Shell& shell_;
};

// The real system, but for the shell's icons.
class TimedSystem : public platform::System {
public:
    explicit TimedSystem(std::unique_ptr<platform::System> sys)
        : sys_(std::move(sys)), shell_(sys_->shell()) {}
    platform::Registry& registry() override { return sys_->registry(); }
    platform::Files& files() override { return sys_->files(); }
    platform::Profile& profile() override { return sys_->profile(); }
    platform::Accounts& accounts() override { return sys_->accounts(); }
    platform::Processes& processes() override { return sys_->processes(); }
    platform::Sockets& sockets() override { return sys_->sockets(); }
    platform::Shell& shell() override { return shell_; }
    platform::Ui& ui() override { return sys_->ui(); }
    platform::FileFacts* fileFacts() override { return sys_->fileFacts(); }
    platform::Environment* environment() override { return sys_->environment(); }
    std::unique_ptr<platform::PlaceWatch> NewPlaceWatch() override {
        return sys_->NewPlaceWatch();
    }
    platform::Tasks* tasks() override { return sys_->tasks(); }
    platform::Wmi* wmi() override { return sys_->wmi(); }
    std::optional<platform::UtcTime> UtcNow() override { return sys_->UtcNow(); }

private:
    std::unique_ptr<platform::System> sys_;
    TimedShell shell_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const int count = std::atoi(argv[1]);
    platform::KeepLibrarySearchInSystemFolder();
    TimedSystem sys(platform::CreateSystem());
    auto& ui = dynamic_cast<platform::win32::Win32Ui&>(sys.ui());
    ui.SetMessageBoxInterceptor([](const platform::win32::MessageBoxCall& call) {
        std::printf("box %s: %s\n", call.title.c_str(), call.text.c_str());
        std::fflush(stdout);
    });
    zorvik::TfrmMain frmMain(sys);
    zorvik::TfrmTrust frmTrust(sys);
    zorvik::TfrmOp frmOp(sys);
    frmMain.AttachSideWindows(frmTrust, frmOp);
    frmMain.BtnScanClick();
    frmMain.HideToTray();
    std::printf("armed %llu\n", ProcessorMilliseconds());
    std::fflush(stdout);

    // Each answer with news replaces the window's last news, and the rescan follows in the same
    // message: the rows are listed once the news is seen to change (each change here names a
    // value of its own).
    std::string seen;
    for (int told = 0; told < count;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        ui.ProcessMessages();
        std::string keys;
        for (const zorvik::EntryNews& item : frmMain.LastEntryNews()) keys += item.key + '\n';
        if (keys.empty() || keys == seen) continue;
        seen = keys;
        std::printf("listed %llu %d %llu\n", NowMicroseconds(), frmMain.LstProc.RowCount(),
                    ProcessorMilliseconds());
        std::fflush(stdout);
        ++told;
    }
    return 0;
}
