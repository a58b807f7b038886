#pragma once
// The simulated WMI repository: the event consumers a test puts into root\subscription.
#include <memory>

#include "platform/Wmi.h"

namespace platform::sim {

class SimWmi : public Wmi {
public:
    virtual void AddEventConsumer(WmiEventConsumer consumer) = 0;
};

std::unique_ptr<SimWmi> MakeSimWmi();

}  // namespace platform::sim
