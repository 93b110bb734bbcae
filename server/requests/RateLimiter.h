// Limits how many score submissions one client address may make: at most `limit` admitted
// within any `window` (a sliding window); further ones are refused until the oldest admitted
// one has left the window. A limit of 0 admits everything. Shared by the request threads
// (internally locked); the caller passes the current time, so tests can drive the clock.
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RateLimiter(int limit, Clock::duration window = std::chrono::seconds(60));

  // Whether a submission from `address` at `now` is admitted; an admitted one is counted.
  bool admit(const std::string& address, Clock::time_point now);

  // How many addresses are being tracked (for tests of the clean-up).
  size_t trackedAddresses();

 private:
  // Forgets addresses whose every submission has left the window.
  void sweep(Clock::time_point now);

  const int limit;
  const Clock::duration window;
  std::mutex lock;
  std::unordered_map<std::string, std::deque<Clock::time_point>> recent;
  unsigned calls = 0;
};
