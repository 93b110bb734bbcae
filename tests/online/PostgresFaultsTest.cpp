// The real pellix-scores-server on PostgreSQL under faults. While the database restarts under
// writers every submission is answered 503 at once (no client waits past its deadline) and the
// server serves again soon after the database is back, without a restart of its own; after a
// quiet restart not even the first request fails. When one of two instances is killed under
// writers the other goes on serving. No acknowledged submission is missing, and every
// submission sent again with its id after a failure is stored exactly once.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BackendDatabase.h"
#include "PostgresCluster.h"
#include "ScoreChecksum.h"
#include "ScoreDatabase.h"
#include "ScoresServerProcess.h"
#include "TestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Sent {
  std::string name;
  int score = 0;
  std::string id;
  int status = -1;  // -1: no reply
};

std::string bodyOf(const Sent& sent) {
  const int hash = ScoreChecksum::ofSubmission(0, 4, 0, sent.name.data(), sent.name.size(), sent.score);
  return "game_id=0&game_mode=4&device_id=0&user_name=" + sent.name + "&score=" + std::to_string(sent.score) +
         "&hash=" + std::to_string(hash) + "&submission_id=" + sent.id;
}

// 32 hexadecimal digits naming writer `writer`'s submission number `number`.
std::string idOf(int writer, int number) {
  char text[33];
  std::snprintf(text, sizeof text, "%016x%016x", writer + 1, number);
  return text;
}

