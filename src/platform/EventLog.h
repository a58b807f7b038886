#pragma once
// The Windows event log's Application log, written under an event source of the program's own.
// A source's messages come from the message table of the file registered for it; the events
// carry only their id, type and insertion strings.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The numbers Windows gives these types (EVENTLOG_ERROR_TYPE, _WARNING_, _INFORMATION_).
enum class EventType : std::uint16_t { Error = 1, Warning = 2, Information = 4 };

class EventWriter {
public:
    virtual ~EventWriter() = default;
    // One event with its insertion strings (ANSI) in order; false when the log refused it.
    virtual bool Write(EventType type, std::uint32_t id, const std::vector<std::string>& strings) = 0;
};

class EventLog {
public:
    virtual ~EventLog() = default;
    // A writer for the source; null when the log cannot be opened for it (the reason in error).
    virtual std::unique_ptr<EventWriter> Open(const std::string& source, std::string& error) = 0;
};

}  // namespace platform
