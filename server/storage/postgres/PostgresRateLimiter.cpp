// The shared submission limit over PostgreSQL.
#include "PostgresRateLimiter.h"

#include "PostgresSession.h"

PostgresRateLimiter::PostgresRateLimiter(PostgresConnectionPool& connectionPool, int maxPerWindow, int window)
    : pool(connectionPool), limit(maxPerWindow), windowSeconds(window) {}

StorageResult<SubmissionLimiter::Verdict> PostgresRateLimiter::admit(const std::string& address, Clock::time_point) {
  if (limit <= 0) return ADMITTED;
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
  const std::string window = std::to_string(windowSeconds);
  long inserted = 0;
  // The address's lock makes the count and the insert one step across every instance.
  bool counted =
      session.run("BEGIN") &&
      session.run("SELECT pg_advisory_xact_lock(1350070274, hashtext($1))", {address}) &&
      session.run("DELETE FROM recent_submissions WHERE address = $1 "
                  "AND submitted_at <= clock_timestamp() - make_interval(secs => $2::integer)",
                  {address, window}) &&
      session.run("INSERT INTO recent_submissions(address, submitted_at) SELECT $1, clock_timestamp() "
                  "WHERE (SELECT COUNT(*) FROM recent_submissions WHERE address = $1) < $2::integer",
                  {address, std::to_string(limit)}, nullptr, &inserted) &&
      session.run("COMMIT");
  if (counted && ++calls % 256 == 0) {
    // Addresses that went quiet leave their rows behind: sweep them now and then. A failed
    // sweep is tried again later; the verdict stands.
    session.run("DELETE FROM recent_submissions "
                "WHERE submitted_at <= clock_timestamp() - make_interval(secs => $1::integer)",
                {window});
  }
  if (!counted) {
    StorageFailure why{session.error()};
    session.rollback();
    return why;
  }
  return inserted == 1 ? ADMITTED : REFUSED;
}
