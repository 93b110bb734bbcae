// Opening the storage named by --db.
#include "ScoreDatabase.h"

#include <cstdio>
#include <cstdlib>

#include "PostgresConnectionPool.h"
#include "PostgresRateLimiter.h"
#include "PostgresScoreStore.h"
#include "RateLimiter.h"
#include "SqliteScoreStore.h"

namespace {

[[noreturn]] void contractBroken(const char* condition) {
  std::fprintf(stderr, "ScoreDatabase: %s\n", condition);
  std::abort();
}

}  // namespace

ScoreDatabase::ScoreDatabase() = default;

// The store and the limiter go before the pool they borrow from.
ScoreDatabase::~ScoreDatabase() {
  limit.reset();
  scores.reset();
  pool.reset();
}

bool ScoreDatabase::isPostgresUri(const std::string& location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

bool ScoreDatabase::open(const std::string& location, int submitLimit, std::string& error) {
  if (scores != nullptr) contractBroken("open() called on a storage that is already open");
  if (isPostgresUri(location)) {
    auto connections = std::make_unique<PostgresConnectionPool>(location, POSTGRES_CONNECTIONS);
    auto opened = PostgresScoreStore::open(*connections);
    if (!opened) {
      error = opened.error();
      return false;
    }
    pool = std::move(connections);
    scores = std::move(opened.value());
    limit = std::make_unique<PostgresRateLimiter>(*pool, submitLimit);
    return true;
  }
  auto opened = SqliteScoreStore::open(location);
  if (!opened) {
    error = opened.error();
    return false;
  }
  scores = std::move(opened.value());
  limit = std::make_unique<RateLimiter>(submitLimit);
  return true;
}

ScoreStore& ScoreDatabase::store() {
  if (scores == nullptr) contractBroken("store() used before a successful open()");
  return *scores;
}

SubmissionLimiter& ScoreDatabase::limiter() {
  if (limit == nullptr) contractBroken("limiter() used before a successful open()");
  return *limit;
}
