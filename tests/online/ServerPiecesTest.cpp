// The high-score server's parts in process: the submission limit on a driven clock, the score
// store's ranks, ties, persistence, schema version and concurrent writers on both engines, the
// client's address behind trusted proxies, the form decoding and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BackendDatabase.h"
#include "ClientAddress.h"
#include "ConnectionGuard.h"
#include "FormFields.h"
#include "RateLimiter.h"
#include "ScoreChecksum.h"
#include "ScoreRequestHandler.h"
#include "SqliteScoreStore.h"
#include "ScoreDatabase.h"
#include "ServerLog.h"
#include "ServerOptions.h"
#include "TempFolder.h"

namespace {

using std::chrono::seconds;

TEST(RateLimiter, SixtyAMinutePerAddressInASlidingWindow) {
  RateLimiter limiter(60);
  RateLimiter::Clock::time_point t0{};
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(i / 2)).value(), RateLimiter::ADMITTED) << i;
  }
  EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(30)).value(), RateLimiter::REFUSED) << "the 61st within a minute";
  EXPECT_EQ(limiter.admit("10.0.0.2", t0 + seconds(30)).value(), RateLimiter::ADMITTED)
      << "other addresses are counted apart";
  EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(59)).value(), RateLimiter::REFUSED);
  // The first two left the window at t0 + 60 s: two more are admitted, not a third.
  EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(60)).value(), RateLimiter::ADMITTED);
  EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(60)).value(), RateLimiter::ADMITTED);
  EXPECT_EQ(limiter.admit("10.0.0.1", t0 + seconds(60)).value(), RateLimiter::REFUSED);
  // A limit of 0 admits everything.
  RateLimiter unlimited(0);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(unlimited.admit("10.0.0.1", t0).value(), RateLimiter::ADMITTED);
}

TEST(RateLimiter, ForgetsAddressesThatWentQuiet) {
  RateLimiter limiter(5);
  RateLimiter::Clock::time_point t0{};
  for (int i = 0; i < 3000; ++i) (void)limiter.admit("10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256), t0);
  EXPECT_EQ(limiter.trackedAddresses(), 3000u);
  for (int i = 0; i < 1024; ++i) limiter.admit("10.9.9.9", t0 + seconds(120));
  EXPECT_EQ(limiter.trackedAddresses(), 1u);
}

// The score store on both engines, through what the server opens (ScoreDatabase).
class ScoreStoreTest : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    database = std::make_unique<BackendDatabase>(GetParam());
    ASSERT_TRUE(database->ready()) << database->failure();
    std::string error;
    ASSERT_TRUE(storage.open(database->location(), 0, error)) << error;
  }
  std::vector<std::string> namesOf(int mode, int count) {
    std::vector<ScoreStore::Entry> entries;
    EXPECT_TRUE(storage.store().topScores(mode, count, entries));
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name + "=" + std::to_string(entry.score));
    return names;
  }
  std::unique_ptr<BackendDatabase> database;
  ScoreDatabase storage;
};

INSTANTIATE_TEST_SUITE_P(Engines, ScoreStoreTest, BACKENDS);

TEST_P(ScoreStoreTest, RanksTiesAndOrder) {
  ScoreStore& store = storage.store();
  // The local tables' example: {500, 300, 300}: 300 comes fourth, 301 second.
  EXPECT_EQ(store.addScore(0, "a", 500, "").value().rank, 1);
  EXPECT_EQ(store.addScore(0, "b", 300, "").value().rank, 2);
  EXPECT_EQ(store.addScore(0, "c", 300, "").value().rank, 3);
  EXPECT_EQ(store.addScore(0, "d", 300, "").value().rank, 4);
  EXPECT_EQ(store.addScore(0, "e", 301, "").value().rank, 2);
  EXPECT_EQ(store.addScore(11, "f", 0, "").value().rank, 1);
  EXPECT_EQ(namesOf(0, 100), (std::vector<std::string>{"a=500", "e=301", "b=300", "c=300", "d=300"}));
  EXPECT_EQ(namesOf(0, 2), (std::vector<std::string>{"a=500", "e=301"}));
  EXPECT_EQ(store.count(0).value(), 5);
  EXPECT_EQ(store.count(11).value(), 1);
  EXPECT_EQ(store.count(5).value(), 0);
}

