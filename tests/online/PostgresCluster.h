// A throw-away PostgreSQL server for the tests: a fresh cluster (initdb) in a folder of its own
// under the system's temporary folder, run with Debian's server binaries on a free loopback
// port and a Unix socket in that folder, fsync off (a test's data need not survive a power
// cut; the server under test is what the tests kill). PostgreSQL refuses to run as root, and
// CI runs the tests as root: then the cluster runs as the unprivileged user "nobody", owning
// its folder. Started on first use, one per test program; stopped, and its folder removed,
// when the program ends (and killed with it if the program dies). Each test takes a database
// of its own with freshDatabase().
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

class PostgresCluster {
 public:
  // The program's cluster, started when first asked for.
  static PostgresCluster& shared();

  // Whether it runs; otherwise failure() says why (for instance: the server binaries are
  // missing, install them with scripts/install-deps.sh).
  bool running() const { return postmaster > 0; }
  const std::string& failure() const { return why; }

  // A new, empty database; its URI (postgresql://pellix@127.0.0.1:PORT/NAME). Empty on failure.
  std::string freshDatabase();

  // Runs `sql` on the database at `uri`; false with `error` on failure.
  static bool execute(const std::string& uri, const std::string& sql, std::string& error);

  // Stops the server (a fast shutdown: open connections are cut, open transactions rolled
  // back), runs `whileDown`, and starts it again on the same port with the same data, as a
  // restart of a production database would. False when it does not come back.
  bool restart(const std::function<void()>& whileDown);

  ~PostgresCluster();
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

 private:
  PostgresCluster();
  // Starts the server on `wantedPort`, or on a free port when it is 0.
  bool start(int wantedPort = 0);
  void stop();

  std::string folder;
  std::string binaries;
  uid_t runAsUser = 0;
  gid_t runAsGroup = 0;
  bool switchUser = false;
  int port = -1;
  pid_t postmaster = -1;
  int databases = 0;
  std::string why;
};
