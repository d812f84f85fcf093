// The hack's clock.
#pragma once

#include <cstdint>

// A monotonic clock in microseconds: the frame loop's wall time.
int64_t MonotonicMicroseconds();

// The same clock in milliseconds, wrapping like the Windows tick count.
uint32_t MonotonicMilliseconds();
