// Connections to one PostgreSQL database (libpq), lent to the request threads one at a time:
// each thread that stores or counts borrows a connection for one transaction and gives it back.
// A connection that broke (the database restarted, the network dropped) is thrown away and a
// new one is made on the next borrow, so the server recovers without a restart; an idle one
// that the database closed meanwhile is noticed when it is lent, before a request fails on it.
// Owned by ScoreDatabase; shared by the PostgreSQL store and limiter, which it outlives.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

class PostgresConnectionPool {
 public:
  // One borrowed connection; returns it to the pool when it goes out of scope.
  class Lease {
   public:
    Lease(PostgresConnectionPool& pool, pg_conn* connection, std::string connectFailure = std::string());
    ~Lease();
    Lease(Lease&& other) noexcept;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Lease& operator=(Lease&&) = delete;

    // Null when no connection could be made; failure() then says why.
    pg_conn* get() const { return connection; }
    const std::string& failure() const { return connectFailure; }

   private:
    PostgresConnectionPool* pool;
    pg_conn* connection;
    std::string connectFailure;
  };

  // `uri`: a libpq connection URI (postgresql://user@host:port/dbname) or key=value string.
  // At most `maxConnections` are open at once; further borrowers wait.
  PostgresConnectionPool(const std::string& uri, int maxConnections);
  ~PostgresConnectionPool();
  PostgresConnectionPool(const PostgresConnectionPool&) = delete;
  PostgresConnectionPool& operator=(const PostgresConnectionPool&) = delete;

  Lease borrow();

 private:
  // A new connection, or null with `failure` set.
  pg_conn* connect(std::string& failure);
  void giveBack(pg_conn* connection);

  const std::string uri;
  const int maxConnections;
  std::mutex lock;
  std::condition_variable returned;
  std::vector<pg_conn*> idle;
  int open = 0;
};
