// bench_scores_server_load: a bounded load test of pellix-scores-server on loopback. It starts
// the real server (a fresh database filled with 5000 scores per table, the submission limit
// off), then for each kind of request, top-ten fetches and score submissions, runs several
// clients for a fixed time, a few rounds each, and prints requests per second and the latency
// median, 90th and 99th percentiles of every round and the median over the rounds.
// Like the game, every request opens its own connection.
//
//   bench_scores_server_load [--seconds S] [--rounds R] [--clients C]
//
// Defaults: 3 s, 3 rounds, 4 clients: about 20 s in all.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ScoreChecksum.h"
#include "ScoreStore.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Round {
  double requestsPerSecond = 0;
  double medianMs = 0, p90Ms = 0, p99Ms = 0;
  long failures = 0;
};

struct Server {
  pid_t pid = -1;
  int port = -1;
};

// Starts the server binary on a free port and reads the port from its first line.
Server startServer(const std::string& database) {
  Server server;
  int fds[2];
  if (pipe(fds) != 0) return server;
  server.pid = fork();
  if (server.pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(PELLIX_SCORES_SERVER_BINARY, PELLIX_SCORES_SERVER_BINARY, "--db", database.c_str(), "--port", "0",
          "--submit-limit", "0", static_cast<char*>(nullptr));
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

double percentile(std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  size_t index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

template <class Request>
Round runRound(int port, int clients, double seconds, Request request) {
  std::vector<std::vector<double>> latencies(static_cast<size_t>(clients));
  std::atomic<long> failures{0};
  Clock::time_point start = Clock::now();
  Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::vector<std::thread> threads;
  for (int t = 0; t < clients; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(static_cast<unsigned>(t) * 7919u + 1u);
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(false);
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
  round.failures = failures;
  return round;
}

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class Request>
void measure(const char* title, int port, int clients, double seconds, int rounds, Request request) {
  std::vector<double> rates, medians, p90s, p99s;
  for (int r = 0; r < rounds; ++r) {
    Round round = runRound(port, clients, seconds, request);
    std::printf("%-12s round %d: %8.0f requests/s, latency median %6.2f ms, p90 %6.2f ms, p99 %6.2f ms, %ld failed\n",
                title, r + 1, round.requestsPerSecond, round.medianMs, round.p90Ms, round.p99Ms, round.failures);
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
  bool understood = argc % 2 == 1;
  for (int i = 1; understood && i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    else if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--clients") == 0) clients = std::atoi(argv[i + 1]);
    else understood = false;
  }
  if (!understood || seconds <= 0 || seconds > 60 || rounds < 1 || rounds > 20 || clients < 1 || clients > 256) {
    std::fprintf(stderr, "usage: %s [--seconds 0-60] [--rounds 1-20] [--clients 1-256]\n", argv[0]);
    return 2;
  }

  char pattern[] = "/tmp/pellix-load-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string folder = pattern;
  const std::string database = folder + "/scores.db";
  {
    // A populated database: the top ten comes from a table of realistic size.
    ScoreStore store;
    std::string error;
    if (!store.open(database, error)) {
      std::fprintf(stderr, "cannot create %s: %s\n", database.c_str(), error.c_str());
      return 1;
    }
    std::mt19937 random(1);
    for (int mode = 0; mode < 12; ++mode) {
      for (int i = 0; i < 5000; ++i) store.addScore(mode, "Player" + std::to_string(i), static_cast<int>(random() % 5000));
    }
  }
  Server server = startServer(database);
  if (server.port <= 0) {
    std::fprintf(stderr, "the server did not start\n");
    return 1;
  }
  std::printf("pellix-scores-server on port %d, %d clients, %d rounds of %.1f s, one connection per request\n\n",
              server.port, clients, rounds, seconds);

  measure("top ten", server.port, clients, seconds, rounds, [](httplib::Client& client, std::mt19937& random) {
    std::string target = "/pellix/top_scores/?game_id=0&game_mode=" + std::to_string(random() % 12) + "&max_res=10";
    auto reply = client.Get(target.c_str());
    return reply && reply->status == 200;
  });
  measure("submission", server.port, clients, seconds, rounds, [](httplib::Client& client, std::mt19937& random) {
    const int mode = static_cast<int>(random() % 12);
    const int score = static_cast<int>(random() % 6000);
    const std::string name = "Bench" + std::to_string(random() % 1000);
    const int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
    std::string body = "game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + name +
                       "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash);
    auto reply = client.Post("/pellix/submit_score/", body, "application/x-www-form-urlencoded");
    return reply && reply->status == 200;
  });

  kill(server.pid, SIGTERM);
  int status = 0;
  waitpid(server.pid, &status, 0);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
