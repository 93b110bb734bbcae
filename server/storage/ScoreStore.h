// The global score tables, whatever keeps them: the interface the request handler stores
// scores through. Order within a mode: higher score first, and among equal scores the earlier
// submission first, so a new score ties below every existing equal score (as in the game's
// local tables). Implementations (SQLite, PostgreSQL) give identical answers and are shared by
// the request threads (each locks or pools as it needs). Every call returns its own outcome: a
// storage failure is a failed result carrying the database's message, never a crash. Owned by
// ScoreStorage (which main, a test or the load benchmark holds).
#pragma once

#include <string>
#include <vector>

#include "StorageResult.h"

class ScoreStore {
 public:
  struct Entry {
    std::string name;
    int score = 0;
  };

  virtual ~ScoreStore() = default;

  // Fills `entries` with the best `maxResults` entries of `gameMode`, best first (empty after a
  // failure).
  virtual StorageResult<void> topScores(int gameMode, int maxResults, std::vector<Entry>& entries) = 0;

  // Stores a score and gives its rank in its mode (1 = best), counted after the insert: every
  // score above it and every equal score stored before it rank higher. Nothing is stored when
  // the call fails.
  virtual StorageResult<int> addScore(int gameMode, const std::string& name, int score) = 0;

  // How many scores `gameMode` holds.
  virtual StorageResult<int> count(int gameMode) = 0;
};
