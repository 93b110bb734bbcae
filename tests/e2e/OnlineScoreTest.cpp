// Global high scores end to end: the real game and the real pellix-scores-server on a free
// loopback port with a fresh database. After a new local high score the game asks to submit it;
// "OK" uploads it and the high-score screen turns to the global table with the player's rank,
// which the server then serves too; "Not Now" sends nothing; an unreachable server keeps the score
// in the outbox with a notice and the unable-to-fetch message, and the game carries on; the kept
// score arrives once at the next start after the server is back, and the player is told. Over
// HTTPS the game trusts the server through the CA file named in its preferences.
#include <httplib.h>

#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "CurlHttpTransport.h"
#include "GameTestFixture.h"
#include "ScoreChecksum.h"
#include "ScoresServerProcess.h"
#include "SqliteRows.h"
#include "TempFolder.h"
#include "TestBoards.h"
#include "TestCertificateAuthority.h"
#include "TestEnvironment.h"

namespace {

using namespace ScreenLayout;

const int EASY_CLOCK_OFF_TABLE = 6;
const int PLAYER_SCORE = 250;
const char* const PLAYER = "Ann & Bo+1";  // escaped in the form body, checksummed raw

class OnlineScoreTest : public GameTestFixture {
 protected:
  void SetUp() override {
    GameTestFixture::SetUp();
    if (IsSkipped()) return;
    // The database lives next to the game's data folder and goes with it.
    server = std::make_unique<ScoresServerProcess>(database());
    ASSERT_TRUE(server->started());
    for (const auto& seed : {std::make_pair("Ada", 500), std::make_pair("Bob", 300), std::make_pair("Cy", 100)})
      ASSERT_EQ("OK", submit(seed.first, seed.second).substr(0, 2));
  }

  // A submission as the game makes it, straight to the server; returns the reply body.
  std::string submit(const std::string& name, int score) {
    httplib::Client client("127.0.0.1", server->listeningPort());
    const int hash = ScoreChecksum::ofSubmission(0, EASY_CLOCK_OFF_TABLE, 0, name.data(), name.size(), score);
    const httplib::Params form = {{"game_id", "0"},
                                  {"game_mode", std::to_string(EASY_CLOCK_OFF_TABLE)},
                                  {"device_id", "0"},
                                  {"user_name", name},
                                  {"score", std::to_string(score)},
                                  {"hash", std::to_string(hash)}};
    const httplib::Result reply = client.Post("/pellix/submit_score/", form);
    return reply && reply->status == 200 ? reply->body : std::string();
  }

  // The server's top ten of the table, as served to anyone.
  std::string topTen() {
    httplib::Client client("127.0.0.1", server->listeningPort());
    const httplib::Result reply = client.Get("/pellix/top_scores/?game_id=0&game_mode=" +
                                             std::to_string(EASY_CLOCK_OFF_TABLE) + "&max_res=10");
    return reply && reply->status == 200 ? reply->body : std::string();
  }

  // Plays the last move of an almost full board for a new local high score against `scoresUrl`,
  // types the player's name and waits for the question whether to submit it. An empty address
  // leaves the choice to the preferences file.
  AlertOnScreen finishAGameAndEnterTheName(const std::string& scoresUrl) {
    session.setEnvironment("PELLIX_SCORES_URL", scoresUrl);
    launchWith(settingsRecord(0, true, false, 0.5f), savedGame(TestBoards::almostFullBoard(PLAYER_SCORE)));
    if (HasFatalFailure()) return AlertOnScreen();
    leaveStartScreen();
    dragBall(TestBoards::LAST_BALL_X, TestBoards::LAST_BALL_Y, TestBoards::LAST_FREE_X, TestBoards::LAST_FREE_Y);
    waitForTheEndScreens();
    enterName(PLAYER);
    const AlertOnScreen question = waitForAlert(3000);
    session.saveScreenshot(shotName("1-submit-question"));
    return question;
  }

  bool globalSegmentSelected(const ScreenImage& image) {
    return !image.findBlock(ACCENT_DARK, 12, PixelRect{160, 124, 80, 28}, 40, 18).empty();
  }

  // Leaves the high scores for a new game, closes the game and checks the local table.
  void leaveAndExpectTheLocalEntry() {
    EXPECT_TRUE(answered([&] { session.tap(160, HISCORES_BACK_Y); })) << "\"Back\" did nothing";
    closeAndExpectNormalExit();
    const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
    ASSERT_TRUE(after.valid);
    ASSERT_EQ(12u, after.tables.size());
    EXPECT_EQ(PLAYER, after.tables[EASY_CLOCK_OFF_TABLE][0].name);
    EXPECT_EQ(PLAYER_SCORE, after.tables[EASY_CLOCK_OFF_TABLE][0].score);
  }

  // The server's SQLite file, next to the game's data folder, going with it.
  std::string database() const { return session.dataFolder() + "/../global-scores.db"; }

