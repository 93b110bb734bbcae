// The score store over SQLite: prepared statements kept for the life of the connection, each
// insert and its rank in one transaction.
#include "SqliteScoreStore.h"

#include <sqlite3.h>

#include <ctime>

#include "ScoreSchema.h"

namespace {

// Statements are reset and their bindings cleared when a use ends, however it ends.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* s) : statement(s) {}
  ~StatementUse() {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* statement;
};

// The schema's view of the connection while the store sets itself up.
class SchemaConnection : public ScoreSchema::Connection {
 public:
  explicit SchemaConnection(sqlite3* connection) : db(connection) {}

  StorageResult<void> execute(const std::string& sql) override {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
      return StorageFailure{sqlite3_errmsg(db)};
    }
    return StorageResult<void>();
  }

  StorageResult<std::vector<std::string>> firstRow(const std::string& sql) override {
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK || sqlite3_step(query) != SQLITE_ROW) {
      StorageFailure failure{sqlite3_errmsg(db)};
      sqlite3_finalize(query);
      return failure;
    }
    std::vector<std::string> row;
    for (int column = 0; column < sqlite3_column_count(query); ++column) {
      const unsigned char* text = sqlite3_column_text(query, column);
      row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(query);
    return row;
  }

 private:
  sqlite3* db;
};

}  // namespace

StorageResult<std::unique_ptr<SqliteScoreStore>> SqliteScoreStore::open(const std::string& path) {
  sqlite3* connection = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &connection,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  // The store owns the handle from here on, even a failed one, which must be closed as well.
  std::unique_ptr<SqliteScoreStore> store(new SqliteScoreStore(connection));
  if (opened != SQLITE_OK) {
    return StorageFailure{connection != nullptr ? sqlite3_errmsg(connection) : "cannot open the database"};
  }
  StorageResult<void> ready = store->setUp();
  if (!ready) return StorageFailure{ready.error()};
  return StorageResult<std::unique_ptr<SqliteScoreStore>>(std::move(store));
}

SqliteScoreStore::SqliteScoreStore(sqlite3* connection) : db(connection) {}

SqliteScoreStore::~SqliteScoreStore() {
  sqlite3_finalize(insertScore);
  sqlite3_finalize(findSubmission);
  sqlite3_finalize(rankOfScore);
  sqlite3_finalize(selectTop);
  sqlite3_finalize(countMode);
  sqlite3_close(db);
}

