// The outbox against the real pellix-scores-server on SQLite: a score whose upload found the
// server stopped is kept, and once the server is back the outbox delivers it exactly once (the
// rows of the server's database are counted) with its rank; the same submission sent again, as
// after a lost reply, is stored once and answered with the same rank.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CurlHttpTransport.h"
#include "OnlineTestSupport.h"
#include "ScoreOutbox.h"
#include "ScoreOutboxSender.h"
#include "ScoresServerProcess.h"
#include "SqliteRows.h"
#include "TempFolder.h"
#include "TestEnvironment.h"

namespace {

class OutboxDelivery : public ::testing::Test {
 protected:
  // One sending of the outbox's due submissions, to its end.
  std::vector<ScoreOutboxSender::Notice> sendDue(ScoreOutbox& outbox, const ScoreServerAddress& address) {
    ScoreOutboxSender sender(std::make_unique<CurlHttpTransport>());
    EXPECT_TRUE(sender.sendDue(outbox, address));
    EXPECT_TRUE(testenv::waitUntil([&] { return !sender.isRunning(); }, 30000));
    return sender.takeNotices();
  }

  TempFolder folder{"pellix-outbox-delivery"};
  std::string database = folder.path("scores.db");
  int64_t now = 1'800'000'000;
  ScoreOutbox::Clock clock = [this] { return now; };
};

TEST_F(OutboxDelivery, AScoreKeptWhileTheServerWasDownArrivesOnceWithItsRank) {
  // The server's port, then the server stopped: nothing listens there.
  auto server = std::make_unique<ScoresServerProcess>(database);
  ASSERT_TRUE(server->started());
  const int port = server->listeningPort();
  const ScoreServerAddress address(server->baseUrl());
  server.reset();

  ScoreOutbox outbox(folder.path("scoreOutbox.dat"), clock);
  {
    HiScoresUploader uploader(std::make_unique<CurlHttpTransport>());
    uploader.setServerAddress(address);
    uploader.setOutbox(&outbox);
    ASSERT_TRUE(uploader.startUpload("Ann & Bo+1", 250, 6));
    ASSERT_TRUE(waitForFlag(uploader.scoreUploaded));
    ASSERT_TRUE(uploader.takeErrorAlertRequest());
    EXPECT_EQ("Your score will be sent when the server can be reached.", uploader.errorAlertMessage());
  }
  ASSERT_EQ(1u, outbox.submissions().size());
  const ScoreSubmission kept = outbox.submissions()[0];

  // Back on the same port, with a better score already stored.
  server = std::make_unique<ScoresServerProcess>(database, std::vector<std::string>{"--port", std::to_string(port)});
  ASSERT_TRUE(server->started());
  ASSERT_EQ(port, server->listeningPort());
  {
    HiScoresUploader other(std::make_unique<CurlHttpTransport>());
    other.setServerAddress(address);
    ASSERT_TRUE(other.startUpload("Ada", 500, 6));
    ASSERT_TRUE(waitForFlag(other.scoreUploaded));
    ASSERT_EQ(1, other.globalHighScorePosition.load());
  }
  ASSERT_EQ(1, sqliteRowCount(database, "scores"));

  // Not due yet: nothing goes.
  ScoreOutboxSender early(std::make_unique<CurlHttpTransport>());
  EXPECT_FALSE(early.sendDue(outbox, address));
  now += ScoreOutbox::FIRST_RETRY_DELAY_S;
  std::vector<ScoreOutboxSender::Notice> notices = sendDue(outbox, address);
  ASSERT_EQ(1u, notices.size());
  EXPECT_TRUE(notices[0].accepted);
  EXPECT_EQ(2, notices[0].rank);
  EXPECT_EQ(kept.id, notices[0].submission.id);
  EXPECT_TRUE(outbox.submissions().empty());
  EXPECT_EQ(2, sqliteRowCount(database, "scores"));

  // The reply was lost, say: the same submission goes again and is stored once, same rank.
  ASSERT_TRUE(outbox.keep(kept));
  now += ScoreOutbox::MAX_RETRY_DELAY_S;
  notices = sendDue(outbox, address);
  ASSERT_EQ(1u, notices.size());
  EXPECT_TRUE(notices[0].accepted);
  EXPECT_EQ(2, notices[0].rank);
  EXPECT_EQ(2, sqliteRowCount(database, "scores"));
}

}  // namespace
