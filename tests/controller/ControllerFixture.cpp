// The controller tests' fixture: GL, resources, settings, the fake clock and touch helpers.
#include "ControllerFixture.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "GameClock.h"
#include "IntTimer.h"
#include "RenderHarness.h"
#include "Resources.h"
#include "Settings.h"

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
    char pattern[] = "/tmp/pellix-controller-settings-XXXXXX";
    static const std::string settingsFolder = mkdtemp(pattern);
    Settings::init((settingsFolder + "/settings.dat").c_str());
    // The settings live until the process ends; their folder goes then (a last save of the
    // settings into the removed folder fails quietly).
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(settingsFolder, ignored);
    });
  }
}

void ControllerTest::SetUp() {
  if (RenderHarness::instance() == nullptr) GTEST_SKIP() << RenderHarness::failure();
  char pattern[] = "/tmp/pellix-controller-XXXXXX";
  folder = mkdtemp(pattern);
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
  if (!folder.empty()) std::filesystem::remove_all(folder);
}

void ControllerTest::advance(int ms) {
  fakeNow += ms;
  GameClock::instance.refresh();
}

int ControllerTest::pixelX(int column, float squareSize) { return 4 + static_cast<int>(squareSize * column) + 19; }
int ControllerTest::pixelY(int row, float squareSize) { return 45 + static_cast<int>(squareSize * row) + 19; }

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
