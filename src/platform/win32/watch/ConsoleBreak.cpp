#include "platform/win32/watch/ConsoleBreak.h"

#include "platform/win32/WindowsApi.h"

#include <utility>
#include <vector>

#include "platform/win32/watch/WatchHandles.h"

namespace platform::win32 {

namespace {

// SetConsoleCtrlHandler takes a plain function without a context, so the handlers are kept
// once for the process; the system calls the routine on a thread of its own.
class Handlers {
public:
    static Handlers& Process() {
        static Handlers handlers;
        return handlers;
    }

    int Add(std::function<void()> onBreak) {
        CriticalSection::Lock lock(section_);
        if (handlers_.empty()) ::SetConsoleCtrlHandler(&Routine, TRUE);
        handlers_.emplace_back(++lastId_, std::move(onBreak));
        return lastId_;
    }

    void Remove(int id) {
        CriticalSection::Lock lock(section_);
        std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
        if (handlers_.empty()) ::SetConsoleCtrlHandler(&Routine, FALSE);
    }

private:
    static BOOL WINAPI Routine(DWORD event) {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
        Handlers& handlers = Process();
        CriticalSection::Lock lock(handlers.section_);
        for (const auto& entry : handlers.handlers_) entry.second();
        return handlers.handlers_.empty() ? FALSE : TRUE;
    }

    CriticalSection section_;
    std::vector<std::pair<int, std::function<void()>>> handlers_;
    int lastId_ = 0;
};

}  // namespace

ListenerToken AddConsoleBreakHandler(std::function<void()> onBreak) {
    const int id = Handlers::Process().Add(std::move(onBreak));
    return ListenerToken([id] { Handlers::Process().Remove(id); });
}

}  // namespace platform::win32
