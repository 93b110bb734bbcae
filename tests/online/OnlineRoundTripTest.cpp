// The game's fetcher and uploader against the real pellix-scores-server binary on a free
// loopback port with a fresh database: ranks, ties, the top ten, names that need escaping,
// refusals that must reach the player as the upload alert, and a restart of the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "BackendDatabase.h"
#include "OnlineTestSupport.h"
#include "ScoresServerProcess.h"
#include "TempFolder.h"

namespace {

class OnlineRoundTrip : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    database = std::make_unique<BackendDatabase>(GetParam());
    ASSERT_TRUE(database->ready()) << database->failure();
    server = std::make_unique<ScoresServerProcess>(database->location());
    ASSERT_TRUE(server->started()) << "the server did not start";
    url = std::make_unique<ScoresUrl>(server->baseUrl());
  }

  // Uploads and expects the upload to succeed; returns the rank.
  int submit(const std::string& name, int score, int mode = 0) {
    UploadOutcome outcome = uploadScore(name, score, mode);
    EXPECT_TRUE(outcome.finished);
    EXPECT_FALSE(outcome.alertRequested) << name << " " << score;
    return outcome.rank;
  }

  std::unique_ptr<BackendDatabase> database;
  std::unique_ptr<ScoresServerProcess> server;
  std::unique_ptr<ScoresUrl> url;
};

INSTANTIATE_TEST_SUITE_P(Engines, OnlineRoundTrip, BACKENDS);

TEST_P(OnlineRoundTrip, FetchOfAnEmptyTableEndsWithNoEntries) {
  bool finished = false;
  EXPECT_TRUE(fetchTopScores(0, &finished).empty());
  EXPECT_TRUE(finished);
}

TEST_P(OnlineRoundTrip, EqualScoresRankBelowTheScoresAlreadyThere) {
  EXPECT_EQ(submit("Ann", 500), 1);
  EXPECT_EQ(submit("Bob", 300), 2);
  EXPECT_EQ(submit("Cid", 300), 3);  // ties below Bob
  EXPECT_EQ(submit("Dee", 301), 2);
  EXPECT_EQ(submit("Eve", 1000), 1);
  EXPECT_EQ(submit("Fay", 0), 6);  // a score of 0 is a real score
  std::vector<FetchedEntry> expected = {{"Eve", 1000}, {"Ann", 500}, {"Dee", 301},
                                        {"Bob", 300},  {"Cid", 300}, {"Fay", 0}};
  EXPECT_EQ(fetchTopScores(0), expected);
}

TEST_P(OnlineRoundTrip, FetchGivesTheTopTenBestFirstAndModesStaySeparate) {
  unsigned seed = static_cast<unsigned>(std::time(nullptr));
  std::printf("seed %u\n", seed);
  std::mt19937 random(seed);
  std::vector<int> scores;
  for (int i = 0; i < 15; ++i) scores.push_back(static_cast<int>(random() % 999999));
  std::vector<FetchedEntry> submitted;
  for (int i = 0; i < 15; ++i) {
    std::string name = "P" + std::to_string(i);
    EXPECT_GE(submit(name, scores[i], 9), 1);  // table 9: Medium with the clock off
    submitted.push_back({name, scores[i]});
  }
  // Best first; equal scores in the order they were submitted.
  std::stable_sort(submitted.begin(), submitted.end(),
                   [](const FetchedEntry& a, const FetchedEntry& b) { return a.score > b.score; });
  submitted.resize(10);
  EXPECT_EQ(fetchTopScores(9), submitted) << "seed " << seed;
  EXPECT_TRUE(fetchTopScores(3).empty());
}

