// Waits until Zorvik's main window (caption "Pellmoor") is shown and its program idle, which is
// after the first scan; with --wait=TEXT (as often as wanted), has it rescan until its process
// list holds a row whose program path holds each TEXT, ignoring case; with --filter=TEXT, types
// TEXT into the filter box; with --select, has it rescan until its process list holds a row (with
// --select=TEXT: a row whose program path holds TEXT) and clicks that row, so that the start-up
// list shows that program's entries; with --entries=N, waits until it shows at least N. Then has
// the window painted and writes the result file, whole or not at all:
//
//   main LEFT TOP WIDTH HEIGHT      the window's outer rectangle, for a screenshot
//   failed window|row|entries WHY   what did not come in time
//
//   DriveMainWindow.exe OUTPUT [--wait=TEXT]... [--filter=TEXT] [--select[=TEXT]] [--entries=N]
//                       [SECONDS]   (default 90 seconds)
//
// Exit code 0 when done, 1 when something did not come in time (also written to OUTPUT), 2 when
// OUTPUT could not be written.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
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

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

void WaitUntilIdle(HWND window, DWORD milliseconds) {
    const platform::win32::UniqueHandle process(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window)));
    if (!process) return;
    ::WaitForInputIdle(process.get(), milliseconds);
}

// The window's two list views, the process list above the start-up list.
struct Lists {
    HWND processes = nullptr;
    HWND startups = nullptr;
};

Lists ListsOf(HWND window) {
    std::vector<HWND> found;
    ::EnumChildWindows(window, &CollectLists, reinterpret_cast<LPARAM>(&found));
    Lists lists;
    LONG upperTop = 0;
    for (HWND list : found) {
        RECT r{};
        ::GetWindowRect(list, &r);
        if (!lists.processes || r.top < upperTop) {
            lists.startups = lists.processes;
            lists.processes = list;
            upperTop = r.top;
        } else {
            lists.startups = list;
        }
    }
    return lists;
}

int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// A block of memory in the list's own process: list-view messages that fill a structure need
// one there.
class RemoteBlock {
public:
    RemoteBlock(HWND owner, std::size_t size)
        : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                 ProcessOf(owner))),
          size_(size) {
        if (process_)
            address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                        PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t offset, const void* bytes, std::size_t count) const {
        return offset + count <= size_ &&
               ::WriteProcessMemory(process_.get(), at(offset), bytes, count, nullptr);
    }
    bool Read(std::size_t offset, void* bytes, std::size_t count) const {
        return offset + count <= size_ &&
               ::ReadProcessMemory(process_.get(), at(offset), bytes, count, nullptr);
    }

private:
    platform::win32::UniqueHandle process_;
    void* address_ = nullptr;
    std::size_t size_;
};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The first row whose caption holds the text; the first row for an empty text.
std::optional<int> RowHolding(HWND list, const std::string& text) {
    const int rows = RowCount(list);
    if (text.empty()) return rows > 0 ? std::optional<int>(0) : std::nullopt;
    constexpr std::size_t kTextSize = 1024;
    RemoteBlock block(list, sizeof(LVITEMA) + kTextSize);
    if (!block.ok()) return std::nullopt;
    for (int row = 0; row < rows; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = block.at(sizeof item);
        item.cchTextMax = kTextSize;
        if (!block.Write(0, &item, sizeof item)) return std::nullopt;
        ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.at(0)));
        char caption[kTextSize] = {};
        if (!block.Read(sizeof item, caption, kTextSize - 1)) return std::nullopt;
        if (Lower(caption).find(Lower(text)) != std::string::npos) return row;
    }
    return std::nullopt;
}

bool RowRectangle(HWND list, int row, RECT& rect) {
    RemoteBlock block(list, sizeof rect);
    rect = RECT{};
    rect.left = LVIR_LABEL;
    if (!block.ok() || !block.Write(0, &rect, sizeof rect)) return false;
    if (!::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.at(0))))
        return false;
    return block.Read(0, &rect, sizeof rect);
}

