// The keys' translator, mixed freely with the mouse. On the board a cursor picks up and drops
// balls; on the start and game-over screens and in the menus a key presses the highlighted
// button. Keys become the same actions as the pointer's gestures, which apply() carries out.
#include "DoubleClickHandler.h"
#include "Lock.h"
#include "MenuHitTesting.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "Switch.h"
#include "TextField.h"
#include "GameAction.h"
#include "GameController.h"
#include "SettingsFocus.h"

namespace {

const int GAME_MENU_BUTTONS = GameScreens::GAME_MENU_ENTRIES;
const float VOLUME_STEP = 0.1f;

}  // namespace

void GameController::hideKeyboardCursor() { keyboardCursor.visible = false; }

void GameController::handleKey(GameKey key) {
  MyTl::Lock lock(gameMutex);
  startInput();
  switch (flow.current()) {
    case STATE_PLAYING:
      if (key == GameKey::MENU) {
        // The held ball stays held for when play resumes; the ring stays as it is.
        apply(GameAction::openGameMenu());
      } else {
        handleBoardKey(key);
      }
      break;
    case STATE_SPLASH:
    case STATE_GAME_OVER:
      if (key == GameKey::ACTIVATE) apply(GameAction::pressButton(0));
      break;
    case STATE_GAME_MENU:
      if (key == GameKey::ACTIVATE && flow.pressedButton() >= 0 && flow.pressedButton() < GAME_MENU_BUTTONS) {
        pressMenuButton(flow.pressedButton());
      } else if (key == GameKey::BACK || key == GameKey::MENU) {
        pressMenuButton(0);  // "Resume Game"
      } else {
        moveButtonHighlight(key, GAME_MENU_BUTTONS);
      }
      break;
    case STATE_HISCORES:
      handleHiScoresKey(key);
      break;
    case STATE_INSTRUCTIONS:
    case STATE_NEW_HISCORE: {
      // One button each; Return presses it whether highlighted or not.
      const int button = flow.current() == STATE_INSTRUCTIONS ? 0 : 1;
      const bool press = key == GameKey::ACTIVATE;
      if (press) {
        pressMenuButton(button);
      } else if (key == GameKey::BACK && flow.current() == STATE_INSTRUCTIONS) {
        apply(GameAction::leaveScreen());
      } else if (key == GameKey::UP || key == GameKey::DOWN || key == GameKey::NEXT) {
        // On the name entry the keys give the name field the focus should it have lost it
        // (Return in the field confirms the name); elsewhere they light the button.
        if (flow.current() == STATE_NEW_HISCORE && screens.nameField && !screens.nameField->isEditing() &&
            screens.nameField->becomeFirstResponder()) {
          flow.release();
        } else {
          flow.press(button);
        }
      }
      // Escape on the name entry does nothing: the score is kept only through "Okay".
      break;
    }
    case STATE_SETTINGS:
      handleSettingsKey(key);
      break;
    default:
      break;
  }
}

void GameController::pressMenuButton(int index) {
  flow.press(index);
  apply(GameAction::pressButton(index));
  flow.release();
  showMenuFocus();
}

void GameController::moveButtonHighlight(GameKey key, int count) {
  if (key == GameKey::UP) {
    flow.highlightPrevious(count);
  } else if (key == GameKey::DOWN || key == GameKey::NEXT) {
    flow.highlightNext(count);
  }
}

