#pragma once
// The Application log through RegisterEventSourceA and ReportEventA of advapi32.
#include "platform/EventLog.h"

namespace platform::win32 {

class Win32EventLog : public EventLog {
public:
    std::unique_ptr<EventWriter> Open(const std::string& source, std::string& error) override;
};

}  // namespace platform::win32
