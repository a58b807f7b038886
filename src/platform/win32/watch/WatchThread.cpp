#include "platform/win32/watch/WatchThread.h"

#include <process.h>

namespace platform::win32 {

WatchThread::WatchThread(std::vector<Place> places, ChangeSignal& signal)
    : signal_(signal),
      stop_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      armed_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    for (auto& place : places) {
        places_.push_back(std::make_unique<PlaceNotification>(std::move(place.place)));
        asked_.push_back(std::move(place.asked));
    }
    if (!stop_ || !armed_) return;
    // _beginthreadex rather than CreateThread: the thread uses the C runtime.
    thread_.Reset(reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, 0, &WatchThread::Run, this, 0, nullptr)));
}

WatchThread::~WatchThread() {
    if (!thread_) return;
    ::SetEvent(stop_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
}

std::vector<bool> WatchThread::WaitUntilArmed() {
    if (!thread_) return {};
    const HANDLE events[] = {armed_.get(), thread_.get()};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) return {};
    return armedPlaces_;
}

unsigned __stdcall WatchThread::Run(void* self) {
    auto& thread = *static_cast<WatchThread*>(self);
    try {
        thread.Watch();
    } catch (...) {
        // Out of memory while arming: the watch is lost, which is a change, not a silence.
        thread.signal_.RaiseUnplaced();
    }
    return 0;
}

void WatchThread::Watch() {
    armedPlaces_.reserve(places_.size());
    for (const auto& place : places_) armedPlaces_.push_back(place->Arm());
    ::SetEvent(armed_.get());

    std::vector<HANDLE> handles;
    std::vector<std::size_t> owners;
    for (;;) {
        handles.assign(1, stop_.get());
        owners.assign(1, 0);
        for (std::size_t i = 0; i < places_.size(); ++i) {
            for (HANDLE h : {places_[i]->PlaceHandle(), places_[i]->AboveHandle()}) {
                if (!h) continue;
                handles.push_back(h);
                owners.push_back(i);
            }
        }
        const DWORD woke = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                    handles.data(), FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0) return;
        const DWORD index = woke - WAIT_OBJECT_0;
        if (index >= handles.size()) {
            // The wait itself failed: nothing here can be trusted to fire again.
            signal_.RaiseUnplaced();
            return;
        }
        // Armed again before the change is told, so that a change after the caller's read
        // fires the new notification. One that cannot be armed again is a lost watch: the
        // caller reads everything and watches anew.
        const std::size_t owner = owners[index];
        if (places_[owner]->Arm()) {
            signal_.Raise(asked_[owner]);
        } else {
            signal_.RaiseUnplaced();
        }
    }
}

}  // namespace platform::win32
