// The outbox of undelivered scores with real files in a temporary folder, and its sender and
// the uploader against a scripted transport: what is kept, for how long, and what ends it.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "HiScoresUploader.h"
#include "OnlineTestSupport.h"
#include "ScoreOutbox.h"
#include "ScoreOutboxSender.h"
#include "ScoreServerAddress.h"
#include "ScoreSubmission.h"
#include "TempFolder.h"
#include "TestEnvironment.h"

namespace {

const ScoreServerAddress SERVER("http://scores.test");

// Replies as scripted, one per request, and records the bodies posted.
class ScriptedTransport : public HttpTransport {
 public:
  struct Script {
    std::mutex lock;
    std::deque<HttpResponse> replies;
    std::vector<std::string> bodies;
  };
  explicit ScriptedTransport(std::shared_ptr<Script> script) : script(std::move(script)) {}
  void setCancelCheck(std::function<bool()>) override {}
  HttpResponse get(const std::string&) const override { return HttpResponse(); }
  HttpResponse post(const std::string&, const std::string& body, const std::vector<Header>&) const override {
    std::lock_guard<std::mutex> guard(script->lock);
    script->bodies.push_back(body);
    if (script->replies.empty()) return HttpResponse();
    HttpResponse reply = script->replies.front();
    script->replies.pop_front();
    return reply;
  }

 private:
  std::shared_ptr<Script> script;
};

HttpResponse reply(long status, const std::string& body) {
  HttpResponse r;
  r.completed = true;
  r.status = status;
  r.body = body;
  return r;
}
HttpResponse noConnection() {
  HttpResponse r;
  r.error = "Could not connect";
  return r;
}

ScoreSubmission submission(const std::string& name, int score, int mode = 6) {
  ScoreSubmission s;
  s.id = ScoreSubmission::newId();
  s.name = name;
  s.score = score;
  s.gameMode = mode;
  return s;
}

class OutboxTest : public ::testing::Test {
 protected:
  ScoreOutbox::Clock clock() {
    return [this] { return now; };
  }
  std::string file() const { return folder.path("scoreOutbox.dat"); }

  // Runs one sending of the outbox's due submissions to its end.
  void sendDue(ScoreOutbox& outbox) {
    ScoreOutboxSender sender(std::make_unique<ScriptedTransport>(script));
    sender.sendDue(outbox, SERVER);
    ASSERT_TRUE(testenv::waitUntil([&] { return !sender.isRunning(); }, 15000));
    notices = sender.takeNotices();
  }

  TempFolder folder{"pellix-outbox"};
  int64_t now = 1'800'000'000;
  std::shared_ptr<ScriptedTransport::Script> script = std::make_shared<ScriptedTransport::Script>();
  std::vector<ScoreOutboxSender::Notice> notices;
};

TEST(SubmissionId, ThirtyTwoLowercaseHexDigitsFreshEachTime) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string id = ScoreSubmission::newId();
    EXPECT_TRUE(ScoreSubmission::isId(id)) << id;
    seen.insert(id);
  }
  EXPECT_EQ(200u, seen.size());
  for (const char* bad : {"", "0123456789ABCDEF0123456789abcdef", "0123456789abcdef0123456789abcde",
                          "0123456789abcdef0123456789abcdefa", "0123456789abcdef0123456789abcdeg"})
    EXPECT_FALSE(ScoreSubmission::isId(bad)) << bad;
}

TEST(SubmissionBody, KeepsEveryFieldAndTheChecksumAndAddsTheId) {
  ScoreSubmission s;
  s.id = "0123456789abcdef0123456789abcdef";
  s.name = "Ann & Bo+1";
  s.score = 250;
  s.gameMode = 6;
  const MyTl::BasicString<char> old = HiScoresUploader::formBody("Ann & Bo+1", 250, 6);
  EXPECT_EQ(std::string(old.c_str()) + "&submission_id=0123456789abcdef0123456789abcdef", s.formBody());
}

TEST(SubmissionOutcome, TwoXxAcceptsFourXxRefusesTheRestMayPass) {
  struct Case {
    HttpResponse response;
    ScoreSubmission::Outcome outcome;
  };
  const Case cases[] = {
      {reply(200, "OK,3\n"), ScoreSubmission::ACCEPTED},
      {reply(200, ""), ScoreSubmission::DEFERRED},
      {reply(400, "bad hash\n"), ScoreSubmission::REFUSED},
      {reply(409, "submission_id already used\n"), ScoreSubmission::REFUSED},
      {reply(429, "too many\n"), ScoreSubmission::DEFERRED},
      {reply(500, ""), ScoreSubmission::DEFERRED},
      {reply(503, "storage unavailable\n"), ScoreSubmission::DEFERRED},
      {noConnection(), ScoreSubmission::DEFERRED},
  };
  for (const Case& c : cases) EXPECT_EQ(c.outcome, ScoreSubmission::outcomeOf(c.response)) << c.response.status;
}

