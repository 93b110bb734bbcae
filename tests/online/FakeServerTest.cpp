// The game's fetcher and uploader against the fake high-score server of the test toolkit, which
// sends bad replies: empty, huge, binary, cut off, slow, silent, error pages.
// None of them may crash or hang the game: each request ends within its time-outs with the
// result the reply format allows, and a request still running when its worker is destroyed is
// cancelled. The fake server also records what the game sent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "CurlHttpTransport.h"
#include "FakeScoresServer.h"
#include "OnlineTestSupport.h"
#include "ScoreChecksum.h"
#include "ScoreReplyParser.h"
#include "ScoreSubmission.h"

namespace {

using Clock = std::chrono::steady_clock;

class FakeServer : public ::testing::Test {
 protected:
  FakeScoresServer fake;
};

struct ReplyCase {
  const char* behaviour;
  std::vector<FetchedEntry> entries;  // what a fetch gives
  int rank;                           // what an upload gives
  bool alert;                         // whether an upload asks for the error alert
};

TEST_F(FakeServer, EveryReplyShapeEndsWithWhatItsFormatAllows) {
  const std::vector<ReplyCase> cases = {
      {"ok", {{"Ann", 1200}}, -1, false},
      {"empty", {}, -1, true},
      {"headeronly", {}, -1, false},
      {"crlf", {{"Ann", 1200}, {"Bob", -1}}, 57, false},
      {"bare", {}, -1, false},
      {"negative", {{"Ann", -3}}, -1, false},
      {"huge", {}, -1, true},
      {"hugechunked", {}, -1, true},
      {"binary", {}, -1, false},
      {"nul", {}, -1, false},
      {"latin1", {}, -1, false},
      {"cutoff", {}, -1, true},
      {"errorpage", {}, -1, true},
      {"redirect", {{"Ann", 1200}, {"Bob", -1}}, 57, false},
  };
  for (const ReplyCase& c : cases) {
    ScoresUrl url(fake.base(c.behaviour));
    bool finished = false;
    EXPECT_EQ(fetchTopScores(4, &finished), c.entries) << c.behaviour;
    EXPECT_TRUE(finished) << c.behaviour;
    UploadOutcome outcome = uploadScore("Ann", 1200, 4);
    EXPECT_TRUE(outcome.finished) << c.behaviour;
    EXPECT_EQ(outcome.rank, c.rank) << c.behaviour;
    EXPECT_EQ(outcome.alertRequested, c.alert) << c.behaviour;
  }
}

TEST_F(FakeServer, SlowAndSilentServersEndWithinTheTimeOuts) {
  // A slow link gets 20 s in all; a fetch from a server that trickles and an upload to one that
  // never answers wait side by side.
  ScoresUrl url(fake.base("slowsilent"));
  const Clock::time_point start = Clock::now();
  auto slowFetch = std::async(std::launch::async, [] {
    bool finished = false;
    return fetchTopScores(0, &finished).empty() && finished;
  });
  // The upload fails with the alert, also within the time-out.
  auto silentUpload = std::async(std::launch::async, [] { return uploadScore("Ann", 10, 0); });
  EXPECT_TRUE(slowFetch.get());
  const UploadOutcome outcome = silentUpload.get();
  EXPECT_TRUE(outcome.finished);
  EXPECT_TRUE(outcome.alertRequested);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_GT(seconds, 15.0) << "the total time-out suits a slow link";
  EXPECT_LT(seconds, 30.0);
}

// A refusal by the server is the server's word: the alert gives its reason, not the connection.
TEST_F(FakeServer, ARefusedUploadSaysWhyInsteadOfBlamingTheConnection) {
  ScoresUrl url(fake.base("refuse"));
  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
  ASSERT_TRUE(uploader.startUpload("Ann", 5, 0));
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
  ASSERT_TRUE(uploader.takeErrorAlertRequest());
  EXPECT_EQ("The high-score server did not accept your score: too many submissions from this address.",
            uploader.errorAlertMessage());
}

// An upload whose screen went away never alerts later, on another visit.
TEST_F(FakeServer, AnUploadThatEndsAfterItsScreenLeftAsksForNoAlert) {
  ScoresUrl url(fake.base("empty"));
  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
  ASSERT_TRUE(uploader.startUpload("Ann", 5, 0));
  uploader.dropErrorAlert();
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
  EXPECT_FALSE(uploader.takeErrorAlertRequest());
}

TEST(SubmittableName, OnlyNamesTheServerTakesAreOffered) {
  const struct {
    std::string name;
    bool submittable;
  } cases[] = {
      {"Ann", true},           {"Zo\xC3\xAB & Bo+1", true}, {std::string(255, 'a'), true},
      {"", false},             {"Ann,Bob", false},         {"Ann\nBob", false},
      {"Ann\rBob", false},     {"Tab\there", false},      {std::string(256, 'a'), false},
      {"Zo\xEB", false},       {"\xC3", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.submittable, HiScoresUploader::isSubmittableName(MyTl::BasicString<char>(c.name.c_str(), c.name.size())))
        << c.name;
  }
}

TEST(RefusalReason, TheFirstLineOfATextReplyCutAtACharacterOrTheStatus) {
  const struct {
    std::string body;
    long status;
    std::string reason;
  } cases[] = {
      {"empty user_name\n", 400, "empty user_name"},
      {"  padded \r\nsecond line", 400, "padded"},
      {"", 503, "status 503"},
      {"\x01\x02\n", 500, "status 500"},
      {std::string("bin\0ary", 7), 400, "status 400"},
      {std::string(119, 'a') + "\xC3\xAB tail", 400, std::string(119, 'a')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.reason, ScoreReplyParser::refusalReason(c.body.data(), c.body.size(), c.status)) << c.body;
  }
}

TEST_F(FakeServer, DestroyingAWorkerCancelsItsRunningRequest) {
  ScoresUrl url(fake.base("silent"));
  for (int which = 0; which < 2; ++which) {
    Clock::time_point destroyed;
    {
      HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>()};
      HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
      if (which == 0) fetcher.startFetch(0);
      else uploader.startUpload("Ann", 10, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      EXPECT_TRUE(which == 0 ? fetcher.isRunning() : uploader.isRunning());
      destroyed = Clock::now();
    }
    // At exit the game destroys its workers: that must not wait for the total time-out.
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - destroyed).count(), 2.5) << which;
  }
}

