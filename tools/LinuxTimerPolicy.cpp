// MyTl::LinuxTimerPolicy over gettimeofday.
#include "LinuxTimerPolicy.h"

#include <sys/time.h>

namespace MyTl {

double LinuxTimerPolicy::GetCurrentTimeInOwnUnits() {
  timeval now;
  gettimeofday(&now, nullptr);
  return static_cast<double>(now.tv_sec) * 1000000.0 + static_cast<double>(now.tv_usec);
}

}  // namespace MyTl
