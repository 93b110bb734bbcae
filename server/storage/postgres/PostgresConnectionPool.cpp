// A small pool of libpq connections.
#include "PostgresConnectionPool.h"

#include <libpq-fe.h>
#include <poll.h>

#include <utility>

namespace {

// The server logs its own failures; PostgreSQL's notices ("relation already exists,
// skipping") would otherwise go to standard error.
void ignoreNotice(void*, const char*) {}

// Whether an idle connection is still open, without a round trip or a wait. An idle connection
// has nothing to read: anything there is the database's goodbye (a restart, an administrator
// ending it), or at worst a stray notice, and a new connection costs less than a failed request.
bool stillOpen(pg_conn* connection) {
  if (PQstatus(connection) != CONNECTION_OK) return false;
  pollfd socket{PQsocket(connection), POLLIN, 0};
  return poll(&socket, 1, 0) == 0;
}

}  // namespace

PostgresConnectionPool::Lease::Lease(PostgresConnectionPool& owner, pg_conn* borrowed, std::string failure)
    : pool(&owner), connection(borrowed), connectFailure(std::move(failure)) {}

PostgresConnectionPool::Lease::Lease(Lease&& other) noexcept
    : pool(other.pool), connection(other.connection), connectFailure(std::move(other.connectFailure)) {
  other.connection = nullptr;
}

PostgresConnectionPool::Lease::~Lease() {
  if (connection != nullptr) pool->giveBack(connection);
}

PostgresConnectionPool::PostgresConnectionPool(const std::string& connectionUri, int most)
    : uri(connectionUri), maxConnections(most < 1 ? 1 : most) {}

PostgresConnectionPool::~PostgresConnectionPool() {
  for (pg_conn* connection : idle) PQfinish(connection);
}

pg_conn* PostgresConnectionPool::connect(std::string& failure) {
  // A request thread waits for its connection and its statements: bound both, so that an
  // unreachable or stuck database costs a 503, not a thread for minutes. Given before the
  // URI, so that the URI's own settings win.
  const char* keys[] = {"connect_timeout", "options", "dbname", nullptr};
  const char* values[] = {"5", "-c statement_timeout=10s -c lock_timeout=10s", uri.c_str(), nullptr};
  pg_conn* connection = PQconnectdbParams(keys, values, 1);
  if (connection == nullptr || PQstatus(connection) != CONNECTION_OK) {
    std::string message = connection != nullptr ? PQerrorMessage(connection) : "out of memory";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    PQfinish(connection);
    failure = message.empty() ? "cannot connect to the database" : message;
    return nullptr;
  }
  PQsetNoticeProcessor(connection, &ignoreNotice, nullptr);
  // Names are UTF-8 whatever the database's default.
  PQsetClientEncoding(connection, "UTF8");
  return connection;
}

PostgresConnectionPool::Lease PostgresConnectionPool::borrow() {
  std::unique_lock<std::mutex> guard(lock);
  returned.wait(guard, [this] { return !idle.empty() || open < maxConnections; });
  while (!idle.empty()) {
    pg_conn* connection = idle.back();
    idle.pop_back();
    if (stillOpen(connection)) return Lease(*this, connection);
    // The database closed it while it was idle (a restart, an administrator): a new one is
    // made below, so that the request does not fail on a connection known to be gone.
    PQfinish(connection);
    --open;
  }
  // Connect outside the lock: it takes a round trip or a time-out.
  ++open;
  guard.unlock();
  std::string failure;
  pg_conn* connection = connect(failure);
  if (connection == nullptr) {
    guard.lock();
    --open;
    returned.notify_one();
  }
  return Lease(*this, connection, std::move(failure));
}

void PostgresConnectionPool::giveBack(pg_conn* connection) {
  std::lock_guard<std::mutex> guard(lock);
  if (PQstatus(connection) == CONNECTION_OK && PQtransactionStatus(connection) == PQTRANS_IDLE) {
    idle.push_back(connection);
  } else {
    // Broken, or left inside a transaction by a failure: start afresh next time.
    PQfinish(connection);
    --open;
  }
  returned.notify_one();
}
