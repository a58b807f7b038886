#include "platform/win32/ui/Win32Timer.h"

#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

static_assert(kLongestTimerPeriod == USER_TIMER_MAXIMUM, "the portable limit is the system's");
static_assert(kBackspaceKey == VK_BACK, "the portable key is the system's");

Win32Timer::Win32Timer(Win32Window& form, std::string name, UINT_PTR id)
    : TimerBase(std::move(name)), form_(form), id_(id) {}

Win32Timer::~Win32Timer() {
    if (running_ && form_.Handle()) ::KillTimer(form_.Handle(), id_);
}

void Win32Timer::Changed() {
    HWND window = form_.Handle();
    if (!window) return;
    if (Armed()) {
        // SetTimer with the same id starts the period afresh.
        running_ = ::SetTimer(window, id_, Interval(), nullptr) != 0;
    } else if (running_) {
        ::KillTimer(window, id_);
        running_ = false;
    }
}

void Win32Timer::Tick() {
    if (running_) form_.Fire(OnTimer);
}

}  // namespace platform::win32
