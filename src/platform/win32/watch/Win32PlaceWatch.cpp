#include "platform/win32/watch/Win32PlaceWatch.h"

#include <algorithm>
#include <string>

#include "platform/Widgets.h"
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

class Win32PlaceWatch : public PlaceWatch {
public:
    std::size_t Watch(const std::vector<WatchedPlace>& places) override {
        const auto expanded = shared::ExpandPlaces(places, WindowsDirectory());
        std::vector<std::unique_ptr<WatchThread>> threads;
        for (std::size_t first = 0; first < expanded.size(); first += WatchThread::kPlacesPerThread) {
            const std::size_t last = std::min(expanded.size(), first + WatchThread::kPlacesPerThread);
            threads.push_back(std::make_unique<WatchThread>(
                std::vector<WatchedPlace>(expanded.begin() + first, expanded.begin() + last), signal_));
        }
        std::size_t watched = 0;
        for (const auto& thread : threads) watched += thread->WaitUntilArmed();
        // Only now do the old threads end, so no change falls between the two sets.
        threads_.swap(threads);
        return watched;
    }

    bool WaitForChange(std::uint32_t timeoutMs) override { return signal_.Wait(timeoutMs); }
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
