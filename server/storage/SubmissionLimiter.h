// How many score submissions one client address may make: the interface the request handler
// asks before it looks at a submission. RateLimiter keeps the count in the server's memory (one
// server process); PostgresRateLimiter keeps it in the shared database, so that several
// instances together admit no more than the limit. Shared by the request threads; owned by
// main (through ScoreStorage) or a test.
#pragma once

#include <chrono>
#include <string>

class SubmissionLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  enum Verdict {
    ADMITTED,
    REFUSED,
    // The count could not be read or written (the database failed): neither admitted nor
    // refused; lastError() says why.
    FAILED,
  };

  virtual ~SubmissionLimiter() = default;

  // Whether a submission from `address` at `now` is admitted; an admitted one is counted.
  // (Limiters that share a database use the database's clock instead of `now`.)
  virtual Verdict admit(const std::string& address, Clock::time_point now) = 0;

  virtual std::string lastError() { return std::string(); }
};
