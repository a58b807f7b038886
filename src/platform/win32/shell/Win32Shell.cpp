#include "platform/win32/shell/Win32Shell.h"

#include <shellapi.h>

#include "platform/Widgets.h"
#include "platform/shared/NotifyTrayIcon.h"
#include "platform/win32/ui/NotifyIconRecord.h"
#include "platform/win32/shell/ShellUiFactory.h"

namespace platform::win32 {

std::intptr_t Win32Shell::Execute(const ShellExecuteRequest& request) {
    HWND owner = request.owner ? static_cast<HWND>(request.owner->NativeHandle()) : nullptr;
    // Only an empty verb becomes NULL (the default verb); the other texts go as they are.
    const char* verb = request.verb.empty() ? nullptr : request.verb.c_str();
    HINSTANCE result = ::ShellExecuteA(owner, verb, request.file.c_str(),
                                       request.parameters.c_str(), request.directory.c_str(),
                                       request.show);
    return reinterpret_cast<std::intptr_t>(result);
}

HICON Win32Shell::IconFor(TrayIconImage image) {
    if (image != TrayIconImage::Application) return nullptr;
    if (!applicationIcon_) {
        const int width = ::GetSystemMetrics(SM_CXSMICON);
        const int height = ::GetSystemMetrics(SM_CYSMICON);
        HANDLE own = ::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, width,
                                  height, 0);
        if (!own) {
            // The system's icon is shared; a copy at the small size is ours to destroy.
            HICON shared = ::LoadIconA(nullptr, IDI_APPLICATION);
            own = shared ? ::CopyImage(shared, IMAGE_ICON, width, height, 0) : nullptr;
        }
        applicationIcon_.Reset(static_cast<HICON>(own));
    }
    return applicationIcon_.get();
}

bool Win32Shell::NotifyIcon(NotifyAction action, const NotifyIconData& data) {
    DWORD message = NIM_ADD;
    if (action == NotifyAction::Modify) message = NIM_MODIFY;
    else if (action == NotifyAction::Delete) message = NIM_DELETE;
    NOTIFYICONDATAA record = NotifyIconRecord(data, IconFor(data.icon));
    return ::Shell_NotifyIconA(message, &record) != FALSE;
}

std::unique_ptr<TrayIcon> Win32Shell::NewTrayIcon(Window& window, const std::string& tip) {
    return std::make_unique<NotifyTrayIcon>(*this, window, tip,
                                            ::RegisterWindowMessageA(kTaskbarCreatedName));
}

std::unique_ptr<Shell> CreateWin32Shell() {
    return std::make_unique<Win32Shell>(CreateWin32ShellNamespace());
}

}  // namespace platform::win32
