// The menu tests' fixture: views over the real controller and read-back frames.
#include "MenuScreenTest.h"

#include <filesystem>

#include "RenderHarness.h"

void MenuScreenTest::SetUp() {
  ControllerTest::SetUp();
  if (IsSkipped()) return;
  views = std::make_shared<Ui::ViewRoot>();
  game->gameScreens().parent = views;
}

void MenuScreenTest::TearDown() {
  // The game and the views hold each other's controls; the views' textures need the context,
  // which the harness keeps current for the whole run.
  ControllerTest::TearDown();
  if (views) views->releaseGraphics();
  views.reset();
}

ScreenImage MenuScreenTest::render(const std::string& name, bool withViews) {
  RenderHarness& harness = *RenderHarness::instance();
  harness.clear(0, 0, 0);
  game->drawBoard();
  if (withViews) views->draw();
  harness.readBack();
  if (!name.empty()) {
    EXPECT_TRUE(harness.savePng(screenshotPath(name))) << name;
  }
  return ScreenImage(harness.pixels());
}

std::string MenuScreenTest::screenshotPath(const std::string& name) {
  const std::string folder = std::string(PELLIX_TEST_OUTPUT_DIR) + "/screens";
  std::filesystem::create_directories(folder);
  return folder + "/" + name + ".png";
}

void MenuScreenTest::touchDown(int x, int y) {
  if (!views->handleTouchDown(x, y)) game->handleMouseDown(x, y);
}

void MenuScreenTest::touchUp(int x, int y) {
  if (!views->handleTouchUp(x, y)) game->handleMouseUp(x, y);
}

void MenuScreenTest::tapScreen(int x, int y) {
  touchDown(x, y);
  advance(80);
  touchUp(x, y);
  advance(20);
}

void MenuScreenTest::setClockNow(int ms) {
  game->gameClock().reset();
  advance(ms);
}

void MenuScreenTest::openFromGameMenu(GameController::GameState state) {
  emptyBoardInPlay();
  game->switchGameState(GameController::STATE_GAME_MENU);
  game->switchGameState(state);
}
