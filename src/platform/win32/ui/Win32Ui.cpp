#include "platform/win32/ui/Win32Ui.h"

#include <commctrl.h>
#include <stdlib.h>

#include <algorithm>

#include "platform/shared/ProgramTitle.h"
#include "platform/win32/ui/Clipboard.h"
#include "platform/win32/ui/OpenFileDialog.h"
#include "platform/win32/ui/SaveFileDialog.h"
#include "platform/win32/ui/Win32PopupMenu.h"
#include "platform/win32/shell/ShellUiFactory.h"
#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

UINT MessageBoxFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error: return MB_OK | MB_ICONERROR;
        case MessageIcon::Information: return MB_OK | MB_ICONINFORMATION;
        case MessageIcon::None: break;
    }
    return MB_OK;
}

namespace {

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                          ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                          ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

}  // namespace

Win32Ui::Win32Ui() {
    InitCommonControlsOnce();
}

std::shared_ptr<const UiFont> Win32Ui::FontFor(int dpi) {
    auto& font = fonts_[dpi];
    if (!font) font = std::make_shared<const UiFont>(dpi);
    return font;
}

Win32Ui::~Win32Ui() {
    for (Win32Window* window : windows_.All()) window->Detach();
    // A quit request nobody took would end the next message loop of this thread at once.
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::unique_ptr<Window> Win32Ui::NewWindow(const WindowSpec& desc) {
    windows_.CheckNew(desc);
    auto window = std::make_unique<Win32Window>(*this, desc);
    windows_.Adopt(*window);
    return window;
}

void Win32Ui::Forget(Win32Window& window) {
    windows_.Forget(window);
    hiddenByMinimise_.erase(
        std::remove(hiddenByMinimise_.begin(), hiddenByMinimise_.end(), &window),
        hiddenByMinimise_.end());
}

Window* Win32Ui::MainWindow() const { return windows_.Main(); }

std::string Win32Ui::ApplicationTitle() const {
    if (title_) return *title_;
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return shared::TitleOfProgram(std::string(path, length <= MAX_PATH ? length : 0));
}

void Win32Ui::MinimiseApplication() {
    if (minimised_) return;
    minimised_ = true;
    // The side windows leave the screen with the application and come back with it.
    hiddenByMinimise_.clear();
    Win32Window* main = windows_.Main();
    for (Win32Window* window : windows_.All()) {
        if (window == main || !window->Visible()) continue;
        hiddenByMinimise_.push_back(window);
        window->Hide();
    }
    if (main) main->MinimiseFrame();
    // Called directly: an exception ends the handler that asked for the minimise.
    if (OnApplicationMinimise) {
        auto handler = OnApplicationMinimise;
        handler();
    }
}

void Win32Ui::RestoreApplication() {
    if (!minimised_) return;
    minimised_ = false;
    if (Win32Window* main = windows_.Main()) main->RestoreFrame();
    const std::vector<Win32Window*> hidden = std::move(hiddenByMinimise_);
    hiddenByMinimise_.clear();
    for (Win32Window* window : hidden) window->ShowAgain();
}

void Win32Ui::ShowTaskbarButton(bool shown) {
    taskbarShown_ = shown;
    if (Win32Window* main = windows_.Main()) taskbar_.Set(main->Handle(), shown);
}

void Win32Ui::ApplyTaskbarButton(HWND mainWindow) {
    if (!taskbarShown_) taskbar_.Set(mainWindow, false);
}

void Win32Ui::BringApplicationToFront() {
    Win32Window* main = windows_.Main();
    if (!main) return;
    HWND last = ::GetLastActivePopup(main->Handle());
    ::SetForegroundWindow(last ? last : main->Handle());
}

namespace {

bool Held(int virtualKey) { return (::GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

Win32Window* Win32Ui::Owner(HWND root) const {
    for (Win32Window* window : windows_.All()) {
        if (window->Handle() == root) return window;
    }
    return nullptr;
}

void Win32Ui::Dispatch(MSG& message) {
    HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    Win32Window* window = root ? Owner(root) : nullptr;
    // The window hears a key before its focused control and before the dialog keys.
    if (window && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)) {
        const KeyStroke stroke{static_cast<std::uint32_t>(message.wParam), Held(VK_CONTROL),
                               Held(VK_SHIFT), Held(VK_MENU)};
        if (window->HandleKeyDown(stroke)) {
            keysTaken_.insert(message.wParam);
            return;
        }
    }
    // The release of a key the window took is its too: else the context menu key's release
    // would open the control's menu once more (DefWindowProc sends WM_CONTEXTMENU on it).
    if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        if (keysTaken_.erase(message.wParam)) return;
    }
    // The dialog keys (Tab, arrows, Enter, Esc) work in every window of the program.
    if (window && ::IsDialogMessageA(root, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

void Win32Ui::Run() {
    Win32Window* main = windows_.Main();
    if (main && !main->Visible()) main->Show();
    MSG message;
    while (!terminated_) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        Dispatch(message);
    }
    // Ended by Terminate from a handler: its quit request is still queued, and would end the
    // next message loop of this thread (a message box at shutdown) at once.
    while (::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void Win32Ui::ProcessMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        Dispatch(message);
    }
}

void Win32Ui::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    ::PostQuitMessage(0);
}

std::vector<std::string> Win32Ui::CommandLineArgs() const {
    // The runtime's own split of the ANSI command line.
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i] ? __argv[i] : "");
    return args;
}

Point Win32Ui::CursorPosition() const {
    POINT p{};
    ::GetCursorPos(&p);
    return Point{p.x, p.y};
}

std::uint32_t Win32Ui::RegisterMessage(const std::string& name) {
    return ::RegisterWindowMessageA(name.c_str());
}

HWND Win32Ui::OwnerHandle(Window* owner) const {
    if (owner) return static_cast<HWND>(owner->NativeHandle());
    const Win32Window* main = windows_.Main();
    return main ? main->Handle() : nullptr;
}

void Win32Ui::ShowMessageBox(Window* owner, const std::string& text, const std::string& title,
                             MessageIcon icon) {
    MessageBoxCall call{OwnerHandle(owner), text, title, MessageBoxFlags(icon)};
    if (interceptor_) {
        auto interceptor = interceptor_;
        interceptor(call);
        return;
    }
    ::MessageBoxA(call.owner, call.text.c_str(), call.title.c_str(), call.flags);
}

std::optional<std::string> Win32Ui::ChooseOpenFile(const OpenFileRequest& request) {
    return RunOpenFileDialog(request, OwnerHandle(request.owner));
}

std::optional<SaveFileChoice> Win32Ui::ChooseSaveFile(const SaveFileRequest& request) {
    return RunSaveFileDialog(request, OwnerHandle(request.owner));
}

std::uint32_t Win32Ui::RunPopupMenu(Window& owner, const std::vector<MenuEntry>& entries,
                                    Point screen) {
    ScopedMenu menu = BuildPopupMenu(entries);
    return TrackPopupMenuAt(menu.get(), static_cast<HWND>(owner.NativeHandle()), screen,
                            kPopupMenuFlags);
}

bool Win32Ui::CopyToClipboard(Window* owner, const std::string& text) {
    // Emptied by a window of no owner, the clipboard would take no data.
    Window* holder = owner ? owner : MainWindow();
    return PutClipboardText(holder ? static_cast<HWND>(holder->NativeHandle()) : nullptr, text);
}

std::string Win32Ui::ClipboardText() { return ReadClipboardText(nullptr); }

std::unique_ptr<NativeMenu> Win32Ui::NewNativeMenu() {
    ScopedMenu menu(::CreatePopupMenu());
    if (!menu) return nullptr;
    return std::make_unique<Win32NativeMenu>(std::move(menu));
}

}  // namespace platform::win32

namespace platform::win32 {

std::unique_ptr<Ui> CreateWin32Ui() { return std::make_unique<Win32Ui>(); }

}  // namespace platform::win32