bool SqliteScoreStore::execute(const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

StorageFailure SqliteScoreStore::failure() const { return StorageFailure{sqlite3_errmsg(db)}; }

StorageResult<void> SqliteScoreStore::setUp() {
  // Another process (a backup, the sqlite3 shell) may hold the file for a moment.
  sqlite3_busy_timeout(db, 5000);
  // The journal mode cannot change inside a transaction. A file that is not a database fails
  // here, before anything is written to it.
  if (!execute("PRAGMA journal_mode=WAL") || !execute("PRAGMA synchronous=NORMAL")) return failure();
  // One transaction, so that two servers opening a fresh file at once mark its version once.
  if (!execute("BEGIN IMMEDIATE")) return failure();
  SchemaConnection schema(db);
  StorageResult<void> prepared = ScoreSchema::prepare(schema, ScoreSchema::Dialect::SQLITE);
  if (!prepared || !execute("COMMIT")) {
    StorageFailure why = prepared ? failure() : StorageFailure{prepared.error()};
    execute("ROLLBACK");
    return why;
  }
  const bool statementsReady =
      sqlite3_prepare_v2(db,
                         "INSERT INTO scores(game_mode, name, score, submitted_at, submission_id, submitted_rank) "
                         "VALUES(?1, ?2, ?3, ?4, ?5, ?6)",
                         -1, &insertScore, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT game_mode, name, score, submitted_rank FROM scores WHERE submission_id = ?1", -1,
                         &findSubmission, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM scores WHERE game_mode = ?1 AND score >= ?2", -1, &rankOfScore,
                         nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT name, score FROM scores WHERE game_mode = ?1 ORDER BY score DESC, id ASC LIMIT ?2",
                         -1, &selectTop, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM scores WHERE game_mode = ?1", -1, &countMode, nullptr) == SQLITE_OK;
  // An existing table of another shape.
  if (!statementsReady) return failure();
  return StorageResult<void>();
}

StorageResult<void> SqliteScoreStore::topScores(int gameMode, int maxResults, std::vector<Entry>& entries) {
  std::lock_guard<std::mutex> guard(lock);
  entries.clear();
  StatementUse use(selectTop);
  sqlite3_bind_int(selectTop, 1, gameMode);
  sqlite3_bind_int(selectTop, 2, maxResults);
  int step;
  while ((step = sqlite3_step(selectTop)) == SQLITE_ROW) {
    Entry entry;
    const unsigned char* text = sqlite3_column_text(selectTop, 0);
    int bytes = sqlite3_column_bytes(selectTop, 0);
    if (text != nullptr) entry.name.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(bytes));
    entry.score = sqlite3_column_int(selectTop, 1);
    entries.push_back(std::move(entry));
  }
  if (step != SQLITE_DONE) {
    entries.clear();
    return failure();
  }
  return StorageResult<void>();
}

StorageResult<ScoreStore::Placement> SqliteScoreStore::addScore(int gameMode, const std::string& name, int score,
                                                              const std::string& submissionId) {
  std::lock_guard<std::mutex> guard(lock);
  if (!execute("BEGIN IMMEDIATE")) return failure();
  StorageResult<Placement> placed = place(gameMode, name, score, submissionId);
  if (!placed || !execute("COMMIT")) {
    StorageFailure why = placed ? failure() : StorageFailure{placed.error()};
    execute("ROLLBACK");
    return why;
  }
  return placed;
}

StorageResult<ScoreStore::Placement> SqliteScoreStore::place(int gameMode, const std::string& name, int score,
                                                           const std::string& submissionId) {
  Placement placement;
  if (!submissionId.empty()) {
    StatementUse use(findSubmission);
    sqlite3_bind_text(findSubmission, 1, submissionId.data(), static_cast<int>(submissionId.size()), SQLITE_TRANSIENT);
    const int step = sqlite3_step(findSubmission);
    if (step == SQLITE_ROW) {
      const unsigned char* storedName = sqlite3_column_text(findSubmission, 1);
      const std::string stored(storedName != nullptr ? reinterpret_cast<const char*>(storedName) : "",
                               static_cast<size_t>(sqlite3_column_bytes(findSubmission, 1)));
      const bool same = sqlite3_column_int(findSubmission, 0) == gameMode && stored == name &&
                        sqlite3_column_int(findSubmission, 2) == score;
      if (same && sqlite3_column_type(findSubmission, 3) == SQLITE_NULL) {
        return StorageFailure{"the stored submission " + submissionId + " has no rank"};
      }
      placement.outcome = same ? Placement::ALREADY_STORED : Placement::ID_IN_USE;
      placement.rank = same ? sqlite3_column_int(findSubmission, 3) : 0;
      return placement;
    }
    if (step != SQLITE_DONE) return failure();
  }
  {
    // Every score above it and every equal one already stored ranks higher; then itself.
    StatementUse use(rankOfScore);
    sqlite3_bind_int(rankOfScore, 1, gameMode);
    sqlite3_bind_int(rankOfScore, 2, score);
    if (sqlite3_step(rankOfScore) != SQLITE_ROW) return failure();
    placement.rank = sqlite3_column_int(rankOfScore, 0) + 1;
  }
  StatementUse use(insertScore);
  sqlite3_bind_int(insertScore, 1, gameMode);
  sqlite3_bind_text(insertScore, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(insertScore, 3, score);
  sqlite3_bind_int64(insertScore, 4, static_cast<sqlite3_int64>(std::time(nullptr)));
  if (submissionId.empty()) {
    sqlite3_bind_null(insertScore, 5);
  } else {
    sqlite3_bind_text(insertScore, 5, submissionId.data(), static_cast<int>(submissionId.size()), SQLITE_TRANSIENT);
  }
  sqlite3_bind_int(insertScore, 6, placement.rank);
  if (sqlite3_step(insertScore) != SQLITE_DONE) return failure();
  return placement;
}

StorageResult<int> SqliteScoreStore::count(int gameMode) {
  std::lock_guard<std::mutex> guard(lock);
  StatementUse use(countMode);
  sqlite3_bind_int(countMode, 1, gameMode);
  if (sqlite3_step(countMode) != SQLITE_ROW) return failure();
  return sqlite3_column_int(countMode, 0);
}
