#include "platform/sim/autostart/SimWmi.h"

#include <vector>

namespace platform::sim {

namespace {

class ScriptedWmi : public SimWmi {
public:
    void AddEventConsumer(WmiEventConsumer consumer) override {
        consumers_.push_back(std::move(consumer));
    }
    std::vector<WmiEventConsumer> EventConsumers() override { return consumers_; }

private:
    std::vector<WmiEventConsumer> consumers_;
};

}  // namespace

std::unique_ptr<SimWmi> MakeSimWmi() { return std::make_unique<ScriptedWmi>(); }

}  // namespace platform::sim
