// The global score tables, whatever keeps them: the interface the request handler stores
// scores through. Order within a mode: higher score first, and among equal scores the earlier
// submission first, so a new score ties below every existing equal score (as in the game's
// local tables). Implementations (SQLite, PostgreSQL) give identical answers and are shared by
// the request threads (each locks or pools as it needs). Every call returns its own outcome: a
// storage failure is a failed result carrying the database's message, never a crash. Owned by
// ScoreDatabase (which main, a test or the load benchmark holds).
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

  // What became of a score given to addScore.
  struct Placement {
    enum Outcome {
      // Stored now.
      STORED,
      // Its submission id was stored before with this very score: nothing new is stored, and
      // `rank` is the rank the first call gave.
      ALREADY_STORED,
      // Its submission id belongs to a different score: nothing is stored, `rank` is 0.
      ID_IN_USE,
    };
    Outcome outcome = STORED;
    int rank = 0;
  };

  // Stores a score and gives its rank in its mode (1 = best), counted after the insert: every
  // score above it and every equal score stored before it rank higher. `submissionId` (empty:
  // none) is the client's id of this submission: a score is stored once per id, so a client that
  // sends it again after a lost reply gets the first reply's rank. Nothing is stored when the
  // call fails.
  virtual StorageResult<Placement> addScore(int gameMode, const std::string& name, int score,
                                            const std::string& submissionId) = 0;

  // How many scores `gameMode` holds.
  virtual StorageResult<int> count(int gameMode) = 0;
};
