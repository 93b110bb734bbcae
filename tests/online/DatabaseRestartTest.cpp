// The real pellix-scores-server on PostgreSQL while the database restarts under it, with
// writers submitting all along: while the database is down every submission is answered 503 at
// once (no client waits past its deadline), the server serves again soon after the database is
// back without a restart of its own, no acknowledged submission is missing, and every
// submission sent again with its id after a 503 is stored exactly once.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BackendDatabase.h"
#include "PostgresCluster.h"
#include "ScoreChecksum.h"
#include "ScoreStorage.h"
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

TEST(DatabaseRestart, SubmissionsAre503WhileDownServedAgainAfterAndNoneIsLostOrDoubled) {
  BackendDatabase database(Backend::POSTGRES);
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess server(database.location(), {"--submit-limit", "0", "--quiet"});
  ASSERT_TRUE(server.started()) << server.output();

  std::mutex lock;
  std::vector<Sent> sent;
  std::atomic<bool> writing{true};
  std::atomic<int> acknowledged{0}, refused{0};
  std::atomic<long long> slowestMs{0};
  std::atomic<long long> lastSuccessNs{0};
  std::vector<std::thread> writers;
  for (int w = 0; w < 4; ++w) {
    writers.emplace_back([&, w] {
      httplib::Client client("127.0.0.1", server.listeningPort());
      client.set_read_timeout(30, 0);
      for (int number = 0; writing; ++number) {
        Sent one{"w" + std::to_string(w), w * 100000 + number, idOf(w, number)};
        const auto start = Clock::now();
        auto reply = client.Post("/pellix/submit_score/", bodyOf(one), "application/x-www-form-urlencoded");
        const auto end = Clock::now();
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
        if (ms > slowestMs) slowestMs = ms;
        one.status = reply ? reply->status : -1;
        if (one.status == 200) {
          ++acknowledged;
          lastSuccessNs = end.time_since_epoch().count();
        } else {
          ++refused;
        }
        {
          std::lock_guard<std::mutex> guard(lock);
          sent.push_back(one);
        }
        // A client backs off after a refusal rather than hammering a server that is down.
        if (one.status != 200) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    });
  }

  // Waits up to `limit` (of a quiet Release build, scaled for this run) for `condition`.
  auto waitFor = [](auto condition, std::chrono::seconds limit) {
    const int limitMs = testenv::scaledMs(static_cast<int>(limit.count()) * 1000);
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!condition()) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  };
  EXPECT_TRUE(waitFor([&] { return acknowledged >= 50; }, std::chrono::seconds(30)));
  Clock::time_point back;
  const bool restarted = PostgresCluster::shared().restart([&] {
    // The writers meet the database's absence before it comes back.
    const int before = refused;
    EXPECT_TRUE(waitFor([&] { return refused >= before + 20; }, std::chrono::seconds(30)));
  });
  back = Clock::now();
  ASSERT_TRUE(restarted) << PostgresCluster::shared().failure();
  // Served again within 5 s of the database's return, by the same server process.
  EXPECT_TRUE(waitFor([&] { return lastSuccessNs > back.time_since_epoch().count(); }, std::chrono::seconds(5)));
  const long long recoveredMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - back).count();
  const int acknowledgedAfter = acknowledged;
  EXPECT_TRUE(waitFor([&] { return acknowledged >= acknowledgedAfter + 20; }, std::chrono::seconds(30)));
  writing = false;
  for (std::thread& writer : writers) writer.join();
  EXPECT_LT(slowestMs.load(), testenv::scaledMs(10000)) << "a submission waited past the request deadline";

  // Every submission that did not get its 200 is sent again with its id, as a client's outbox
  // would; those the database had committed before the cut are not stored twice.
  httplib::Client client("127.0.0.1", server.listeningPort());
  int resent = 0;
  for (Sent& one : sent) {
    if (one.status == 200) continue;
    auto reply = client.Post("/pellix/submit_score/", bodyOf(one), "application/x-www-form-urlencoded");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200) << reply->body;
    ++resent;
  }
  std::printf("%d acknowledged, %d refused, %d sent again; served again %lld ms after the database's return; "
              "slowest reply %lld ms\n",
              acknowledged.load(), refused.load(), resent, recoveredMs, slowestMs.load());

  ScoreStorage storage;
  std::string error;
  ASSERT_TRUE(storage.open(database.location(), 0, error)) << error;
  std::vector<ScoreStore::Entry> entries;
  ASSERT_TRUE(storage.store().topScores(4, 1000000, entries));
  std::multiset<std::pair<std::string, int>> stored;
  for (const auto& entry : entries) stored.insert({entry.name, entry.score});
  EXPECT_EQ(stored.size(), sent.size()) << "every submission once, none twice";
  for (const Sent& one : sent) EXPECT_EQ(stored.count({one.name, one.score}), 1u) << one.name << " " << one.score;
}

}  // namespace
