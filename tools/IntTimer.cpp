// IntTimer: the wall clock from gettimeofday, or a test's time source.
#include "IntTimer.h"

#include <atomic>
#include <cstdint>
#include <sys/time.h>

namespace {

std::atomic<int (*)()> testTimeSource{nullptr};

}  // namespace

int IntTimer::getGlobalTimeInMs() {
  int (*source)() = testTimeSource.load(std::memory_order_acquire);
  if (source != nullptr) return source();
  timeval now;
  gettimeofday(&now, nullptr);
  return millisecondsOf(now.tv_sec, now.tv_usec);
}

void IntTimer::setTimeSourceForTesting(int (*source)()) {
  testTimeSource.store(source, std::memory_order_release);
}

int IntTimer::millisecondsOf(long long seconds, long long microseconds) {
  // Unsigned 32-bit arithmetic wraps without undefined behaviour; the cast back to int takes
  // the two's-complement value.
  std::uint32_t ms = static_cast<std::uint32_t>(seconds) * 1000u + static_cast<std::uint32_t>(microseconds / 1000);
  return static_cast<int>(static_cast<std::int32_t>(ms));
}
