// The global score tables, whatever keeps them: the interface the request handler stores
// scores through. Order within a mode: higher score first, and among equal scores the earlier
// submission first, so a new score ties below every existing equal score (as in the game's
// local tables). Implementations (SQLite, PostgreSQL) give identical answers, are shared by the
// request threads (each locks or pools as it needs), and report storage failures as return
// values, never a crash. Owned by main (through ScoreStorage) or a test.
#pragma once

#include <string>
#include <vector>

class ScoreStore {
 public:
  struct Entry {
    std::string name;
    int score = 0;
  };

  // The version of the tables this server writes; a database marked with a newer one is
  // refused at opening rather than misread.
  static constexpr int SCHEMA_VERSION = 1;

  virtual ~ScoreStore() = default;

  // The best `maxResults` entries of `gameMode`, best first. False on a storage failure.
  virtual bool topScores(int gameMode, int maxResults, std::vector<Entry>& entries) = 0;

  // Stores a score and returns its rank in its mode (1 = best), counted after the insert:
  // every score above it and every equal score stored before it rank higher. -1 on a storage
  // failure, in which case nothing is stored.
  virtual int addScore(int gameMode, const std::string& name, int score) = 0;

  // How many scores `gameMode` holds; -1 on a storage failure.
  virtual int count(int gameMode) = 0;

  // What the last failed call met (the database's own message), for the server's log.
  virtual std::string lastError() = 0;
};
