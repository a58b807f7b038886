#pragma once
// The shell services of the Windows build: ShellExecuteA and the notification icon.
#include "platform/win32/WindowsApi.h"

#include <memory>

#include "platform/Shell.h"
#include "platform/shared/NotifyIconProtocol.h"
#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

class Win32Shell : public Shell, public NotifyArea {
public:
    explicit Win32Shell(std::unique_ptr<ShellNamespace> shellNamespace)
        : namespace_(std::move(shellNamespace)) {}

    std::intptr_t Execute(const ShellExecuteRequest& request) override;
    bool NotifyIcon(NotifyAction action, const NotifyIconData& data) override;
    std::unique_ptr<TrayIcon> NewTrayIcon(Window& window, const std::string& tip) override;
    ShellNamespace& Namespace() override { return *namespace_; }

    // The handle the record carries for an image: the program's "MAINICON" at the small-icon
    // size, or the system's application icon when the program has none.
    HICON IconFor(TrayIconImage image);

private:
    std::unique_ptr<ShellNamespace> namespace_;
    ScopedIcon applicationIcon_;  // loaded once, kept while the shell may show it
};

}  // namespace platform::win32
