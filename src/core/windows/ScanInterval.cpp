#include "core/windows/ScanInterval.h"

#include "core/base/Errors.h"
#include "core/base/IntText.h"
#include "platform/Widgets.h"

namespace zorvik {

int IntervalSecondsOf(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const AppError&) {
        return 0;
    }
}

std::uint32_t TimerPeriodOf(int seconds) {
    if (seconds <= 0) return 0;
    const std::uint64_t milliseconds = static_cast<std::uint64_t>(seconds) * 1000u;
    return milliseconds > platform::kLongestTimerPeriod ? platform::kLongestTimerPeriod
                                                        : static_cast<std::uint32_t>(milliseconds);
}

}  // namespace zorvik
