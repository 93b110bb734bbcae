// MyTl::PolicyBasedTimer: measures elapsed wall-clock time for time-outs (the thread's stop
// wait). `Policy` supplies GetCurrentTimeInOwnUnits() and UNITS_PER_MS. A clock that is set
// back, or jumps ahead by more than about a year, restarts the timer instead of giving a
// nonsense duration.
#pragma once

namespace MyTl {

template <class Policy>
class PolicyBasedTimer {
 public:
  // Starts at the current time.
  PolicyBasedTimer() : startTime(Policy::GetCurrentTimeInOwnUnits()) {}

  // Starts again at the current time.
  void restart() { startTime = Policy::GetCurrentTimeInOwnUnits(); }

  // Milliseconds since the start. When that is negative or above 3e10 the start is reset to
  // now and 0 is returned.
  double TimePassedInMs() {
    double now = Policy::GetCurrentTimeInOwnUnits();
    double elapsed = (now - startTime) / Policy::UNITS_PER_MS;
    if (elapsed < 0.0 || elapsed > 3e10) {
      startTime = now;
      return 0.0;
    }
    return elapsed;
  }

 private:
  double startTime;
};

}  // namespace MyTl
