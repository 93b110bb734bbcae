// Statements on one libpq connection.
#include "PostgresSession.h"

#include <libpq-fe.h>

#include <cstdlib>

PostgresSession::PostgresSession(const PostgresConnectionPool::Lease& lease) : connection(lease.get()) {
  if (connection == nullptr) failure = lease.failure().empty() ? "no connection to the database" : lease.failure();
}

bool PostgresSession::run(const char* sql, const std::vector<std::string>& params, Rows* rows, long* affected) {
  if (connection == nullptr) return false;
  std::vector<const char*> values;
  for (const std::string& param : params) values.push_back(param.c_str());
  PGresult* result = PQexecParams(connection, sql, static_cast<int>(values.size()), nullptr,
                                  values.empty() ? nullptr : values.data(), nullptr, nullptr, 0);
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    if (failure.empty()) {
      failure = result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(connection);
      while (!failure.empty() && (failure.back() == '\n' || failure.back() == ' ')) failure.pop_back();
      if (failure.empty()) failure = "the database failed";
    }
    PQclear(result);
    return false;
  }
  if (rows != nullptr) {
    rows->clear();
    const int count = PQntuples(result);
    const int columns = PQnfields(result);
    for (int r = 0; r < count; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < columns; ++c) {
        row.emplace_back(PQgetvalue(result, r, c), static_cast<size_t>(PQgetlength(result, r, c)));
      }
      rows->push_back(std::move(row));
    }
  }
  if (affected != nullptr) *affected = std::atol(PQcmdTuples(result));
  PQclear(result);
  return true;
}

void PostgresSession::rollback() {
  if (connection == nullptr) return;
  if (PQtransactionStatus(connection) != PQTRANS_IDLE) PQclear(PQexec(connection, "ROLLBACK"));
}
