#include "platform/win32/watch/ChangeSignal.h"

namespace platform::win32 {

ChangeSignal::ChangeSignal()
    : changed_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      wake_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

void ChangeSignal::Raise(const std::string& identity) {
    CriticalSection::Lock lock(lock_);
    Raised(pending_.Add(identity));
}

void ChangeSignal::RaiseUnplaced() {
    CriticalSection::Lock lock(lock_);
    Raised(pending_.AddUnplaced());
}

// Under the lock.
void ChangeSignal::Raised(bool first) {
    if (!first) return;
    ::SetEvent(changed_.get());
    if (window_) ::PostMessageA(window_, message_, 0, 0);
}

void ChangeSignal::SetPlaces(const std::vector<WatchedPlace>& places) {
    CriticalSection::Lock lock(lock_);
    pending_.SetPlaces(places);
}

PlaceChanges ChangeSignal::Take() {
    CriticalSection::Lock lock(lock_);
    if (!pending_.Pending()) return {};
    ::ResetEvent(changed_.get());
    return pending_.Take();
}

PlaceChanges ChangeSignal::Wait(DWORD timeoutMs) {
    if (PlaceChanges changes = Take()) return changes;
    const HANDLE events[] = {changed_.get(), wake_.get()};
    ::WaitForMultipleObjects(2, events, FALSE, timeoutMs);
    return Take();
}

void ChangeSignal::PostTo(HWND window, UINT message) {
    CriticalSection::Lock lock(lock_);
    window_ = window;
    message_ = message;
    if (pending_.Pending() && window_) ::PostMessageA(window_, message_, 0, 0);
}

}  // namespace platform::win32
