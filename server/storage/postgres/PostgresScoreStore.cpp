// The score store over PostgreSQL.
#include "PostgresScoreStore.h"

#include <cstdlib>
#include <ctime>

#include "PostgresSession.h"
#include "ScoreSchema.h"

namespace {

// First keys of the advisory locks of this server ("Pxl" and a number): the schema set-up, the
// inserts of one mode (second key: the mode) and those of one submission id (second key: its
// hash). A store takes the id's lock before the mode's, never the other way round.
const char* SCHEMA_LOCK = "SELECT pg_advisory_xact_lock(1350070272, 0)";
const char* MODE_LOCK = "SELECT pg_advisory_xact_lock(1350070273, $1::integer)";
const char* SUBMISSION_LOCK = "SELECT pg_advisory_xact_lock(1350070275, hashtext($1))";

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

StorageResult<ScoreStore::Placement> PostgresScoreStore::addScore(int gameMode, const std::string& name, int score,
                                                                const std::string& submissionId) {
  PostgresConnectionPool::Lease lease = pool.borrow();
  PostgresSession session(lease);
  const std::string mode = std::to_string(gameMode);
  const std::string points = std::to_string(score);
  // Ends the transaction with a failure: the database's message, or `otherwise`.
  auto fail = [&session](const std::string& otherwise) {
    StorageFailure why{session.error().empty() ? otherwise : session.error()};
    session.rollback();
    return why;
  };
  if (!session.run("BEGIN")) return fail("cannot begin a transaction");
  Placement placement;
  if (!submissionId.empty()) {
    PostgresSession::Rows stored;
    if (!session.run(SUBMISSION_LOCK, {submissionId}) ||
        !session.run("SELECT game_mode, name, score, submitted_rank FROM scores WHERE submission_id = $1",
                     {submissionId}, &stored)) {
      return fail("cannot look the submission up");
    }
    if (!stored.empty()) {
      const std::vector<std::string>& row = stored.front();
      const bool same = row[0] == mode && row[1] == name && row[2] == points;
      if (same && row[3].empty()) return fail("the stored submission " + submissionId + " has no rank");
      placement.outcome = same ? Placement::ALREADY_STORED : Placement::ID_IN_USE;
      placement.rank = same ? std::atoi(row[3].c_str()) : 0;
      if (!session.run("COMMIT")) return fail("cannot end the transaction");
      return placement;
    }
  }
  PostgresSession::Rows above;
  // Under the mode's lock every earlier insert of the mode has committed and none comes
  // between the count and the insert, whichever instance made them.
  if (!session.run(MODE_LOCK, {mode}) ||
      !session.run("SELECT COUNT(*) FROM scores WHERE game_mode = $1::integer AND score >= $2::integer", {mode, points},
                   &above) ||
      above.size() != 1) {
    return fail("unexpected reply from the database");
  }
  placement.rank = std::atoi(above[0][0].c_str()) + 1;
  if (!session.run("INSERT INTO scores(game_mode, name, score, submitted_at, submission_id, submitted_rank) "
                   "VALUES($1::integer, $2, $3::integer, $4::bigint, NULLIF($5, ''), $6::integer)",
                   {mode, name, points, std::to_string(static_cast<long long>(std::time(nullptr))), submissionId,
                    std::to_string(placement.rank)}) ||
      !session.run("COMMIT")) {
    return fail("cannot store the score");
  }
  return placement;
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
