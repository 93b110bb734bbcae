// How many score submissions one client address may make: the interface the request handler
// asks before it looks at a submission. RateLimiter keeps the count in the server's memory (one
// server process); PostgresRateLimiter keeps it in the shared database, so that several
// instances together admit no more than the limit. Shared by the request threads; owned by
// ScoreDatabase (which main or a test holds).
#pragma once

#include <chrono>
#include <string>

#include "StorageResult.h"

class SubmissionLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  enum Verdict {
    ADMITTED,
    REFUSED,
  };

  virtual ~SubmissionLimiter() = default;

  // Whether a submission from `address` at `now` is admitted; an admitted one is counted. A
  // failed result (the database could not read or write the count) neither admits nor refuses.
  // (Limiters that share a database use the database's clock instead of `now`.)
  virtual StorageResult<Verdict> admit(const std::string& address, Clock::time_point now) = 0;
};
