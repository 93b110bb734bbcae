// The controller tests' fixture: GL, resources, settings, the fake clock and touch helpers.
#include "ControllerFixture.h"

#include <stdlib.h>

#include "GameClock.h"
#include "IntTimer.h"
#include "RenderHarness.h"
#include "Resources.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "TempFolder.h"
#include "TestEnvironment.h"

namespace {

int fakeNow = 5000000;
int readFakeClock() { return fakeNow; }

}  // namespace

void ControllerTest::SetUpTestSuite() {
  // No audio device is needed: OpenAL Soft's null output plays into nothing.
  setenv("ALSOFT_DRIVERS", "null", 1);
  IntTimer::setTimeSourceForTesting(readFakeClock);
  Resources::setDirectory(generatedResourceFolder());
  if (Settings::instance == nullptr) {
    // The settings live until the process ends; their folder goes then (a last save of the
    // settings into the removed folder fails quietly).
    static TempFolder settingsFolder("pellix-controller-settings");
    Settings::init(settingsFolder.path("settings.dat").c_str());
  }
}

void ControllerTest::SetUp() {
  if (RenderHarness::instance() == nullptr) PELLIX_MISSING_PREREQUISITE(RenderHarness::failure());
  files.reset(new TempFolder("pellix-controller"));
  folder = files->str();
  Settings::instance->reset();
  Settings::instance->firstLaunch = false;
  GameClock::instance = GameClock();
  GameClock::instance.reset();
  game.reset(new TrelGame());
  game->loadState(statePath().c_str(), scoresPath().c_str());
  GameClock::instance.pause();
}

void ControllerTest::TearDown() {
  game.reset();
  files.reset();
}

void ControllerTest::advance(int ms) {
  fakeNow += ms;
  GameClock::instance.refresh();
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
  if (game->gameState == TrelGame::STATE_SPLASH) tap(160, 240);
  ASSERT_EQ(TrelGame::STATE_PLAYING, game->gameState);
  game->board.reset(false);
  game->board.pendingSounds.clear();
  for (int i = 0; i < 3; ++i) game->board.pendingStones[i] = STONE_WHITE;
}

void ControllerTest::put(int x, int y, int colour) {
  Square s(x, y);
  game->board.setStone(s, colour, false);
}
