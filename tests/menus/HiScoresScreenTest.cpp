// The high-score screen: the texts and emphasis of its rows in the local and global views, the
// rows as drawn (the new entry brighter than the rest), and the global view against a real
// fetcher and uploader talking to a loopback server: the spinner while a request runs, the
// message after a failed fetch, and the global rank of an uploaded score.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ActivityIndicator.h"
#include "Alert.h"
#include "CurlHttpTransport.h"
#include "FakeScoresServer.h"
#include "GameKey.h"
#include "HiScoresMenu.h"
#include "MenuScreenTest.h"
#include "ScoreOutbox.h"
#include "ScoreServerAddress.h"
#include "ScreenGeometry.h"
#include "SegmentedControl.h"
#include "TestEnvironment.h"

namespace {

const char* const NAMES[10] = {"Ann", "Bob", "Cy", "Dee", "Eve", "Fay", "Gus", "Hal", "Ivy", "Jo"};
const int ROWS = 10;

// The ten entries Ann 1000, Bob 900, ... Jo 100.
std::vector<HiScore> fullTable() {
  std::vector<HiScore> table;
  for (int i = 0; i < ROWS; ++i) table.emplace_back(MyTl::BasicString<char>(NAMES[i]), 1000 - 100 * i);
  return table;
}

// One row as "name|score", with "|emphasised" or "|dimmed" when drawn so.
std::string describe(const HiScoresMenu::RowText& row) {
  return row.name + "|" + row.score + (row.emphasised ? "|emphasised" : "") + (row.dimmed ? "|dimmed" : "");
}

struct RowCase {
  const char* what;
  bool local;
  int position;       // the uploader's global rank
  bool withNewEntry;  // newEntry set: in local views, it points at row `newRow` of the table
  int newRow;
  int count;  // entries in the source
  std::function<void(std::vector<HiScore>&)> edit;
  std::vector<std::string> expected;
};

TEST(HiScoresRowTextTest, RowsOfTheLocalAndGlobalViews) {
  const std::vector<std::string> plain = {"Ann|1000", "Bob|900", "Cy|800", "Dee|700", "Eve|600",
                                          "Fay|500",  "Gus|400", "Hal|300", "Ivy|200", "Jo|100"};
  auto with = [](std::vector<std::string> rows, const std::function<void(std::vector<std::string>&)>& change) {
    change(rows);
    return rows;
  };
  auto allWith = [&](const std::string& suffix) {
    return with(plain, [&](std::vector<std::string>& rows) {
      for (std::string& row : rows) row += suffix;
    });
  };
  const auto none = [](std::vector<HiScore>&) {};
  const std::vector<RowCase> cases = {
      {"ten placeholders", true, -1, false, 0, ROWS,
       [](std::vector<HiScore>& t) { t.assign(ROWS, HiScore()); }, std::vector<std::string>(ROWS, "-|-")},
      {"new entry in third place", true, -1, true, 2, ROWS, none,
       with(allWith("|dimmed"), [](std::vector<std::string>& r) { r[2] = "Cy|800|emphasised"; })},
      {"fewer than ten entries", true, -1, false, 0, 4, none,
       with(plain, [](std::vector<std::string>& r) {
         for (int i = 4; i < ROWS; ++i) r[i] = "-|-";
       })},
      {"score 0 shows no name", true, -1, false, 0, ROWS,
       [](std::vector<HiScore>& t) { t[9].score = 0; }, with(plain, [](std::vector<std::string>& r) { r[9] = "-|-"; })},
      {"global without a rank", false, -1, false, 0, ROWS, none, plain},
      {"global with a short list", false, -1, false, 0, 3, none,
       with(plain, [](std::vector<std::string>& r) {
         for (int i = 3; i < ROWS; ++i) r[i] = "-|-";
       })},
      {"global rank 3", false, 3, true, 0, ROWS, none,
       with(allWith("|dimmed"), [](std::vector<std::string>& r) { r[2] = "Me|120|emphasised"; })},
      {"global rank 10", false, 10, true, 0, ROWS, none,
       with(allWith("|dimmed"), [](std::vector<std::string>& r) { r[9] = "Me|120|emphasised"; })},
      {"global rank 11", false, 11, true, 0, ROWS, none,
       with(allWith("|dimmed"),
            [](std::vector<std::string>& r) {
              for (int i = 0; i < 9; ++i) r[i] = std::to_string(i + 1) + ". " + r[i];
              r[9] = "11. Me|120|emphasised";
            })},
      {"global rank 57", false, 57, true, 0, ROWS, none,
       with(allWith("|dimmed"),
            [](std::vector<std::string>& r) {
              for (int i = 0; i < 9; ++i) r[i] = std::to_string(i + 1) + ". " + r[i];
              r[9] = "57. Me|120|emphasised";
            })},
  };

  HiScore mine(MyTl::BasicString<char>("Me"), 120);
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.what);
    HiScoresMenu menu(CurlHttpTransport::factory());
    std::vector<HiScore> table = fullTable();
    c.edit(table);
    menu.showLocal = c.local;
    menu.uploader.globalHighScorePosition = c.position;
    if (c.withNewEntry) menu.newEntry = c.local ? &table[c.newRow] : &mine;
    for (int i = 0; i < ROWS; ++i) EXPECT_EQ(c.expected[i], describe(menu.rowText(i, table.data(), c.count))) << "row " << i;
  }
}

