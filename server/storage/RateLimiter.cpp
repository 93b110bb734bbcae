// Sliding-window submission limit per address.
#include "RateLimiter.h"

RateLimiter::RateLimiter(int maxPerWindow, Clock::duration windowLength) : limit(maxPerWindow), window(windowLength) {}

StorageResult<SubmissionLimiter::Verdict> RateLimiter::admit(const std::string& address, Clock::time_point now) {
  if (limit <= 0) return ADMITTED;
  std::lock_guard<std::mutex> guard(lock);
  // Without an occasional sweep, every address ever seen would stay in memory.
  if (++calls % 1024 == 0) sweep(now);
  std::deque<Clock::time_point>& times = recent[address];
  while (!times.empty() && now - times.front() >= window) times.pop_front();
  if (times.size() >= static_cast<size_t>(limit)) return REFUSED;
  times.push_back(now);
  return ADMITTED;
}

size_t RateLimiter::trackedAddresses() {
  std::lock_guard<std::mutex> guard(lock);
  return recent.size();
}

void RateLimiter::sweep(Clock::time_point now) {
  for (auto it = recent.begin(); it != recent.end();) {
    if (it->second.empty() || now - it->second.back() >= window) {
      it = recent.erase(it);
    } else {
      ++it;
    }
  }
}
