// Pad commands into the views' and the game's keys.
#include "GamepadPlay.h"

#include "GameController.h"
#include "ViewRoot.h"

void GamepadPlay::apply(GamepadTranslator::Command command, GameController& game, Ui::ViewRoot& views) {
  game.markPictureChanged();
  bool taken = false;
  switch (command) {
    case GamepadTranslator::ACCEPT: taken = views.handleKey(Ui::ViewKey::RETURN); break;
    case GamepadTranslator::BACK:
    case GamepadTranslator::MENU: taken = views.handleKey(Ui::ViewKey::ESCAPE); break;
    case GamepadTranslator::MOVE_LEFT: taken = views.handleKey(Ui::ViewKey::LEFT); break;
    case GamepadTranslator::MOVE_RIGHT: taken = views.handleKey(Ui::ViewKey::RIGHT); break;
    default: break;
  }
  if (taken || views.isTextInputActive() || views.activeModal() != nullptr) return;
  switch (command) {
    case GamepadTranslator::MOVE_UP: game.handleKey(GameKey::UP); break;
    case GamepadTranslator::MOVE_DOWN: game.handleKey(GameKey::DOWN); break;
    case GamepadTranslator::MOVE_LEFT: game.handleKey(GameKey::LEFT); break;
    case GamepadTranslator::MOVE_RIGHT: game.handleKey(GameKey::RIGHT); break;
    case GamepadTranslator::ACCEPT: game.handleKey(GameKey::ACTIVATE); break;
    case GamepadTranslator::BACK: game.handleKey(GameKey::BACK); break;
    case GamepadTranslator::MENU:
      if (game.state() == GameController::STATE_SPLASH || game.state() == GameController::STATE_GAME_OVER) {
        game.handleKey(GameKey::ACTIVATE);
      } else {
        // On the board Escape first puts a held ball back; the second opens the menu.
        if (game.state() == GameController::STATE_PLAYING && game.gameBoard().selected.x != -1)
          game.handleKey(GameKey::BACK);
        game.handleKey(GameKey::BACK);
      }
      break;
  }
}

void GamepadPlay::showPadInUse(GamepadStyle style, GameController& game) {
  if (game.gameScreens().gamepadStyle() == style) return;
  game.gameScreens().setGamepadStyle(style);
  game.markPictureChanged();
}
