// StopSignals: SIGINT, SIGTERM and SIGHUP end the game the normal way. The signals are blocked
// in every thread of the process and received by a thread of their own, which sets a flag and
// wakes the main loop, so that the loop can sleep until its next event without missing one.
// Started by the application at the very start of launch, before any other thread exists (a
// thread inherits the blocked signals of the thread that starts it); stopped at shut-down.
#pragma once

#include <atomic>
#include <thread>

class StopSignals {
 public:
  StopSignals() = default;
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Blocks the three signals and starts waiting for them; `wake` (called on the waiting thread)
  // must wake the main loop. False when the thread could not be started.
  bool start(void (*wake)());
  // Whether one of the signals has arrived.
  bool received() const { return arrived.load(); }
  // Ends the waiting thread (the signals stay blocked).
  void stop();

 private:
  void waitForSignals();

  std::thread waiter;
  void (*wakeLoop)() = nullptr;
  std::atomic<bool> arrived{false};
  std::atomic<bool> stopping{false};
};
