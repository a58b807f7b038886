// Shows the Options and Trusted Programs windows side by side, as the program makes them, for
// screenshots of the windows. Writes each window's outer rectangle to the file named by the
// first argument (name left top width height, one line each), then handles messages for the
// number of seconds the second argument gives (default 20).
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstdlib>

#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace {

void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

void Place(platform::Window& window, int left, int top) {
    SetWindowPos(static_cast<HWND>(window.NativeHandle()), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Report(FILE* out, const char* name, platform::Window& window) {
    RECT r{};
    GetWindowRect(static_cast<HWND>(window.NativeHandle()), &r);
    std::fprintf(out, "%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left,
                 r.bottom - r.top);
}

}  // namespace

int main(int argc, char** argv) {
    const char* report = argc > 1 ? argv[1] : "windows.txt";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    auto sys = platform::CreateSystem();
    zorvik::TfrmTrust trust(*sys);
    zorvik::TfrmOp op(*sys);
    trust.Append("C:\\Program Files\\Mozilla Firefox\\firefox.exe");
    trust.Append("C:\\WINDOWS\\system32\\svchost.exe");
    trust.Append("C:\\Program Files\\Skype\\Phone\\Skype.exe");
    op.ChkAutoScan.SetChecked(true);
    op.EdtInt.SetText("300");
    op.ChkMin.SetChecked(true);
    trust.Show();
    op.Show();
    Place(trust.Form(), 40, 40);
    Place(op.Form(), 440, 40);
    if (FILE* out = std::fopen(report, "w")) {
        Report(out, "trusted", trust.Form());
        Report(out, "options", op.Form());
        std::fclose(out);
    }
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, &Quit);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (!root || !IsDialogMessageA(root, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
