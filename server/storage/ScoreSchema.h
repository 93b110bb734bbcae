// The score database's tables and the rules for its version, one policy for SQLite and
// PostgreSQL: a fresh database gets the tables and is marked with VERSION; a database from
// before the version table holds version 1 and is marked so; a database marked by a newer
// server is refused rather than misread. Called once by each engine's opener, on its own
// connection, inside a transaction the engine holds, so that servers starting together on one
// database set it up once.
#pragma once

#include <string>
#include <vector>

#include "StorageResult.h"

class ScoreSchema {
 public:
  // The version of the tables this server writes.
  static constexpr int VERSION = 1;

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

  // Creates the missing tables and marks or checks the version. A failed result leaves the
  // transaction for the caller to roll back.
  static StorageResult<void> prepare(Connection& connection, Dialect dialect);
};
