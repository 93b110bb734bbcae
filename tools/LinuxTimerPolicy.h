// MyTl::LinuxTimerPolicy: the time source of PolicyBasedTimer on Linux: the wall clock of
// gettimeofday in microseconds.
#pragma once

namespace MyTl {

class LinuxTimerPolicy {
 public:
  // seconds x 1000000 + microseconds of the time of day.
  static double GetCurrentTimeInOwnUnits();
  // How many of the policy's units make one millisecond.
  static constexpr double UNITS_PER_MS = 1000.0;
};

}  // namespace MyTl