TEST_P(OnlineRoundTrip, NamesThatNeedEscapingArriveUnchanged) {
  const std::vector<std::string> names = {
      "Ann Lee",        "Tom & Jerry",   "1+1=2",  "Zoë",      "\xE6\x9D\x8E\xE5\xB0\x8F\xE9\xBE\x99",
      "50% off?",       "a/b;c:d@e$f",   "#1 \"fan\"", "x%2By", "tab\tless", std::string(255, 'n'),
  };
  // "tab\tless" holds a control character and is refused; every other name comes back as sent.
  std::vector<FetchedEntry> expected;
  int score = 900;
  for (const std::string& name : names) {
    UploadOutcome outcome = uploadScore(name, score, 5);
    bool refused = name.find('\t') != std::string::npos;
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.alertRequested, refused) << name;
    if (!refused) {
      EXPECT_EQ(outcome.rank, static_cast<int>(expected.size()) + 1) << name;
      expected.push_back({name, score});
    }
    score -= 10;
  }
  expected.resize(10);
  EXPECT_EQ(fetchTopScores(5), expected);
}

TEST_P(OnlineRoundTrip, RefusedNamesBringTheUploadAlertAndStoreNothing) {
  for (const std::string& name : {std::string("Smith, John"), std::string("two\nlines"), std::string(),
                                  std::string(256, 'n'), std::string("bad \xFF byte")}) {
    UploadOutcome outcome = uploadScore(name, 100, 0);
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.alertRequested) << name;
    EXPECT_EQ(outcome.rank, -1);
  }
  EXPECT_TRUE(fetchTopScores(0).empty());
}

TEST_P(OnlineRoundTrip, ScoresSurviveARestartOfTheServer) {
  EXPECT_EQ(submit("Ann", 40, 2), 1);
  EXPECT_EQ(server->stop(), 0) << "SIGTERM ends the server normally";
  url.reset();
  server = std::make_unique<ScoresServerProcess>(database->location());
  ASSERT_TRUE(server->started());
  url = std::make_unique<ScoresUrl>(server->baseUrl());
  EXPECT_EQ(submit("Bob", 50, 2), 1);
  std::vector<FetchedEntry> expected = {{"Bob", 50}, {"Ann", 40}};
  EXPECT_EQ(fetchTopScores(2), expected);
}

class OnlineLimits : public ::testing::TestWithParam<Backend> {};

INSTANTIATE_TEST_SUITE_P(Engines, OnlineLimits, BACKENDS);

TEST_P(OnlineLimits, SubmissionsBeyondTheLimitAreRefusedAndReachThePlayerAsTheAlert) {
  BackendDatabase database(GetParam());
  ASSERT_TRUE(database.ready()) << database.failure();
  ScoresServerProcess server(database.location(), {"--submit-limit", "3"});
  ASSERT_TRUE(server.started());
  ScoresUrl url(server.baseUrl());
  for (int i = 1; i <= 3; ++i) {
    UploadOutcome outcome = uploadScore("Ann", 100 * i, 0);
    EXPECT_FALSE(outcome.alertRequested);
    EXPECT_EQ(outcome.rank, 1);
  }
  UploadOutcome refused = uploadScore("Ann", 1000, 0);
  EXPECT_TRUE(refused.finished);
  EXPECT_TRUE(refused.alertRequested);
  EXPECT_EQ(refused.rank, -1);
  EXPECT_EQ(fetchTopScores(0).size(), 3u) << "the refused score was not stored";
}

TEST(OnlineLimits, NoServerListeningEndsBothRequestsAsFailures) {
  // Find a port that nothing listens on: start a server, note its port, stop it.
  TempFolder folder;
  std::string deadUrl;
  {
    ScoresServerProcess server(folder.path("scores.db"));
    ASSERT_TRUE(server.started());
    deadUrl = server.baseUrl();
  }
  ScoresUrl url(deadUrl);
  bool finished = false;
  EXPECT_TRUE(fetchTopScores(0, &finished).empty());
  EXPECT_TRUE(finished);
  UploadOutcome outcome = uploadScore("Ann", 10, 0);
  EXPECT_TRUE(outcome.finished);
  EXPECT_TRUE(outcome.alertRequested);
  EXPECT_EQ(outcome.rank, -1);
}

}  // namespace
