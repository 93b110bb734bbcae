// The score store over PostgreSQL.
#include "PostgresScoreStore.h"

#include <ctime>
#include <cstdlib>

#include "PostgresSession.h"

namespace {

// First keys of the advisory locks of this server ("Pxl" and a number): the schema set-up, and
// the inserts of one mode (second key: the mode).
const char* SCHEMA_LOCK = "SELECT pg_advisory_xact_lock(1350070272, 0)";
const char* MODE_LOCK = "SELECT pg_advisory_xact_lock(1350070273, $1::integer)";

}  // namespace

PostgresScoreStore::PostgresScoreStore(PostgresConnectionPool& connectionPool) : pool(connectionPool) {}

bool PostgresScoreStore::open(std::string& error) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease.get(), pool.lastError());
  // Several instances may start at once on a fresh database: one creates, the others wait.
  PostgresSession::Rows rows;
  const bool created =
      session.run("BEGIN") && session.run(SCHEMA_LOCK) &&
      session.run("CREATE TABLE IF NOT EXISTS scores ("
                  "  id BIGSERIAL PRIMARY KEY,"
                  "  game_mode INTEGER NOT NULL,"
                  "  name TEXT NOT NULL,"
                  "  score INTEGER NOT NULL,"
                  "  submitted_at BIGINT NOT NULL)") &&
      session.run("CREATE INDEX IF NOT EXISTS scores_by_rank ON scores(game_mode, score DESC, id)") &&
      session.run("CREATE TABLE IF NOT EXISTS recent_submissions ("
                  "  address TEXT NOT NULL,"
                  "  submitted_at TIMESTAMPTZ NOT NULL)") &&
      session.run("CREATE INDEX IF NOT EXISTS recent_submissions_by_address "
                  "ON recent_submissions(address, submitted_at)") &&
      session.run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)") &&
      session.run("SELECT COALESCE(MAX(version), 0), COUNT(*) FROM schema_version", {}, &rows) && rows.size() == 1;
  if (!created) {
    error = session.error().empty() ? "cannot set up the database" : session.error();
    session.rollback();
    return false;
  }
  const int version = std::atoi(rows[0][0].c_str());
  if (rows[0][1] == "0") {
    if (!session.run("INSERT INTO schema_version(version) VALUES($1::integer)", {std::to_string(SCHEMA_VERSION)})) {
      error = session.error();
      session.rollback();
      return false;
    }
  } else if (version > SCHEMA_VERSION) {
    error = "the database has schema version " + std::to_string(version) + ", newer than this server's " +
            std::to_string(SCHEMA_VERSION);
    session.rollback();
    return false;
  }
  if (!session.run("COMMIT")) {
    error = session.error();
    session.rollback();
    return false;
  }
  return true;
}

void PostgresScoreStore::noteFailure(const std::string& message) {
  std::lock_guard<std::mutex> guard(lock);
  failure = message;
}

std::string PostgresScoreStore::lastError() {
  std::lock_guard<std::mutex> guard(lock);
  return failure;
}

bool PostgresScoreStore::topScores(int gameMode, int maxResults, std::vector<Entry>& entries) {
  entries.clear();
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease.get(), pool.lastError());
  PostgresSession::Rows rows;
  if (!session.run("SELECT name, score FROM scores WHERE game_mode = $1::integer "
                   "ORDER BY score DESC, id ASC LIMIT $2::integer",
                   {std::to_string(gameMode), std::to_string(maxResults)}, &rows)) {
    noteFailure(session.error());
    return false;
  }
  for (const auto& row : rows) {
    Entry entry;
    entry.name = row[0];
    entry.score = std::atoi(row[1].c_str());
    entries.push_back(std::move(entry));
  }
  return true;
}

int PostgresScoreStore::addScore(int gameMode, const std::string& name, int score) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease.get(), pool.lastError());
  const std::string mode = std::to_string(gameMode);
  const std::string points = std::to_string(score);
  PostgresSession::Rows rows;
  // Under the mode's lock every earlier insert of the mode has committed and none comes
  // between the insert and the count, whichever instance made them.
  const bool stored =
      session.run("BEGIN") && session.run(MODE_LOCK, {mode}) &&
      session.run("INSERT INTO scores(game_mode, name, score, submitted_at) "
                  "VALUES($1::integer, $2, $3::integer, $4::bigint)",
                  {mode, name, points, std::to_string(static_cast<long long>(std::time(nullptr)))}) &&
      session.run("SELECT COUNT(*) FROM scores WHERE game_mode = $1::integer AND score >= $2::integer", {mode, points},
                  &rows) &&
      rows.size() == 1 && session.run("COMMIT");
  if (!stored) {
    noteFailure(session.error().empty() ? "unexpected reply from the database" : session.error());
    session.rollback();
    return -1;
  }
  const int rank = std::atoi(rows[0][0].c_str());
  return rank >= 1 ? rank : -1;
}

int PostgresScoreStore::count(int gameMode) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease.get(), pool.lastError());
  PostgresSession::Rows rows;
  if (!session.run("SELECT COUNT(*) FROM scores WHERE game_mode = $1::integer", {std::to_string(gameMode)}, &rows) ||
      rows.size() != 1) {
    noteFailure(session.error());
    return -1;
  }
  return std::atoi(rows[0][0].c_str());
}
