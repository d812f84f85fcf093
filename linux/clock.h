// The hack's clock.
#pragma once

#include <cstdint>

// A monotonic clock in milliseconds, wrapping like the Windows tick count:
// the scene's clocks and the frame-rate meter's.
uint32_t MonotonicMilliseconds();
