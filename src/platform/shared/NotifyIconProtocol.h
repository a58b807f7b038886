#pragma once
// The notification area as Shell_NotifyIconA speaks to it: the icon's record, its flags, and
// the codes the icon sends back to its window. Both implementations of the platform hold their
// tray icons to this protocol; the core sees only platform/Tray.h.
#include <cstdint>
#include <string>

namespace platform {

class Window;

enum class NotifyAction { Add, Modify, Delete };  // NIM_ADD, NIM_MODIFY, NIM_DELETE

// The record's flags and balloon icon, with the numbers Windows gives them.
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

// The program's notification-icon record. Its owner keeps one and changes the fields each call
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

// The message the program's icon sends its window (WM_USER + 1), with the event in lParam.
constexpr std::uint32_t kTrayCallbackMessage = 1025;

// Events the icon reports in lParam of its callback message.
constexpr std::intptr_t kTrayDoubleClick = 515;     // WM_LBUTTONDBLCLK
constexpr std::intptr_t kTrayRightButtonUp = 517;   // WM_RBUTTONUP
constexpr std::intptr_t kTrayBalloonTimeout = 1028; // NIN_BALLOONTIMEOUT
constexpr std::intptr_t kTrayBalloonClick = 1029;   // NIN_BALLOONUSERCLICK

// The message the shell broadcasts, under this registered name, once it has started anew.
inline constexpr const char* kTaskbarCreatedName = "TaskbarCreated";

// Where the records go: Shell_NotifyIconA, or the simulated notification area.
class NotifyArea {
public:
    virtual ~NotifyArea() = default;
    // true when the shell took the call.
    virtual bool NotifyIcon(NotifyAction action, const NotifyIconData& data) = 0;
};

}  // namespace platform
