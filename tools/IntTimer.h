// IntTimer: the game's wall clock in int milliseconds. The shell hands it to the game clock,
// which reads it at every frame and input; only differences of its values mean anything, because the value wraps around in
// 32-bit arithmetic (every 49.7 days).
#pragma once

class IntTimer {
 public:
  // seconds x 1000 + microseconds / 1000 of the time of day, wrapped to 32 bits. Thread-safe.
  static int getGlobalTimeInMs();

  // The real clock's value for the given time of day (the wrapping arithmetic on its own).
  static int millisecondsOf(long long seconds, long long microseconds);
};
