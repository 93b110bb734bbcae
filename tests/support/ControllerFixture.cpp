// The controller tests' fixture: GL, resources, settings, the fake clock and touch helpers.
#include "ControllerFixture.h"

#include <stdlib.h>

#include "CurlHttpTransport.h"
#include "RenderHarness.h"
#include "Resources.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "TempFolder.h"
#include "TestEnvironment.h"

namespace {

int fakeNow = 5000000;
int msPerRead = 0;
int readFakeClock() {
  fakeNow += msPerRead;
  return fakeNow;
}

}  // namespace

void ControllerTest::SetUpTestSuite() {
  // No audio device is needed: OpenAL Soft's null output plays into nothing.
  setenv("ALSOFT_DRIVERS", "null", 1);
  Resources::setDirectory(generatedResourceFolder());
  liveSettings().save();
}

void ControllerTest::SetUp() {
  msPerRead = 0;
  if (RenderHarness::instance() == nullptr) PELLIX_MISSING_PREREQUISITE(RenderHarness::failure());
  files.reset(new TempFolder("pellix-controller"));
  folder = files->str();
  preferences = std::make_unique<Preferences>(preferencesPath());
  liveSettings().reset();
  liveSettings().firstLaunch = false;
  game = newGame();
  game->loadState(statePath().c_str(), scoresPath().c_str());
}

void ControllerTest::TearDown() {
  game.reset();
  preferences.reset();
  files.reset();
}

void ControllerTest::advance(int ms) {
  fakeNow += ms;
  game->gameClock().refresh();
}

int ControllerTest::wallClockMs() { return fakeNow; }

void ControllerTest::clockMovesOnEveryRead(int ms) { msPerRead = ms; }

std::unique_ptr<GameController> ControllerTest::newGame(BallGraphics::Art art) {
  return std::make_unique<GameController>(liveSettings(), *preferences, saveFailures, CurlHttpTransport::factory(), readFakeClock,
                                          1234u, art);
}

Settings& ControllerTest::liveSettings() {
  // The settings live until the process ends, their folder a moment longer.
  static TempFolder settingsFolder("pellix-controller-settings");
  static Settings settings(settingsFolder.path("settings.dat").c_str());
  return settings;
}

int ControllerTest::pixelX(int column, float squareSize) {
  return static_cast<int>(ScreenGeometry::BOARD_LEFT) + static_cast<int>(squareSize * column) + 19;
}
int ControllerTest::pixelY(int row, float squareSize) {
  return static_cast<int>(ScreenGeometry::BOARD_TOP) + static_cast<int>(squareSize * row) + 19;
}

void ControllerTest::tap(int x, int y) {
  game->handleMouseDown(x, y);
  advance(80);
  game->handleMouseUp(x, y);
  advance(20);
}

void ControllerTest::dragBall(Square from, Square to) {
  game->handleMouseDown(pixelX(from.x), pixelY(from.y));
  advance(100);
  game->handleMouseDrag(pixelX(to.x), pixelY(to.y));
  advance(300);
  game->handleMouseUp(pixelX(to.x), pixelY(to.y));
  advance(20);
}

void ControllerTest::emptyBoardInPlay() {
  if (game->state() == GameController::STATE_SPLASH) tap(160, 240);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  game->gameBoard().reset(false);
  game->gameBoard().timedEvents.clear();
  for (int i = 0; i < 3; ++i) game->gameBoard().pendingStones[i] = STONE_WHITE;
}

void ControllerTest::put(int x, int y, int colour) {
  Square s(x, y);
  game->gameBoard().setStone(s, colour, false);
}
