// Waits until Zorvik's main window (caption "Pellmoor") is shown and its program idle, which is
// after the first scan; with --select, has it rescan until its process list holds a row and
// clicks the first row, so that the start-up list shows that program's entries. Then writes the
// window's outer rectangle ("main LEFT TOP WIDTH HEIGHT") to the file named, for a screenshot.
//
//   DriveMainWindow.exe OUTPUT [--select] [SECONDS]     (default 90 seconds)
//
// Exit code 0 when done, 1 when the window or a listed row did not come in time.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/system/ScopedHandle.h"

namespace {

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindShownMainWindow(HWND hwnd, LPARAM param) {
    char caption[64] = {};
    char name[64] = {};
    ::GetWindowTextA(hwnd, caption, sizeof caption);
    ::GetClassNameA(hwnd, name, sizeof name);
    if (std::string(caption) != "Pellmoor" || std::string(name) != "ZorvikWindow" ||
        !::IsWindowVisible(hwnd))
        return TRUE;
    reinterpret_cast<Search*>(param)->found = hwnd;
    return FALSE;
}

BOOL CALLBACK CollectLists(HWND hwnd, LPARAM param) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == WC_LISTVIEWA) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

HWND WaitForMainWindow(DWORD until) {
    while (::GetTickCount() < until) {
        Search search;
        ::EnumWindows(&FindShownMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(250);
    }
    return nullptr;
}

void WaitUntilIdle(HWND window, DWORD milliseconds) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    const platform::win32::UniqueHandle process(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) return;
    ::WaitForInputIdle(process.get(), milliseconds);
}

// The upper of the window's two list views: the process list.
HWND ProcessList(HWND window) {
    std::vector<HWND> lists;
    ::EnumChildWindows(window, &CollectLists, reinterpret_cast<LPARAM>(&lists));
    HWND upper = nullptr;
    LONG upperTop = 0;
    for (HWND list : lists) {
        RECT r{};
        ::GetWindowRect(list, &r);
        if (!upper || r.top < upperTop) {
            upper = list;
            upperTop = r.top;
        }
    }
    return upper;
}

void ClickRescan(HWND window) {
    HWND button = ::FindWindowExA(window, nullptr, "Button", "Rescan");
    if (!button) return;
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

// A left click on the first row, as the system delivers it: the release waits in the queue for
// the list's own tracking of the press.
void ClickFirstRow(HWND list) {
    RECT header{};
    if (HWND h = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)))
        ::GetWindowRect(h, &header);
    const int y = static_cast<int>(header.bottom - header.top) + 6;
    const LPARAM point = MAKELPARAM(20, y);
    ::PostMessageA(list, WM_LBUTTONUP, 0, point);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: DriveMainWindow OUTPUT [--select] [SECONDS]\n");
        return 1;
    }
    const char* output = argv[1];
    bool select = false;
    DWORD seconds = 90;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--select") select = true;
        else seconds = static_cast<DWORD>(std::atoi(argv[i]));
    }
    const DWORD until = ::GetTickCount() + seconds * 1000;

    HWND window = WaitForMainWindow(until);
    if (!window) {
        std::fprintf(stderr, "DriveMainWindow: no window \"Pellmoor\" came up\n");
        return 1;
    }
    WaitUntilIdle(window, seconds * 1000);
    ::SetForegroundWindow(window);

    if (select) {
        HWND list = ProcessList(window);
        // The system names a socket's owner once the owner has used it: rescan until then.
        while (list && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0 && ::GetTickCount() < until) {
            ::Sleep(500);
            ClickRescan(window);
        }
        if (!list || ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0) {
            std::fprintf(stderr, "DriveMainWindow: the process list stayed empty\n");
            return 1;
        }
        ClickFirstRow(list);
    }

    RECT r{};
    ::GetWindowRect(window, &r);
    FILE* out = std::fopen(output, "w");
    if (!out) return 1;
    std::fprintf(out, "main %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fclose(out);
    return 0;
}
