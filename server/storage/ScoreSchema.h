// The score database's tables and the rules for its version, one policy for SQLite and
// PostgreSQL: a database from before the version table holds version 1 and is marked so; an
// older version is brought up to VERSION step by step, keeping every row (a fresh database is
// made at version 1 and takes the same steps); a database marked by a newer server is refused
// rather than misread.
//   Version 1: scores(id, game_mode, name, score, submitted_at), the rank index, and on
//              PostgreSQL the shared submission limit's table.
//   Version 2: scores gains submission_id (the client's random id of a submission, unique where
//              given) and submitted_rank (the rank its reply gave), so that a retried submission
//              is stored once and answered with the same rank. Called once by each engine's opener, on its own
// connection, inside a transaction the engine holds, so that servers starting together on one
// database set it up once.
#pragma once

#include <string>
#include <vector>

#include "StorageResult.h"

class ScoreSchema {
 public:
  // The version of the tables this server writes.
  static constexpr int VERSION = 2;

  enum class Dialect { SQLITE, POSTGRES };

  // The engine's connection, as the set-up needs it. Implemented by each engine around its open
  // connection; used only during prepare().
  class Connection {
   public:
    virtual ~Connection() = default;
    virtual StorageResult<void> execute(const std::string& sql) = 0;
    // The first row of a query's answer, each column as text.
    virtual StorageResult<std::vector<std::string>> firstRow(const std::string& sql) = 0;
  };

  // Creates the missing tables, marks or checks the version and upgrades an older database. A
  // failed result leaves the transaction for the caller to roll back.
  static StorageResult<void> prepare(Connection& connection, Dialect dialect);
};
