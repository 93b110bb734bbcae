// MyTl::Lock: holds a Mutex for the lifetime of a scope (the frame, a touch, a menu action).
// The lock refers to the mutex but does not own it; the mutex must outlive the lock.
#pragma once

#include "Mutex.h"

namespace MyTl {

class Lock {
 public:
  // Locks `m` now when lockNow is true; otherwise neither locks nor (later) unlocks.
  explicit Lock(Mutex& m, bool lockNow = true) : mutex(m) {
    if (lockNow) {
      mutex.lock();
      holding = true;
    }
  }
  // Unlocks the mutex if this lock holds it.
  ~Lock() {
    if (holding) mutex.unlock();
  }

  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  bool holdsLock() const { return holding; }

 private:
  Mutex& mutex;
  bool holding = false;
};

}  // namespace MyTl
