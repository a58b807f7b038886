#pragma once
// The windowing services of the Windows build: the application object with its message loop,
// message boxes, the open-file dialog and popup menus. Windows and controls are in
// Win32Window.h and the control files.
#include "platform/win32/WindowsApi.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "platform/shared/FireEvent.h"
#include "platform/shared/WindowTable.h"
#include "platform/win32/ui/TaskbarButton.h"
#include "platform/win32/ui/UiFont.h"
#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

class Win32Window;

// A message box as it would be shown: owner, texts and the MessageBoxA style flags.
struct MessageBoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string title;
    UINT flags = 0;
};

// MB_OK with the icon asked for.
UINT MessageBoxFlags(MessageIcon icon);

class Win32Ui : public Ui {
public:
    Win32Ui();
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    std::unique_ptr<Window> NewWindow(const WindowSpec& desc) override;
    Window* MainWindow() const override;
    std::string ApplicationTitle() const override;
    void SetApplicationTitle(const std::string& title) override { title_ = title; }
    void MinimiseApplication() override;
    void RestoreApplication() override;
    bool ApplicationMinimised() const override { return minimised_; }
    void ShowTaskbarButton(bool shown) override;
    bool TaskbarButtonShown() const override { return taskbarShown_; }
    void BringApplicationToFront() override;
    void Run() override;
    void ProcessMessages() override;
    void Terminate() override;
    bool Terminated() const override { return terminated_; }
    std::vector<std::string> CommandLineArgs() const override;
    Point CursorPosition() const override;
    std::uint32_t RegisterMessage(const std::string& name) override;
    void ShowMessageBox(Window* owner, const std::string& text, const std::string& title,
                        MessageIcon icon) override;
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;
    std::optional<SaveFileChoice> ChooseSaveFile(const SaveFileRequest& request) override;
    std::uint32_t RunPopupMenu(Window& owner, const std::vector<MenuEntry>& entries,
                               Point screen) override;
    std::unique_ptr<NativeMenu> NewNativeMenu() override;
    bool CopyToClipboard(Window* owner, const std::string& text) override;
    std::string ClipboardText() override;

    // When set, message boxes are handed to it instead of being shown: for running the
    // program's handlers where nobody can press OK (tests, automation).
    void SetMessageBoxInterceptor(std::function<void(const MessageBoxCall&)> interceptor) {
        interceptor_ = std::move(interceptor);
    }

    // --- For the windows and controls ------------------------------------------------------
    // The font at a resolution, made at its first use and kept: a window moving between
    // monitors goes back and forth between a few.
    std::shared_ptr<const UiFont> FontFor(int dpi);
    void Forget(Win32Window& window);
    // The window of the program with that handle, or nullptr.
    Win32Window* Owner(HWND window) const;
    // Keeps the taskbar button hidden over a show of the main window, when it was hidden.
    void ApplyTaskbarButton(HWND mainWindow);

    // Runs an event handler as the message loop does: a copy (the handler may replace
    // itself), through the general error handler.
    template <class Handler, class... Args>
    void Fire(const Handler& handler, Args&&... args) {
        shared::Fire(*this, handler, std::forward<Args>(args)...);
    }

private:
    void Dispatch(MSG& message);
    HWND OwnerHandle(Window* owner) const;

    ComApartment com_;
    std::map<int, std::shared_ptr<const UiFont>> fonts_;
    TaskbarButton taskbar_;
    shared::WindowTable<Win32Window> windows_;
    std::vector<Win32Window*> hiddenByMinimise_;
    std::optional<std::string> title_;
    bool minimised_ = false;
    bool taskbarShown_ = true;
    bool terminated_ = false;
    // The keys whose press a window's OnKeyDown took, until released.
    std::set<WPARAM> keysTaken_;
    std::function<void(const MessageBoxCall&)> interceptor_;
};

}  // namespace platform::win32
