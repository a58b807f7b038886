#pragma once
// The time of day, as the system's clock gives it in UTC (GetSystemTime).
#include <cstdint>

namespace platform {

struct UtcTime {
    int year = 1970;
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const UtcTime&) const = default;
};

}  // namespace platform