TEST_P(ScoreStoreTest, ScoresStayAfterReopeningAndTheSchemaVersionIsKept) {
  EXPECT_EQ(storage.store().addScore(3, "Zo\xC3\xAB \xE6\x9D\x8E", 42, "").value().rank, 1);
  ScoreDatabase again;
  std::string error;
  ASSERT_TRUE(again.open(database->location(), 0, error)) << error;
  std::vector<ScoreStore::Entry> entries;
  ASSERT_TRUE(again.store().topScores(3, 10, entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Zo\xC3\xAB \xE6\x9D\x8E");
  // Opening twice marks the version once; a database from a newer server is refused, not
  // misread.
  ASSERT_TRUE(database->execute("UPDATE schema_version SET version = 99", error)) << error;
  ScoreDatabase newer;
  EXPECT_FALSE(newer.open(database->location(), 0, error));
  EXPECT_NE(error.find("schema version 99"), std::string::npos) << error;
}

TEST(SqliteScoreStore, AForeignFileIsRefusedAndLeftAlone) {
  TempFolder folder;
  TempFolder::writeFile(folder.path("junk.db"), std::string(2048, 'j'));
  auto junk = SqliteScoreStore::open(folder.path("junk.db"));
  ASSERT_FALSE(junk);
  EXPECT_FALSE(junk.error().empty());
  EXPECT_EQ(TempFolder::contentOf(folder.path("junk.db")), std::string(2048, 'j'));
}

TEST_P(ScoreStoreTest, ConcurrentSubmissionsGetDistinctRanks) {
  ScoreStore& store = storage.store();
  // Every thread submits scores that no other thread submits; with all scores distinct and
  // increasing per thread, the ranks a thread sees never repeat, and nothing is lost.
  RateLimiter unlimited(0);
  ServerLog quietLog(true);
  ScoreRequestHandler handler(store, unlimited, quietLog);
  const int threads = 8, each = 40;
  std::vector<std::thread> workers;
  std::vector<std::vector<std::string>> replies(threads);
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < each; ++i) {
        int score = i * threads + t;
        std::string name = "t" + std::to_string(t);
        int hash = ScoreChecksum::ofSubmission(0, 1, 0, name.data(), name.size(), score);
        std::string body = "game_id=0&game_mode=1&device_id=0&user_name=" + name + "&score=" + std::to_string(score) +
                           "&hash=" + std::to_string(hash);
        replies[t].push_back(handler.submit("127.0.0.1", body, RateLimiter::Clock::now()).body);
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(store.count(1).value(), threads * each);
  for (const auto& perThread : replies) {
    for (const std::string& reply : perThread) EXPECT_EQ(reply.compare(0, 3, "OK,"), 0) << reply;
  }
  std::vector<ScoreStore::Entry> entries;
  ASSERT_TRUE(store.topScores(1, 100, entries));
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].score, threads * each - 1 - static_cast<int>(i));
}

