// The player's gestures and the launch routine shared by the end-to-end tests.
#include "GameTestFixture.h"

#include <X11/keysym.h>
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
  waitUntilReadyForInput();
}

void GameTestFixture::waitUntilReadyForInput() {
  // The first frame is only the start of the start-up: the game loads the rest of its art, then
  // gives the window its icon, then handles input. (Not drawing for a while proves nothing on a
  // loaded machine: a game kept off the processor draws nothing either.)
  EXPECT_TRUE(testenv::waitUntil([&] { return session.windowIconWidth() > 0; }, 20000))
      << "the game did not finish starting (its window got no icon); " << session.errorOutput();
  // The pointer enters the window as a player's would before the first click.
  session.moveTo(160, 240);
  settle();
}

void GameTestFixture::leaveStartScreen() {
  const ScreenImage start = session.screen();
  // Play shows the board where the start picture was. The game acts on a click that also gives
  // its window the focus, so one click always does.
  session.tap(160, 240);
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(start, 8) > 0.2; }, 5000))
      << "the start screen stayed after a tap";
  settle();
}

void GameTestFixture::dragBall(int fromX, int fromY, int toX, int toY) {
  // The ball travels, a completed line vanishes and the points are credited (and saved) frame by
  // frame; the picture comes to rest when all that is done.
  EXPECT_TRUE(answered([&] {
    session.drag(squareCentreX(fromX), squareCentreY(fromY), squareCentreX(toX), squareCentreY(toY), 12);
  })) << "the dragged ball did not move";
  EXPECT_TRUE(session.waitForRest(400, 15000)) << "the move did not come to rest";
}

void GameTestFixture::openGameMenu() {
  EXPECT_TRUE(answered([&] { session.tap(MENU_STRIP_X, MENU_STRIP_Y); })) << "the click did not open the game menu";
}

void GameTestFixture::chooseFromGameMenu(GameMenuButton button) {
  EXPECT_TRUE(answered([&] { session.tap(MENU_BUTTON_X, gameMenuButtonY(button)); }))
      << "the game menu's button " << button << " did nothing";
}

bool GameTestFixture::answered(const std::function<void()>& gesture, int timeoutMs) {
  const ScreenImage before = session.screen();
  gesture();
  const bool changed = session.waitForChange(before, timeoutMs);
  settle();
  return changed;
}

bool GameTestFixture::keyAnswered(unsigned long keysym) {
  bool typed = false;
  const bool changed = answered([&] { typed = session.pressKey(keysym); });
  return typed && changed;
}

ScreenImage GameTestFixture::waitForTheEndScreens() {
  // The full board stays two seconds of game time before the name entry or game over covers it.
  const ScreenImage fullBoard = session.screen();
  EXPECT_TRUE(session.waitForScreen(
      [&](const ScreenImage& now) { return now.fractionDifferent(fullBoard, 24) > 0.05; }, 10000))
      << "the full board stayed";
  settle();
  return fullBoard;
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
  EXPECT_TRUE(answered([&] { session.tap(button.centreX(), button.centreY()); }))
      << "the button at (" << button.centreX() << ", " << button.centreY() << ") did nothing";
}

void GameTestFixture::enterName(const std::string& name) {
  // The field has the focus with the offered name selected: typing replaces it, and one Return
  // takes it.
  bool typed = false;
  EXPECT_TRUE(answered([&] { typed = session.typeText(name); })) << "the typed name did not show";
  EXPECT_TRUE(typed);
  EXPECT_TRUE(answered([&] { session.pressKey(XK_Return); })) << "Return did not take the name";
}

void GameTestFixture::settle() {
  // Not a check: a screen that keeps moving (a clock, a caret) is left to the test's own checks.
  session.waitForRest(250, 3000);
}

void GameTestFixture::closeAndExpectNormalExit() {
  session.closeWindow();
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
}
