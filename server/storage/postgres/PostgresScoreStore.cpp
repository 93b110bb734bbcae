// The score store over PostgreSQL.
#include "PostgresScoreStore.h"

#include <cstdlib>
#include <ctime>

#include "PostgresSession.h"
#include "ScoreSchema.h"

namespace {

// First keys of the advisory locks of this server ("Pxl" and a number): the schema set-up, and
// the inserts of one mode (second key: the mode).
const char* SCHEMA_LOCK = "SELECT pg_advisory_xact_lock(1350070272, 0)";
const char* MODE_LOCK = "SELECT pg_advisory_xact_lock(1350070273, $1::integer)";

// The schema's view of one session while the store sets the database up.
class SchemaConnection : public ScoreSchema::Connection {
 public:
  explicit SchemaConnection(PostgresSession& s) : session(s) {}

  StorageResult<void> execute(const std::string& sql) override {
    if (!session.run(sql.c_str())) return StorageFailure{session.error()};
    return StorageResult<void>();
  }

  StorageResult<std::vector<std::string>> firstRow(const std::string& sql) override {
    PostgresSession::Rows rows;
    if (!session.run(sql.c_str(), {}, &rows)) return StorageFailure{session.error()};
    if (rows.empty()) return StorageFailure{"no row in the reply to: " + sql};
    return rows.front();
  }

 private:
  PostgresSession& session;
};

}  // namespace

PostgresScoreStore::PostgresScoreStore(PostgresConnectionPool& connectionPool) : pool(connectionPool) {}

StorageResult<std::unique_ptr<PostgresScoreStore>> PostgresScoreStore::open(PostgresConnectionPool& pool) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
  // Several instances may start at once on a fresh database: one creates, the others wait.
  if (!session.run("BEGIN") || !session.run(SCHEMA_LOCK)) {
    StorageFailure why{session.error()};
    session.rollback();
    return why;
  }
  SchemaConnection schema(session);
  StorageResult<void> prepared = ScoreSchema::prepare(schema, ScoreSchema::Dialect::POSTGRES);
  if (!prepared || !session.run("COMMIT")) {
    StorageFailure why{prepared ? session.error() : prepared.error()};
    session.rollback();
    return why;
  }
  return std::unique_ptr<PostgresScoreStore>(new PostgresScoreStore(pool));
}

StorageResult<void> PostgresScoreStore::topScores(int gameMode, int maxResults, std::vector<Entry>& entries) {
  entries.clear();
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
  PostgresSession::Rows rows;
  if (!session.run("SELECT name, score FROM scores WHERE game_mode = $1::integer "
                   "ORDER BY score DESC, id ASC LIMIT $2::integer",
                   {std::to_string(gameMode), std::to_string(maxResults)}, &rows)) {
    return StorageFailure{session.error()};
  }
  for (const auto& row : rows) {
    Entry entry;
    entry.name = row[0];
    entry.score = std::atoi(row[1].c_str());
    entries.push_back(std::move(entry));
  }
  return StorageResult<void>();
}

StorageResult<int> PostgresScoreStore::addScore(int gameMode, const std::string& name, int score) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
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
    StorageFailure why{session.error().empty() ? "unexpected reply from the database" : session.error()};
    session.rollback();
    return why;
  }
  const int rank = std::atoi(rows[0][0].c_str());
  if (rank < 1) return StorageFailure{"unexpected rank from the database: " + rows[0][0]};
  return rank;
}

StorageResult<int> PostgresScoreStore::count(int gameMode) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
  PostgresSession::Rows rows;
  if (!session.run("SELECT COUNT(*) FROM scores WHERE game_mode = $1::integer", {std::to_string(gameMode)}, &rows)) {
    return StorageFailure{session.error()};
  }
  if (rows.size() != 1) return StorageFailure{"unexpected reply from the database"};
  return std::atoi(rows[0][0].c_str());
}
