// The score store over SQLite: prepared statements kept for the life of the connection, each
// insert and its rank in one transaction.
#include "SqliteScoreStore.h"

#include <sqlite3.h>

#include <ctime>

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

}  // namespace

SqliteScoreStore::~SqliteScoreStore() { close(); }

void SqliteScoreStore::close() {
  sqlite3_finalize(insertScore);
  sqlite3_finalize(rankOfScore);
  sqlite3_finalize(selectTop);
  sqlite3_finalize(countMode);
  insertScore = rankOfScore = selectTop = countMode = nullptr;
  sqlite3_close(db);
  db = nullptr;
}

bool SqliteScoreStore::execute(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool SqliteScoreStore::open(const std::string& path, std::string& error) {
  std::lock_guard<std::mutex> guard(lock);
  close();
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    error = db != nullptr ? sqlite3_errmsg(db) : "cannot open the database";
    close();
    return false;
  }
  // Another process (a backup, the sqlite3 shell) may hold the file for a moment.
  sqlite3_busy_timeout(db, 5000);
  const char* setup =
      "PRAGMA journal_mode=WAL;"
      "PRAGMA synchronous=NORMAL;"
      "CREATE TABLE IF NOT EXISTS scores ("
      "  id INTEGER PRIMARY KEY,"
      "  game_mode INTEGER NOT NULL,"
      "  name TEXT NOT NULL,"
      "  score INTEGER NOT NULL,"
      "  submitted_at INTEGER NOT NULL);"
      "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores(game_mode, score DESC, id);";
  char* message = nullptr;
  if (sqlite3_exec(db, setup, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message != nullptr ? message : "cannot set up the database";
    sqlite3_free(message);
    close();
    return false;
  }
  if (!checkSchemaVersion(error)) {
    close();
    return false;
  }
  bool prepared =
      sqlite3_prepare_v2(db, "INSERT INTO scores(game_mode, name, score, submitted_at) VALUES(?1, ?2, ?3, ?4)",
                         -1, &insertScore, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM scores WHERE game_mode = ?1 AND score >= ?2", -1, &rankOfScore,
                         nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db,
                         "SELECT name, score FROM scores WHERE game_mode = ?1 ORDER BY score DESC, id ASC LIMIT ?2",
                         -1, &selectTop, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM scores WHERE game_mode = ?1", -1, &countMode, nullptr) ==
          SQLITE_OK;
  if (!prepared) {
    // An existing table of another shape.
    error = sqlite3_errmsg(db);
    close();
    return false;
  }
  return true;
}

void SqliteScoreStore::noteFailure() { failure = db != nullptr ? sqlite3_errmsg(db) : "the database is not open"; }

std::string SqliteScoreStore::lastError() {
  std::lock_guard<std::mutex> guard(lock);
  return failure;
}

bool SqliteScoreStore::checkSchemaVersion(std::string& error) {
  // One row holding the version; a database from before the table gets version 1, which is
  // what it holds.
  if (!execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) {
    error = sqlite3_errmsg(db);
    return false;
  }
  sqlite3_stmt* read = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT MAX(version), COUNT(*) FROM schema_version", -1, &read, nullptr) != SQLITE_OK ||
      sqlite3_step(read) != SQLITE_ROW) {
    error = sqlite3_errmsg(db);
    sqlite3_finalize(read);
    return false;
  }
  const int version = sqlite3_column_int(read, 0);
  const int rows = sqlite3_column_int(read, 1);
  sqlite3_finalize(read);
  if (rows == 0) {
    const std::string mark = "INSERT INTO schema_version(version) VALUES(" + std::to_string(SCHEMA_VERSION) + ")";
    if (!execute(mark.c_str())) {
      error = sqlite3_errmsg(db);
      return false;
    }
  } else if (version > SCHEMA_VERSION) {
    error = "the database has schema version " + std::to_string(version) + ", newer than this server's " +
            std::to_string(SCHEMA_VERSION);
    return false;
  }
  return true;
}

bool SqliteScoreStore::topScores(int gameMode, int maxResults, std::vector<Entry>& entries) {
  std::lock_guard<std::mutex> guard(lock);
  entries.clear();
  if (db == nullptr) {
    noteFailure();
    return false;
  }
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
    noteFailure();
    entries.clear();
    return false;
  }
  return true;
}

int SqliteScoreStore::addScore(int gameMode, const std::string& name, int score) {
  std::lock_guard<std::mutex> guard(lock);
  if (db == nullptr || !execute("BEGIN IMMEDIATE")) {
    noteFailure();
    return -1;
  }
  int rank = -1;
  {
    StatementUse use(insertScore);
    sqlite3_bind_int(insertScore, 1, gameMode);
    sqlite3_bind_text(insertScore, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(insertScore, 3, score);
    sqlite3_bind_int64(insertScore, 4, static_cast<sqlite3_int64>(std::time(nullptr)));
    if (sqlite3_step(insertScore) == SQLITE_DONE) {
      // The new row has the highest id: every equal score is counted above it, itself included.
      StatementUse rankUse(rankOfScore);
      sqlite3_bind_int(rankOfScore, 1, gameMode);
      sqlite3_bind_int(rankOfScore, 2, score);
      if (sqlite3_step(rankOfScore) == SQLITE_ROW) rank = sqlite3_column_int(rankOfScore, 0);
    }
  }
  if (rank < 1 || !execute("COMMIT")) {
    noteFailure();
    execute("ROLLBACK");
    return -1;
  }
  return rank;
}

int SqliteScoreStore::count(int gameMode) {
  std::lock_guard<std::mutex> guard(lock);
  if (db == nullptr) return -1;
  StatementUse use(countMode);
  sqlite3_bind_int(countMode, 1, gameMode);
  if (sqlite3_step(countMode) != SQLITE_ROW) return -1;
  return sqlite3_column_int(countMode, 0);
}
