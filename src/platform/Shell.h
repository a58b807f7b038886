#pragma once
// Shell services: opening files, folders and programs; the notification-area icon; the
// namespace that leads to a file's context menu.
#include <cstdint>
#include <string>

#include "platform/ShellNamespace.h"

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

enum class NotifyAction { Add, Modify, Delete };  // NIM_ADD, NIM_MODIFY, NIM_DELETE

// The notification icon's flags and balloon icon, with the numbers Windows gives them.
constexpr std::uint32_t kNotifyMessage = 1;  // NIF_MESSAGE: callbackMessage is valid
constexpr std::uint32_t kNotifyIcon = 2;     // NIF_ICON: icon is valid
constexpr std::uint32_t kNotifyTip = 4;      // NIF_TIP: tip is valid
constexpr std::uint32_t kNotifyInfo = 16;    // NIF_INFO: the balloon fields are valid
constexpr std::uint32_t kBalloonInfoIcon = 1;  // NIIF_INFO

// The icons the program can put in the notification area.
enum class TrayIconImage {
    None,
    Application  // the program's icon resource "MAINICON" at the small-icon size (SM_CXSMICON)
};

// The program's notification-icon record. The caller keeps one and changes the fields each call
// sets; fields a call does not set keep their earlier values, as the record does on Windows.
// The Windows implementation copies it into a NOTIFYICONDATAA whose cbSize is the balloon-
// capable size of the build (NOTIFYICONDATAA_V2_SIZE: 488 bytes in a 32-bit build, more in a
// 64-bit one, where pointers and handles are wider).
struct NotifyIconData {
    Window* window = nullptr;  // receives callbackMessage, with the event in lParam
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    TrayIconImage icon = TrayIconImage::None;
    std::string tip;           // at most 127 characters
    std::string infoText;      // balloon text, at most 255
    std::string infoTitle;     // balloon title, at most 63
    std::uint32_t timeout = 0; // balloon time-out, milliseconds
    std::uint32_t infoFlags = 0;
};

// Events the icon reports in lParam of its callback message.
constexpr std::intptr_t kTrayDoubleClick = 515;     // WM_LBUTTONDBLCLK
constexpr std::intptr_t kTrayRightButtonUp = 517;   // WM_RBUTTONUP
constexpr std::intptr_t kTrayBalloonTimeout = 1028; // NIN_BALLOONTIMEOUT
constexpr std::intptr_t kTrayBalloonClick = 1029;   // NIN_BALLOONUSERCLICK
constexpr std::uint32_t kEndSessionMessage = 22;    // WM_ENDSESSION

class Shell {
public:
    virtual ~Shell() = default;
    // The value ShellExecuteA returns (above 32 on success).
    virtual std::intptr_t Execute(const ShellExecuteRequest& request) = 0;
    // Shell_NotifyIconA; true when the shell took it.
    virtual bool NotifyIcon(NotifyAction action, const NotifyIconData& data) = 0;
    // The namespace of folders and files, for a file's context menu.
    virtual ShellNamespace& Namespace() = 0;
};

}  // namespace platform