void ClickRescan(HWND window) {
    HWND button = ::FindWindowExA(window, nullptr, "Button", "&Rescan");
    if (!button) return;
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

// A left click on the row, as the system delivers it: the release waits in the queue for the
// list's own tracking of the press.
bool ClickRow(HWND list, int row) {
    ::SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT rect{};
    if (!RowRectangle(list, row, rect)) return false;
    const LPARAM point = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
    ::PostMessageA(list, WM_LBUTTONUP, 0, point);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    return true;
}

// Paints what is due now and returns once the window's thread has handled every message before.
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
}

// Written beside, then moved over the name: a reader never sees half a line.
bool WriteResult(const std::string& path, const std::string& line) {
    const std::string partial = path + ".part";
    FILE* out = std::fopen(partial.c_str(), "w");
    if (!out) return false;
    const bool written = std::fputs((line + "\n").c_str(), out) >= 0;
    if (std::fclose(out) != 0 || !written) return false;
    return ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

struct Options {
    std::string output;
    std::vector<std::string> waitedRows;
    std::optional<std::string> filter;
    bool select = false;
    std::string rowText;
    int entries = 0;
    DWORD seconds = 90;
};

// Waits for what was asked; the empty text when all came, else the failure's line.
std::string Drive(const Options& options, HWND& window) {
    const DWORD until = ::GetTickCount() + options.seconds * 1000;
    window = WaitForMainWindow(until);
    if (!window) return "failed window no window \"Pellmoor\" came up";
    WaitUntilIdle(window, options.seconds * 1000);
    ::SetForegroundWindow(window);
    const Lists lists = ListsOf(window);
    if (!lists.processes || !lists.startups) return "failed window the main window has no lists";
    for (const std::string& text : options.waitedRows) {
        while (!RowHolding(lists.processes, text) && ::GetTickCount() < until) {
            ::Sleep(500);
            ClickRescan(window);
        }
        if (!RowHolding(lists.processes, text))
            return "failed row no program holding \"" + text + "\" was listed in time";
    }
    if (options.filter) {
        // A single-line box tells its window of a text set as of one typed.
        HWND box = ::FindWindowExA(window, nullptr, "Edit", nullptr);
        if (!box) return "failed window the main window has no filter box";
        ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.filter->c_str()));
    }
    if (!options.select) return "";

    // The system names a socket's owner once the owner has used it: rescan until then.
    std::optional<int> row = RowHolding(lists.processes, options.rowText);
    while (!row && ::GetTickCount() < until) {
        ::Sleep(500);
        ClickRescan(window);
        row = RowHolding(lists.processes, options.rowText);
    }
    if (!row)
        return "failed row no program " +
               (options.rowText.empty() ? std::string("was") : "holding \"" + options.rowText + "\" was") +
               " listed in time";
    if (!ClickRow(lists.processes, *row)) return "failed row the listed row could not be clicked";
    while (RowCount(lists.startups) < options.entries && ::GetTickCount() < until) ::Sleep(100);
    if (RowCount(lists.startups) < options.entries)
        return "failed entries the start-up list showed " + std::to_string(RowCount(lists.startups)) +
               " of " + std::to_string(options.entries) + " entries in time";
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: DriveMainWindow OUTPUT [--wait=TEXT]... [--filter=TEXT] [--select[=TEXT]]"
                     " [--entries=N] [SECONDS]\n");
        return 2;
    }
    Options options;
    options.output = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--wait=", 0) == 0) {
            options.waitedRows.push_back(arg.substr(7));
        } else if (arg.rfind("--filter=", 0) == 0) {
            options.filter = arg.substr(9);
        } else if (arg == "--select") {
            options.select = true;
        } else if (arg.rfind("--select=", 0) == 0) {
            options.select = true;
            options.rowText = arg.substr(9);
        } else if (arg.rfind("--entries=", 0) == 0) {
            options.entries = std::atoi(arg.c_str() + 10);
        } else {
            options.seconds = static_cast<DWORD>(std::atoi(arg.c_str()));
        }
    }

    HWND window = nullptr;
    const std::string failure = Drive(options, window);
    if (!failure.empty()) {
        std::fprintf(stderr, "DriveMainWindow: %s\n", failure.c_str());
        return WriteResult(options.output, failure) ? 1 : 2;
    }
    PaintNow(window);
    RECT r{};
    ::GetWindowRect(window, &r);
    char line[128];
    std::snprintf(line, sizeof line, "main %ld %ld %ld %ld", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    return WriteResult(options.output, line) ? 0 : 2;
}
