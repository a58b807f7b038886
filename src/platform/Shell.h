#pragma once
// Shell services: opening files, folders and programs; the notification-area icon; the
// namespace that leads to a file's context menu.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ShellNamespace.h"
#include "platform/Tray.h"

namespace platform {

class Window;

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

// ShellExecuteA. Empty texts are passed as they are (empty, not NULL), except the verb.
struct ShellExecuteRequest {
    Window* owner = nullptr;  // nullptr = no owner window
    std::string verb;         // "OPEN"
    std::string file;
    std::string parameters;
    std::string directory;
    int show = kShowNormal;
};

// Sent when the session ends; wParam 0 when the end was called off.
constexpr std::uint32_t kEndSessionMessage = 22;  // WM_ENDSESSION

class Shell {
public:
    virtual ~Shell() = default;
    // The value ShellExecuteA returns (above 32 on success).
    virtual std::intptr_t Execute(const ShellExecuteRequest& request) = 0;
    // The window's icon in the notification area, not yet added; it must die before the window.
    virtual std::unique_ptr<TrayIcon> NewTrayIcon(Window& window, const std::string& tip) = 0;
    // The namespace of folders and files, for a file's context menu.
    virtual ShellNamespace& Namespace() = 0;
};

}  // namespace platform