TEST_F(FakeServer, TheRequestsCarryTheFieldsEscapedAndTheChecksumOverTheRawName) {
  ScoresUrl url(fake.base("rec") + "/");  // a trailing '/' on the base is dropped
  fetchTopScores(7);
  EXPECT_EQ(fake.lastRequest().target, "/rec/pellix/top_scores/?game_id=0&game_mode=7&max_res=10");
  const std::string name = "A &+B=?\xC3\xA9";
  uploadScore(name, 123, 7);
  int hash = ScoreChecksum::ofSubmission(0, 7, 0, name.data(), name.size(), 123);
  std::string body = "game_id=0&game_mode=7&device_id=0&user_name=A%20%26%2BB%3D%3F%C3%A9&score=123&hash=" +
                     std::to_string(hash);
  const FakeScoresServer::Request sent = fake.lastRequest();
  EXPECT_EQ(sent.target, "/rec/pellix/submit_score/");
  // The fields and checksum as they always were, then the submission's random id.
  const std::string idField = "&submission_id=";
  ASSERT_EQ(body.size() + idField.size() + 32, sent.body.size()) << sent.body;
  EXPECT_EQ(body + idField, sent.body.substr(0, body.size() + idField.size()));
  EXPECT_TRUE(ScoreSubmission::isId(sent.body.substr(body.size() + idField.size())));
  EXPECT_EQ(sent.contentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(sent.contentLength, std::to_string(sent.body.size()));
}

// The main loop sleeps until its next event: a worker that finishes wakes it, after its result
// is in place, once per request.
std::atomic<int> wakeUps{0};
std::atomic<const std::atomic<bool>*> doneFlagOfTheWorker{nullptr};
std::atomic<bool> resultReadyAtWakeUp{true};
void countWakeUp() {
  const std::atomic<bool>* flag = doneFlagOfTheWorker.load();
  if (flag != nullptr && !flag->load(std::memory_order_acquire)) resultReadyAtWakeUp = false;
  ++wakeUps;
}

bool waitForWakeUps(int count) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(15);
  while (wakeUps.load() < count) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST_F(FakeServer, FinishedWorkersWakeTheMainLoop) {
  wakeUps = 0;
  {
    ScoresUrl url(fake.base("ok"));
    HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>()};
    fetcher.setWakeUp(countWakeUp);
    doneFlagOfTheWorker = &fetcher.scoresFetched;
    ASSERT_TRUE(fetcher.startFetch(0));
    EXPECT_TRUE(waitForWakeUps(1)) << "a finished fetch";
    ScoresUrl failing(fake.base("empty"));
    HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
    uploader.setWakeUp(countWakeUp);
    doneFlagOfTheWorker = &uploader.scoreUploaded;
    ASSERT_TRUE(uploader.startUpload("Ann", 5, 0));
    EXPECT_TRUE(waitForWakeUps(2)) << "a finished (failed) upload";
    doneFlagOfTheWorker = nullptr;
  }
  EXPECT_TRUE(resultReadyAtWakeUp) << "the loop was woken before the result was in place";
  EXPECT_EQ(2, wakeUps.load());
}

TEST_F(FakeServer, AFetchIsNotRestartedWhileRunningAndTheAlertIsTakenOnce) {
  {
    ScoresUrl url(fake.base("slow"));
    HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>()};
    EXPECT_TRUE(fetcher.startFetch(1));
    EXPECT_FALSE(fetcher.startFetch(2)) << "a running fetch is not restarted";
    EXPECT_EQ(fetcher.difficulty, 1);
  }
  ScoresUrl failing(fake.base("empty"));
  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
  EXPECT_TRUE(uploader.startUpload("Ann", 5, 0));
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
  EXPECT_TRUE(uploader.takeErrorAlertRequest());
  EXPECT_FALSE(uploader.takeErrorAlertRequest());
  const HiScoresUploader::AlertTexts& texts = HiScoresUploader::errorAlertTexts();
  EXPECT_STREQ(texts.title, "Error Uploading");
  EXPECT_STREQ(texts.message, "There was an error uploading your high score.\n\nPlease check your internet connection.");
  EXPECT_STREQ(texts.button, "OK");
}

}  // namespace