// A TCP port on loopback on which nothing listens.
int closedLoopbackPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  socklen_t length = sizeof(address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

class HiScoresScreenTest : public MenuScreenTest {
 protected:
  void TearDown() override {
    // The workers finish (or are cancelled) with the game, before the server goes.
    MenuScreenTest::TearDown();
    unsetenv("PELLIX_SCORES_URL");
  }

  static void useServer(const std::string& base) { setenv("PELLIX_SCORES_URL", base.c_str(), 1); }

  // Waits, in real time, for a worker's flag (each request ends within its time-outs; the
  // deadline scales with a slow or loaded run).
  static bool waitFor(const std::function<bool()>& done) { return testenv::waitUntil(done, 15000); }

  HiScoresMenu& screen() { return game->hiScoresScreen(); }

  // The game made again, as at a launch, with `preferencesText` in the preferences file.
  void relaunchWithPreferences(const std::string& preferencesText) {
    game.reset();
    TempFolder::writeFile(preferencesPath(), preferencesText);
    preferences = std::make_unique<Preferences>(preferencesPath());
    game = newGame();
    game->loadState(statePath().c_str(), scoresPath().c_str());
    game->gameScreens().parent = views;
  }
  std::string outboxPath() const { return folder + "/scoreOutbox.dat"; }
  // The outbox's clock, in seconds, moved by the test.
  ScoreOutbox::Clock outboxClock() {
    return [this] { return outboxNow; };
  }
  int64_t outboxNow = 1'800'000'000;

  void tapSegment(int segment) {
    ASSERT_TRUE(screen().segmentedControl);
    const Ui::ViewRect frame = screen().segmentedControl->segmentFrame(segment);
    tapScreen(static_cast<int>(frame.centerX()), static_cast<int>(frame.centerY()));
  }

  // Adds the local scores Kim 900 ... 50 with `placeOf` (1-based) left for the new entry,
  // which comes last and becomes lastAdded.
  void fillLocalTableWithNewEntryAt(int placeOf) {
    const int scores[] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    for (int i = 0; i < ROWS; ++i)
      if (i != placeOf - 1) game->localHiScores().addScore(game->tableIndex(), scores[i], "Kim");
    game->localHiScores().addScore(game->tableIndex(), scores[placeOf - 1], "Kim");
  }

  // Brightest pixel of the text drawn in row `row` (name and score columns).
  static int rowPeak(const ScreenImage& shot, int row) {
    const int top = ScreenGeometry::HIGH_SCORES_FIRST_ROW_Y + ScreenGeometry::HIGH_SCORES_ROW_PITCH * row;
    return std::max(shot.maxBrightness(PixelBox{77, top, 186, top + 17}), shot.maxBrightness(PixelBox{179, top, 242, top + 17}));
  }
  // Every row's text peak.
  static std::vector<int> rowPeaks(const ScreenImage& shot) {
    std::vector<int> peaks;
    for (int row = 0; row < ROWS; ++row) peaks.push_back(rowPeak(shot, row));
    return peaks;
  }

  // Whether the frame stays the same with the texture in menuTexts[slot] replaced by
  // `replacement` (registered with the screen, which owns it from then on).
  bool frameUnchangedWith(int slot, Texture* replacement) {
    const ScreenImage before = render();
    GameScreens& screens = game->gameScreens();
    Texture* shown = screens.menuTexts[slot];
    screens.menuTexts[slot] = screens.addMenuTexture(replacement);
    const ScreenImage after = render();
    screens.menuTexts[slot] = shown;
    return after.countDifferences(before) == 0;
  }
  // Row `row`'s name and score textures as the rows are made.
  bool rowShows(int row, const std::string& name, const std::string& score, int size, float factor) {
    return frameUnchangedWith(2 * row, new Texture(name.c_str(), 110, 32, Texture::ALIGN_LEFT, "Helvetica", size,
                                                   factor, false)) &&
           frameUnchangedWith(2 * row + 1, new Texture(score.c_str(), 64, 32, Texture::ALIGN_RIGHT, "Helvetica",
                                                       size, factor, false));
  }
};

TEST_F(HiScoresScreenTest, PlaceholderRowsAreDrawnAtFullBrightness) {
  openFromGameMenu(GameController::STATE_HISCORES);
  const ScreenImage shot = render("hiscores-placeholders", true);
  const std::vector<int> peaks = rowPeaks(shot);
  for (int row = 0; row < ROWS; ++row) {
    EXPECT_GT(peaks[row], 200) << "row " << row;
    EXPECT_NEAR(peaks[0], peaks[row], 12) << "row " << row;
  }
  EXPECT_TRUE(rowShows(0, "-", "-", 15, 1.0f));
  EXPECT_TRUE(rowShows(9, "-", "-", 15, 1.0f));
  // No spinner over a local table.
  EXPECT_EQ(nullptr, screen().activityIndicator);
}

TEST_F(HiScoresScreenTest, LocalGlobalControlSitsInThePanelAndTheKeyboardReachesIt) {
  useServer("http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
  openFromGameMenu(GameController::STATE_HISCORES);
  // Below the score strip (the top 45 rows), under the panel's title and above the first row.
  ASSERT_TRUE(screen().segmentedControl);
  const Ui::ViewRect frame = screen().segmentedControl->frame();
  EXPECT_GE(frame.y, 45.0f + 40.0f);
  EXPECT_LE(frame.bottom(), static_cast<float>(ScreenGeometry::HIGH_SCORES_FIRST_ROW_Y));
  const ScreenImage unfocused = render("hiscores-keys-none", true);

  // Down brings the focus ring to the control; Right and Left choose the table; Return on it
  // turns to the other one.
  game->handleKey(GameKey::DOWN);
  const ScreenImage focused = render("hiscores-keys-control", true);
  const PixelBox ring = focused.differenceBox(unfocused, 8);
  EXPECT_FALSE(ring.empty());
  EXPECT_TRUE((PixelBox{static_cast<int>(frame.x) - 8, static_cast<int>(frame.y) - 8,
                        static_cast<int>(frame.right()) + 8, static_cast<int>(frame.bottom()) + 8})
                  .contains(ring))
      << ring;
  EXPECT_EQ(-1, game->highlightedButton());
  game->handleKey(GameKey::RIGHT);
  EXPECT_FALSE(screen().showLocal);
  EXPECT_EQ(1, screen().segmentedControl->selectedSegmentIndex());
  game->handleKey(GameKey::LEFT);
  EXPECT_TRUE(screen().showLocal);
  EXPECT_EQ(0, screen().segmentedControl->selectedSegmentIndex());
  game->handleKey(GameKey::ACTIVATE);
  EXPECT_FALSE(screen().showLocal);
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());

  // Down again lights "Back" and takes the ring away; Return leaves the screen.
  game->handleKey(GameKey::DOWN);
  EXPECT_EQ(1, game->highlightedButton());
  game->handleKey(GameKey::RIGHT);
  game->handleKey(GameKey::LEFT);
  EXPECT_FALSE(screen().showLocal) << "arrows choose the table only while the control has the focus";
  game->handleKey(GameKey::ACTIVATE);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

TEST_F(HiScoresScreenTest, NewEntryRowIsBrighterAndLargerThanTheDimmedRest) {
  // A server is named, so the upload is offered ("Not Now" sends nothing there).
  useServer("http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
  fillLocalTableWithNewEntryAt(3);
  openFromGameMenu(GameController::STATE_HISCORES);
  ASSERT_EQ(&game->localHiScores().tables[game->tableIndex()][2], game->localHiScores().lastAdded);
  render("hiscores-upload-offer", true);
  // The offer to submit the score; "Not Now" leaves the local table.
  ASSERT_NE(nullptr, views->activeModal());
  views->handleKey(Ui::ViewKey::ESCAPE);
  EXPECT_EQ(nullptr, views->activeModal());

  const ScreenImage shot = render("hiscores-new-entry");
  const std::vector<int> peaks = rowPeaks(shot);
  for (int row = 0; row < ROWS; ++row) {
    if (row == 2) continue;
    EXPECT_GT(peaks[2], peaks[row] + 60) << "row " << row;
  }
  EXPECT_TRUE(rowShows(2, "Kim", "700", 16, 1.0f));
  EXPECT_TRUE(rowShows(0, "Kim", "900", 15, 0.4f));
  EXPECT_FALSE(rowShows(0, "Kim", "900", 15, 1.0f));
  EXPECT_FALSE(screen().uploadStarted);

  // Leaving the screen forgets the new entry and takes the local/global control off the
  // screen at the end of the next frame; the next showing marks nothing and brings it back.
  ASSERT_TRUE(screen().segmentedControl);
  EXPECT_EQ(views.get(), screen().segmentedControl->superview());
  tapScreen(160, game->bottomButtonTop() + 26);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(nullptr, game->localHiScores().lastAdded);
  render();
  EXPECT_EQ(nullptr, screen().segmentedControl->superview());
  game->switchGameState(GameController::STATE_HISCORES);
  const std::vector<int> again = rowPeaks(render());
  for (int row = 0; row < ROWS; ++row) EXPECT_NEAR(again[0], again[row], 12) << "row " << row;
  EXPECT_EQ(views.get(), screen().segmentedControl->superview());
  EXPECT_EQ(nullptr, views->activeModal());
}

TEST_F(HiScoresScreenTest, FailedFetchShowsTheMessageInsteadOfRows) {
  useServer("http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
  openFromGameMenu(GameController::STATE_HISCORES);
  const ScreenImage local = render();
  tapSegment(1);
  EXPECT_FALSE(screen().showLocal);
  ASSERT_TRUE(waitFor([&] { return screen().fetcher.scoresFetched.load(); }));
  EXPECT_EQ(0, screen().fetcher.hiScores.size());

  const ScreenImage failed = render("hiscores-global-failed", true);
  EXPECT_EQ(nullptr, screen().activityIndicator);
  // The message, drawn at half brightness in its box at (80, 184); no rows above it.
  EXPECT_GT(failed.maxBrightness(PixelBox{80, 184, 239, 311}), 100);
  EXPECT_LT(failed.maxBrightness(PixelBox{77, ScreenGeometry::HIGH_SCORES_FIRST_ROW_Y, 242, 180}), rowPeak(local, 0) - 80);
  EXPECT_TRUE(frameUnchangedWith(
      0, new Texture("The global high scores could not be fetched from the server. Please check your internet connection.",
                     160, 128, Texture::ALIGN_CENTER, "Helvetica", 14, 0.5f, false, true)));
}

TEST_F(HiScoresScreenTest, GlobalViewShowsOnlyTheSpinnerWhileTheFetchRunsThenTheFetchedRows) {
  FakeScoresServer server;
  server.setTopScores("name,score\nAnn,5000\nBob,4000\nCy,3000\n");
  useServer(server.base());
  openFromGameMenu(GameController::STATE_HISCORES);
  const ScreenImage local = render();

  server.hold();
  tapSegment(1);
  ASSERT_TRUE(waitFor([&] { return server.topScoreRequests() == 1; }));
  for (int frame = 0; frame < 3; ++frame) {
    const ScreenImage loading = render(frame == 0 ? "hiscores-global-loading" : "", true);
    ASSERT_TRUE(screen().activityIndicator);
    EXPECT_EQ(views.get(), screen().activityIndicator->superview());
    EXPECT_TRUE(screen().activityIndicator->isAnimating());
    // Only the panel, title and button: nothing in the rows.
    EXPECT_LT(rowPeak(render(), 0), rowPeak(local, 0) - 80);
    advance(100);
  }
  const std::shared_ptr<Ui::ActivityIndicator> spinner = screen().activityIndicator;

  server.release();
  ASSERT_TRUE(waitFor([&] { return screen().fetcher.scoresFetched.load(); }));
  render("hiscores-global", true);
  EXPECT_EQ(nullptr, screen().activityIndicator);
  EXPECT_EQ(nullptr, spinner->superview());
  EXPECT_TRUE(rowShows(0, "Ann", "5000", 15, 1.0f));
  EXPECT_TRUE(rowShows(2, "Cy", "3000", 15, 1.0f));
  EXPECT_TRUE(rowShows(3, "-", "-", 15, 1.0f));

  // Back to the local view: the local rows again, no new request.
  tapSegment(0);
  EXPECT_TRUE(screen().showLocal);
  render();
  EXPECT_TRUE(rowShows(0, "-", "-", 15, 1.0f));
  EXPECT_EQ(1, server.topScoreRequests());
}

TEST_F(HiScoresScreenTest, UploadedScoreOfRank57EndsTheGlobalListNumberedAndEmphasised) {
  FakeScoresServer server;
  std::string top = "name,score\n";
  for (int i = 0; i < 10; ++i) top += std::string(NAMES[i]) + "," + std::to_string(9000 - 500 * i) + "\n";
  server.setTopScores(top);
  server.setSubmitReply("OK,57\n");
  useServer(server.base());
  game->localHiScores().addScore(game->tableIndex(), 120, "Me");
  openFromGameMenu(GameController::STATE_HISCORES);

  // The offer to submit; "OK" starts the upload, and the spinner shows until it ends.
  render();
  ASSERT_TRUE(game->gameScreens().uploadAlert);
  EXPECT_EQ(game->gameScreens().uploadAlert.get(), views->activeModal());
  server.hold();
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  EXPECT_TRUE(screen().uploadStarted);
  ASSERT_TRUE(waitFor([&] { return server.submissions() == 1; }));
  render("hiscores-uploading", true);
  EXPECT_TRUE(screen().activityIndicator);

  server.release();
  ASSERT_TRUE(waitFor([&] { return screen().uploader.scoreUploaded.load(); }));
  EXPECT_EQ(57, screen().uploader.globalHighScorePosition.load());
  // The screen turns to the global list by itself.
  render();
  EXPECT_FALSE(screen().showLocal);
  EXPECT_EQ(1, screen().segmentedControl->selectedSegmentIndex());
  ASSERT_TRUE(waitFor([&] { return screen().fetcher.scoresFetched.load(); }));
  const ScreenImage shot = render("hiscores-global-rank-57", true);
  EXPECT_EQ(nullptr, screen().activityIndicator);

  const std::vector<int> peaks = rowPeaks(shot);
  for (int row = 0; row < 9; ++row) EXPECT_GT(peaks[9], peaks[row] + 60) << "row " << row;
  EXPECT_TRUE(rowShows(0, "1. Ann", "9000", 15, 0.4f));
  EXPECT_TRUE(rowShows(8, "9. Ivy", "5000", 15, 0.4f));
  EXPECT_TRUE(rowShows(9, "57. Me", "120", 16, 1.0f));
  // One upload per entry: the offer is not made again.
  EXPECT_EQ(nullptr, views->activeModal());
  EXPECT_EQ(1, server.submissions());
}

TEST_F(HiScoresScreenTest, FailedUploadShowsItsErrorAlertAndThenTheGlobalView) {
  useServer("http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
  game->localHiScores().addScore(game->tableIndex(), 120, "Me");
  openFromGameMenu(GameController::STATE_HISCORES);
  render();
  ASSERT_EQ(game->gameScreens().uploadAlert.get(), views->activeModal());
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  ASSERT_TRUE(waitFor([&] { return screen().uploader.scoreUploaded.load(); }));
  EXPECT_EQ(-1, screen().uploader.globalHighScorePosition.load());

  render();
  Ui::Alert* error = dynamic_cast<Ui::Alert*>(views->activeModal());
  ASSERT_NE(nullptr, error);
  EXPECT_EQ("Error Uploading", error->title());
  EXPECT_EQ("There was an error uploading your high score.\n\nPlease check your internet connection.", error->message());
  ASSERT_EQ(1, error->numberOfButtons());
  EXPECT_EQ("OK", error->buttonTitleAtIndex(0));
  EXPECT_FALSE(screen().showLocal);
  ASSERT_TRUE(waitFor([&] { return screen().fetcher.scoresFetched.load(); }));
  render("hiscores-upload-failed", true);
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  EXPECT_EQ(nullptr, views->activeModal());
  EXPECT_EQ(nullptr, screen().activityIndicator);
}

// A name the server refuses (here with a comma) is never offered for upload.
TEST_F(HiScoresScreenTest, ANameTheServerRefusesIsNotOfferedForUpload) {
  FakeScoresServer server;
  useServer(server.base());
  game->localHiScores().addScore(game->tableIndex(), 120, "Ann, Bo");
  openFromGameMenu(GameController::STATE_HISCORES);
  render();
  EXPECT_EQ(nullptr, views->activeModal());
  EXPECT_EQ(0, server.submissions());
}

// An upload that fails after the player left the high scores asks for nothing on a later visit.
TEST_F(HiScoresScreenTest, AnUploadFailingAfterTheScreenLeftShowsNoAlertLater) {
  FakeScoresServer server;
  server.setSubmitReply("");  // an empty reply is a failed upload
  useServer(server.base());
  game->localHiScores().addScore(game->tableIndex(), 120, "Me");
  openFromGameMenu(GameController::STATE_HISCORES);
  render();
  server.hold();
  ASSERT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  ASSERT_TRUE(waitFor([&] { return server.submissions() == 1; }));
  // Back to the game menu while the upload runs; then it fails.
  tapScreen(160, game->bottomButtonTop() + 26);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  server.release();
  ASSERT_TRUE(waitFor([&] { return screen().uploader.scoreUploaded.load(); }));
  game->switchGameState(GameController::STATE_HISCORES);
  render();
  render();
  EXPECT_EQ(nullptr, views->activeModal());
}

// With no server named anywhere, the global view says so in one sentence and how to name one,
// nothing is fetched, and no score is offered for upload.
TEST_F(HiScoresScreenTest, WithNoServerSetUpTheGlobalViewSaysHowToNameOneAndOffersNoUpload) {
  if (ScoreServerAddress::builtInBase()[0] != '\0') GTEST_SKIP() << "this game was built with a server address";
  unsetenv("PELLIX_SCORES_URL");
  game->localHiScores().addScore(game->tableIndex(), 120, "Me");
  openFromGameMenu(GameController::STATE_HISCORES);
  render();
  EXPECT_EQ(nullptr, views->activeModal()) << "an upload was offered with nowhere to send it";
  tapSegment(1);
  EXPECT_FALSE(screen().showLocal);
  const ScreenImage shot = render("hiscores-no-server", true);
  EXPECT_FALSE(screen().fetcher.isRunning());
  EXPECT_EQ(nullptr, screen().activityIndicator);
  const std::string message = HiScoresMenu::noServerMessage(preferencesPath());
  EXPECT_EQ("No high-score server is set up: name one as scores_url in " + preferencesPath() + ".", message);
  EXPECT_EQ(std::string::npos, message.find("internet"));
  // Drawn at half brightness in its box, centred, where the rows would be.
  EXPECT_GT(shot.maxBrightness(PixelBox{40, 184, 279, 311}), 100);
  EXPECT_TRUE(frameUnchangedWith(0, new Texture(message.c_str(), 240, 128, Texture::ALIGN_CENTER, "Helvetica", 14,
                                                0.5f, false)));
  // The home folder is written as ~, as the player would type it.
  const char* home = getenv("HOME");
  if (home != nullptr && home[1] != '\0') {
    EXPECT_EQ("No high-score server is set up: name one as scores_url in ~/.config/pellix/preferences.",
              HiScoresMenu::noServerMessage(std::string(home) + "/.config/pellix/preferences"));
  }
}

// An upload that may pass later goes to the outbox, and the player is told it will be sent.
TEST_F(HiScoresScreenTest, AnUploadThatFindsNoServerIsKeptAndThePlayerToldItWillBeSent) {
  useServer("http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
  screen().openOutbox(outboxPath(), outboxClock());
  game->localHiScores().addScore(game->tableIndex(), 120, "Me");
  openFromGameMenu(GameController::STATE_HISCORES);
  render();
  ASSERT_EQ(game->gameScreens().uploadAlert.get(), views->activeModal());
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  ASSERT_TRUE(waitFor([&] { return screen().uploader.scoreUploaded.load(); }));
  render("hiscores-upload-kept", true);
  Ui::Alert* told = dynamic_cast<Ui::Alert*>(views->activeModal());
  ASSERT_NE(nullptr, told);
  EXPECT_EQ("Your score will be sent when the server can be reached.", told->message());
  ASSERT_EQ(1, told->numberOfButtons());
  const std::vector<ScoreSubmission> kept = ScoreOutbox(outboxPath(), outboxClock()).submissions();
  ASSERT_EQ(1u, kept.size());
  EXPECT_EQ("Me", kept[0].name);
  EXPECT_EQ(120, kept[0].score);
  EXPECT_EQ(game->tableIndex(), kept[0].gameMode);
  EXPECT_EQ(screen().uploader.submissionId, kept[0].id);
}

// At launch the outbox's due scores go to the server named in the preferences; the player is told
// the rank once, over whatever screen is up.
TEST_F(HiScoresScreenTest, AKeptScoreSentAtLaunchTellsThePlayerItsRank) {
  unsetenv("PELLIX_SCORES_URL");
  FakeScoresServer server;
  server.setSubmitReply("OK,57\n");
  ScoreSubmission waiting;
  waiting.id = ScoreSubmission::newId();
  waiting.name = "Me";
  waiting.score = 120;
  ASSERT_TRUE(ScoreOutbox(outboxPath(), outboxClock()).keep(waiting));
  outboxNow += ScoreOutbox::FIRST_RETRY_DELAY_S;

  relaunchWithPreferences("# mine\nscores_url = " + server.base() + "\n");
  screen().openOutbox(outboxPath(), outboxClock());
  ASSERT_TRUE(waitFor([&] { return server.submissions() == 1; }));
  const std::string body = server.lastRequest().body;
  EXPECT_EQ("&submission_id=" + waiting.id, body.substr(body.size() - 47));
  ASSERT_TRUE(waitFor([&] {
    game->advanceFrame();
    return views->activeModal() != nullptr;
  }));
  render("outbox-delivered", true);
  Ui::Alert* told = dynamic_cast<Ui::Alert*>(views->activeModal());
  ASSERT_NE(nullptr, told);
  EXPECT_EQ("Your score of 120 has reached the global high scores: number 57.", told->message());
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  game->advanceFrame();
  EXPECT_EQ(nullptr, views->activeModal()) << "told once";
  EXPECT_TRUE(ScoreOutbox(outboxPath(), outboxClock()).submissions().empty());
  EXPECT_FALSE(std::filesystem::exists(outboxPath()));
}

}  // namespace
