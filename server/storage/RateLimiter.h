// The submission limit of a single server process, in its memory: at most `limit` admitted
// from one address within any `window` (a sliding window); further ones are refused until the
// oldest admitted one has left the window. A limit of 0 admits everything. Shared by the
// request threads (internally locked); the caller passes the current time, so tests can drive
// the clock.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

#include "SubmissionLimiter.h"

class RateLimiter : public SubmissionLimiter {
 public:
  explicit RateLimiter(int limit, Clock::duration window = std::chrono::seconds(60));

  // ADMITTED or REFUSED; never fails.
  StorageResult<Verdict> admit(const std::string& address, Clock::time_point now) override;

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
