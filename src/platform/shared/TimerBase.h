#pragma once
// What every timer keeps, whichever platform makes it tick: its name, its interval and whether
// it is on. A change of either is passed to the platform, which starts the period afresh or
// stops the timer.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/Widgets.h"

namespace platform::shared {

class TimerBase : public Timer {
public:
    explicit TimerBase(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const final { return name_; }
    std::uint32_t Interval() const final { return interval_; }
    void SetInterval(std::uint32_t milliseconds) final {
        if (milliseconds == interval_) return;
        interval_ = milliseconds;
        Changed();
    }
    bool Enabled() const final { return enabled_; }
    void SetEnabled(bool enabled) final {
        if (enabled == enabled_) return;
        enabled_ = enabled;
        Changed();
    }
    // On, with an interval: it ticks.
    bool Armed() const { return enabled_ && interval_ > 0; }

protected:
    virtual void Changed() = 0;

private:
    std::string name_;
    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
};

}  // namespace platform::shared
