// The parse time limit of one sentence. The CFG parser sets the limit at
// engine set-up and the start when the chart parse of a sentence begins; the
// constraint solver's timed operations ask ParseTimeExceeded. Everything
// counts milliseconds of the monotonic clock (platform/clock.h).
#pragma once

#include <cstdint>

// Milliseconds allowed for one sentence. Until it is set, INT32_MAX.
extern int32_t ParseTimeLimit;
// ParseClock() when the current sentence's parse started.
extern int64_t ParseStartTime;

// Milliseconds of the monotonic clock.
int64_t ParseClock();

// ParseClock() - ParseStartTime > ParseTimeLimit.
bool ParseTimeExceeded();
