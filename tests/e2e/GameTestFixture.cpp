// The player's gestures and the launch routine shared by the end-to-end tests.
#include "GameTestFixture.h"
#include "TestEnvironment.h"

using namespace ScreenLayout;

void GameTestFixture::SetUp() {
  if (!session.displayReady()) PELLIX_MISSING_PREREQUISITE("Xvfb could not be started: " << session.setupProblem());
}

void GameTestFixture::TearDown() {
  if (HasFailure()) session.saveScreenshot(shotName("at-failure"));
}

std::string GameTestFixture::shotName(const std::string& step) const {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // Parameterised names carry a prefix and a suffix after '/': the suite and the case are enough.
  const std::string suite = info->test_suite_name(), test = info->name();
  return suite.substr(suite.rfind('/') + 1) + "-" + test.substr(test.rfind('/') + 1) + "-" + step;
}

void GameTestFixture::launchWith(const std::vector<uint8_t>& settings, const std::vector<uint8_t>& game,
                                 const std::vector<uint8_t>& hiScores) {
  ASSERT_TRUE(writeBytes(dataFile("settings.dat"), settings));
  if (!game.empty()) {
    ASSERT_TRUE(writeBytes(dataFile("gameState.dat"), game));
  }
  if (!hiScores.empty()) {
    ASSERT_TRUE(writeBytes(dataFile("hiScores.dat"), hiScores));
  }
  ASSERT_TRUE(session.launch());
  ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
  // A player's first click comes a moment after the window appears; a press sent in the very
  // same instant can reach the window before it takes pointer input.
  session.moveTo(160, 240);
  GameSession::pause(500);
}

void GameTestFixture::leaveStartScreen() {
  const ScreenImage start = session.screen();
  // Play shows the board where the start picture was. On a busy machine the window may not
  // take the very first click; a player would click again.
  bool playing = false;
  for (int attempt = 0; attempt < 3 && !playing; ++attempt) {
    session.tap(160, 240);
    playing = session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(start, 8) > 0.2; }, 3000);
  }
  EXPECT_TRUE(playing) << "the start screen stayed";
  GameSession::pause(200);
}

void GameTestFixture::dragBall(int fromX, int fromY, int toX, int toY) {
  session.drag(squareCentreX(fromX), squareCentreY(fromY), squareCentreX(toX), squareCentreY(toY), 12);
  // The ball travels, a completed line vanishes and the points are credited; on a busy machine
  // that takes longer, and the picture comes to rest when it is done.
  GameSession::pause(1500);
  settle();
}

void GameTestFixture::openGameMenu() {
  session.tap(MENU_STRIP_X, MENU_STRIP_Y);
  GameSession::pause(150);
  session.tap(MENU_STRIP_X, MENU_STRIP_Y);
  GameSession::pause(500);
  settle();
}

void GameTestFixture::chooseFromGameMenu(GameMenuButton button) {
  session.tap(MENU_BUTTON_X, gameMenuButtonY(button));
  GameSession::pause(500);
  settle();
}

AlertOnScreen GameTestFixture::waitForAlert(int timeoutMs) {
  AlertOnScreen alert;
  session.waitForScreen(
      [&](const ScreenImage& image) {
        alert = AlertOnScreen::find(image);
        return alert.shown();
      },
      timeoutMs);
  return alert;
}

bool GameTestFixture::noAlertFor(int ms) {
  return !session.waitForScreen([](const ScreenImage& image) { return AlertOnScreen::find(image).shown(); }, ms);
}

bool GameTestFixture::alertGoneFor(int ms) {
  const bool gone =
      session.waitForScreen([](const ScreenImage& image) { return !AlertOnScreen::find(image).shown(); }, 5000);
  return gone && noAlertFor(ms);
}

void GameTestFixture::clickButton(const PixelRect& button) {
  session.tap(button.centreX(), button.centreY());
  GameSession::pause(400);
  settle();
}

void GameTestFixture::enterName(const std::string& name) {
  session.tap(NAME_FIELD_X, NAME_FIELD_Y);
  GameSession::pause(200);
  EXPECT_TRUE(session.typeText(name));
  GameSession::pause(300);
  session.tap(160, NAME_OKAY_Y);
  GameSession::pause(500);
  settle();
}

void GameTestFixture::settle() {
  // Not a check: a screen that keeps moving (a clock, a caret) is left to the test's own checks.
  session.waitForRest(250, 3000);
}

void GameTestFixture::closeAndExpectNormalExit() {
  session.closeWindow();
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
}
