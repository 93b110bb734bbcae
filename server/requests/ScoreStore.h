// The global score tables in one SQLite file (write-ahead log, so readers never wait for a
// writer). Owned by the server's main; shared by the request threads, which it serialises with
// its own lock. Order within a mode: higher score first, and among equal scores the earlier
// submission first, so a new score ties below every existing equal score (as in the game's
// local tables). Storage failures are return values, never a crash.
#pragma once

#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class ScoreStore {
 public:
  struct Entry {
    std::string name;
    int score = 0;
  };

  ScoreStore() = default;
  ~ScoreStore();
  ScoreStore(const ScoreStore&) = delete;
  ScoreStore& operator=(const ScoreStore&) = delete;

  // Opens or creates the database at `path` (":memory:" for one in memory) and its table.
  // False with `error` set when the file cannot be opened or is not a score database.
  bool open(const std::string& path, std::string& error);

  // The best `maxResults` entries of `gameMode`, best first. False on a storage failure.
  bool topScores(int gameMode, int maxResults, std::vector<Entry>& entries);

  // Stores a score and returns its rank in its mode (1 = best), counted after the insert:
  // every score above it and every equal score stored before it rank higher. -1 on a storage
  // failure, in which case nothing is stored.
  int addScore(int gameMode, const std::string& name, int score);

  // How many scores `gameMode` holds; -1 on a storage failure.
  int count(int gameMode);

  // What the last failed call met (the database's own message), for the server's log.
  std::string lastError();

 private:
  bool execute(const char* sql);
  void close();
  // Notes the database's message of the failure that just happened; called under `lock`.
  void noteFailure();

  std::mutex lock;
  sqlite3* db = nullptr;
  sqlite3_stmt* insertScore = nullptr;
  sqlite3_stmt* rankOfScore = nullptr;
  sqlite3_stmt* selectTop = nullptr;
  sqlite3_stmt* countMode = nullptr;
  std::string failure;
};
