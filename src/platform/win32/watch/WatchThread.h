#pragma once
// A thread that waits on a group of places, as many as one wait takes beside its own stop
// event, and raises the change signal whenever one of them fires. Every notification is
// asked for, and asked for again, on this thread, which outlives them all.
#include "platform/win32/WindowsApi.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/watch/ChangeSignal.h"
#include "platform/win32/watch/PlaceNotification.h"

namespace platform::win32 {

class WatchThread {
public:
    // Each place waits on two handles (see PlaceNotification).
    static constexpr std::size_t kPlacesPerThread = (MAXIMUM_WAIT_OBJECTS - 1) / 2;

    // Each place with the identity (shared::PlaceIdentity) of the place asked for that it
    // serves, which its changes are raised under.
    struct Place {
        WatchedPlace place;
        std::string asked;
    };
    WatchThread(std::vector<Place> places, ChangeSignal& signal);
    // Stops the thread and waits for it to end.
    ~WatchThread();
    WatchThread(const WatchThread&) = delete;
    WatchThread& operator=(const WatchThread&) = delete;

    // Waits until the thread has armed its places; which of them it could arm, in order
    // (none when the thread did not start).
    std::vector<bool> WaitUntilArmed();

private:
    static unsigned __stdcall Run(void* self);
    void Watch();

    std::vector<std::unique_ptr<PlaceNotification>> places_;
    std::vector<std::string> asked_;  // beside places_
    ChangeSignal& signal_;
    UniqueHandle stop_;
    UniqueHandle armed_;
    std::vector<bool> armedPlaces_;  // written before armed_ is set
    UniqueHandle thread_;
};

}  // namespace platform::win32
