// The game's fetcher and uploader against a fake high-score server (a small httplib server in
// the test) that sends bad replies: empty, huge, binary, cut off, slow, silent, error pages.
// None of them may crash or hang the game: each request ends within its time-outs with the
// result the reply format allows, and a request still running when its worker is destroyed is
// cancelled. The fake server also records what the game sent.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OnlineTestSupport.h"
#include "ScoreChecksum.h"
#include "ScoreReplyParser.h"
#include "WorkerWakeUp.h"

namespace {

using Clock = std::chrono::steady_clock;

// Serves /<behaviour>/pellix/top_scores/ and /<behaviour>/pellix/submit_score/; the base
// address http://127.0.0.1:<port>/<behaviour> selects how it misbehaves.
class FakeScoresServer {
 public:
  FakeScoresServer() {
    auto route = [this](const httplib::Request& request, httplib::Response& response) {
      {
        std::lock_guard<std::mutex> guard(lock);
        lastTarget = request.target;
        lastBody = request.body;
        lastContentType = request.get_header_value("Content-Type");
        lastContentLength = request.get_header_value("Content-Length");
      }
      behave(request.matches[1], request.matches[2] == "submit_score", response);
    };
    const char* pattern = R"(/(\w+)/pellix/(top_scores|submit_score)/)";
    http.Get(pattern, route);
    http.Post(pattern, route);
    port = http.bind_to_any_port("127.0.0.1");
    serving = std::thread([this] { http.listen_after_bind(); });
  }
  ~FakeScoresServer() {
    {
      std::lock_guard<std::mutex> guard(lock);
      released = true;
    }
    wake.notify_all();
    // stop() has no effect until the server is listening.
    while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    http.stop();
    serving.join();
  }

  std::string base(const std::string& behaviour) const {
    return "http://127.0.0.1:" + std::to_string(port) + "/" + behaviour;
  }

  std::mutex lock;
  std::string lastTarget, lastBody, lastContentType, lastContentLength;

 private:
  // Waits up to `limit` or until the server shuts down; true when shutting down.
  bool pause(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> guard(lock);
    return wake.wait_for(guard, limit, [this] { return released; });
  }

  void behave(const std::string& asked, bool submission, httplib::Response& response) {
    const char* text = "text/plain";
    // One address for a slow top ten and a silent submission, so that both can run at once.
    const std::string behaviour = asked == "slowsilent" ? (submission ? "silent" : "slow") : asked;
    if (behaviour == "empty") {
      response.set_content("", text);
    } else if (behaviour == "headeronly") {
      response.set_content("name,score\n", text);
    } else if (behaviour == "crlf") {
      response.set_content(submission ? "thanks , 57 \r\n" : "name,score\r\nAnn , 1200\r\nBob,word\r\nx,y,z\r\n\r\n",
                           text);
    } else if (behaviour == "bare") {
      response.set_content("57\n", text);
    } else if (behaviour == "negative") {
      response.set_content("OK,-3\nAnn,-3\n", text);
    } else if (behaviour == "huge") {
      std::string body = "name,score\n";
      while (body.size() < (1u << 20)) body += "Ann,1\n";
      response.set_content(body, text);
    } else if (behaviour == "hugechunked") {
      // No length announced: the client only finds out by reading.
      response.set_chunked_content_provider(text, [this](size_t offset, httplib::DataSink& sink) {
        if (offset >= (1u << 20) || pause(std::chrono::milliseconds(0))) {
          sink.done();
          return true;
        }
        std::string chunk = offset == 0 ? "OK,1\nAnn,1\n" : "";
        while (chunk.size() < 4096) chunk += "Ann,1\n";
        return sink.write(chunk.data(), chunk.size());
      });
    } else if (behaviour == "binary") {
      std::string body;
      for (int i = 0; i < 4096; ++i) body += static_cast<char>(i * 7 % 256);
      body.replace(0, 14, "name,score\nA,1");
      response.set_content(body, "application/octet-stream");
    } else if (behaviour == "nul") {
      response.set_content(std::string(submission ? "OK,5\0\n" : "name,score\nA\0nn,5\n", submission ? 6 : 17), text);
    } else if (behaviour == "latin1") {
      response.set_content(submission ? "OK,5\n\xE9\n" : "name,score\nZo\xEB,5\n", text);
    } else if (behaviour == "cutoff") {
      // 1000 bytes announced, a few sent, then the connection is closed.
      response.set_content_provider(1000, text, [](size_t offset, size_t, httplib::DataSink& sink) {
        if (offset > 0) return false;
        const char* part = "OK,3\nAnn,5\n";
        sink.write(part, 11);
        return true;
      });
    } else if (behaviour == "slow") {
      // One byte every 200 ms, for ever.
      response.set_chunked_content_provider(text, [this](size_t, httplib::DataSink& sink) {
        if (pause(std::chrono::milliseconds(200))) {
          sink.done();
          return true;
        }
        return sink.write("x", 1);
      });
    } else if (behaviour == "silent") {
      // No reply at all until the fake server shuts down.
      pause(std::chrono::seconds(60));
      response.set_content("", text);
    } else if (behaviour == "refuse") {
      response.status = 429;
      response.set_content("too many submissions from this address\n", text);
    } else if (behaviour == "errorpage") {
      response.status = submission ? 500 : 404;
      response.set_content("header\nAnn,5\nOK,7\n", text);
    } else if (behaviour == "redirect") {
      response.set_redirect(submission ? "/crlf/pellix/submit_score/" : "/crlf/pellix/top_scores/", 307);
    } else {
      response.set_content("name,score\nAnn,1200\n", text);
    }
  }

