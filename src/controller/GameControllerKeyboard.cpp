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

namespace {


const int GAME_MENU_BUTTONS = GameScreens::GAME_MENU_ENTRIES;
const float VOLUME_STEP = 0.1f;

// The settings screen's controls in the order Up, Down and Tab visit them.
enum SettingsFocus { FOCUS_MODE, FOCUS_CLOCK, FOCUS_LOOK, FOCUS_VOLUME, FOCUS_DONE, FOCUS_COUNT };

struct FocusFrame {
  float x, y, width, height;
};

// The frame around a switch centred at (x, y).
FocusFrame switchFrame(int x, int y) {
  using namespace ScreenGeometry;
  return {static_cast<float>(x - SWITCH_WIDTH / 2), static_cast<float>(y - SWITCH_HEIGHT / 2),
          static_cast<float>(SWITCH_WIDTH), static_cast<float>(SWITCH_HEIGHT)};
}

// Where the focus ring goes around each control (the Done button shows its own highlight).
const FocusFrame FOCUS_FRAMES[FOCUS_DONE] = {
    {36.0f, 122.0f, 248.0f, 114.0f},  // the four mode columns with their labels
    switchFrame(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::CLOCK_SWITCH_CENTRE_Y),
    // The look's name and its arrows.
    {static_cast<float>(ScreenGeometry::ROW_CONTROL_CENTRE_X - ScreenGeometry::LOOK_CHOOSER_WIDTH / 2 - 4),
     static_cast<float>(ScreenGeometry::LOOK_ROW_CENTRE_Y - ScreenGeometry::LOOK_CHOOSER_HEIGHT / 2),
     static_cast<float>(ScreenGeometry::LOOK_CHOOSER_WIDTH + 8), static_cast<float>(ScreenGeometry::LOOK_CHOOSER_HEIGHT)},
    // The slider's bar and knob, 132 x 36 around its centre line.
    {ScreenGeometry::VOLUME_SLIDER_CENTRE_X - 66.0f, ScreenGeometry::VOLUME_SLIDER_Y - 18.0f, 132.0f, 36.0f},
};

}  // namespace

void GameController::hideKeyboardCursor() { keyboardCursor.visible = false; }

void GameController::handleKey(GameKey key) {
  MyTl::Lock lock(gameMutex);
  startInput();
  switch (gameState) {
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
      if (key == GameKey::ACTIVATE && pressedButton >= 0 && pressedButton < GAME_MENU_BUTTONS) {
        pressMenuButton(pressedButton);
      } else if (key == GameKey::BACK || key == GameKey::MENU) {
        pressMenuButton(0);  // "Resume Game"
      } else {
        moveButtonHighlight(key, GAME_MENU_BUTTONS);
      }
      break;
    case STATE_INSTRUCTIONS:
    case STATE_HISCORES:
    case STATE_NEW_HISCORE: {
      // One button each; Return presses it whether highlighted or not.
      const int button = gameState == STATE_INSTRUCTIONS ? 0 : 1;
      const bool press = key == GameKey::ACTIVATE || (key == GameKey::BACK && gameState == STATE_HISCORES);
      if (press) {
        pressMenuButton(button);
      } else if (key == GameKey::BACK && gameState == STATE_INSTRUCTIONS) {
        apply(GameAction::leaveScreen());
      } else if (key == GameKey::UP || key == GameKey::DOWN || key == GameKey::NEXT) {
        // On the name entry the keys give the name field the focus should it have lost it
        // (Return in the field confirms the name); elsewhere they light the button.
        if (gameState == STATE_NEW_HISCORE && screens.nameField && !screens.nameField->isEditing() &&
            screens.nameField->becomeFirstResponder()) {
          pressedButton = -1;
        } else {
          pressedButton = button;
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
  pressedButton = index;
  apply(GameAction::pressButton(index));
  pressedButton = -1;
}

void GameController::moveButtonHighlight(GameKey key, int count) {
  if (key == GameKey::UP) {
    pressedButton = pressedButton <= 0 ? count - 1 : pressedButton - 1;
  } else if (key == GameKey::DOWN || key == GameKey::NEXT) {
    pressedButton = pressedButton < 0 || pressedButton >= count - 1 ? 0 : pressedButton + 1;
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
      settingsFocus = settingsFocus <= 0 ? FOCUS_COUNT - 1 : settingsFocus - 1;
      break;
    case GameKey::DOWN:
    case GameKey::NEXT:
      settingsFocus = settingsFocus < 0 || settingsFocus >= FOCUS_COUNT - 1 ? 0 : settingsFocus + 1;
      break;
    case GameKey::LEFT:
    case GameKey::RIGHT: {
      const int step = key == GameKey::LEFT ? -1 : 1;
      if (settingsFocus == FOCUS_MODE) {
        const int mode = settings.gameMode >= 0 && settings.gameMode < 4 ? settings.gameMode : 0;
        int position = Settings::mapSettingsIdsToDisplayPositions[mode] + step;
        position = position < 0 ? 0 : (position > 3 ? 3 : position);
        settings.gameMode = Settings::mapDisplayPositionsToSettingsIds[position];
      } else if (settingsFocus == FOCUS_VOLUME) {
        float volume = settings.volume + VOLUME_STEP * static_cast<float>(step);
        settings.volume = volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume);
        sounds.playMoveSound();
      } else if (settingsFocus == FOCUS_CLOCK) {
        if (settingsMenu.clockSwitch) settingsMenu.setSwitch(*settingsMenu.clockSwitch, step > 0);
      } else if (settingsFocus == FOCUS_LOOK) {
        stepLook(step);
      }
      break;
    }
    case GameKey::ACTIVATE:
      if (settingsFocus == FOCUS_CLOCK) {
        const std::shared_ptr<Ui::Switch>& control = settingsMenu.clockSwitch;
        if (control) settingsMenu.setSwitch(*control, !control->isOn());
        break;
      }
      if (settingsFocus == FOCUS_LOOK) {
        stepLook(1);
        break;
      }
      if (settingsFocus != FOCUS_DONE) break;
      [[fallthrough]];
    case GameKey::BACK:
      // "Done": apply the settings, or ask first when the mode change would end a game.
      pressMenuButton(1);
      volumeDragActive = false;
      return;
  }
  pressedButton = settingsFocus == FOCUS_DONE ? 1 : -1;
}

void GameController::drawKeyboardFocus() {
  if (gameState == STATE_PLAYING && keyboardCursor.visible) {
    keyboardCursor.clampTo(board.width, board.height);
    keyboardCursor.drawOnBoard(ScreenGeometry::boardScale(board.width));
  } else if (gameState == STATE_SETTINGS && settingsFocus >= 0 && settingsFocus < FOCUS_DONE) {
    const FocusFrame& frame = FOCUS_FRAMES[settingsFocus];
    keyboardCursor.drawAround(frame.x, frame.y, frame.width, frame.height);
  }
}
