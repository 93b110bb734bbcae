// IntTimer: the wall clock from gettimeofday.
#include "IntTimer.h"

#include <cstdint>
#include <sys/time.h>

int IntTimer::getGlobalTimeInMs() {
  timeval now;
  gettimeofday(&now, nullptr);
  return millisecondsOf(now.tv_sec, now.tv_usec);
}

int IntTimer::millisecondsOf(long long seconds, long long microseconds) {
  // Unsigned 32-bit arithmetic wraps without undefined behaviour; the cast back to int takes
  // the two's-complement value.
  std::uint32_t ms = static_cast<std::uint32_t>(seconds) * 1000u + static_cast<std::uint32_t>(microseconds / 1000);
  return static_cast<int>(static_cast<std::int32_t>(ms));
}
