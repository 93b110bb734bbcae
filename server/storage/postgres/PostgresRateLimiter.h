// The submission limit kept in the PostgreSQL database that several server instances share: a
// table of recent submissions per address, read and extended under an advisory lock of the
// address and pruned as it goes, so that all instances together admit at most `limit` within
// any minute from one address. The database's clock decides the window, so instances on
// machines whose clocks differ still agree. Owned by ScoreDatabase; the pool outlives it.
#pragma once

#include <atomic>
#include <string>

#include "PostgresConnectionPool.h"
#include "SubmissionLimiter.h"

class PostgresRateLimiter : public SubmissionLimiter {
 public:
  // `limit` 0 admits everything without asking the database. The table is created with the
  // score tables (ScoreSchema), when PostgresScoreStore::open sets the database up.
  PostgresRateLimiter(PostgresConnectionPool& pool, int limit, int windowSeconds = 60);

  StorageResult<Verdict> admit(const std::string& address, Clock::time_point now) override;

 private:
  PostgresConnectionPool& pool;
  const int limit;
  const int windowSeconds;
  std::atomic<unsigned> calls{0};
};