  std::unique_ptr<ScoresServerProcess> server;
};

TEST_F(OnlineScoreTest, AcceptedUploadShowsTheGlobalTableWithThePlayersRank) {
  AlertOnScreen question;
  ASSERT_NO_FATAL_FAILURE(question = finishAGameAndEnterTheName(server->baseUrl()));
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question";
  clickButton(question.preferredButton);  // "OK"

  // The upload ends, the screen turns to the global table and fetches it: own row third.
  const bool globalShown = session.waitForScreen(
      [&](const ScreenImage& image) {
        return globalSegmentSelected(image) && image.countBrighterThan(hiScoreRow(2), 180) > 40;
      },
      10000);
  session.saveScreenshot(shotName("2-global-table"));
  ASSERT_TRUE(globalShown) << "the global table with the player's row marked did not show";
  const ScreenImage table = session.screen();
  for (int row : {0, 1, 3}) EXPECT_EQ(0, table.countBrighterThan(hiScoreRow(row), 180)) << "row " << row + 1;
  EXPECT_FALSE(AlertOnScreen::find(table).shown()) << "an error alert after a good upload";

  EXPECT_EQ("name,score\nAda,500\nBob,300\nAnn & Bo+1,250\nCy,100\n", topTen());
  leaveAndExpectTheLocalEntry();
}

TEST_F(OnlineScoreTest, DeclinedUploadSendsNothingAndTheGlobalViewShowsTheServersTable) {
  AlertOnScreen question;
  ASSERT_NO_FATAL_FAILURE(question = finishAGameAndEnterTheName(server->baseUrl()));
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question";
  ASSERT_FALSE(question.otherButton.empty());
  clickButton(question.otherButton);  // "Not Now"
  EXPECT_TRUE(alertGoneFor(300));
  EXPECT_FALSE(globalSegmentSelected(session.screen())) << "the local table stays after Not Now";

  // The player asks for the global table: the three stored scores, nobody marked.
  session.tap(GLOBAL_SEGMENT_X, SEGMENT_Y);
  const bool globalShown = session.waitForScreen(
      [&](const ScreenImage& image) {
        return globalSegmentSelected(image) && image.countBrighterThan(hiScoreRow(0), 180) > 40 &&
               image.countBrighterThan(hiScoreRow(2), 180) > 40;
      },
      10000);
  session.saveScreenshot(shotName("2-global-table"));
  EXPECT_TRUE(globalShown) << "the server's table did not show";

  EXPECT_EQ("name,score\nAda,500\nBob,300\nCy,100\n", topTen());
  leaveAndExpectTheLocalEntry();
}

TEST_F(OnlineScoreTest, UnreachableServerEndsInTheUploadErrorAndTheGameCarriesOn) {
  // A port the server just gave up: nothing listens there.
  const std::string deadUrl = server->baseUrl();
  server->stop();
  AlertOnScreen question;
  ASSERT_NO_FATAL_FAILURE(question = finishAGameAndEnterTheName(deadUrl));
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question";
  clickButton(question.preferredButton);  // "OK"

  // The notice that the score will be sent later has a single button, "OK", which wears the accent.
  const AlertOnScreen error = waitForAlert(10000);
  session.saveScreenshot(shotName("2-upload-kept"));
  ASSERT_TRUE(error.shown()) << "no notice after the failed upload";
  EXPECT_TRUE(error.otherButton.empty());
  clickButton(error.preferredButton);
  // The global view comes up with the unable-to-fetch message instead of rows.
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& image) { return globalSegmentSelected(image); }, 10000));
  // The failed fetch ends when its activity indicator stops: only then may an alert (wrongly)
  // have come up.
  EXPECT_TRUE(session.waitForRest(400, 15000)) << "the global view kept moving";
  session.saveScreenshot(shotName("3-unable-to-fetch"));
  EXPECT_FALSE(AlertOnScreen::find(session.screen()).shown());
  leaveAndExpectTheLocalEntry();
}