TEST_F(OutboxTest, KeptSubmissionsSurviveARestartInOrder) {
  const ScoreSubmission ann = submission("Ann & Bo+1", 250);
  const ScoreSubmission zoe = submission("Zo\xC3\xAB with spaces", 999999, 11);
  {
    ScoreOutbox outbox(file(), clock());
    ASSERT_TRUE(outbox.keep(ann));
    now += 5;
    ASSERT_TRUE(outbox.keep(zoe));
  }
  ScoreOutbox reopened(file(), clock());
  const std::vector<ScoreSubmission> kept = reopened.submissions();
  ASSERT_EQ(2u, kept.size());
  EXPECT_EQ(ann.id, kept[0].id);
  EXPECT_EQ(ann.name, kept[0].name);
  EXPECT_EQ(250, kept[0].score);
  EXPECT_EQ(6, kept[0].gameMode);
  EXPECT_EQ(1, kept[0].attempts);
  EXPECT_EQ(1'800'000'000 + 30, kept[0].nextAttemptAt);
  EXPECT_EQ(zoe.name, kept[1].name);
  EXPECT_EQ(11, kept[1].gameMode);
  EXPECT_EQ(999999, kept[1].score);
  // Only the outbox's file is left: the atomic writes left no temporary file behind.
  EXPECT_EQ(1, folder.entryCount());
  // Emptied, it leaves no file.
  reopened.remove(ann.id);
  reopened.remove(zoe.id);
  EXPECT_EQ(0, folder.entryCount());
}

TEST_F(OutboxTest, ADamagedFileIsAnEmptyOutboxAndIsLeftAlone) {
  const std::string good = ScoreOutbox::format({submission("Ann", 10)});
  const std::vector<std::string> damaged = {
      "",
      "garbage",
      good.substr(0, good.size() - 1),                       // cut before its last line feed
      "pellix-score-outbox 2\n" + good.substr(good.find('\n') + 1),
      std::string(good).replace(good.find('\n') + 1, 1, "X"),  // an id that is not hex
      good + "0123456789abcdef0123456789abcdef 12 5 1 0 Bob\n",    // mode out of range
      good + "0123456789abcdef0123456789abcdef 1 1000000 1 0 Bob\n",
      good + "0123456789abcdef0123456789abcdef 1 5 1 0 Bo,b\n",   // a name the server refuses
      good + "0123456789abcdef0123456789abcdef 1 -5 1 0 Bob\n",
      good + "0123456789abcdef0123456789abcdef 1 5 1\n",
      std::string(good).insert(good.size() - 2, std::string(1, '\0')),
      good + std::string(70 * 1024, 'x') + "\n",
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    TempFolder::writeFile(file(), damaged[i]);
    ScoreOutbox outbox(file(), clock());
    EXPECT_TRUE(outbox.submissions().empty()) << "case " << i;
    EXPECT_TRUE(outbox.due().empty()) << "case " << i;
    EXPECT_EQ(damaged[i], TempFolder::contentOf(file())) << "case " << i;
  }
  TempFolder::writeFile(file(), good);
  EXPECT_EQ(1u, ScoreOutbox(file(), clock()).submissions().size());
}

TEST_F(OutboxTest, RetriesWaitThirtySecondsThenTwiceAsLongUpToAnHour) {
  const int64_t expected[] = {30, 60, 120, 240, 480, 960, 1920, 3600, 3600, 3600};
  for (int attempts = 1; attempts <= 10; ++attempts)
    EXPECT_EQ(expected[attempts - 1], ScoreOutbox::retryDelay(attempts)) << attempts;
  EXPECT_EQ(3600, ScoreOutbox::retryDelay(1000000));

  ScoreOutbox outbox(file(), clock());
  ScoreSubmission s = submission("Ann", 10);
  ASSERT_TRUE(outbox.keep(s));
  now += 29;
  EXPECT_TRUE(outbox.due().empty());
  now += 1;
  ASSERT_EQ(1u, outbox.due().size());
  ASSERT_TRUE(outbox.keep(outbox.due()[0]));
  EXPECT_EQ(2, outbox.submissions()[0].attempts);
  now += 59;
  EXPECT_TRUE(outbox.due().empty());
  // The wait is kept in the file: a restarted game waits too.
  EXPECT_TRUE(ScoreOutbox(file(), clock()).due().empty());
  now += 1;
  EXPECT_EQ(1u, ScoreOutbox(file(), clock()).due().size());
  // A clock set back by more than the longest wait does not hold the score back for ever.
  now -= 7200;
  EXPECT_EQ(1u, outbox.due().size());
}

TEST_F(OutboxTest, TheSenderRemovesWhatTheServerSettledAndKeepsWhatMayPass) {
  struct Case {
    const char* what;
    HttpResponse response;
    bool kept;
    bool told;
    int rank;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"accepted", reply(200, "OK,4\n"), false, true, 4, ""},
      {"refused", reply(400, "score out of range\n"), false, true, -1, "score out of range"},
      {"id reused", reply(409, "submission_id already used for another score\n"), false, true, -1,
       "submission_id already used for another score"},
      {"busy", reply(429, "too many\n"), true, false, -1, ""},
      {"failing", reply(503, "storage unavailable\n"), true, false, -1, ""},
      {"no connection", noConnection(), true, false, -1, ""},
      {"empty 200", reply(200, ""), true, false, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(file());
    ScoreOutbox outbox(file(), clock());
    const ScoreSubmission s = submission("Ann", 10);
    ASSERT_TRUE(outbox.keep(s));
    now += 30;
    script->replies = {c.response};
    script->bodies.clear();
    sendDue(outbox);
    ASSERT_EQ(1u, script->bodies.size());
    EXPECT_NE(std::string::npos, script->bodies[0].find("&submission_id=" + s.id));
    EXPECT_EQ(c.kept ? 1u : 0u, outbox.submissions().size());
    EXPECT_EQ(c.kept ? 1u : 0u, ScoreOutbox(file(), clock()).submissions().size()) << "the file follows";
    ASSERT_EQ(c.told ? 1u : 0u, notices.size());
    if (c.told) {
      EXPECT_EQ(c.reason.empty(), notices[0].accepted);
      EXPECT_EQ(c.rank, notices[0].rank);
      EXPECT_EQ(c.reason, notices[0].reason);
      EXPECT_EQ(s.id, notices[0].submission.id);
    }
    if (c.kept) {
      EXPECT_EQ(2, outbox.submissions()[0].attempts);
      EXPECT_EQ(now + 60, outbox.submissions()[0].nextAttemptAt);
    }
  }
}

TEST_F(OutboxTest, OnlyDueSubmissionsAreSentAndEachKeepsItsIdOnEveryAttempt) {
  ScoreOutbox outbox(file(), clock());
  const ScoreSubmission early = submission("Ann", 10);
  ASSERT_TRUE(outbox.keep(early));
  now += 20;
  ASSERT_TRUE(outbox.keep(submission("Bob", 20)));
  now += 10;  // Ann is due, Bob not yet
  script->replies = {noConnection()};
  sendDue(outbox);
  ASSERT_EQ(1u, script->bodies.size());
  now += 60;  // both due
  script->replies = {reply(200, "OK,1\n"), reply(200, "OK,2\n")};
  sendDue(outbox);
  ASSERT_EQ(3u, script->bodies.size());
  EXPECT_EQ(script->bodies[0], script->bodies[1]) << "a retry sends the very same body";
  EXPECT_NE(std::string::npos, script->bodies[1].find(early.id));
  EXPECT_TRUE(outbox.submissions().empty());
  EXPECT_EQ(2u, notices.size());
  // Nothing due: no thread, no request.
  ScoreOutboxSender idle(std::make_unique<ScriptedTransport>(script));
  EXPECT_FALSE(idle.sendDue(outbox, SERVER));
  // No server set up: nothing is sent either.
  ASSERT_TRUE(outbox.keep(submission("Cy", 5)));
  unsetenv("PELLIX_SCORES_URL");
  if (ScoreServerAddress::builtInBase()[0] == '\0') {
    now += 3600;
    EXPECT_FALSE(idle.sendDue(outbox, ScoreServerAddress()));
  }
}

TEST_F(OutboxTest, AnUploadThatMayPassGoesToTheOutboxWithItsIdAndSaysItWillBeSent) {
  ScoreOutbox outbox(file(), clock());
  struct Case {
    HttpResponse response;
    bool kept;
    std::string title;
  };
  const std::vector<Case> cases = {
      {noConnection(), true, "Score Not Sent Yet"},
      {reply(503, "storage unavailable\n"), true, "Score Not Sent Yet"},
      {reply(429, "too many\n"), true, "Score Not Sent Yet"},
      {reply(400, "bad hash\n"), false, "Error Uploading"},
      {reply(200, "OK,7\n"), false, ""},
  };
  for (const Case& c : cases) {
    script->replies = {c.response};
    script->bodies.clear();
    HiScoresUploader uploader(std::make_unique<ScriptedTransport>(script));
    uploader.setServerAddress(SERVER);
    uploader.setOutbox(&outbox);
    ASSERT_TRUE(uploader.startUpload("Ann", 120, 6));
    ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
    ASSERT_EQ(1u, script->bodies.size());
    EXPECT_TRUE(ScoreSubmission::isId(uploader.submissionId));
    EXPECT_NE(std::string::npos, script->bodies[0].find("&submission_id=" + uploader.submissionId));
    const std::vector<ScoreSubmission> kept = outbox.submissions();
    EXPECT_EQ(c.kept, !kept.empty() && kept.back().id == uploader.submissionId) << c.response.status;
    EXPECT_EQ(!c.title.empty(), uploader.takeErrorAlertRequest()) << c.response.status;
    EXPECT_EQ(c.title, c.title.empty() ? "" : uploader.errorAlertTitle());
    if (c.kept) {
      EXPECT_EQ("Your score will be sent when the server can be reached.", uploader.errorAlertMessage());
    }
  }
  EXPECT_EQ(3u, ScoreOutbox(file(), clock()).submissions().size());
}

}  // namespace
