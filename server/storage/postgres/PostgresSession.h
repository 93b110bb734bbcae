// Runs statements with text parameters on one borrowed libpq connection and keeps the first
// failure's message. Used by the PostgreSQL store and limiter for the few statements of one
// transaction; lives as long as one lease of the connection.
#pragma once

#include <string>
#include <vector>

#include "PostgresConnectionPool.h"

class PostgresSession {
 public:
  using Rows = std::vector<std::vector<std::string>>;

  // On the lease's connection; when the lease has none, every statement fails with the lease's
  // failure.
  explicit PostgresSession(const PostgresConnectionPool::Lease& lease);

  // Runs `sql` with `params` ($1, $2, ...). Fills `rows` for a query and `affected` with the
  // count of rows changed. False on failure, with error() set.
  bool run(const char* sql, const std::vector<std::string>& params = {}, Rows* rows = nullptr,
           long* affected = nullptr);

  // Ends a failed transaction; its changes are discarded.
  void rollback();

  const std::string& error() const { return failure; }

 private:
  pg_conn* connection;
  std::string failure;
};