TEST(ServerLog, EveryMessageBecomesOneLine) {
  struct Case {
    const char* message;
    const char* line;
  };
  const Case cases[] = {
      {"no such table: scores", "no such table: scores"},
      // libpq: the error, the statement and a caret under the place, each on a line.
      {"ERROR:  relation \"scores\" does not exist\nLINE 1: SELECT name FROM scores\n                         ^\n",
       "ERROR:  relation \"scores\" does not exist / LINE 1: SELECT name FROM scores / ^"},
      {"server closed the connection unexpectedly\r\n\tThis probably means...\r\n",
       "server closed the connection unexpectedly / This probably means..."},
      {"a\tb\x01" "c\x7F", "a b c "},
      {"\n\n", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ServerLog::folded(c.message), c.line) << c.message;
}

TEST(ClientAddress, ForwardedForCountsOnlyFromTrustedProxies) {
  const ClientAddress behindProxies({"10.0.0.1", "10.0.0.2", "::1"});
  struct Case {
    const char* peer;
    const char* forwardedFor;
    const char* client;
  };
  const std::vector<Case> cases = {
      {"203.0.113.7", "", "203.0.113.7"},
      {"203.0.113.7", "198.51.100.1", "203.0.113.7"},  // not a proxy of ours: the header is the client's word
      {"10.0.0.1", "", "10.0.0.1"},
      {"10.0.0.1", "198.51.100.1", "198.51.100.1"},
      {"10.0.0.1", " 198.51.100.1 ", "198.51.100.1"},
      {"::1", "198.51.100.1", "198.51.100.1"},
      // The client can write anything to the left; the rightmost hop we do not trust counts.
      {"10.0.0.1", "1.2.3.4, 198.51.100.1", "198.51.100.1"},
      {"10.0.0.1", "198.51.100.1, 10.0.0.2", "198.51.100.1"},
      {"10.0.0.1", "198.51.100.1,10.0.0.2,10.0.0.1", "198.51.100.1"},
      {"10.0.0.1", "10.0.0.2", "10.0.0.2"},
      {"10.0.0.1", "2001:DB8::1", "2001:db8::1"},
      {"10.0.0.1", "::ffff:198.51.100.9", "198.51.100.9"},
      // Malformed hops were not written by a trusted proxy: the last trusted hop stands.
      {"10.0.0.1", "unknown", "10.0.0.1"},
      {"10.0.0.1", "198.51.100.1, not-an-address", "10.0.0.1"},
      {"10.0.0.1", "198.51.100.1, 10.0.0.2, junk", "10.0.0.1"},
      {"10.0.0.1", ",", "10.0.0.1"},
      {"10.0.0.1", "198.51.100.1,", "10.0.0.1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(behindProxies.resolve(c.peer, c.forwardedFor), c.client) << c.peer << " / " << c.forwardedFor;
  }
  EXPECT_EQ(ClientAddress().resolve("10.0.0.1", "198.51.100.1"), "10.0.0.1") << "no proxies trusted";
  EXPECT_EQ(ClientAddress::normalise("0:0:0:0:0:0:0:1"), "::1");
  EXPECT_EQ(ClientAddress::normalise("1.2.3"), "");
  EXPECT_EQ(ClientAddress::normalise("1.2.3.4 "), "");
}

TEST(FormFields, StrictDecoding) {
  struct Case {
    std::string text;
    bool ok;
  };
  const std::vector<Case> cases = {
      {"", true},         {"a=1", true},      {"a=", true},        {"a=1&b=2", true},   {"a=%41+b", true},
      {"=1", false},      {"a", false},       {"a=1&", false},     {"&a=1", false},     {"a=1&&b=2", false},
      {"a=1&a=2", false}, {"a=b=c", false},   {"a=%4", false},     {"a=%zz", false},    {"a=%", false},
      {"%61=1&a=2", false},  // the same key escaped
  };
  for (const Case& c : cases) {
    FormFields fields;
    std::string reason;
    EXPECT_EQ(FormFields::parse(c.text, fields, reason), c.ok) << c.text;
    if (!c.ok) {
      EXPECT_FALSE(reason.empty()) << c.text;
    }
  }
  FormFields fields;
  std::string reason;
  ASSERT_TRUE(FormFields::parse("name=%41+b%2b&n=-12", fields, reason));
  EXPECT_EQ(fields.value("name"), "A b+");
  int n = 0;
  EXPECT_TRUE(fields.integer("n", n));
  EXPECT_EQ(n, -12);
  std::string many;
  for (int i = 0; i < 17; ++i) many += (i ? "&k" : "k") + std::to_string(i) + "=1";
  EXPECT_FALSE(FormFields::parse(many, fields, reason));
}

TEST(FormFields, CanonicalIntegers) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const std::vector<Case> cases = {
      {"0", true, 0},           {"7", true, 7},       {"-96", true, -96},  {"999999", true, 999999},
      {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0}, {"", false, 0},       {"-", false, 0},     {"-0", false, 0},
      {"007", false, 0},        {"+7", false, 0},     {" 7", false, 0},    {"7 ", false, 0},
      {"1e3", false, 0},        {"99999999999", false, 0},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(FormFields::isCanonicalInteger(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ServerOptions, CommandLine) {
  struct Case {
    std::vector<const char*> arguments;
    bool ok;
  };
  const std::vector<Case> cases = {
      {{}, true},
      {{"--db", "x.db", "--bind", "0.0.0.0", "--port", "9000", "--submit-limit", "0"}, true},
      {{"--port=0"}, true},
      {{"--quiet", "--request-deadline", "3"}, true},
      {{"--request-deadline", "0"}, false},
      {{"--trusted-proxy", "10.0.0.1", "--trusted-proxy=::1"}, true},
      {{"--trusted-proxy", "localhost"}, false},
      {{"--trusted-proxy"}, false},
      {{"--db", "postgresql://pellix@db.example.org:5432/scores"}, true},
      {{"--request-deadline", "3601"}, false},
      {{"--help"}, true},
      {{"--port"}, false},
      {{"--port", "65536"}, false},
      {{"--port", "-1"}, false},
      {{"--port", "80x"}, false},
      {{"--submit-limit", "-3"}, false},
      {{"--db", ""}, false},
      {{"--verbose"}, false},
      {{"db.sqlite"}, false},
      {{"--tls-cert", "c.pem", "--tls-key=k.pem"}, true},
      {{"--tls-cert", "c.pem"}, false},
      {{"--tls-key", "k.pem"}, false},
      {{"--tls-cert", "", "--tls-key", "k.pem"}, false},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"pellix-scores-server"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    ServerOptions options;
    std::string error;
    EXPECT_EQ(options.parse(static_cast<int>(argv.size()), argv.data(), error), c.ok)
        << (c.arguments.empty() ? "" : c.arguments[0]);
  }
  ServerOptions defaults;
  EXPECT_EQ(defaults.bindAddress, "127.0.0.1");
  EXPECT_EQ(defaults.port, 8642);
  EXPECT_EQ(defaults.submitLimit, 60);
  ServerOptions set;
  std::string error;
  const char* argv[] = {"s", "--db", "a.db", "--port=0", "--submit-limit", "5"};
  ASSERT_TRUE(set.parse(6, argv, error));
  EXPECT_EQ(set.databasePath, "a.db");
  EXPECT_EQ(set.port, 0);
  EXPECT_EQ(set.submitLimit, 5);
  const char* proxies[] = {"s", "--trusted-proxy", "10.0.0.1", "--trusted-proxy", "0:0::1"};
  ASSERT_TRUE(set.parse(5, proxies, error));
  EXPECT_EQ(set.trustedProxies, (std::vector<std::string>{"10.0.0.1", "::1"}));
  EXPECT_FALSE(set.servesTls());
  const char* tls[] = {"s", "--tls-key", "k.pem", "--tls-cert", "c.pem"};
  ASSERT_TRUE(set.parse(5, tls, error));
  EXPECT_TRUE(set.servesTls());
  EXPECT_EQ(set.tlsCertificate, "c.pem");
  EXPECT_EQ(set.tlsKey, "k.pem");
}

}  // namespace

namespace {

// Many engine threads admitting at once from one address: the caps count every admission in
// the same step that checks them, so exactly the cap gets in, whatever the interleaving.
TEST(ConnectionGuardTest, AdmissionsRacingFromManyThreadsNeverPassTheCaps) {
  ServerLog log(true);
  ConnectionGuard::Limits limits;
  limits.maxTotal = 20;
  limits.maxPerAddress = 16;
  limits.deadline = std::chrono::seconds(10);
  ConnectionGuard guard(limits, {}, log);
  const ConnectionGuard::Clock::time_point t0 = ConnectionGuard::Clock::now();
  std::atomic<int> admitted{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        if (guard.admit("10.0.0.1", t0)) ++admitted;
        if (guard.admit("10.0.0." + std::to_string(2 + t % 2), t0)) ++admitted;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(20, admitted.load());
  EXPECT_EQ(20, guard.heldConnections());
  EXPECT_FALSE(guard.admit("10.0.0.1", t0));
}

// A reservation becomes the connection that opens; one that never opens gives its slot back
// after the deadline, and a closed connection gives its slot back at once.
TEST(ConnectionGuardTest, SlotsComeBackFromClosedConnectionsAndAdmissionsThatNeverOpened) {
  ServerLog log(true);
  ConnectionGuard::Limits limits;
  limits.maxPerAddress = 2;
  limits.deadline = std::chrono::seconds(10);
  ConnectionGuard guard(limits, {"10.9.9.9"}, log);
  const ConnectionGuard::Clock::time_point t0 = ConnectionGuard::Clock::now();
  int first = 0, second = 0;
  ASSERT_TRUE(guard.admit("10.0.0.1", t0));
  ASSERT_TRUE(guard.admit("10.0.0.1", t0));
  EXPECT_FALSE(guard.admit("10.0.0.1", t0));
  guard.opened(&first, "10.0.0.1", -1, t0);
  EXPECT_EQ(1, guard.openConnections());
  EXPECT_EQ(2, guard.heldConnections());
  // Before the deadline the unopened admission still holds its slot; after it, it is free.
  guard.sweep(t0 + std::chrono::seconds(5));
  EXPECT_FALSE(guard.admit("10.0.0.1", t0 + std::chrono::seconds(5)));
  guard.requestEnded(&first, t0 + std::chrono::seconds(9));
  guard.sweep(t0 + std::chrono::seconds(10));
  EXPECT_EQ(1, guard.heldConnections());
  ASSERT_TRUE(guard.admit("10.0.0.1", t0 + std::chrono::seconds(10)));
  guard.opened(&second, "10.0.0.1", -1, t0 + std::chrono::seconds(10));
  guard.closed(&first);
  guard.closed(&first);  // a second report changes nothing
  EXPECT_EQ(1, guard.heldConnections());
  EXPECT_TRUE(guard.admit("10.0.0.1", t0 + std::chrono::seconds(10)));
  // A trusted proxy is counted but never held to the per-address cap.
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(guard.admit("10.9.9.9", t0));
}

}  // namespace
