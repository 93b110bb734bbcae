// bench_scores_server_load: a bounded load test of pellix-scores-server on loopback. It starts
// the real server (a fresh database filled with 5000 scores per table, the submission limit
// off), then for each kind of request, top-ten fetches and score submissions, runs several
// clients for a fixed time, a few rounds each, and prints requests per second and the latency
// median, 90th and 99th percentiles of every round and the median over the rounds.
// Like the game, every request opens its own connection.
//
// Under attack: --slow N and --silent M hold N connections that send their request a byte
// every 2 s and M that send nothing, spread over --addresses A loopback addresses
// (127.0.0.2 onwards), for the whole run; a connection the server cuts is opened again. The
// honest clients then show what players see while a server is being starved.
//
// --server PATH measures another build of the server (one that takes the same --db, --port and
// --submit-limit options), to compare engines.
//
// --db URI runs the server on that PostgreSQL database (its score table is emptied and filled
// like the SQLite one) instead of a fresh SQLite file; --instances 2 starts two servers on the
// same database, and the clients take turns between them, as behind a proxy.
//
//   bench_scores_server_load [--seconds S] [--rounds R] [--clients C] [--server PATH]
//                            [--slow N] [--silent M] [--addresses A] [--db URI] [--instances N]
//
// Defaults: 3 s, 3 rounds, 4 clients, no attackers: about 20 s in all.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ScoreChecksum.h"
#include "ScoreDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Round {
  double requestsPerSecond = 0;
  double medianMs = 0, p90Ms = 0, p99Ms = 0, maxMs = 0;
  long failures = 0;
};

struct Server {
  pid_t pid = -1;
  int port = -1;
};

