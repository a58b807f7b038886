#pragma once
// The auto-scan interval: seconds typed in the Options window, milliseconds for the timer.
#include <cstdint>
#include <string>

namespace zorvik {

// The seconds the interval box spells; a text that is no whole number (an emptied box) is 0.
int IntervalSecondsOf(const std::string& text);

// The timer's period for an interval: 0 (no timer) for none or a negative one, and no longer
// than the system allows (platform::kLongestTimerPeriod).
std::uint32_t TimerPeriodOf(int seconds);

}  // namespace zorvik
