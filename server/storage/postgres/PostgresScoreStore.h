// The global score tables in a PostgreSQL database, for several server instances behind a
// proxy: every instance is stateless and ranks against the one shared table. Stores of one mode
// take turns through an advisory lock held for their transaction, so that ids follow the order
// of the inserts whichever instance makes them and a new score ranks below every equal score
// already stored, exactly as on SQLite; stores of one submission id take turns through another,
// so that a retry sent to two instances at once is still stored once. Made by ScoreDatabase, whose pool outlives it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "PostgresConnectionPool.h"
#include "ScoreStore.h"

class PostgresScoreStore : public ScoreStore {
 public:
  // Connects, creates the missing tables (those of PostgresRateLimiter too) and checks the
  // schema version. Fails with the reason when the database cannot be reached or carries a
  // newer schema version.
  static StorageResult<std::unique_ptr<PostgresScoreStore>> open(PostgresConnectionPool& pool);

  StorageResult<void> topScores(int gameMode, int maxResults, std::vector<Entry>& entries) override;
  StorageResult<Placement> addScore(int gameMode, const std::string& name, int score,
                                    const std::string& submissionId) override;
  StorageResult<int> count(int gameMode) override;

 private:
  explicit PostgresScoreStore(PostgresConnectionPool& pool);

  PostgresConnectionPool& pool;
};
