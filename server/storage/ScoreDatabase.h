// ScoreDatabase: the database that one --db location names, opened, with the score store and the
// submission limiter over it (ScoreStore is the interface of the score tables themselves). An SQLite file path (the default: no set-up, one server process, the limit
// counted in memory) or a PostgreSQL connection URI (postgresql://user@host:port/db or
// postgres://...: several instances share the tables and the limit). Owned by main, a test or
// the load benchmark, for as long as the server's handler uses what it opened.
#pragma once

#include <memory>
#include <string>

#include "ScoreStore.h"
#include "SubmissionLimiter.h"

class PostgresConnectionPool;

class ScoreDatabase {
 public:
  // Connections a PostgreSQL store keeps at most: one per request thread, and one more for the
  // limiter's turn while a thread stores.
  static constexpr int POSTGRES_CONNECTIONS = 8;

  ScoreDatabase();
  ~ScoreDatabase();
  ScoreDatabase(const ScoreDatabase&) = delete;
  ScoreDatabase& operator=(const ScoreDatabase&) = delete;

  // Whether `location` is a PostgreSQL connection URI rather than a file path.
  static bool isPostgresUri(const std::string& location);

  // Opens the store at `location` with a limit of `submitLimit` per address and minute (0: no
  // limit), once per ScoreDatabase. False with `error` when the database cannot be opened or used.
  bool open(const std::string& location, int submitLimit, std::string& error);

  // Valid after a successful open().
  ScoreStore& store();
  SubmissionLimiter& limiter();

 private:
  std::unique_ptr<PostgresConnectionPool> pool;
  std::unique_ptr<ScoreStore> scores;
  std::unique_ptr<SubmissionLimiter> limit;
};
