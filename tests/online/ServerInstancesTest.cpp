// The server beyond one process and one machine: two instances on one PostgreSQL database rank
// against one table, serve the same top ten and share the submission limit; behind a trusted
// proxy the limit counts the players, not the proxy; and on both engines every acknowledged
// submission survives a kill -9 of the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BackendDatabase.h"
#include "LoopbackSocket.h"
#include "ScoreChecksum.h"
#include "ScoreDatabase.h"
#include "ScoresServerProcess.h"
#include "TestEnvironment.h"

namespace {

const char* SUBMIT = "/pellix/submit_score/";

std::string submission(const std::string& name, int score, int mode = 0) {
  const int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
  return "game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + name +
         "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash);
}

std::string topScores(int port, int count = 10, int mode = 0) {
  LoopbackSocket::Reply reply = LoopbackSocket::request(
      port, "127.0.0.1", "GET", "/pellix/top_scores/?game_id=0&game_mode=" + std::to_string(mode) +
                                    "&max_res=" + std::to_string(count));
  EXPECT_EQ(reply.status, 200);
  return reply.body;
}

TEST(TwoInstances, OnOnePostgresDatabaseTheyRankAlikeServeOneTableAndShareTheLimit) {
  BackendDatabase database(Backend::POSTGRES);
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess first(database.location(), {"--quiet"});
  ScoresServerProcess second(database.location(), {"--quiet"});
  ASSERT_TRUE(first.started()) << first.output();
  ASSERT_TRUE(second.started()) << second.output();
  const int ports[2] = {first.listeningPort(), second.listeningPort()};

  // Submissions alternate between the instances (from many addresses, below the limit); each
  // rank is the one a single table gives, ties below the scores already there.
  const std::vector<int> scores = {500, 300, 300, 700, 300, 10, 700, 999, 0, 450, 450, 451, 300, 1, 800, 800};
  std::vector<std::pair<std::string, int>> table;
  for (size_t i = 0; i < scores.size(); ++i) {
    const std::string name = "P" + std::to_string(i);
    int expectedRank = 1;
    for (const auto& entry : table) expectedRank += entry.second >= scores[i];
    auto at = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.second < scores[i]; });
    table.insert(at, {name, scores[i]});
    LoopbackSocket::Reply reply = LoopbackSocket::request(ports[i % 2], "127.0.0." + std::to_string(10 + i), "POST",
                                                          SUBMIT, submission(name, scores[i]));
    EXPECT_EQ(reply.status, 200) << name;
    EXPECT_EQ(reply.body, "OK," + std::to_string(expectedRank) + "\n") << name << " on instance " << i % 2;
  }
  std::string expected = "name,score\n";
  for (size_t i = 0; i < 10; ++i) expected += table[i].first + "," + std::to_string(table[i].second) + "\n";
  EXPECT_EQ(topScores(ports[0]), expected);
  EXPECT_EQ(topScores(ports[1]), expected);

  // Writers on both at once: nothing lost, and both serve the same whole table.
  std::vector<std::thread> writers;
  for (int w = 0; w < 2; ++w) {
    writers.emplace_back([&, w] {
      for (int i = 0; i < 20; ++i) {
        LoopbackSocket::request(ports[w], "127.0.1." + std::to_string(w * 20 + i + 1), "POST", SUBMIT,
                                submission("W" + std::to_string(w), 100 + i, 4));
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  const std::string wholeTable = topScores(ports[0], 100, 4);
  EXPECT_EQ(std::count(wholeTable.begin(), wholeTable.end(), '\n'), 41) << wholeTable;
  EXPECT_EQ(topScores(ports[1], 100, 4), wholeTable);

  // 70 submissions from one address within a minute, spread over both at once: exactly 60 get
  // through and 10 are refused with 429.
  std::atomic<int> accepted{0}, refused{0}, other{0};
  writers.clear();
  for (int w = 0; w < 2; ++w) {
    writers.emplace_back([&, w] {
      for (int i = 0; i < 35; ++i) {
        const int status =
            LoopbackSocket::request(ports[w], "127.0.0.77", "POST", SUBMIT, submission("Flood", i, 7)).status;
        (status == 200 ? accepted : status == 429 ? refused : other)++;
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(accepted.load(), 60);
  EXPECT_EQ(refused.load(), 10);
  EXPECT_EQ(other.load(), 0);
  const std::string flood = topScores(ports[1], 100, 7);
  EXPECT_EQ(std::count(flood.begin(), flood.end(), '\n'), 61) << "only the accepted ones were stored";
}

class BehindAProxy : public ::testing::TestWithParam<Backend> {};

INSTANTIATE_TEST_SUITE_P(Engines, BehindAProxy, BACKENDS);

TEST_P(BehindAProxy, TheLimitCountsTheForwardedClientOnlyFromATrustedProxy) {
  BackendDatabase database(GetParam());
  ASSERT_TRUE(database.ready()) << database.failure();
  // 127.0.0.1 is the proxy; 127.0.0.2 is a client that connects directly.
  ScoresServerProcess server(database.location(), {"--submit-limit", "2", "--trusted-proxy", "127.0.0.1", "--quiet"});
  ASSERT_TRUE(server.started()) << server.output();
  const int port = server.listeningPort();
  struct Step {
    const char* from;
    const char* forwardedFor;
    int status;
  };
  const std::vector<Step> steps = {
      {"127.0.0.1", "203.0.113.5", 200},
      {"127.0.0.1", "203.0.113.5", 200},
      {"127.0.0.1", "203.0.113.5", 429},                // the player's third
      {"127.0.0.1", "203.0.113.6", 200},                // another player behind the same proxy
      {"127.0.0.1", "198.51.100.1, 203.0.113.5", 429},  // a forged hop on the left changes nothing
      {"127.0.0.2", "203.0.113.9", 200},                // not the proxy: its header is ignored...
      {"127.0.0.2", "203.0.113.10", 200},
      {"127.0.0.2", "203.0.113.11", 429},               // ...so it is counted as itself
      {"127.0.0.1", "", 200},                           // the proxy's own requests count as the proxy
  };
  int score = 10;
  for (const Step& step : steps) {
    const std::string header = *step.forwardedFor ? std::string("X-Forwarded-For: ") + step.forwardedFor + "\r\n" : "";
    LoopbackSocket::Reply reply =
        LoopbackSocket::request(port, step.from, "POST", SUBMIT, submission("Ann", score++), header);
    EXPECT_EQ(reply.status, step.status) << step.from << " / " << step.forwardedFor;
  }
  // The proxy carries many players: it may hold more connections than one address may. Once
  // the server has taken all 24 from the kernel (and admitted or refused each), every one is
  // answered: a refused one would have been closed without an answer.
  std::vector<std::unique_ptr<LoopbackSocket>> held;
  for (int i = 0; i < 24; ++i) held.push_back(std::make_unique<LoopbackSocket>(port, "127.0.0.1"));
  EXPECT_TRUE(testenv::waitUntil([&] { return LoopbackSocket::acceptQueueLength(port) == 0; }, 30000))
      << "the server stopped accepting";
  for (size_t i = 0; i < held.size(); ++i)
    EXPECT_EQ(held[i]->keepAliveGet("/pellix/top_scores/?game_id=0&game_mode=0&max_res=1"), 200) << "connection " << i;
  EXPECT_EQ(LoopbackSocket::request(port, "127.0.0.1", "GET", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=1")
                .status,
            200);
}

class Durability : public ::testing::TestWithParam<Backend> {};

INSTANTIATE_TEST_SUITE_P(Engines, Durability, BACKENDS);

TEST_P(Durability, EveryAcknowledgedSubmissionSurvivesAKill9) {
  BackendDatabase database(GetParam());
  ASSERT_TRUE(database.ready()) << database.failure();
  std::vector<std::pair<std::string, int>> acknowledged;
  std::mutex lock;
  const auto acknowledgedCount = [&] {
    std::lock_guard<std::mutex> guard(lock);
    return acknowledged.size();
  };
  for (int crash = 0; crash < 3; ++crash) {
    ScoresServerProcess server(database.location(), {"--submit-limit", "0", "--quiet"});
    ASSERT_TRUE(server.started()) << server.output();
    std::atomic<bool> writing{true};
    std::vector<std::thread> writers;
    // Read once: kill9 forgets the port while the writers are still sending.
    const int port = server.listeningPort();
    for (int w = 0; w < 4; ++w) {
      writers.emplace_back([&, w] {
        for (int i = 0; writing; ++i) {
          const std::string name = "c" + std::to_string(crash) + "w" + std::to_string(w) + "n" + std::to_string(i);
          const int score = (crash * 4 + w) * 10000 + i;
          LoopbackSocket::Reply reply =
              LoopbackSocket::request(port, "127.0.0.1", "POST", SUBMIT, submission(name, score, 2));
          if (reply.status == 200) {
            std::lock_guard<std::mutex> guard(lock);
            acknowledged.emplace_back(name, score);
          }
          if (reply.status == -1) break;  // the server is gone
        }
      });
    }
    // Killed once a few of this round's submissions are acknowledged, whatever time they take.
    const size_t before = acknowledgedCount();
    EXPECT_TRUE(testenv::waitUntil([&] { return acknowledgedCount() >= before + 5; }, 30000))
        << "the server acknowledged nothing before the kill";
    server.kill9();
    writing = false;
    for (std::thread& writer : writers) writer.join();
  }
  ASSERT_GT(acknowledged.size(), 10u);
  std::printf("%zu submissions acknowledged over three kills\n", acknowledged.size());
  ScoreDatabase storage;
  std::string error;
  ASSERT_TRUE(storage.open(database.location(), 0, error)) << error;
  std::vector<ScoreStore::Entry> entries;
  ASSERT_TRUE(storage.store().topScores(2, 1000000, entries));
  std::set<std::pair<std::string, int>> stored;
  for (const auto& entry : entries) stored.insert({entry.name, entry.score});
  size_t lost = 0;
  for (const auto& submitted : acknowledged) lost += stored.count(submitted) == 0;
  EXPECT_EQ(lost, 0u) << "of " << acknowledged.size() << " acknowledged submissions";
}

}  // namespace