// Starts the server binary on a free port and reads the port from its first line. Its log
// lines (refused and cut attackers) go nowhere.
Server startServer(const std::string& binary, const std::string& database) {
  Server server;
  int fds[2];
  if (pipe(fds) != 0) return server;
  server.pid = fork();
  if (server.pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    int nowhere = open("/dev/null", O_WRONLY);
    if (nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(binary.c_str(), binary.c_str(), "--db", database.c_str(), "--port", "0", "--submit-limit", "0",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string line;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') line += c;
  close(fds[0]);
  size_t colon = line.rfind(':');
  if (colon != std::string::npos) server.port = std::atoi(line.c_str() + colon + 1);
  return server;
}

// A connection from a given loopback address; -1 when it cannot be made.
int connectFrom(const std::string& from, int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, from.c_str(), &local.sin_addr);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(static_cast<uint16_t>(port));
  remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Slow and silent clients held open on one thread for the life of the object.
class Attackers {
 public:
  Attackers(int port, int slow, int silent, int addresses) {
    for (int i = 0; i < slow + silent; ++i) {
      Held held;
      held.from = "127.0.0." + std::to_string(2 + i % addresses);
      held.slow = i < slow;
      held.fd = connectFrom(held.from, port);
      connections.push_back(held);
    }
    worker = std::thread([this, port] {
      const std::string request = "GET /pellix/top_scores/?game_id=0&game_mode=0&max_res=10 HTTP/1.1\r\nHost: x\r\n\r\n";
      while (!stopping) {
        for (Held& held : connections) {
          char byte;
          bool ended = held.fd < 0 || recv(held.fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
          if (!ended && held.slow) {
            // Never the last byte: the request stays incomplete.
            ended = send(held.fd, &request[held.sent % (request.size() - 1)], 1, MSG_NOSIGNAL) != 1;
            ++held.sent;
          }
          if (ended) {
            if (held.fd >= 0) close(held.fd);
            held.fd = connectFrom(held.from, port);
            held.sent = 0;
            ++reopened;
          }
        }
        for (int tick = 0; tick < 20 && !stopping; ++tick) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
  }
  ~Attackers() {
    stopping = true;
    worker.join();
    for (Held& held : connections) {
      if (held.fd >= 0) close(held.fd);
    }
  }
  long reopenedCount() const { return reopened; }

 private:
  struct Held {
    std::string from;
    bool slow = false;
    int fd = -1;
    size_t sent = 0;
  };
  std::vector<Held> connections;
  std::atomic<bool> stopping{false};
  std::atomic<long> reopened{0};
  std::thread worker;
};

double percentile(std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  size_t index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

template <class Request>
Round runRound(const std::vector<int>& ports, int clients, double seconds, Request request) {
  std::vector<std::vector<double>> latencies(static_cast<size_t>(clients));
  std::atomic<long> failures{0};
  Clock::time_point start = Clock::now();
  Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::vector<std::thread> threads;
  for (int t = 0; t < clients; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(static_cast<unsigned>(t) * 7919u + 1u);
      httplib::Client client("127.0.0.1", ports[static_cast<size_t>(t) % ports.size()]);
      client.set_keep_alive(false);
      // A request that waits longer than this counts as failed.
      client.set_connection_timeout(10, 0);
      client.set_read_timeout(10, 0);
      while (Clock::now() < end) {
        Clock::time_point sent = Clock::now();
        bool ok = request(client, random);
        latencies[static_cast<size_t>(t)].push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        if (!ok) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<double> all;
  for (const auto& perClient : latencies) all.insert(all.end(), perClient.begin(), perClient.end());
  std::sort(all.begin(), all.end());
  Round round;
  round.requestsPerSecond = static_cast<double>(all.size()) / elapsed;
  round.medianMs = percentile(all, 0.5);
  round.p90Ms = percentile(all, 0.9);
  round.p99Ms = percentile(all, 0.99);
  round.maxMs = all.empty() ? 0 : all.back();
  round.failures = failures;
  return round;
}

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class Request>
void measure(const char* title, const std::vector<int>& ports, int clients, double seconds, int rounds,
             Request request) {
  std::vector<double> rates, medians, p90s, p99s;
  for (int r = 0; r < rounds; ++r) {
    Round round = runRound(ports, clients, seconds, request);
    std::printf("%-12s round %d: %8.0f requests/s, latency median %6.2f ms, p90 %6.2f ms, p99 %6.2f ms, max %7.1f ms, "
                "%ld failed\n",
                title, r + 1, round.requestsPerSecond, round.medianMs, round.p90Ms, round.p99Ms, round.maxMs,
                round.failures);
    rates.push_back(round.requestsPerSecond);
    medians.push_back(round.medianMs);
    p90s.push_back(round.p90Ms);
    p99s.push_back(round.p99Ms);
  }
  std::printf("%-12s MEDIAN : %8.0f requests/s, latency median %6.2f ms, p90 %6.2f ms, p99 %6.2f ms\n\n", title,
              medianOf(rates), medianOf(medians), medianOf(p90s), medianOf(p99s));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  int rounds = 3;
  int clients = 4;
  int slow = 0, silent = 0, addresses = 100;
  std::string binary = PELLIX_SCORES_SERVER_BINARY;
  std::string postgres;
  int instances = 1;
  bool understood = argc % 2 == 1;
  for (int i = 1; understood && i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    else if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--clients") == 0) clients = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--server") == 0) binary = argv[i + 1];
    else if (std::strcmp(argv[i], "--slow") == 0) slow = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--silent") == 0) silent = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--addresses") == 0) addresses = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--db") == 0) postgres = argv[i + 1];
    else if (std::strcmp(argv[i], "--instances") == 0) instances = std::atoi(argv[i + 1]);
    else understood = false;
  }
  if (!understood || seconds <= 0 || seconds > 60 || rounds < 1 || rounds > 20 || clients < 1 || clients > 256 ||
      slow < 0 || silent < 0 || slow + silent > 5000 || addresses < 1 || addresses > 250 || instances < 1 ||
      instances > 8 || (!postgres.empty() && !ScoreDatabase::isPostgresUri(postgres)) ||
      (postgres.empty() && instances > 1)) {
    std::fprintf(stderr,
                 "usage: %s [--seconds 0-60] [--rounds 1-20] [--clients 1-256] [--server PATH]\n"
                 "          [--slow N] [--silent M] [--addresses 1-250] [--db postgresql://...]\n"
                 "          [--instances 1-8, more than 1 only with --db]\n",
                 argv[0]);
    return 2;
  }

  char pattern[] = "/tmp/pellix-load-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string folder = pattern;
  const std::string database = postgres.empty() ? folder + "/scores.db" : postgres;
  {
    // A populated database: the top ten comes from a table of realistic size.
    ScoreDatabase storage;
    std::string error;
    if (!storage.open(database, 0, error)) {
      std::fprintf(stderr, "cannot open %s: %s\n", database.c_str(), error.c_str());
      return 1;
    }
    if (!postgres.empty()) {
      std::printf("emptying and filling the PostgreSQL table (a minute or so)\n");
      std::fflush(stdout);
      if (std::system(("psql -q -c 'TRUNCATE scores, recent_submissions' '" + postgres + "'").c_str()) != 0) {
        std::fprintf(stderr, "cannot empty the tables with psql\n");
        return 1;
      }
    }
    // Four writers: one insert is a round trip to PostgreSQL.
    std::vector<std::thread> fillers;
    for (int part = 0; part < 4; ++part) {
      fillers.emplace_back([&storage, part] {
        std::mt19937 random(static_cast<unsigned>(part) + 1);
        for (int mode = part * 3; mode < part * 3 + 3; ++mode) {
          for (int i = 0; i < 5000; ++i) {
            storage.store().addScore(mode, "Player" + std::to_string(i), static_cast<int>(random() % 5000), "");
          }
        }
      });
    }
    for (std::thread& filler : fillers) filler.join();
  }
  std::vector<Server> servers;
  std::vector<int> ports;
  for (int i = 0; i < instances; ++i) {
    servers.push_back(startServer(binary, database));
    if (servers.back().port <= 0) {
      std::fprintf(stderr, "the server did not start\n");
      return 1;
    }
    ports.push_back(servers.back().port);
  }
  Server& server = servers.front();
  std::printf("%s on port %d (%d instance%s, %s), %d clients, %d rounds of %.1f s, one connection per request\n",
              binary.c_str(), server.port, instances, instances > 1 ? "s" : "",
              postgres.empty() ? "SQLite" : "PostgreSQL", clients, rounds, seconds);
  std::unique_ptr<Attackers> attackers;
  if (slow + silent > 0) {
    std::printf("under attack: %d slow clients (a byte every 2 s) and %d silent ones from %d addresses\n", slow, silent,
                addresses);
    attackers = std::make_unique<Attackers>(server.port, slow, silent, addresses);
    // Let them all connect before measuring.
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  std::printf("\n");

  measure("top ten", ports, clients, seconds, rounds, [](httplib::Client& client, std::mt19937& random) {
    std::string target = "/pellix/top_scores/?game_id=0&game_mode=" + std::to_string(random() % 12) + "&max_res=10";
    auto reply = client.Get(target.c_str());
    return reply && reply->status == 200;
  });
  measure("submission", ports, clients, seconds, rounds, [](httplib::Client& client, std::mt19937& random) {
    const int mode = static_cast<int>(random() % 12);
    const int score = static_cast<int>(random() % 6000);
    const std::string name = "Bench" + std::to_string(random() % 1000);
    const int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
    std::string body = "game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + name +
                       "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash);
    auto reply = client.Post("/pellix/submit_score/", body, "application/x-www-form-urlencoded");
    return reply && reply->status == 200;
  });

  if (attackers) {
    std::printf("attacking connections the server closed (opened again): %ld\n", attackers->reopenedCount());
    attackers.reset();
  }
  for (Server& running : servers) {
    kill(running.pid, SIGTERM);
    int status = 0;
    waitpid(running.pid, &status, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
