#include "core/parse_clock.h"

#include <limits>

#include "platform/clock.h"

int32_t ParseTimeLimit = std::numeric_limits<int32_t>::max();
int64_t ParseStartTime = 0;

int64_t ParseClock() { return MonotonicMilliseconds(); }

bool ParseTimeExceeded() { return ParseClock() - ParseStartTime > ParseTimeLimit; }