// Waits up to `limit` (of a quiet Release build, scaled for this run) for `condition`.
template <class Condition>
bool waitFor(Condition condition, std::chrono::seconds limit) {
  const int limitMs = testenv::scaledMs(static_cast<int>(limit.count()) * 1000);
  const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Four clients submitting distinct scores of mode 4, each with its own id, until stopped. Each
// submission goes to the first of `ports` and, when that fails, to the next, as a proxy in
// front of several instances would send it; what each got is kept.
class Writers {
 public:
  explicit Writers(std::vector<int> serverPorts) : ports(std::move(serverPorts)) {
    for (int w = 0; w < 4; ++w) threads.emplace_back([this, w] { write(w); });
  }
  ~Writers() { stop(); }

  void stop() {
    writing = false;
    for (std::thread& thread : threads) {
      if (thread.joinable()) thread.join();
    }
  }

  std::atomic<int> acknowledged{0}, refused{0};
  std::atomic<long long> slowestMs{0};
  // When the last success was answered, in steady-clock ticks.
  std::atomic<long long> lastSuccess{0};
  // Valid after stop().
  std::vector<Sent> sent;

 private:
  void write(int w) {
    std::vector<std::unique_ptr<httplib::Client>> clients;
    for (int port : ports) {
      clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", port));
      clients.back()->set_read_timeout(30, 0);
    }
    for (int number = 0; writing; ++number) {
      Sent one{"w" + std::to_string(w), w * 100000 + number, idOf(w, number)};
      for (auto& client : clients) {
        const auto start = Clock::now();
        auto reply = client->Post("/pellix/submit_score/", bodyOf(one), "application/x-www-form-urlencoded");
        const auto end = Clock::now();
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
        if (ms > slowestMs) slowestMs = ms;
        one.status = reply ? reply->status : -1;
        if (one.status == 200) {
          lastSuccess = end.time_since_epoch().count();
          break;
        }
      }
      ++(one.status == 200 ? acknowledged : refused);
      {
        std::lock_guard<std::mutex> guard(lock);
        sent.push_back(one);
      }
      // A client backs off after a refusal rather than hammering a server that is down.
      if (one.status != 200) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  const std::vector<int> ports;
  std::atomic<bool> writing{true};
  std::mutex lock;
  std::vector<std::thread> threads;
};

// Sends every submission of `sent` that did not get its 200 again, with its id, to `port`, as a
// client's outbox would; returns how many. Those the database had committed before their
// reply was lost are not stored twice.
int resendFailed(int port, const std::vector<Sent>& sent) {
  httplib::Client client("127.0.0.1", port);
  int resent = 0;
  for (const Sent& one : sent) {
    if (one.status == 200) continue;
    auto reply = client.Post("/pellix/submit_score/", bodyOf(one), "application/x-www-form-urlencoded");
    EXPECT_TRUE(reply && reply->status == 200) << (reply ? reply->body : "no reply");
    ++resent;
  }
  return resent;
}

// Every submission of `sent` is in the table once, and nothing else is.
void expectEachStoredOnce(const std::string& location, const std::vector<Sent>& sent) {
  ScoreDatabase storage;
  std::string error;
  ASSERT_TRUE(storage.open(location, 0, error)) << error;
  std::vector<ScoreStore::Entry> entries;
  ASSERT_TRUE(storage.store().topScores(4, 1000000, entries));
  std::multiset<std::pair<std::string, int>> stored;
  for (const auto& entry : entries) stored.insert({entry.name, entry.score});
  EXPECT_EQ(stored.size(), sent.size()) << "every submission once, none twice";
  for (const Sent& one : sent) EXPECT_EQ(stored.count({one.name, one.score}), 1u) << one.name << " " << one.score;
}

TEST(PostgresFaults, ARestartOfTheDatabaseCosts503sWhileItIsDownAndLosesNothing) {
  BackendDatabase database(Backend::POSTGRES);
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess server(database.location(), {"--submit-limit", "0", "--quiet"});
  ASSERT_TRUE(server.started()) << server.output();
  Writers writers({server.listeningPort()});
  EXPECT_TRUE(waitFor([&] { return writers.acknowledged >= 50; }, std::chrono::seconds(30)));
  const bool restarted = PostgresCluster::shared().restart([&] {
    // The writers meet the database's absence before it comes back.
    const int before = writers.refused;
    EXPECT_TRUE(waitFor([&] { return writers.refused >= before + 20; }, std::chrono::seconds(30)));
  });
  const Clock::time_point back = Clock::now();
  ASSERT_TRUE(restarted) << PostgresCluster::shared().failure();
  // Served again within 5 s of the database's return, by the same server process.
  EXPECT_TRUE(waitFor([&] { return writers.lastSuccess > back.time_since_epoch().count(); }, std::chrono::seconds(5)));
  const long long recoveredMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - back).count();
  const int acknowledgedAfter = writers.acknowledged;
  EXPECT_TRUE(waitFor([&] { return writers.acknowledged >= acknowledgedAfter + 20; }, std::chrono::seconds(30)));
  writers.stop();
  EXPECT_LT(writers.slowestMs.load(), testenv::scaledMs(10000)) << "a submission waited past the request deadline";
  const int resent = resendFailed(server.listeningPort(), writers.sent);
  std::printf("%d acknowledged, %d refused, %d sent again; served again %lld ms after the database's return; "
              "slowest reply %lld ms\n",
              writers.acknowledged.load(), writers.refused.load(), resent, recoveredMs, writers.slowestMs.load());
  expectEachStoredOnce(database.location(), writers.sent);
}

TEST(PostgresFaults, TheFirstRequestsAfterAQuietRestartAreServed) {
  BackendDatabase database(Backend::POSTGRES);
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess server(database.location(), {"--submit-limit", "0", "--quiet"});
  ASSERT_TRUE(server.started()) << server.output();
  httplib::Client client("127.0.0.1", server.listeningPort());
  const std::string topTen = "/pellix/top_scores/?game_id=0&game_mode=4&max_res=10";
  // The server keeps the connection of this fetch for the next request.
  auto before = client.Get(topTen.c_str());
  ASSERT_TRUE(before);
  ASSERT_EQ(before->status, 200);
  // No request while the database is down: the kept connection was closed by the restart, and
  // the server must not lend it to the next request.
  ASSERT_TRUE(PostgresCluster::shared().restart([] {})) << PostgresCluster::shared().failure();
  Sent one{"Ann", 100, idOf(9, 0)};
  auto submitted = client.Post("/pellix/submit_score/", bodyOf(one), "application/x-www-form-urlencoded");
  ASSERT_TRUE(submitted);
  EXPECT_EQ(submitted->status, 200) << submitted->body;
  auto after = client.Get(topTen.c_str());
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200) << after->body;
}

TEST(PostgresFaults, WhenOneOfTwoInstancesIsKilledTheOtherServesAndNothingIsLost) {
  BackendDatabase database(Backend::POSTGRES);
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess first(database.location(), {"--submit-limit", "0", "--quiet"});
  ScoresServerProcess second(database.location(), {"--submit-limit", "0", "--quiet"});
  ASSERT_TRUE(first.started()) << first.output();
  ASSERT_TRUE(second.started()) << second.output();
  Writers writers({first.listeningPort(), second.listeningPort()});
  EXPECT_TRUE(waitFor([&] { return writers.acknowledged >= 50; }, std::chrono::seconds(30)));
  first.kill9();
  const int acknowledgedBefore = writers.acknowledged;
  EXPECT_TRUE(waitFor([&] { return writers.acknowledged >= acknowledgedBefore + 50; }, std::chrono::seconds(30)))
      << "the second instance did not go on serving";
  writers.stop();
  const int resent = resendFailed(second.listeningPort(), writers.sent);
  std::printf("%d acknowledged, %d failed on both instances, %d sent again\n", writers.acknowledged.load(),
              writers.refused.load(), resent);
  expectEachStoredOnce(database.location(), writers.sent);
}

}  // namespace
