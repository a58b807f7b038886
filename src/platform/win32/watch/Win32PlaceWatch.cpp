#include "platform/win32/watch/Win32PlaceWatch.h"

#include <algorithm>
#include <string>

#include "platform/Widgets.h"
#include "platform/shared/PendingPlaceChanges.h"
#include "platform/shared/WatchedPlacePaths.h"
#include "platform/win32/watch/ChangeSignal.h"
#include "platform/win32/watch/WatchThread.h"

namespace platform::win32 {

namespace {

std::string WindowsDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string("C:\\WINDOWS");
}

static_assert(kWaitForever == INFINITE, "the portable wait without end is the system's");

class Win32PlaceWatch : public PlaceWatch {
public:
    std::size_t Watch(const std::vector<WatchedPlace>& places) override {
        const auto toArm = shared::ExpandPlaces(places, WindowsDirectory());
        std::vector<std::unique_ptr<WatchThread>> threads;
        for (std::size_t first = 0; first < toArm.size(); first += WatchThread::kPlacesPerThread) {
            const std::size_t last = std::min(toArm.size(), first + WatchThread::kPlacesPerThread);
            std::vector<WatchThread::Place> group;
            for (std::size_t i = first; i < last; ++i)
                group.push_back({toArm[i].place, shared::PlaceIdentity(places[toArm[i].asked])});
            threads.push_back(std::make_unique<WatchThread>(std::move(group), signal_));
        }
        std::vector<bool> armed;
        for (const auto& thread : threads) {
            const auto armedInThread = thread->WaitUntilArmed();
            armed.insert(armed.end(), armedInThread.begin(), armedInThread.end());
        }
        // Only now do the old threads end, so no change falls between the two sets; what they
        // still raise counts under the places' indexes in the new set.
        signal_.SetPlaces(places);
        threads_.swap(threads);
        return shared::CountWatched(toArm, armed);
    }

    PlaceChanges WaitForChange(std::uint32_t timeoutMs) override { return signal_.Wait(timeoutMs); }
    void Wake() override { signal_.Wake(); }

    void NotifyWindow(Window* window, std::uint32_t message) override {
        signal_.PostTo(window ? static_cast<HWND>(window->NativeHandle()) : nullptr, message);
    }

private:
    ChangeSignal signal_;
    // After the signal, so that every thread has ended before the signal goes.
    std::vector<std::unique_ptr<WatchThread>> threads_;
};

}  // namespace

std::unique_ptr<PlaceWatch> CreateWin32PlaceWatch() { return std::make_unique<Win32PlaceWatch>(); }

}  // namespace platform::win32
