// Test databases on SQLite and PostgreSQL.
#include "BackendDatabase.h"

#include <sqlite3.h>

#include "PostgresCluster.h"

std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::SQLITE ? "SQLite" : "PostgreSQL";
}

void PrintTo(Backend backend, std::ostream* out) { *out << (backend == Backend::SQLITE ? "SQLite" : "PostgreSQL"); }

BackendDatabase::BackendDatabase(Backend backend) : kind(backend) {
  if (kind == Backend::SQLITE) {
    where = files.path("scores.db");
    return;
  }
  PostgresCluster& cluster = PostgresCluster::shared();
  if (cluster.running()) where = cluster.freshDatabase();
  if (where.empty()) why = cluster.failure();
}

bool BackendDatabase::execute(const std::string& sql, std::string& error) const {
  if (kind == Backend::POSTGRES) return PostgresCluster::execute(where, sql, error);
  sqlite3* db = nullptr;
  bool ok = sqlite3_open(where.c_str(), &db) == SQLITE_OK;
  char* message = nullptr;
  ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
  if (!ok) error = message != nullptr ? message : sqlite3_errmsg(db);
  sqlite3_free(message);
  sqlite3_close(db);
  return ok;
}
