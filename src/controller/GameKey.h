// GameKey: the keys the game itself plays with, as the window shell passes them to
// GameController::handleKey once no control over the frame (an alert, the name field being edited)
// has taken them. Which physical keys they are is the shell's business.
#pragma once

enum class GameKey {
  UP,
  DOWN,
  LEFT,
  RIGHT,
  NEXT,      // Tab: the next button of a menu
  ACTIVATE,  // Return or Space: start, pick up or drop a ball, press the highlighted button
  BACK,      // Escape: drop the selection, open the game menu, leave a screen
  MENU,      // F10 or the Menu key: open the game menu from play, close it again
};
