#pragma once
// The program's event source in the Application log: registered under the EventLog service's
// key with the file whose message table holds the events' texts (zorvikc.exe itself). Both the
// registration and its removal write below HKEY_LOCAL_MACHINE, which needs administrator rights.
#include <memory>
#include <string>

#include "core/eventlog/FindingEvents.h"
#include "platform/System.h"

namespace zorvik {

inline constexpr const char* kEventSourceName = "Zorvik";
inline constexpr const char* kEventSourceKey =
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Zorvik";

enum class SourceChange {
    Done,       // registered, or removed
    Unchanged,  // removing a source that was not registered
    Refused     // the registry refused the change: not an administrator
};

SourceChange InstallEventSource(platform::System& sys, const std::string& messageFile);
SourceChange UninstallEventSource(platform::System& sys);
bool EventSourceInstalled(platform::System& sys);

// The findings' way into the log, open for a whole scan or watch. When it cannot be (no event
// log, the source not registered, the log refusing it) Problem() says why and nothing is
// written; the findings still go to the report.
class FindingEventFeed {
public:
    explicit FindingEventFeed(platform::System& sys);
    bool Ready() const { return writer_ != nullptr; }
    // Why the feed is not ready, or why the last write failed; empty while all went well.
    const std::string& Problem() const { return problem_; }
    // False when the feed is not ready or the log refused the event.
    bool Write(const FindingEvent& event);

private:
    std::unique_ptr<platform::EventWriter> writer_;
    std::string problem_;
};

}  // namespace zorvik
