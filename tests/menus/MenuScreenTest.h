// MenuScreenTest: the controller fixture with a view root as the screens' `parent` (as the
// window shell sets it), touches routed to the views first and to the game only when no view
// takes them (as the shell does), and frames read back from the headless GL harness. Frames
// can be saved as PNGs under the test build folder (screens/<name>.png) for looking at.
#pragma once

#include <memory>
#include <string>

#include "ControllerFixture.h"
#include "ScreenImage.h"
#include "ViewRoot.h"

class MenuScreenTest : public ControllerTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Draws one frame of the game on a black screen (and the views over it when `withViews`, as
  // the shell does) and reads it back; a non-empty `name` also saves it as screens/<name>.png.
  ScreenImage render(const std::string& name = std::string(), bool withViews = false);

  // A touch as the shell delivers it.
  void touchDown(int x, int y);
  void touchUp(int x, int y);
  // Down and up at one point, a little apart in time.
  void tapScreen(int x, int y);

  // Where a screenshot called `name` is saved (screens/<name>.png under the test build folder).
  static std::string screenshotPath(const std::string& name);
  // Sets the game clock's nowMs for the next frame.
  void setClockNow(int ms);
  // A game in play with an empty board, then the state `state` switched to from the game menu
  // (so "back" leads to the menu).
  void openFromGameMenu(GameController::GameState state);

  std::shared_ptr<Ui::ViewRoot> views;
};