void GameController::handleBoardKey(GameKey key) {
  keyboardCursor.visible = true;
  keyboardCursor.clampTo(board.width, board.height);
  const bool ballSelected = board.selected.x != -1;
  switch (key) {
    case GameKey::UP:
    case GameKey::DOWN:
    case GameKey::LEFT:
    case GameKey::RIGHT: {
      const int dx = key == GameKey::LEFT ? -1 : (key == GameKey::RIGHT ? 1 : 0);
      const int dy = key == GameKey::UP ? -1 : (key == GameKey::DOWN ? 1 : 0);
      keyboardCursor.moveBy(dx, dy, board.width, board.height);
      // With a ball picked up, the cursor is its target: path and drop preview follow it.
      if (ballSelected) {
        Square target = keyboardCursor.square();
        setCurrentMouseSquare(target);
      }
      board.notePictureChange();
      break;
    }
    case GameKey::ACTIVATE: {
      const Square c = keyboardCursor.square();
      if (board.stoneAt(c) != SQUARE_EMPTY) {
        // The picked-up ball itself goes back; another one is picked up instead, as a first tap.
        apply(c == board.selected ? GameAction::deselect(false) : GameAction::pickUp(c));
      } else if (ballSelected) {
        apply(GameAction::drop(c, false));
      }
      break;
    }
    case GameKey::BACK:
      apply(ballSelected ? GameAction::deselect(false) : GameAction::openGameMenu());
      break;

    default:
      break;
  }
}

void GameController::handleSettingsKey(GameKey key) {
  switch (key) {
    case GameKey::MENU:
      return;
    case GameKey::UP:
      flow.focusPrevious(FOCUS_COUNT);
      break;
    case GameKey::DOWN:
    case GameKey::NEXT:
      flow.focusNext(FOCUS_COUNT);
      break;
    case GameKey::LEFT:
    case GameKey::RIGHT: {
      const int step = key == GameKey::LEFT ? -1 : 1;
      if (flow.settingsFocus() == FOCUS_MODE) {
        const int mode = settings.gameMode >= 0 && settings.gameMode < 4 ? settings.gameMode : 0;
        int position = Settings::mapSettingsIdsToDisplayPositions[mode] + step;
        position = position < 0 ? 0 : (position > 3 ? 3 : position);
        settings.gameMode = Settings::mapDisplayPositionsToSettingsIds[position];
      } else if (flow.settingsFocus() == FOCUS_VOLUME) {
        float volume = settings.volume + VOLUME_STEP * static_cast<float>(step);
        settings.volume = volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume);
        sounds.playMoveSound();
      } else if (flow.settingsFocus() == FOCUS_CLOCK) {
        if (settingsMenu.clockSwitch) settingsMenu.setSwitch(*settingsMenu.clockSwitch, step > 0);
      } else if (flow.settingsFocus() == FOCUS_LOOK) {
        stepLook(step);
      }
      break;
    }
    case GameKey::ACTIVATE:
      if (flow.settingsFocus() == FOCUS_CLOCK) {
        const std::shared_ptr<Ui::Switch>& control = settingsMenu.clockSwitch;
        if (control) settingsMenu.setSwitch(*control, !control->isOn());
        break;
      }
      if (flow.settingsFocus() == FOCUS_LOOK) {
        stepLook(1);
        break;
      }
      if (flow.settingsFocus() != FOCUS_DONE) break;
      [[fallthrough]];
    case GameKey::BACK:
      // "Done": apply the settings, or ask first when the mode change would end a game.
      pressMenuButton(1);
      flow.setDraggingVolume(false);
      return;
  }
  flow.press(flow.settingsFocus() == FOCUS_DONE ? 1 : -1);
}

void GameController::handleHiScoresKey(GameKey key) {
  // Two stops for the focus, top to bottom: the local/global control and "Back". On the
  // control Left and Right (or Return, to the other side) choose the table.
  const bool onControl = flow.scoresViewFocused();
  switch (key) {
    case GameKey::UP:
    case GameKey::DOWN:
    case GameKey::NEXT: {
      const bool toControl = onControl ? false : (flow.pressedButton() == 1 || key != GameKey::UP);
      flow.focusScoresView(toControl);
      if (toControl) {
        flow.release();
      } else {
        flow.press(1);
      }
      break;
    }
    case GameKey::LEFT:
    case GameKey::RIGHT:
      if (onControl) hiScoresMenu.chooseSegment(key == GameKey::LEFT ? 0 : 1);
      break;
    case GameKey::ACTIVATE:
      if (onControl) {
        hiScoresMenu.chooseSegment(hiScoresMenu.showLocal ? 1 : 0);
      } else {
        pressMenuButton(1);
      }
      break;
    case GameKey::BACK:
      pressMenuButton(1);
      break;
    case GameKey::MENU:
      break;
  }
}
