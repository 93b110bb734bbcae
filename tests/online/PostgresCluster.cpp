// A PostgreSQL cluster of the test program's own.
#include "PostgresCluster.h"

#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

// The newest server binaries of Debian's postgresql package.
std::string findBinaries() {
  std::string best;
  int bestVersion = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
    const int version = std::atoi(entry.path().filename().c_str());
    const std::filesystem::path bin = entry.path() / "bin";
    if (version > bestVersion && std::filesystem::exists(bin / "initdb") && std::filesystem::exists(bin / "postgres")) {
      bestVersion = version;
      best = bin.string();
    }
  }
  return best;
}

int freePort() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = -1;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

}  // namespace

PostgresCluster& PostgresCluster::shared() {
  static PostgresCluster cluster;
  return cluster;
}

PostgresCluster::PostgresCluster() {
  binaries = findBinaries();
  if (binaries.empty()) {
    why = "PostgreSQL's server binaries (/usr/lib/postgresql/*/bin) are missing: install the postgresql package "
          "(scripts/install-deps.sh does)";
    return;
  }
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
      why = "running as root, and there is no user \"nobody\" to run PostgreSQL as";
      return;
    }
    switchUser = true;
    runAsUser = nobody->pw_uid;
    runAsGroup = nobody->pw_gid;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "pellix-postgres-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    why = "cannot create a temporary folder";
    return;
  }
  folder = pattern;
  if (switchUser && chown(folder.c_str(), runAsUser, runAsGroup) != 0) {
    why = "cannot hand the cluster's folder to the user nobody";
    return;
  }
  // A port taken between choosing and binding makes the server exit: try again.
  for (int attempt = 0; attempt < 3 && postmaster <= 0; ++attempt) start();
}

bool PostgresCluster::start(int wantedPort) {
  // Runs a server binary as the cluster's user with its output in the cluster's log.
  auto spawn = [this](const std::vector<std::string>& arguments) -> pid_t {
    std::vector<std::string> all = arguments;
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string logPath = folder + "/postgres.log";
    pid_t pid = fork();
    if (pid == 0) {
      int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
      if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
      }
      if (switchUser && (setgroups(0, nullptr) != 0 || setgid(runAsGroup) != 0 || setuid(runAsUser) != 0)) _exit(126);
      // After the change of user, which clears it: the server dies with the test program.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() == 1) _exit(125);
      char locale[] = "LC_ALL=C";
      char* environment[] = {locale, nullptr};
      execve(argv[0], argv.data(), environment);
      _exit(127);
    }
    return pid;
  };
  const std::string data = folder + "/data";
  if (!std::filesystem::exists(data + "/PG_VERSION")) {
    pid_t initdb = spawn({binaries + "/initdb", "-D", data, "-U", "pellix", "-A", "trust", "-E", "UTF8",
                          "--locale=C", "-N"});
    int status = 0;
    if (initdb < 0 || waitpid(initdb, &status, 0) != initdb || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      why = "initdb failed; see " + folder + "/postgres.log";
      return false;
    }
  }
  port = wantedPort > 0 ? wantedPort : freePort();
  postmaster = spawn({binaries + "/postgres", "-D", data, "-p", std::to_string(port), "-k", folder, "-c",
                      "listen_addresses=127.0.0.1", "-c", "fsync=off", "-c", "synchronous_commit=off", "-c",
                      "full_page_writes=off", "-c", "shared_buffers=16MB", "-c", "max_connections=200"});
  if (postmaster < 0) {
    why = "cannot start postgres";
    return false;
  }
  const std::string uri = "postgresql://pellix@127.0.0.1:" + std::to_string(port) + "/postgres";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(postmaster, nullptr, WNOHANG) == postmaster) break;
    PGconn* connection = PQconnectdb(uri.c_str());
    const bool ready = PQstatus(connection) == CONNECTION_OK;
    PQfinish(connection);
    if (ready) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  kill(postmaster, SIGKILL);
  waitpid(postmaster, nullptr, 0);
  postmaster = -1;
  why = "postgres did not start; see " + folder + "/postgres.log";
  return false;
}

void PostgresCluster::stop() {
  if (postmaster <= 0) return;
  // Fast shutdown; a server that hangs is killed.
  kill(postmaster, SIGINT);
  bool ended = false;
  for (int i = 0; i < 300 && !ended; ++i) {
    ended = waitpid(postmaster, nullptr, WNOHANG) == postmaster;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (!ended) {
    kill(postmaster, SIGKILL);
    waitpid(postmaster, nullptr, 0);
  }
  postmaster = -1;
}

bool PostgresCluster::restart(const std::function<void()>& whileDown) {
  if (!running()) return false;
  const int samePort = port;
  stop();
  whileDown();
  return start(samePort);
}

PostgresCluster::~PostgresCluster() {
  stop();
  if (!folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
}

std::string PostgresCluster::freshDatabase() {
  if (!running()) return std::string();
  const std::string name = "pellix_test_" + std::to_string(++databases);
  const std::string base = "postgresql://pellix@127.0.0.1:" + std::to_string(port) + "/";
  std::string error;
  if (!execute(base + "postgres", "CREATE DATABASE " + name, error)) {
    why = "cannot create a database: " + error;
    return std::string();
  }
  return base + name;
}

bool PostgresCluster::execute(const std::string& uri, const std::string& sql, std::string& error) {
  PGconn* connection = PQconnectdb(uri.c_str());
  if (PQstatus(connection) != CONNECTION_OK) {
    error = PQerrorMessage(connection);
    PQfinish(connection);
    return false;
  }
  PQsetNoticeProcessor(connection, [](void*, const char*) {}, nullptr);
  PGresult* result = PQexec(connection, sql.c_str());
  const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
  if (!ok) error = PQresultErrorMessage(result);
  PQclear(result);
  PQfinish(connection);
  return ok;
}