  httplib::Server http;
  std::thread serving;
  std::condition_variable wake;
  bool released = false;
  int port = -1;
};

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
  HiScoresUploader uploader;
  ASSERT_TRUE(uploader.startUpload("Ann", 5, 0));
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
  ASSERT_TRUE(uploader.takeErrorAlertRequest());
  EXPECT_EQ("The high-score server did not accept your score: too many submissions from this address.",
            uploader.errorAlertMessage());
}

// An upload whose screen went away never alerts later, on another visit.
TEST_F(FakeServer, AnUploadThatEndsAfterItsScreenLeftAsksForNoAlert) {
  ScoresUrl url(fake.base("empty"));
  HiScoresUploader uploader;
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
      HiScoresFetcher fetcher;
      HiScoresUploader uploader;
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
  {
    std::lock_guard<std::mutex> guard(fake.lock);
    EXPECT_EQ(fake.lastTarget, "/rec/pellix/top_scores/?game_id=0&game_mode=7&max_res=10");
  }
  const std::string name = "A &+B=?\xC3\xA9";
  uploadScore(name, 123, 7);
  int hash = ScoreChecksum::ofSubmission(0, 7, 0, name.data(), name.size(), 123);
  std::string body = "game_id=0&game_mode=7&device_id=0&user_name=A%20%26%2BB%3D%3F%C3%A9&score=123&hash=" +
                     std::to_string(hash);
  std::lock_guard<std::mutex> guard(fake.lock);
  EXPECT_EQ(fake.lastTarget, "/rec/pellix/submit_score/");
  EXPECT_EQ(fake.lastBody, body);
  EXPECT_EQ(fake.lastContentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(fake.lastContentLength, std::to_string(body.size()));
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
  WorkerWakeUp::install(countWakeUp);
  wakeUps = 0;
  {
    ScoresUrl url(fake.base("ok"));
    HiScoresFetcher fetcher;
    doneFlagOfTheWorker = &fetcher.scoresFetched;
    ASSERT_TRUE(fetcher.startFetch(0));
    EXPECT_TRUE(waitForWakeUps(1)) << "a finished fetch";
    ScoresUrl failing(fake.base("empty"));
    HiScoresUploader uploader;
    doneFlagOfTheWorker = &uploader.scoreUploaded;
    ASSERT_TRUE(uploader.startUpload("Ann", 5, 0));
    EXPECT_TRUE(waitForWakeUps(2)) << "a finished (failed) upload";
    doneFlagOfTheWorker = nullptr;
  }
  WorkerWakeUp::install(nullptr);
  EXPECT_TRUE(resultReadyAtWakeUp) << "the loop was woken before the result was in place";
  EXPECT_EQ(2, wakeUps.load());
}

TEST_F(FakeServer, AFetchIsNotRestartedWhileRunningAndTheAlertIsTakenOnce) {
  {
    ScoresUrl url(fake.base("slow"));
    HiScoresFetcher fetcher;
    EXPECT_TRUE(fetcher.startFetch(1));
    EXPECT_FALSE(fetcher.startFetch(2)) << "a running fetch is not restarted";
    EXPECT_EQ(fetcher.difficulty, 1);
  }
  ScoresUrl failing(fake.base("empty"));
  HiScoresUploader uploader;
  EXPECT_TRUE(uploader.startUpload("Ann", 5, 0));
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
  EXPECT_TRUE(uploader.takeErrorAlertRequest());
  EXPECT_FALSE(uploader.takeErrorAlertRequest());
  const HiScoresUploader::AlertTexts& texts = HiScoresUploader::errorAlertTexts();
  EXPECT_STREQ(texts.title, "Error Uploading");
  EXPECT_STREQ(texts.message, "There was an error uploading your high score.\n\nPlease check your internet connection.");
  EXPECT_STREQ(texts.button, "Ok");
}

}  // namespace
