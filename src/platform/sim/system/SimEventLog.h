#pragma once
// The simulated event log: it keeps every event written, for the tests to read back, and can
// be made to refuse opening or writing.
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLog.h"

namespace platform::sim {

struct LoggedEvent {
    std::string source;
    EventType type = EventType::Information;
    std::uint32_t id = 0;
    std::vector<std::string> strings;
};

class SimEventLog : public EventLog {
public:
    virtual const std::vector<LoggedEvent>& Events() const = 0;
    virtual void RefuseOpening(bool refuse) = 0;
    virtual void RefuseWrites(bool refuse) = 0;
};

std::unique_ptr<SimEventLog> MakeSimEventLog();

}  // namespace platform::sim
