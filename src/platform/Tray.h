#pragma once
// The program's icon in the notification area: what it reports and what it can show.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

enum class TrayEvent {
    DoubleClick,      // the left button, twice
    ContextMenu,      // the right button released over the icon
    BalloonClicked,   // the user clicked the balloon on show
    BalloonTimedOut,  // the balloon went by itself (or was closed with its cross)
};

// The longest texts the notification area shows; longer ones are cut to these.
constexpr std::size_t kTrayTipLimit = 127;
constexpr std::size_t kBalloonTitleLimit = 63;
constexpr std::size_t kBalloonTextLimit = 255;

// One icon of one window, with the program's icon image and a tip. While added it stays in the
// notification area, also across a restart of the shell, which forgets every icon: it is put
// back then by itself. Removed when it dies.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Puts the icon into the notification area; false when the shell refused it now (it is
    // still put back when the shell restarts).
    virtual bool Add() = 0;
    // Takes it out; nothing when it was not added.
    virtual void Remove() = 0;
    virtual bool Added() const = 0;
    // An information balloon over the icon, shown for at most timeoutMs milliseconds.
    virtual bool ShowBalloon(const std::string& title, const std::string& text,
                             std::uint32_t timeoutMs) = 0;
    // The event arrives through the message loop as if the icon had reported it.
    virtual void PostEvent(TrayEvent event) = 0;

    // Runs for each event the icon reports, inside the window's message handling.
    std::function<void(TrayEvent event)> OnEvent;
};

}  // namespace platform
