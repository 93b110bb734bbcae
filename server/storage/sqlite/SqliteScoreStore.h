// The global score tables in one SQLite file, the server's default: nothing to set up, right
// for a player or a small group. Write-ahead log, so readers never wait for a writer; each
// insert and its rank in one transaction. Serialises the request threads with its own lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "ScoreStore.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteScoreStore : public ScoreStore {
 public:
  SqliteScoreStore() = default;
  ~SqliteScoreStore() override;
  SqliteScoreStore(const SqliteScoreStore&) = delete;
  SqliteScoreStore& operator=(const SqliteScoreStore&) = delete;

  // Opens or creates the database at `path` (":memory:" for one in memory), its tables and its
  // schema version. False with `error` set when the file cannot be opened, is not a score
  // database, or carries a newer schema version.
  bool open(const std::string& path, std::string& error);

  bool topScores(int gameMode, int maxResults, std::vector<Entry>& entries) override;
  int addScore(int gameMode, const std::string& name, int score) override;
  int count(int gameMode) override;
  std::string lastError() override;

 private:
  bool execute(const char* sql);
  void close();
  // Notes the database's message of the failure that just happened; called under `lock`.
  void noteFailure();
  // Creates the version table when missing and checks the version; under `lock`.
  bool checkSchemaVersion(std::string& error);

  std::mutex lock;
  sqlite3* db = nullptr;
  sqlite3_stmt* insertScore = nullptr;
  sqlite3_stmt* rankOfScore = nullptr;
  sqlite3_stmt* selectTop = nullptr;
  sqlite3_stmt* countMode = nullptr;
  std::string failure;
};
