#pragma once
// The one door from the portable core to the operating system. Each group is a separate
// interface; an implementation (win32, or the simulated system) hands out all of them.
#include "platform/Accounts.h"
#include "platform/BackgroundTransfers.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/EventLog.h"
#include "platform/FileFacts.h"
#include "platform/Files.h"
#include "platform/MessageListener.h"
#include "platform/PlaceWatch.h"
#include "platform/Processes.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Sockets.h"
#include "platform/Tasks.h"
#include "platform/Wmi.h"

#include <functional>
#include <memory>
#include <optional>

namespace platform {

class Shell;
class Ui;

class System {
public:
    virtual ~System() = default;
    virtual Registry& registry() = 0;
    virtual Files& files() = 0;
    virtual Profile& profile() = 0;
    virtual Accounts& accounts() = 0;
    virtual Processes& processes() = 0;
    virtual Sockets& sockets() = 0;
    // Windowing and shell services (declared in their own headers).
    virtual Shell& shell() = 0;
    virtual Ui& ui() = 0;
    // Size, hash, version strings and signature of a file; null where the system gives none.
    virtual FileFacts* fileFacts() { return nullptr; }
    // The running program's environment variables; null where the system gives none (texts
    // are then taken as written).
    virtual Environment* environment() { return nullptr; }
    // A new watch on start-up places, owned by the caller; it must not outlive this system.
    // Null where the system gives none.
    virtual std::unique_ptr<PlaceWatch> NewPlaceWatch() { return nullptr; }
    // The Task Scheduler's registered tasks; null where the system gives none.
    virtual Tasks* tasks() { return nullptr; }
    // WMI's permanent event consumers; null where the system gives none.
    virtual Wmi* wmi() { return nullptr; }
    // BITS' transfer jobs; null where the system gives none.
    virtual BackgroundTransfers* transfers() { return nullptr; }
    // The Windows event log; null where the system has none.
    virtual EventLog* eventLog() { return nullptr; }
    // The time now; none where the system gives no clock.
    virtual std::optional<UtcTime> UtcNow() { return std::nullopt; }
    // While the token lives, Ctrl+C and Ctrl+Break in the program's console call onBreak
    // instead of ending the program. It runs on a thread of the system's own, at any moment:
    // it should only set a flag or wake a wait (PlaceWatch::Wake). An empty token where the
    // system has no such keys. The token must not outlive the system.
    virtual ListenerToken OnConsoleBreak(std::function<void()> onBreak) {
        (void)onBreak;
        return {};
    }
};

// The system this build runs on: the real one in the Windows build, a fresh simulated one
// in the native build.
std::unique_ptr<System> CreateSystem();

// First thing at a program's start, before it loads any library: from then on libraries are
// looked for in the system folder only, never beside the program or in the current folder.
// Nothing where the system has no such search (the simulated one).
void KeepLibrarySearchInSystemFolder();
}  // namespace platform
