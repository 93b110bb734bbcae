// The global score tables in one SQLite file, the server's default: nothing to set up, right
// for a player or a small group. Write-ahead log, so readers never wait for a writer; each
// insert and its rank in one transaction. The connection is opened once, by open(), and used
// under the store's one lock by every request thread (SQLite's own per-connection mutex is off:
// the lock already serialises each statement's bind, step and reset). Made by ScoreDatabase, or
// by a test or the fuzz target directly.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ScoreStore.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteScoreStore : public ScoreStore {
 public:
  // Opens or creates the database at `path` (":memory:" for one in memory), its tables and its
  // schema version. Fails with the reason when the file cannot be opened, is not a score
  // database, or carries a newer schema version; the file is then left as it was.
  static StorageResult<std::unique_ptr<SqliteScoreStore>> open(const std::string& path);

  ~SqliteScoreStore() override;
  SqliteScoreStore(const SqliteScoreStore&) = delete;
  SqliteScoreStore& operator=(const SqliteScoreStore&) = delete;

  StorageResult<void> topScores(int gameMode, int maxResults, std::vector<Entry>& entries) override;
  StorageResult<Placement> addScore(int gameMode, const std::string& name, int score,
                                    const std::string& submissionId) override;
  StorageResult<int> count(int gameMode) override;

 private:
  // Takes `connection` (open or not) and closes it when destroyed.
  explicit SqliteScoreStore(sqlite3* connection);

  // The journal, the tables and the prepared statements, before the store is shared.
  StorageResult<void> setUp();
  bool execute(const char* sql);
  // addScore's work inside its transaction; under `lock`.
  StorageResult<Placement> place(int gameMode, const std::string& name, int score, const std::string& submissionId);
  // The database's message of the failure that just happened; called under `lock`.
  StorageFailure failure() const;

  std::mutex lock;
  sqlite3* const db;
  sqlite3_stmt* insertScore = nullptr;
  sqlite3_stmt* findSubmission = nullptr;
  sqlite3_stmt* rankOfScore = nullptr;
  sqlite3_stmt* selectTop = nullptr;
  sqlite3_stmt* countMode = nullptr;
};
