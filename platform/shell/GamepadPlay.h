// GamepadPlay: a pad's command passed on to the screen as the matching key would be: to an
// alert or the name field first (A as Return, B and Start as Escape, left and right as the
// arrows), then to the game as its keys. Start, which has no key of its own, starts a game on
// the start and game-over screens, opens the game menu from the board (putting a held ball back
// first) and goes back elsewhere. Called by PellixApp for every command of GamepadTranslator,
// and after every pad event to tell the screens whose buttons to name.
#pragma once

#include "GamepadTranslator.h"

class GameController;

namespace Ui {
class ViewRoot;
}

class GamepadPlay {
 public:
  static void apply(GamepadTranslator::Command command, GameController& game, Ui::ViewRoot& views);
  // The instructions name the buttons of the pad in use (`style`), or the keys alone for NONE;
  // a change shows at once.
  static void showPadInUse(GamepadStyle style, GameController& game);
};
