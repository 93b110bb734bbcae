// The score tables of both engines and their version.
#include "ScoreSchema.h"

#include <cstdlib>

namespace {

// The tables, written once: only the key and the time stamp's type differ between the engines.
// SQLite keeps each CREATE text in its file, so this text is what every existing file holds.
std::vector<std::string> tableStatements(ScoreSchema::Dialect dialect) {
  const bool sqlite = dialect == ScoreSchema::Dialect::SQLITE;
  std::vector<std::string> statements = {
      std::string("CREATE TABLE IF NOT EXISTS scores (") + "  id " +
          (sqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY") +
          ",  game_mode INTEGER NOT NULL,  name TEXT NOT NULL,  score INTEGER NOT NULL,  submitted_at " +
          (sqlite ? "INTEGER" : "BIGINT") + " NOT NULL)",
      "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores(game_mode, score DESC, id)",
  };
  if (!sqlite) {
    // The submission limit that several instances share (one SQLite server counts in memory).
    statements.push_back("CREATE TABLE IF NOT EXISTS recent_submissions ("
                         "  address TEXT NOT NULL,"
                         "  submitted_at TIMESTAMPTZ NOT NULL)");
    statements.push_back("CREATE INDEX IF NOT EXISTS recent_submissions_by_address "
                         "ON recent_submissions(address, submitted_at)");
  }
  statements.push_back("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
  return statements;
}

// The statements that bring a database from version `from` to `from + 1`: the same on both
// engines. New columns are nullable, so the rows already stored stay as they are.
std::vector<std::string> upgradeStatements(int from) {
  switch (from) {
    case 1:
      return {
          "ALTER TABLE scores ADD COLUMN submission_id TEXT",
          "ALTER TABLE scores ADD COLUMN submitted_rank INTEGER",
          // NULLs (scores sent without an id) do not collide in a unique index on either engine.
          "CREATE UNIQUE INDEX IF NOT EXISTS scores_by_submission ON scores(submission_id)",
      };
    default:
      return {};
  }
}

}  // namespace

StorageResult<void> ScoreSchema::prepare(Connection& connection, Dialect dialect) {
  for (const std::string& statement : tableStatements(dialect)) {
    StorageResult<void> done = connection.execute(statement);
    if (!done) return done;
  }
  StorageResult<std::vector<std::string>> mark =
      connection.firstRow("SELECT COALESCE(MAX(version), 0), COUNT(*) FROM schema_version");
  if (!mark) return StorageFailure{mark.error()};
  if (mark.value().size() != 2) return StorageFailure{"unexpected reply reading the schema version"};
  int version = std::atoi(mark.value()[0].c_str());
  if (mark.value()[1] == "0") {
    // A fresh database, or one from before the version table: both hold version 1's tables.
    StorageResult<void> marked = connection.execute("INSERT INTO schema_version(version) VALUES(1)");
    if (!marked) return marked;
    version = 1;
  }
  if (version > VERSION) {
    return StorageFailure{"the database has schema version " + std::to_string(version) + ", newer than this server's " +
                          std::to_string(VERSION)};
  }
  for (; version < VERSION; ++version) {
    for (const std::string& statement : upgradeStatements(version)) {
      StorageResult<void> done = connection.execute(statement);
      if (!done) return done;
    }
    StorageResult<void> marked =
        connection.execute("UPDATE schema_version SET version = " + std::to_string(version + 1));
    if (!marked) return marked;
  }
  return StorageResult<void>();
}