TEST_F(OnlineScoreTest, OverHttpsTheServerAndCaFileInThePreferencesCarryTheUploadAndTheTable) {
  if (!TestCertificateAuthority::toolPresent()) PELLIX_MISSING_PREREQUISITE("the openssl command is missing");
  TempFolder certificates("pellix-e2e-tls");
  TestCertificateAuthority authority(certificates.str(), "scores");
  ASSERT_TRUE(authority.ready()) << authority.failure();
  TestCertificateAuthority::Issued pair;
  ASSERT_TRUE(authority.issue("IP:127.0.0.1", "server", pair)) << authority.failure();
  // The same database, now served over TLS only.
  server.reset();
  server = std::make_unique<ScoresServerProcess>(session.dataFolder() + "/../global-scores.db",
                                                 std::vector<std::string>{"--tls-cert", pair.certificateFile,
                                                                          "--tls-key", pair.keyFile});
  ASSERT_TRUE(server->started()) << server->output();
  ASSERT_EQ(0u, server->baseUrl().rfind("https://", 0));
  // The player names the server and its certificate authority in the preferences alone.
  std::ofstream(session.dataFolder() + "/preferences") << "scores_url = " << server->baseUrl() << "\n"
                                                       << "scores_ca_file = " << authority.certificateFile() << "\n";

  AlertOnScreen question;
  ASSERT_NO_FATAL_FAILURE(question = finishAGameAndEnterTheName(""));
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question";
  clickButton(question.preferredButton);  // "OK"
  const bool globalShown = session.waitForScreen(
      [&](const ScreenImage& image) {
        return globalSegmentSelected(image) && image.countBrighterThan(hiScoreRow(2), 180) > 40;
      },
      10000);
  session.saveScreenshot(shotName("2-global-table"));
  ASSERT_TRUE(globalShown) << "the global table with the player's row marked did not show; "
                           << session.errorOutput();
  EXPECT_FALSE(AlertOnScreen::find(session.screen()).shown()) << "an error alert after a good upload";

  const HttpResponse table = CurlHttpTransport(HttpLimits(), authority.certificateFile())
                                 .get(server->baseUrl() + "/pellix/top_scores/?game_id=0&game_mode=" +
                                      std::to_string(EASY_CLOCK_OFF_TABLE) + "&max_res=10");
  EXPECT_EQ("name,score\nAda,500\nBob,300\nAnn & Bo+1,250\nCy,100\n", table.body) << table.error;
  EXPECT_EQ(std::string::npos, session.errorOutput().find("certificate")) << session.errorOutput();
  leaveAndExpectTheLocalEntry();
}

TEST_F(OnlineScoreTest, AScoreKeptWhileTheServerIsDownArrivesOnceAtTheNextStart) {
  // The server's port, given up: nothing listens there. The player names it in the preferences.
  const int port = server->listeningPort();
  const std::string url = server->baseUrl();
  server->stop();
  TempFolder::writeFile(session.dataFolder() + "/preferences", "scores_url = " + url + "\n");
  launchWith(settingsRecord(0, true, false, 0.5f), savedGame(TestBoards::almostFullBoard(PLAYER_SCORE)));
  leaveStartScreen();
  dragBall(TestBoards::LAST_BALL_X, TestBoards::LAST_BALL_Y, TestBoards::LAST_FREE_X, TestBoards::LAST_FREE_Y);
  waitForTheEndScreens();
  enterName(PLAYER);
  const AlertOnScreen question = waitForAlert(3000);
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question";
  clickButton(question.preferredButton);  // "OK"
  const AlertOnScreen kept = waitForAlert(10000);
  session.saveScreenshot(shotName("1-score-kept"));
  ASSERT_TRUE(kept.shown()) << "no notice that the score will be sent";
  clickButton(kept.preferredButton);
  const std::string outbox = dataFile("scoreOutbox.dat");
  ASSERT_TRUE(testenv::waitUntil([&] { return !TempFolder::contentOf(outbox).empty(); }, 5000));
  leaveAndExpectTheLocalEntry();

  // The moment the outbox's next attempt is due: the fifth field of its one submission.
  std::istringstream lines(TempFolder::contentOf(outbox));
  std::string header, id, mode, score, attempts;
  long long due = 0;
  ASSERT_TRUE(std::getline(lines, header) && (lines >> id >> mode >> score >> attempts >> due)) << "outbox unread";
  EXPECT_EQ(std::to_string(EASY_CLOCK_OFF_TABLE) + " " + std::to_string(PLAYER_SCORE), mode + " " + score);

  // The server comes back on its port, with the three scores it had.
  server = std::make_unique<ScoresServerProcess>(database(), std::vector<std::string>{"--port", std::to_string(port)});
  ASSERT_TRUE(server->started());
  ASSERT_EQ(port, server->listeningPort());
  ASSERT_EQ(3, sqliteRowCount(database(), "scores"));
  // The outbox waits before it tries again, across restarts too: the next start comes after that.
  ASSERT_TRUE(testenv::waitUntil([&] { return static_cast<long long>(std::time(nullptr)) >= due; }, 60000));

  launchWith(settingsRecord(0, true, false, 0.5f), {});
  const AlertOnScreen told = waitForAlert(15000);
  session.saveScreenshot(shotName("2-rank-told"));
  ASSERT_TRUE(told.shown()) << "the player was not told that the score arrived";
  EXPECT_TRUE(told.otherButton.empty());
  EXPECT_EQ(4, sqliteRowCount(database(), "scores"));
  EXPECT_EQ("name,score\nAda,500\nBob,300\nAnn & Bo+1,250\nCy,100\n", topTen());
  EXPECT_TRUE(testenv::waitUntil([&] { return TempFolder::contentOf(outbox).empty(); }, 5000)) << "still in the outbox";
  clickButton(told.preferredButton);
  EXPECT_TRUE(alertGoneFor(300)) << "told more than once";
  closeAndExpectNormalExit();
  EXPECT_EQ(4, sqliteRowCount(database(), "scores")) << "delivered more than once";
}

}  // namespace
