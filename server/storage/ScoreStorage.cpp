// Opening the storage named by --db.
#include "ScoreStorage.h"

#include "PostgresConnectionPool.h"
#include "PostgresRateLimiter.h"
#include "PostgresScoreStore.h"
#include "RateLimiter.h"
#include "SqliteScoreStore.h"

ScoreStorage::ScoreStorage() = default;

// The store and the limiter go before the pool they borrow from.
ScoreStorage::~ScoreStorage() {
  limit.reset();
  scores.reset();
  pool.reset();
}

bool ScoreStorage::isPostgresUri(const std::string& location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

bool ScoreStorage::open(const std::string& location, int submitLimit, std::string& error) {
  limit.reset();
  scores.reset();
  pool.reset();
  if (isPostgresUri(location)) {
    pool = std::make_unique<PostgresConnectionPool>(location, POSTGRES_CONNECTIONS);
    auto store = std::make_unique<PostgresScoreStore>(*pool);
    if (!store->open(error)) {
      pool.reset();
      return false;
    }
    scores = std::move(store);
    limit = std::make_unique<PostgresRateLimiter>(*pool, submitLimit);
    return true;
  }
  auto store = std::make_unique<SqliteScoreStore>();
  if (!store->open(location, error)) return false;
  scores = std::move(store);
  limit = std::make_unique<RateLimiter>(submitLimit);
  return true;
}
