#include "platform/win32/watch/ChangeSignal.h"

namespace platform::win32 {

ChangeSignal::ChangeSignal()
    : changed_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      wake_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

void ChangeSignal::Raise() {
    CriticalSection::Lock lock(lock_);
    if (pending_) return;
    pending_ = true;
    ::SetEvent(changed_.get());
    if (window_) ::PostMessageA(window_, message_, 0, 0);
}

bool ChangeSignal::Take() {
    CriticalSection::Lock lock(lock_);
    if (!pending_) return false;
    pending_ = false;
    ::ResetEvent(changed_.get());
    return true;
}

bool ChangeSignal::Wait(DWORD timeoutMs) {
    if (Take()) return true;
    const HANDLE events[] = {changed_.get(), wake_.get()};
    ::WaitForMultipleObjects(2, events, FALSE, timeoutMs);
    return Take();
}

void ChangeSignal::PostTo(HWND window, UINT message) {
    CriticalSection::Lock lock(lock_);
    window_ = window;
    message_ = message;
    if (pending_ && window_) ::PostMessageA(window_, message_, 0, 0);
}

}  // namespace platform::win32
