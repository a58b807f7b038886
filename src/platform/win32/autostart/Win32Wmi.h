#pragma once
// WMI of the real system, through wbemprox's IWbemLocator. COM is started for each call on the
// calling thread, and WMI's libraries are loaded only then.
#include "platform/Wmi.h"

namespace platform::win32 {

class Win32Wmi : public Wmi {
public:
    std::vector<WmiEventConsumer> EventConsumers() override;
};

}  // namespace platform::win32
