// The global score tables in a PostgreSQL database, for several server instances behind a
// proxy: every instance is stateless and ranks against the one shared table. Stores of one mode
// take turns through an advisory lock held for their transaction, so that ids follow the order
// of the inserts whichever instance makes them and a new score ranks below every equal score
// already stored, exactly as on SQLite. Creates its tables (and those of PostgresRateLimiter)
// and the schema version when missing. Owned by ScoreStorage; the pool outlives it.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "PostgresConnectionPool.h"
#include "ScoreStore.h"

class PostgresScoreStore : public ScoreStore {
 public:
  explicit PostgresScoreStore(PostgresConnectionPool& pool);

  // Connects, creates the tables when missing and checks the schema version. False with
  // `error` when the database cannot be reached or carries a newer schema version.
  bool open(std::string& error);

  bool topScores(int gameMode, int maxResults, std::vector<Entry>& entries) override;
  int addScore(int gameMode, const std::string& name, int score) override;
  int count(int gameMode) override;
  std::string lastError() override;

 private:
  void noteFailure(const std::string& message);

  PostgresConnectionPool& pool;
  std::mutex lock;
  std::string failure;
};
